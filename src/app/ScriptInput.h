#pragma once
// Scripted player input for headless runs and tests. One action per line;
// each is given to the game when it next waits for the player. Actions for
// one screen (choose, title, dialog, menu: the story waiting for a click)
// wait for that screen, and the waits before it are answered as below. When the
// script runs out, waits are answered with a click, choices with the first
// answer, dialogs with their default button and a title screen by closing
// the window, so every run ends.
//
//   click                  left click on the picture
//   rclick                 right click on the message window (or on the
//                          picture when the window is hidden)
//   key KEY                a key: space, enter, esc, pageup, pagedown, up,
//                          down, left, right, tab, backspace, ctrl, print, f1..f12, a letter a to z, a
//                          digit, or a virtual-key code; ctrl+, alt+ and
//                          shift+ in front press it with those held
//   hold KEY | release KEY the key goes down and stays down / comes up
//   wheel up|down [N]      the mouse wheel turns N notches (1, at most 1000)
//   pad BUTTON [down|up]   a gamepad button pressed and let go (or only
//                          one of the two): a b x y lb rb start back up
//                          down left right; the D-pad waits for a choice,
//                          the title or the gallery
//   choose N               pick answer N (1 to 3) of a choice
//   backlog pick N         go back to backlog entry N (1 the newest), as a
//                          click on it in the backlog; a yes line answers
//                          the question
//   title new|load|gallery|end
//   menu end|load|save|options|skip|version
//   mouse X Y [right]      a click at a point of the 640x480 picture
//   move X Y               the mouse moves to a point
//   dialog FORM CONTROL [VALUE or TEXT]
//                          use a dialog control: a button is clicked, a
//                          check box, option button or scroll bar takes
//                          VALUE, a text box takes TEXT
//   yes | no               the answer to the question the line before asks
//   wait MS                let MS milliseconds pass first
//   now LINE               give LINE at once, even while nothing waits
//                          (for example a click during the opening); LINE
//                          is one action, not another now or a wait
//   screenshot FILE        save the picture as it is on screen when the
//                          game next waits for the player
//   close                  the window's close box
#include <functional>
#include <string>
#include <vector>

#include "app/Main_Form.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"
#include "platform/headless/ScriptedMessageBoxes.h"

namespace mirel {

class ScriptInput final : public EventSource {
 public:
  // Throws std::runtime_error naming the line for a line it cannot read or
  // whose numbers lie outside their ranges: nothing is refused later.
  ScriptInput(const std::string& script, Clock& clock, ScriptedMessageBoxes& messages);
  void Attach(Main_Form* form) { form_ = form; }
  void SetScreenshotHandler(std::function<void(const std::string&)> h) { screenshot_ = std::move(h); }
  // Virtual milliseconds after which the run is cut off with a close.
  void SetTimeLimit(uint64_t ms) { limitMs_ = ms; }
  bool TimedOut() const { return timedOut_; }
  bool Exhausted() const { return next_ >= lines_.size(); }
  void Pump(EventQueue& queue) override;

 private:
  struct Line {
    int number;
    std::vector<std::string> words;
    std::string text;  // the whole line without its comment
  };
  bool Deliver(const Line& line, EventQueue& queue);
  void DeliverDefault(EventQueue& queue);
  void QueueFollowingAnswers();
  void Click(EventQueue& q, int x, int y, int button);

  std::vector<Line> lines_;
  size_t next_ = 0;
  Clock& clock_;
  ScriptedMessageBoxes& messages_;
  Main_Form* form_ = nullptr;
  std::function<void(const std::string&)> screenshot_;
  bool waiting_ = false;
  uint32_t waitUntil_ = 0;
  bool started_ = false;
  uint32_t start_ = 0;
  uint64_t limitMs_ = 6ull * 3600 * 1000;
  bool timedOut_ = false;
  bool ctrlHeld_ = false;  // by "hold ctrl"
};

}  // namespace mirel
