#include "app/Main_Form.h"

namespace mirel {

void Main_Form::BGMLoop_Timer() {}

}  // namespace mirel
