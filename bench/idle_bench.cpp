// What waiting for the player costs: the story sits in Keys, the mark
// blinks, nothing else happens. The wait must leave the processor idle
// (well under 2% of one core).
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>

#include "BenchScreen.h"
#include "base/RealClock.h"
#include "platform/headless/VirtualClock.h"

namespace mirel {
namespace {

// Ends the wait once the clock has passed a point.
class AdvanceAt final : public EventSource {
 public:
  AdvanceAt(Clock& c) : clock_(c) {}
  uint32_t at = 0;
  void Pump(EventQueue& q) override {
    if (static_cast<int32_t>(clock_.GetTickCount() - at) >= 0) {
      InputEvent e;
      e.kind = EventKind::KeyDown;
      e.key = 32;
      q.push_back(e);
    }
  }

 private:
  Clock& clock_;
};

struct Screen {
  explicit Screen(Clock& clock) : events(clock), s(clock, events), f(s.f) {
    f->Waku[0].Visible = true;
    f->timers.SetEnabled(f->ClickerTimer, true);
    f->timers.SetEnabled(f->BGMLoopTimer, true);
  }
  AdvanceAt events;
  bench::Screen s;
  std::unique_ptr<Main_Form>& f;
};

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// The loop's own work per waited second: on a virtual clock the sleeps
// cost nothing, so all wall time measured is processor time of the wait.
void BM_KeysWorkPerVirtualSecond(benchmark::State& state) {
  VirtualClock clock;
  Screen s(clock);
  const uint32_t waitMs = 60000;
  double wall = 0;
  for (auto _ : state) {
    s.events.at = clock.GetTickCount() + waitMs;
    auto t0 = std::chrono::steady_clock::now();
    s.f->Keys();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  double waited = static_cast<double>(state.iterations()) * waitMs / 1000.0;
  state.counters["cpu_percent_of_core"] = wall / waited * 100.0;
  state.counters["us_per_waited_second"] = wall / waited * 1e6;
}
BENCHMARK(BM_KeysWorkPerVirtualSecond)->Unit(benchmark::kMillisecond);

// The same wait for real: two seconds on the system clock, processor time
// of the process against the time that passed.
void BM_KeysIdleOnTheRealClock(benchmark::State& state) {
  RealClock clock;
  Screen s(clock);
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    s.events.at = clock.GetTickCount() + 2000;
    double c0 = CpuSeconds();
    auto t0 = std::chrono::steady_clock::now();
    s.f->Keys();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cpu += CpuSeconds() - c0;
  }
  state.counters["cpu_percent_of_core"] = cpu / wall * 100.0;
}
BENCHMARK(BM_KeysIdleOnTheRealClock)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirel
