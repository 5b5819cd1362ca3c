#pragma once
#include "ui/Form.h"

namespace mirel {

class NameEnt final : public Form {
 public:
  explicit NameEnt(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
};

}  // namespace mirel
