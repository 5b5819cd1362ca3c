#pragma once
#include "ui/Form.h"

namespace mirel {

class Option_Window final : public Form {
 public:
  explicit Option_Window(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
};

}  // namespace mirel
