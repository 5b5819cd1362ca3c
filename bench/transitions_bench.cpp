// The drawing of one frame of every background transition, without the
// pacing sleeps: each must stay well inside the shortest frame period, and
// the whole-screen ones (mesh, blend, pixel codes) under 3 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "gfx/Gdi.h"
#include "gfx/Transitions.h"

namespace mirel {
namespace {

Surface Picture(int w, int h, uint32_t seed) {
  Surface s;
  s.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.At(x, y) = Rgb((x * 3 + y + static_cast<int>(seed)) & 255, (x + y * 7) & 255, (x * y + static_cast<int>(seed)) & 255);
  return s;
}

struct Screens {
  Surface screen = Picture(640, 480, 1);
  Surface next = Picture(640, 480, 77);
};

void BM_DissolveColumnsFrame(benchmark::State& state) {
  Screens s;
  int i = 0;
  for (auto _ : state) {
    effects::DissolveColumns(s.screen, s.next, i);
    i = (i + 1) % 50;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DissolveColumnsFrame)->Unit(benchmark::kMicrosecond);

void BM_VerticalBlindsFrame(benchmark::State& state) {
  Screens s;
  int i = 0;
  for (auto _ : state) {
    effects::VerticalBlinds(s.screen, s.next, i);
    i = (i + 2) % 322;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_VerticalBlindsFrame)->Unit(benchmark::kMicrosecond);

void BM_HorizontalBlindsFrame(benchmark::State& state) {
  Screens s;
  int i = 0;
  for (auto _ : state) {
    effects::HorizontalBlinds(s.screen, s.next, i);
    i = (i + 2) % 242;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_HorizontalBlindsFrame)->Unit(benchmark::kMicrosecond);

void BM_CurtainWipeFrame(benchmark::State& state) {
  Screens s;
  int i = 0;
  for (auto _ : state) {
    effects::CurtainWipe(s.screen, s.next, 15 * i);
    i = (i + 1) % 43;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CurtainWipeFrame)->Unit(benchmark::kMicrosecond);

void BM_GrowingBoxesFrame(benchmark::State& state) {
  Screens s;
  for (auto _ : state) {
    // The last frame copies the most.
    effects::GrowingBoxes(s.screen, s.next, 20);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GrowingBoxesFrame)->Unit(benchmark::kMicrosecond);

void BM_CheckerPhase(benchmark::State& state) {
  Screens s;
  int phase = 1;
  for (auto _ : state) {
    effects::CheckerPhase(s.screen, s.next, phase);
    phase = 3 - phase;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CheckerPhase)->Unit(benchmark::kMicrosecond);

void BM_MeshFrame(benchmark::State& state) {
  Screens s;
  Surface mesh1, scratch;
  effects::BuildMeshPattern(mesh1);
  scratch.Resize(32, 32);
  int k = 0;
  for (auto _ : state) {
    effects::MeshFrame(s.screen, s.next, 0, scratch, mesh1, k);
    k = (k + 1) % 9;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MeshFrame)->Unit(benchmark::kMicrosecond);

void BM_CrossFadeFrame(benchmark::State& state) {
  Screens s;
  WorkDib dib;
  dib.DibCreate(640, 480);
  for (auto _ : state) {
    dib.DibBlend(s.screen, 0, 0, 640, 480, s.next, 0, 0, 0.1f);
    benchmark::ClobberMemory();
  }
  dib.DibRelease();
}
BENCHMARK(BM_CrossFadeFrame)->Unit(benchmark::kMicrosecond);

void BM_WholeCopyFrame(benchmark::State& state) {
  Screens s;
  for (auto _ : state) {
    effects::CopyRect(s.screen, s.next, 0, 0, 640, 480);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WholeCopyFrame)->Unit(benchmark::kMicrosecond);

// A frame of a pixel code: read the picture, recolour it, write it to the
// surface it goes to, copy to the screen where the code does so.
enum class Code { DK, SP, MC, SO, MO, MI };

void BM_PixelCodeFrame(benchmark::State& state) {
  const Code code = static_cast<Code>(state.range(0));
  Screens s;
  std::vector<uint32_t> px;
  for (auto _ : state) {
    const int count = GetPixels(s.next, px);
    switch (code) {
      case Code::DK: effects::Darken(px, count); break;
      case Code::SP: effects::Sepia(px, count); break;
      case Code::MC: effects::Grey(px, count); break;
      case Code::SO: effects::WarmFade(px, count, 0.30000000000000004); break;
      case Code::MO: effects::GreyFade(px, count, 0.30000000000000004); break;
      case Code::MI: effects::GreyFade(px, count, 0.5); break;
    }
    if (code == Code::DK || code == Code::SO || code == Code::MO) {
      SetPixels(s.next, px);
      effects::CopyRect(s.screen, s.next, 0, 0, 640, 480);
    } else {
      SetPixels(s.screen, px);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PixelCodeFrame)
    ->ArgName("DK0_SP1_MC2_SO3_MO4_MI5")
    ->DenseRange(0, 5)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mirel
