#include "ui/NameEnt.h"

namespace mirel {

NameEnt::NameEnt(Main_Form& main) : Form(main) { model.name = "NameEnt"; }

void NameEnt::Form_Load() {}

void NameEnt::OnControl(const InputEvent&) {}

}  // namespace mirel
