#include "app/Main_Form.h"

namespace mirel {

int32_t Main_Form::CmdAudio() { return 2; }

}  // namespace mirel
