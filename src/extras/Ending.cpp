#include "app/Main_Form.h"

namespace mirel {

void Main_Form::RunEnding() {}

}  // namespace mirel
