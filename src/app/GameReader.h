#pragma once
// The main window read for assistive technology and driven from the
// keyboard: what the player can read and use now, and the handlers a mouse
// would reach.
#include <memory>

#include "comfort/Accessibility.h"

namespace mirel {

class Main_Form;

std::unique_ptr<GameReader> MakeGameReader(Main_Form& f);

}  // namespace mirel
