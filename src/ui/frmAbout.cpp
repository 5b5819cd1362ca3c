#include "ui/frmAbout.h"

namespace mirel {

frmAbout::frmAbout(Main_Form& main) : Form(main) { model.name = "frmAbout"; }

void frmAbout::Form_Load() {}

void frmAbout::OnControl(const InputEvent&) {}

}  // namespace mirel
