#include "app/Main_Form.h"

namespace mirel {

int32_t Main_Form::SelectDisp() { CurSeq = CurSeq + 1; return 1; }
void Main_Form::SelTxt_MouseDown(int, int) {}
void Main_Form::SelTxt_MouseMove(int) {}

}  // namespace mirel
