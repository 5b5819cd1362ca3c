#include "comfort/GamepadMapper.h"

namespace mirel {

namespace {
const char* const kNames[kPadButtonCount] = {"a",  "b",     "x",    "y",  "lb",   "rb",
                                             "start", "back", "up", "down", "left", "right"};
constexpr int kVkA = 'A';
constexpr int kVkBackspace = 8;
}  // namespace

bool ParsePadButton(const std::string& name, PadButton& out) {
  for (int i = 0; i < kPadButtonCount; ++i)
    if (name == kNames[i]) {
      out = static_cast<PadButton>(i);
      return true;
    }
  return false;
}

const char* PadButtonName(PadButton b) { return kNames[static_cast<int>(b)]; }

std::vector<InputEvent> GamepadMapper::Map(PadButton b, bool down, const PadScreen& s) {
  std::vector<InputEvent> out;
  if (s.targets.size() != targets_ || focus_ >= static_cast<int>(s.targets.size())) {
    focus_ = -1;
    targets_ = s.targets.size();
  }
  if (b == PadButton::LeftShoulder || b == PadButton::RightShoulder) {
    // Either shoulder holds Ctrl; it is let go when both are.
    int before = heldShoulders_;
    heldShoulders_ += down ? 1 : -1;
    if (heldShoulders_ < 0) heldShoulders_ = 0;
    if (before == 0 && heldShoulders_ > 0) out.push_back(KeyEvent(kVkControl));
    if (before > 0 && heldShoulders_ == 0) out.push_back(KeyUpEvent(kVkControl));
    return out;
  }
  if (!down) return out;
  switch (b) {
    case PadButton::A:
      if (focus_ >= 0) {
        auto [x, y] = s.targets[static_cast<size_t>(focus_)];
        out.push_back(MouseEvent(EventKind::MouseMove, x, y));
        out.push_back(MouseEvent(EventKind::MouseDown, x, y, 1));
        focus_ = -1;  // what was picked is usually gone
      } else {
        out.push_back(MouseEvent(EventKind::MouseDown, s.clickX, s.clickY, 1));
      }
      break;
    case PadButton::B:
      out.push_back(MouseEvent(EventKind::MouseDown, s.rightX, s.rightY, 2));
      break;
    case PadButton::X:
      out.push_back(KeyEvent(kVkA));
      break;
    case PadButton::Y:
      out.push_back(KeyEvent(kVkPageUp));
      break;
    case PadButton::Start:
      out.push_back(KeyEvent(kVkF1));
      break;
    case PadButton::Back:
      out.push_back(KeyEvent(kVkBackspace));  // one message back
      break;
    case PadButton::Up:
    case PadButton::Left:
    case PadButton::Down:
    case PadButton::Right: {
      int n = static_cast<int>(s.targets.size());
      if (n == 0) break;
      bool back = b == PadButton::Up || b == PadButton::Left;
      if (focus_ < 0) focus_ = back ? n - 1 : 0;
      else focus_ = (focus_ + (back ? n - 1 : 1)) % n;
      auto [x, y] = s.targets[static_cast<size_t>(focus_)];
      out.push_back(MouseEvent(EventKind::MouseMove, x, y));
      break;
    }
    default:
      break;
  }
  return out;
}

}  // namespace mirel
