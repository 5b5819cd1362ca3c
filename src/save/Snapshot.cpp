#include "app/Main_Form.h"

namespace mirel {

void Main_Form::Save_Data_stack() {}
void Main_Form::Continue_game() {}

}  // namespace mirel
