#pragma once
// Game time for headless runs and tests.
#include <cstdint>

#include "platform/Clock.h"

namespace mirel {

// Sleeping advances the time at once. A busy loop that only reads the tick
// count still sees time pass (one millisecond per `spinReadsPerMs` reads), so
// no wait can hang.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(uint32_t start = 0) : now_(start) {}
  uint32_t GetTickCount() override;
  void Sleep(uint32_t ms) override;
  void Advance(uint32_t ms) { now_ += ms; }
  uint64_t TotalSlept() const { return slept_; }
  // Extra milliseconds every GetTickCount costs: makes a "slow machine".
  void SetCostPerRead(uint32_t ms) { costPerRead_ = ms; }
  void SetSpinReadsPerMs(uint32_t n) { spinReadsPerMs_ = n ? n : 1; }

 private:
  uint32_t now_;
  uint64_t slept_ = 0;
  uint32_t costPerRead_ = 0;
  uint32_t spinReadsPerMs_ = 1000;
  uint32_t readsSinceSleep_ = 0;
};

}  // namespace mirel
