#include "app/Main_Form.h"

namespace mirel {

void Main_Form::FrameBegin() { FrameTick = GetTickCount(); }

void Main_Form::FrameEnd(uint32_t periodMs) {
  PresentChanges();
  FrameElapsed = TicksSince(FrameTick, GetTickCount());
  // A slow frame is not made up later.
  if (FrameElapsed < periodMs) Sleep(periodMs - FrameElapsed);
  DoEvents();
}

}  // namespace mirel
