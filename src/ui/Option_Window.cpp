#include "ui/Option_Window.h"

namespace mirel {

Option_Window::Option_Window(Main_Form& main) : Form(main) { model.name = "Option_Window"; }

void Option_Window::Form_Load() {}

void Option_Window::OnControl(const InputEvent&) {}

}  // namespace mirel
