#include "app/Main_Form.h"

namespace mirel {

int32_t Main_Form::CmdJump() { return 2; }
int32_t Main_Form::CmdCounter() { return 2; }
int32_t Main_Form::CmdEquality() { return 2; }
int32_t Main_Form::CmdCompare() { return 2; }
int32_t Main_Form::CmdTextParam() { return 0; }
int32_t Main_Form::CmdWait() { return 2; }
void Main_Form::JumpToBlock(int16_t) {}
void Main_Form::FindChoiceRow(int16_t) {}

}  // namespace mirel
