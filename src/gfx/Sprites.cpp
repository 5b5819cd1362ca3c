#include "app/Main_Form.h"

namespace mirel {

int32_t Main_Form::ShowDoll() { return 2; }
int32_t Main_Form::ChangeFace() { return 0; }
void Main_Form::HideDoll(int) {}
void Main_Form::LoadDoll(int, int) {}
void Main_Form::LoadFaces() {}
int Main_Form::FaceEntryFor(int) { return 0; }

}  // namespace mirel
