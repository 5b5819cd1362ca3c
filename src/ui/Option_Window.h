#pragma once
// The options dialog: message speed, music, sound effects, full screen and
// the density of the message window.
#include "ui/Form.h"

namespace mirel {

class Option_Window final : public Form {
 public:
  explicit Option_Window(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
  std::string DefaultControl() const override { return "Command1"; }

 private:
  void Command1_Click();
  void Form_Unload();
  void Select(const std::string& option);
  bool chooseFullScreen_ = false;
};

}  // namespace mirel
