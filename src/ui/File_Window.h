#pragma once
#include "ui/Form.h"

namespace mirel {

class File_Window final : public Form {
 public:
  explicit File_Window(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
};

}  // namespace mirel
