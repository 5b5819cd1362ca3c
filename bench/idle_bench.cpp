// What waiting for the player costs: the story sits in Keys, the mark
// blinks, nothing else happens. The wait must leave the processor idle
// (well under 2% of one core).
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>

#include "app/Main_Form.h"
#include "platform/HeadlessWindow.h"
#include "platform/NullAudio.h"

namespace mirel {
namespace {

// A headless window whose refresh composes the whole screen, as a real
// window's paint does, so the blink costs what it costs on a desktop.
class ComposingWindow final : public WindowHost {
 public:
  explicit ComposingWindow(FontRasterizer& fonts) : fonts_(fonts) {}
  Controls* controls = nullptr;
  void Show() override { w_.Show(); }
  void Refresh() override {
    if (controls) Compose(*controls, fonts_, frame_);
  }
  void Sync(const FormState& s) override { w_.Sync(s); }
  Rect OuterRect() override { return w_.OuterRect(); }
  Rect ClientRect() override { return w_.ClientRect(); }
  void SetOuterSize(int w, int h) override { w_.SetOuterSize(w, h); }
  void Move(int x, int y) override { w_.Move(x, y); }
  int ScreenWidth() override { return w_.ScreenWidth(); }
  int ScreenHeight() override { return w_.ScreenHeight(); }
  bool HasCaption() override { return w_.HasCaption(); }
  void SetCaption(bool on) override { w_.SetCaption(on); }
  bool ChangeDisplayMode(bool f) override { return w_.ChangeDisplayMode(f); }
  bool InFullScreenMode() override { return w_.InFullScreenMode(); }
  void SetImeOpen(bool open) override { w_.SetImeOpen(open); }

 private:
  HeadlessWindow w_;
  FontRasterizer& fonts_;
  Image frame_;
};

class NoFacts final : public SystemInfo {
 public:
  HostFacts Facts() override { return {}; }
};

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
  explicit Screen(Clock& clock) : events(clock), window(fonts) {
    p.clock = &clock;
    p.events = &events;
    p.messages = &messages;
    p.images = &images;
    p.fonts = &fonts;
    p.audio = &audio;
    p.system = &facts;
    p.window = &window;
    p.dialogs = &dialogs;
    f = std::make_unique<Main_Form>(p, StartOptions{});
    window.controls = f.get();
    f->LayOutMainWindow();
    f->Pic_Main.Visible = true;
    f->Waku[0].Visible = true;
    f->timers.SetEnabled(f->ClickerTimer, true);
    f->timers.SetEnabled(f->BGMLoopTimer, true);
  }
  AdvanceAt events;
  ScriptedMessageBoxes messages;
  BmpCodec images;
  BoxFont fonts;
  NullAudio audio;
  NoFacts facts;
  ComposingWindow window;
  NullDialogHost dialogs;
  Platform p;
  std::unique_ptr<Main_Form> f;
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
