#pragma once
// The about box: title, version, requirements and warnings about the machine.
#include "ui/Form.h"

namespace mirel {

class frmAbout final : public Form {
 public:
  explicit frmAbout(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
  std::string DefaultControl() const override { return "cmdOK"; }
  // The warning lines for the machine's facts, each ended by CR LF.
  static Text Warnings(bool fullScreenUnavailable, const std::string& colorDepth, const std::string& memoryLoad);

 private:
  void Form_Unload();
};

}  // namespace mirel
