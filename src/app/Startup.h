#pragma once
#include "app/Main_Form.h"

namespace mirel {

// Runs the program on an existing main window: the load sequence, play,
// then the unload sequence. Returns the exit status (0 after a normal end).
int RunProgram(Main_Form& form);

}  // namespace mirel
