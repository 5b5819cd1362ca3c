#include "base/RealClock.h"

#include <chrono>
#include <thread>

namespace mirel {

static uint64_t SteadyNs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

RealClock::RealClock() : start_ns_(SteadyNs()) {}

uint32_t RealClock::GetTickCount() { return static_cast<uint32_t>((SteadyNs() - start_ns_) / 1000000u); }

void RealClock::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace mirel
