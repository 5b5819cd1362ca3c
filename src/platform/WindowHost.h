#pragma once
// The main window as the engine drives it: the stand-in for the window
// toolkit's form and the display calls of user32. The engine keeps its own
// model of the controls (gfx/Controls.h); the host shows it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Events.h"

namespace mirel {

struct MenuState {
  Text caption;
  bool enabled = true;
  bool visible = true;
};

// What the host mirrors from the engine's model of the form.
struct FormState {
  std::array<MenuState, kMenuItemCount> menus;
  bool enabled = true;     // false while a dialog is open
  bool busyCursor = false; // the hourglass while loading
};

// Pixels the engine owns, lent to the window: top-down rows, 0x00RRGGBB.
struct PictureView {
  const uint32_t* pixels = nullptr;
  int width = 0, height = 0;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Empty() const { return w <= 0 || h <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual void Show() = 0;
  // The toolkit's Refresh of the form: the whole picture is presented
  // again at the next present. Only counted here; the engine asks.
  void Refresh() { ++refreshRequests_; }
  long RefreshRequests() const { return refreshRequests_; }
  // Shows the 640x480 picture, of which only the `dirty` rectangles changed
  // since the last present. The pixels stay the engine's; they are valid
  // and unchanged until the next present, so the window may show them
  // without a copy.
  virtual void Present(PictureView frame, const std::vector<Rect>& dirty) = 0;
  // Takes over menu captions, enabled and visible states, the window's
  // enabled state and the mouse pointer. Called often; cheap when nothing
  // changed. A menu bar whose items are all hidden disappears.
  virtual void Sync(const FormState& state) = 0;

  virtual Rect OuterRect() = 0;     // frame included, screen coordinates
  virtual Rect ClientRect() = 0;    // size of the client area
  virtual void SetOuterSize(int w, int h) = 0;
  virtual void Move(int x, int y) = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;

  virtual bool HasCaption() = 0;
  virtual void SetCaption(bool on) = 0;   // title bar and frame
  // The display change: full screen shows the 640x480 picture scaled to
  // the screen. False when the host cannot do it.
  virtual bool ChangeDisplayMode(bool fullScreen) = 0;
  virtual bool InFullScreenMode() = 0;
  // Switches the Japanese input method of the main window on or off.
  virtual void SetImeOpen(bool open) = 0;

 private:
  long refreshRequests_ = 0;
};

}  // namespace mirel
