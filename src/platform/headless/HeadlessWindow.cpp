#include "platform/headless/HeadlessWindow.h"

#include <algorithm>

namespace mirel {

void HeadlessWindow::Present(PictureView frame, const std::vector<Rect>& dirty) {
  if (frame.width != frame_.width || frame.height != frame_.height) {
    frame_.width = frame.width;
    frame_.height = frame.height;
    frame_.pixels.assign(frame.pixels, frame.pixels + static_cast<size_t>(frame.width) * frame.height);
  } else {
    for (const Rect& r : dirty) {
      const int x1 = std::max(r.x, 0), y1 = std::max(r.y, 0);
      const int x2 = std::min(r.x + r.w, frame.width), y2 = std::min(r.y + r.h, frame.height);
      for (int y = y1; y < y2; ++y)
        std::copy_n(frame.pixels + static_cast<size_t>(y) * frame.width + x1, std::max(x2 - x1, 0),
                    frame_.pixels.begin() + static_cast<size_t>(y) * frame.width + x1);
    }
  }
  if (dirty.empty()) return;
  ++presents_;
  for (const Rect& r : dirty) presentedPixels_ += static_cast<long>(r.w) * r.h;
}

void HeadlessWindow::Sync(const FormState& state) {
  state_ = state;
  bool any = false;
  for (const MenuState& m : state.menus) any = any || m.visible;
  menuBar_ = any;
}

Rect HeadlessWindow::OuterRect() { return Rect{x_, y_, outerW_, outerH_}; }

Rect HeadlessWindow::ClientRect() {
  int w = outerW_ - 2 * FrameSide();
  int h = outerH_ - FrameTop() - FrameSide();
  return Rect{0, 0, w < 0 ? 0 : w, h < 0 ? 0 : h};
}

void HeadlessWindow::SetCaption(bool on) {
  // The frame changes size and the client area takes up the difference,
  // as a real window does when its style changes.
  caption_ = on;
}

bool HeadlessWindow::ChangeDisplayMode(bool fullScreen) {
  if (fullScreen && !fullScreenPossible_) return false;
  fullScreen_ = fullScreen;
  return true;
}

}  // namespace mirel
