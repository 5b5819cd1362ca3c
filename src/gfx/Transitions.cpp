#include "app/Main_Form.h"

namespace mirel {

void Main_Form::PlaceEffect() { BitBlt(Pic_Main, 0, 0, 640, 480, Pic_Back, 0, 0, Rop::SrcCopy); Pic_Main.Refresh(); }
int32_t Main_Form::ShowBackground() { return 2; }
void Main_Form::PlayOpening() {}
void Main_Form::BuildMesh1() {}

}  // namespace mirel
