#pragma once
// The machine's own steady clock, for the desktop.
#include <cstdint>

#include "platform/Clock.h"

namespace mirel {

class RealClock final : public Clock {
 public:
  RealClock();
  uint32_t GetTickCount() override;
  void Sleep(uint32_t ms) override;

 private:
  uint64_t start_ns_;
};

}  // namespace mirel
