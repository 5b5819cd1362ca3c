#include "platform/HeadlessWindow.h"

namespace mirel {

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
