#include "app/Main_Form.h"

namespace mirel {

void Main_Form::WakuBackdrop() { Waku[0].Visible = true; LastSpeaker = -1; }

}  // namespace mirel
