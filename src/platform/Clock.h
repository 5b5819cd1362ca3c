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

class RealClock final : public Clock {
 public:
  RealClock();
  uint32_t GetTickCount() override;
  void Sleep(uint32_t ms) override;

 private:
  uint64_t start_ns_;
};

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
