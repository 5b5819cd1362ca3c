#pragma once
// The controls of the main window: every picture surface, label and shape,
// the menu bar and the form itself. The engine draws only into these; the
// composer shows the visible ones in stacking order. What reaches the
// window is presented on change: a refresh of a shown surface, or a change
// of what is shown where, marks the rectangle it touches, and the next
// present composes and hands over only those rectangles.
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/Surface.h"
#include "platform/Image.h"
#include "platform/WindowHost.h"

namespace mirel {

// Stacking, back to front. Equal values keep declaration order.
namespace z {
constexpr int kPicMain = 10;
constexpr int kDoll = 20;     // + position
constexpr int kWaku = 30;     // Waku(0); the date tab one above
constexpr int kTitle = 40;
constexpr int kSmenu = 41;
constexpr int kEndPic = 45;
constexpr int kShp = 49;      // gallery frames, drawn on the form behind its pictures
constexpr int kPic = 50;      // gallery thumbnails
constexpr int kCgEnd = 54;
constexpr int kScg = 55;
constexpr int kStaff = 60;
constexpr int kStaffRoll = 70;  // STAFF_Pic(7), above everything else
constexpr int kLoadNow = 80;
}  // namespace z

struct Controls : private RefreshSink {
  Controls();
  Controls(const Controls&) = delete;
  Controls& operator=(const Controls&) = delete;

  // The form itself.
  uint32_t FormBackColor = kWhite;
  Image FormPicture;  // the form's own background picture (gallery), empty for none
  FormState form;     // menus, enabled, mouse pointer

  Surface Pic_Main, Pic_Back, Mesh1, Mesh2;
  std::array<Surface, 3> Doll_Disp, Doll_Back, Doll_Body, Doll_Mask, Face_Disp;
  Surface Face_Load, Face_Mask;
  std::array<Surface, 7> Waku;
  Surface Texture;
  Surface Dtime_label;            // label in Waku(3)
  std::array<Surface, 3> SelTxt;  // labels in Waku(0)
  Surface Blinker;                // label in Waku(0)
  std::array<Surface, 4> Smenu;
  Surface Title, LOAD_NOW, End_Pic;
  std::array<Surface, 8> STAFF_Pic;
  Surface SCG, CG_END;
  std::array<Surface, 18> Pic;    // gallery: 1..15 thumbnails, 0 work, 16/17 sheets
  std::array<Surface, 16> Shp;    // gallery frames 1..15 (shapes)
  // Pic(n) and STAFF_Pic(n) that exist (created at run time).
  std::array<bool, 18> PicCreated{};
  std::array<bool, 16> ShpCreated{};
  std::array<bool, 8> StaffCreated{};

  // Surfaces shown beside the game's own controls (the player's comforts).
  void AddOverlay(Surface* s);

  MenuState& Menu(MenuItem m) { return form.menus[static_cast<size_t>(m)]; }

  // Every surface that can be shown, for composing and hit testing.
  const std::vector<Surface*>& All() { return all_; }
  void SetSink(RefreshSink* sink);

  // A rectangle of the screen that changed and is to be presented.
  void Damage(Rect r);
  // Called after each refresh of a shown control marked what it changed,
  // so what the engine drew reaches the window before it goes on.
  std::function<void()> PresentNow;
  // Composes the changed rectangles and hands them to the window, once for
  // everything that changed since the last present; nothing when nothing
  // changed (also a form Refresh of the host counts as a change of all).
  // True when something was presented.
  bool Present(WindowHost& host, FontRasterizer& fonts);
  // The changed rectangles not yet presented (for tests).
  std::vector<Rect> PendingDamage();

 private:
  // What a control looks like on screen, as far as presenting can tell
  // without its pixels (those are presented by its Refresh).
  struct Look {
    bool on = false;
    Rect rect;  // on screen, clipped by its parents and the screen
    int zOrder = 0;
    uint32_t fore = 0, border = 0;
    int borderWidth = 0;
    Text caption;
    Font font;
    // Same caption, colours, font and border as the control has now.
    bool Matches(const Surface& s) const;
    void Take(const Surface& s);
  };
  void Refreshed(const Surface& s) override;
  void FindChanges(const WindowHost& host);

  std::vector<Surface*> all_;
  RefreshSink* sink_ = nullptr;
  std::vector<Look> looks_;
  std::vector<Rect> damage_;
  Surface frame_;  // the screen as last presented
  long hostRefreshes_ = -1;
  uint32_t formBack_ = 0;
  const uint32_t* formPicture_ = nullptr;
  int formPictureW_ = 0, formPictureH_ = 0;
};

// Draws the visible controls into a 640x480 picture, back to front.
void Compose(Controls& c, FontRasterizer& fonts, Image& out);
// The front-most visible control at a point of the picture (labels and
// children before their parents), or nullptr for the bare form.
Surface* HitTest(Controls& c, int x, int y);

}  // namespace mirel
