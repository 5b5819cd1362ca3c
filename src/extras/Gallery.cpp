#include "app/Main_Form.h"

namespace mirel {

void Main_Form::OpenGallery() {}
void Main_Form::Pic_MouseMove(int) {}
void Main_Form::Pic_Click(int) {}
void Main_Form::SCG_Click() {}
void Main_Form::CG_END_Click() {}

}  // namespace mirel
