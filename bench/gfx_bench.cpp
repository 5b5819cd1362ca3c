// The raster operations and blends every picture effect is built from.
// Targets: a whole-screen SRCCOPY well under 0.3 ms, a 300 x 400 sprite
// mask under 0.5 ms and a whole-screen blend well under 1.5 ms (the
// cross-fade blends once per 80 ms frame).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "gfx/Gdi.h"

namespace mirel {
namespace {

// Noise is the worst case for anything that profits from neighbouring
// pixels being alike.
Surface Noise(int w, int h, uint32_t seed) {
  Surface s;
  s.Resize(w, h);
  std::mt19937 rng(seed);
  for (auto& p : s.pixels) p = rng() & 0xFFFFFF;
  return s;
}

// A sprite: a figure on black, about half the picture transparent.
Surface Sprite(int w, int h) {
  Surface s = Noise(w, h, 5);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int cx = x - w / 2, cy = y - h / 2;
      if (cx * cx * h * h + cy * cy * w * w > w * w * h * h / 6) s.At(x, y) = kBlack;
    }
  return s;
}

void RasterOp(benchmark::State& state, Rop rop) {
  Surface dst = Noise(640, 480, 1);
  const Surface src = Noise(640, 480, 2);
  for (auto _ : state) {
    BitBlt(dst, 0, 0, 640, 480, src, 0, 0, rop);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}

void BM_SrcCopy640x480(benchmark::State& state) { RasterOp(state, Rop::SrcCopy); }
BENCHMARK(BM_SrcCopy640x480)->Unit(benchmark::kMicrosecond);

void BM_SrcAnd640x480(benchmark::State& state) { RasterOp(state, Rop::SrcAnd); }
BENCHMARK(BM_SrcAnd640x480)->Unit(benchmark::kMicrosecond);

void BM_SrcInvert640x480(benchmark::State& state) { RasterOp(state, Rop::SrcInvert); }
BENCHMARK(BM_SrcInvert640x480)->Unit(benchmark::kMicrosecond);

// Scrolling a picture within its own surface.
void BM_SrcCopySameSurface640x478(benchmark::State& state) {
  Surface s = Noise(640, 480, 3);
  int step = 0;
  for (auto _ : state) {
    const int down = (step++ & 1) ? 2 : 0;
    BitBlt(s, 0, down, 640, 478, s, 0, 2 - down, Rop::SrcCopy);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SrcCopySameSurface640x478)->Unit(benchmark::kMicrosecond);

void BM_MakeMask300x400(benchmark::State& state) {
  Surface body = Sprite(300, 400);
  Surface mask;
  mask.Resize(300, 400);
  for (auto _ : state) {
    MakeMask(mask, body, 0, 0, 300, 400);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MakeMask300x400)->Unit(benchmark::kMicrosecond);

// Every iteration starts from the same noisy screen; the restore is not
// timed. The weight of the cross-fade's frames.
void BM_DibBlend640x480(benchmark::State& state) {
  const Surface start = Noise(640, 480, 7);
  const Surface next = Noise(640, 480, 8);
  Surface screen = start;
  WorkDib dib;
  dib.DibCreate(640, 480);
  for (auto _ : state) {
    state.PauseTiming();
    screen.pixels = start.pixels;
    state.ResumeTiming();
    dib.DibBlend(screen, 0, 0, 640, 480, next, 0, 0, 0.1f);
    benchmark::ClobberMemory();
  }
  dib.DibRelease();
}
BENCHMARK(BM_DibBlend640x480)->Unit(benchmark::kMicrosecond);

// A new weight every call: the cost of a blend that cannot reuse anything
// from the call before.
void BM_DibBlend640x480NewWeight(benchmark::State& state) {
  const Surface start = Noise(640, 480, 7);
  const Surface next = Noise(640, 480, 8);
  Surface screen = start;
  WorkDib dib;
  dib.DibCreate(640, 480);
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    screen.pixels = start.pixels;
    state.ResumeTiming();
    dib.DibBlend(screen, 0, 0, 640, 480, next, 0, 0, static_cast<float>(i++ % 1000) / 1000.0f);
    benchmark::ClobberMemory();
  }
  dib.DibRelease();
}
BENCHMARK(BM_DibBlend640x480NewWeight)->Unit(benchmark::kMicrosecond);

// The message window's translucent fill: create, blend, release each time.
void BM_BlendRect568x100(benchmark::State& state) {
  const Surface start = Noise(576, 108, 9);
  const Surface fill = Noise(576, 108, 10);
  Surface window = start;
  WorkDib dib;
  for (auto _ : state) {
    state.PauseTiming();
    window.pixels = start.pixels;
    state.ResumeTiming();
    BlendRect(dib, window, 4, 4, 568, 100, fill, 4, 4, 0.6f);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BlendRect568x100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mirel
