#pragma once
#include "ui/Form.h"

namespace mirel {

class frmAbout final : public Form {
 public:
  explicit frmAbout(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
};

}  // namespace mirel
