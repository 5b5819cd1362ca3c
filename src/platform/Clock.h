#pragma once
// The millisecond tick count and sleeping. The engine never reads the time
// any other way, so a virtual clock runs whole plays without real waiting.
#include <cstdint>

namespace mirel {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps around like a 32-bit counter.
  virtual uint32_t GetTickCount() = 0;
  virtual void Sleep(uint32_t ms) = 0;
};

// Elapsed milliseconds between two tick counts, correct across wrap-around.
inline uint32_t TicksSince(uint32_t start, uint32_t now) { return now - start; }

}  // namespace mirel
