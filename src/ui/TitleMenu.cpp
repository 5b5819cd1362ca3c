#include "app/Main_Form.h"

namespace mirel {

void Main_Form::TitleDisp() {}
void Main_Form::Smenu_MouseMove(int) {}
void Main_Form::Smenu_MouseDown(int) {}
void Main_Form::prog_end_Click() {}
void Main_Form::prog_load_Click() {}
void Main_Form::prog_save_Click() {}
void Main_Form::opt_menu_Click() {}
void Main_Form::vvrr_Click() {}

}  // namespace mirel
