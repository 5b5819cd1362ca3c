#include "app/Main_Form.h"

namespace mirel {

void Main_Form::WakuBuild() {}
void Main_Form::WakuClear() { LineNo = 0; LastSpeaker = -1; }

}  // namespace mirel
