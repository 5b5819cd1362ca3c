#pragma once
// A dialog window: a model of named controls shown by the dialog host.
// Forms are made once and kept; opening one again starts it afresh.
#include <string>
#include <utility>

#include "app/Main_Form.h"
#include "platform/DialogHost.h"
#include "platform/Events.h"

namespace mirel {

// A control of a dialog's model, placed in its parent's client area.
inline DialogControl Ctl(std::string name, ControlKind kind, Text caption, int x, int y, int w, int h,
                         std::string parent = "") {
  DialogControl c;
  c.name = std::move(name);
  c.kind = kind;
  c.caption = std::move(caption);
  c.x = x;
  c.y = y;
  c.w = w;
  c.h = h;
  c.parent = std::move(parent);
  return c;
}

class Form {
 public:
  explicit Form(Main_Form& main) : main_(main) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  DialogModel model;
  bool IsOpen() const { return model.visible; }
  // A control of the open dialog was used (click, new value, new text).
  virtual void OnControl(const InputEvent& e) = 0;
  // What the dialog waits for, for scripted input.
  virtual PlayerWait Waiting() const { return IsOpen() ? PlayerWait::Dialog : PlayerWait::None; }
  // The control a player who just wants to go on would use now.
  virtual std::string DefaultControl() const { return ""; }

 protected:
  void Show() {
    model.visible = true;
    main_.sys.dialogs->ShowDialog(model);
  }
  void Update() { main_.sys.dialogs->UpdateDialog(model); }
  void Hide() {
    if (!model.visible) return;
    model.visible = false;
    main_.sys.dialogs->CloseDialog(model);
  }
  Main_Form& main_;
};

}  // namespace mirel
