#pragma once
// Dialog windows. Each dialog is a model of named controls kept by the
// engine; the host shows it as a real window and reports what the player
// does with it as DialogControl events. Headless runs change the model
// through the same events.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Text.h"

namespace mirel {

enum class ControlKind { Label, Button, OptionButton, CheckBox, HScrollBar, TextBox, Frame, Panel, Picture };

struct DialogControl {
  std::string name;       // e.g. "Command1", "Picture1(3)"
  ControlKind kind = ControlKind::Label;
  Text caption;           // caption or text
  int value = 0;          // check box 0/1, option button 0/1, scroll bar value
  int min = 0, max = 100;
  int x = 0, y = 0, w = 0, h = 0;  // pixels, relative to the parent's client area
  std::string parent;     // name of the containing frame or panel, empty for the dialog
  bool enabled = true;
  bool visible = true;
  uint32_t backColor = 0xFFFFFFFF;  // 0x00RRGGBB, or 0xFFFFFFFF for the default
  uint32_t foreColor = 0xFFFFFFFF;
  double fontSize = 0;    // 0: default
  bool bold = false;
  int maxLength = 0;      // text box: 0 unlimited
  bool multiLine = false; // text box: several lines, scrolled up and down
  bool locked = false;    // text box: the player reads but does not edit
  int cornerRadius = 0;   // panel: curved corners of this radius
  // Picture: pixels shown, 0x00RRGGBB top-down, w*h of them (may be empty).
  std::vector<uint32_t> pixels;
  // What assistive technology calls a control that shows no words of its
  // own; empty: its caption, or the words near it. One that has it is
  // reached from the keyboard too.
  Text accessibleName;
};

struct DialogModel {
  std::string name;   // "Option_Window", "File_Window", "NameEnt", "frmAbout"
  Text caption;
  int clientWidth = 0, clientHeight = 0;
  uint32_t backColor = 0xFFFFFFFF;
  bool closeBox = true;
  bool topMost = false;
  bool visible = false;
  std::vector<DialogControl> controls;

  DialogControl* Find(const std::string& controlName) {
    for (auto& c : controls)
      if (c.name == controlName) return &c;
    return nullptr;
  }
  const DialogControl* Find(const std::string& controlName) const {
    for (auto& c : controls)
      if (c.name == controlName) return &c;
    return nullptr;
  }
  // Throws when absent.
  DialogControl& At(const std::string& controlName) {
    if (DialogControl* c = Find(controlName)) return *c;
    throw std::out_of_range("no control " + controlName + " in " + name);
  }
};

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Shows the dialog (non-modal) or brings its window up to date with the
  // model after the engine changed it.
  virtual void ShowDialog(const DialogModel& model) = 0;
  virtual void UpdateDialog(const DialogModel& model) = 0;
  virtual void CloseDialog(const DialogModel& model) = 0;
};

}  // namespace mirel
