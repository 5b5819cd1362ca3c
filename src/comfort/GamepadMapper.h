#pragma once
// A gamepad as the game sees it: each button becomes the click or key the
// mouse and keyboard would give, so every handler serves both.
//   A      a left click (on the answer or title button the D-pad chose)
//   B      a right click: hides the message window, or shows it again
//   X      the "A" key (auto mode)
//   Y      Page Up (the backlog)
//   shoulder or trigger held: Ctrl held (fast-forward)
//   Start  F1 (the player settings)
//   D-pad  moves the mouse between choice answers, title buttons and
//          gallery entries
#include <string>
#include <utility>
#include <vector>

#include "platform/Events.h"

namespace mirel {

enum class PadButton { A, B, X, Y, LeftShoulder, RightShoulder, Start, Back, Up, Down, Left, Right };
constexpr int kPadButtonCount = 12;

// "a", "b", "x", "y", "lb", "rb", "start", "back", "up", "down", "left", "right".
bool ParsePadButton(const std::string& name, PadButton& out);
const char* PadButtonName(PadButton b);

// What is on screen for the pad: the points the D-pad moves between (in
// the order the player reads them), and where clicks go otherwise.
struct PadScreen {
  std::vector<std::pair<int, int>> targets;
  int clickX = 320, clickY = 100;   // a left click: the picture
  int rightX = 60, rightY = 440;    // a right click: the message window, or the picture when it is hidden
};

class GamepadMapper {
 public:
  // The events one press or release of a button gives on this screen.
  std::vector<InputEvent> Map(PadButton b, bool down, const PadScreen& screen);

 private:
  int focus_ = -1;      // index into the targets the D-pad last chose
  size_t targets_ = 0;  // how many there were: a new screen starts afresh
  int heldShoulders_ = 0;
};

}  // namespace mirel
