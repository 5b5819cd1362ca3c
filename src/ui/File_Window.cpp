#include "ui/File_Window.h"

namespace mirel {

File_Window::File_Window(Main_Form& main) : Form(main) { model.name = "File_Window"; }

void File_Window::Form_Load() {}

void File_Window::OnControl(const InputEvent&) {}

}  // namespace mirel
