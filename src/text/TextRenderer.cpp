#include "app/Main_Form.h"

namespace mirel {

void Main_Form::TalkDisp() {}
void Main_Form::MessageDisp(const Text&, const Text&, uint32_t) {}
void Main_Form::PageCheck() {}

}  // namespace mirel
