#pragma once
// A main window that exists only in memory: geometry, caption and display
// mode behave like a real desktop window of a 1920x1080 screen whose frame
// adds 8 pixels on each side and 31 above (caption) plus 20 (menu bar).
// It keeps the picture last presented: what a real window would show.
#include "platform/Image.h"
#include "platform/WindowHost.h"

namespace mirel {

class HeadlessWindow final : public WindowHost {
 public:
  void Show() override { shown_ = true; }
  void Present(PictureView frame, const std::vector<Rect>& dirty) override;
  void Sync(const FormState& state) override;
  Rect OuterRect() override;
  Rect ClientRect() override;
  void SetOuterSize(int w, int h) override { outerW_ = w; outerH_ = h; }
  void Move(int x, int y) override { x_ = x; y_ = y; }
  int ScreenWidth() override { return screenW_; }
  int ScreenHeight() override { return screenH_; }
  bool HasCaption() override { return caption_; }
  void SetCaption(bool on) override;
  bool ChangeDisplayMode(bool fullScreen) override;
  bool InFullScreenMode() override { return fullScreen_; }
  void SetImeOpen(bool open) override { imeOpen_ = open; }
  bool ImeOpen() const { return imeOpen_; }

  // Test knobs.
  void SetScreen(int w, int h) { screenW_ = w; screenH_ = h; }
  void SetFullScreenPossible(bool possible) { fullScreenPossible_ = possible; }
  bool Shown() const { return shown_; }
  long Refreshes() const { return RefreshRequests(); }
  // The picture on screen after the last present; white before the first.
  const Image& Frame() const { return frame_; }
  // Presents that changed something, and the pixels they covered.
  long Presents() const { return presents_; }
  long PresentedPixels() const { return presentedPixels_; }
  bool MenuBarVisible() const { return menuBar_; }
  const FormState& State() const { return state_; }

 private:
  int FrameTop() const { return (caption_ ? 31 + 8 : 0) + (menuBar_ ? 20 : 0); }
  int FrameSide() const { return caption_ ? 8 : 0; }
  int x_ = 0, y_ = 0, outerW_ = 656, outerH_ = 539;
  int screenW_ = 1920, screenH_ = 1080;
  bool caption_ = true, menuBar_ = true, fullScreen_ = false, fullScreenPossible_ = true, shown_ = false;
  long presents_ = 0, presentedPixels_ = 0;
  Image frame_{640, 480, std::vector<uint32_t>(640 * 480, 0xFFFFFF)};
  bool imeOpen_ = true;
  FormState state_;
};

}  // namespace mirel
