#pragma once
// The dialog that renames the hero: family name, a space, given name.
#include "ui/Form.h"

namespace mirel {

class NameEnt final : public Form {
 public:
  explicit NameEnt(Main_Form& main);
  void Form_Load();
  void OnControl(const InputEvent& e) override;
  std::string DefaultControl() const override { return "Command1"; }

  static constexpr size_t kMaxLength = 7;
  // Characters a name may not hold: they would break the comma-separated
  // lines names are stored in, or turn into name placeholders in the text.
  static bool Refused(char16_t c);
  // The character (one, or a surrogate pair) can be stored as Shift-JIS.
  static bool HasCp932Form(TextView c);

 private:
  void Command1_Click();
};

}  // namespace mirel
