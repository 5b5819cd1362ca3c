#include "platform/headless/VirtualClock.h"

namespace mirel {

uint32_t VirtualClock::GetTickCount() {
  now_ += costPerRead_;
  if (++readsSinceSleep_ >= spinReadsPerMs_) {
    readsSinceSleep_ = 0;
    ++now_;
  }
  return now_;
}

void VirtualClock::Sleep(uint32_t ms) {
  readsSinceSleep_ = 0;
  now_ += ms;
  slept_ += ms;
}

}  // namespace mirel
