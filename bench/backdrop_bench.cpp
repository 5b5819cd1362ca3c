// Showing the message window: the frame, the scene and two sprites copied
// behind it, the fill blended over them and the date tab masked in. It runs
// each time the hidden window comes back, so it must stay under 1 ms.
#include <benchmark/benchmark.h>

#include "BenchScreen.h"
#include "platform/headless/VirtualClock.h"

namespace mirel {
namespace {

class NoEvents final : public EventSource {
 public:
  void Pump(EventQueue&) override {}
};

// state.range(0): 1 when the window is presented as well (what changed is
// composed and handed over); 0 for the engine's own work.
void BM_WakuBackdrop(benchmark::State& state) {
  VirtualClock clock;
  NoEvents events;
  bench::Screen s(clock, events);
  Main_Form& f = *s.f;
  f.Texture.Resize(352, 340);
  for (int y = 0; y < 340; ++y)
    for (int x = 0; x < 352; ++x) f.Texture.At(x, y) = Rgb(x & 255, y & 255, (x ^ y) & 255);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) f.Pic_Main.At(x, y) = Rgb(x / 3, y / 2, (x + y) & 255);
  f.WakuBuild();
  for (int p : {0, 1}) {
    f.Doll_Disp[p].Move(p ? 350 : 40, 100, 250, 380);
    std::fill(f.Doll_Disp[p].pixels.begin(), f.Doll_Disp[p].pixels.end(), Rgb(200, 100, 50));
    f.Doll_Disp[p].Visible = true;
    f.DollX[p] = static_cast<int16_t>(p ? 350 : 40);
    f.DollY[p] = 100;
    f.DollW[p] = 250;
    f.DollH[p] = 380;
    f.PosUsed[p] = true;
  }
  f.WakuOpacity = 0.6f;
  for (auto _ : state) {
    f.WakuBackdrop();
    if (state.range(0)) f.PresentChanges();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WakuBackdrop)->ArgName("composed")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mirel
