// Rendering the mix as the sound card pulls it: one second of a demo song
// with a wave sound on top. The share of one core is that second's cost.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/Mixer.h"
#include "audio/WaveResources.h"
#include "base/Files.h"
#include "base/RealClock.h"
#include "platform/host/HostAudio.h"
#include "platform/host/SynthAudio.h"

namespace mirel {
namespace {

void BM_MixOneSecondOfSongAndSound(benchmark::State& state) {
  std::string song = ProgramDir() + "../demo-data/bgm0" + std::to_string(state.range(0)) + ".mid";
  std::string sf = FindSoundfont("");
  RealClock clock;
  SynthAudio synth(clock, sf);
  if (!synth.Ready() || !FileExists(song)) {
    state.SkipWithError("needs the demo data folder and a soundfont");
    return;
  }
  synth.SendString("open \"" + song + "\" type sequencer alias midifile", nullptr);
  synth.SendString("play midifile from 0", nullptr);
  Bytes chime = LoadWaveResource(106);
  std::vector<float> buf(2 * 1024);
  double peak = 0;
  for (auto _ : state) {
    synth.PlaySound(chime, kSndMemory | kSndAsync);
    for (int done = 0; done < Mixer::kRate; done += 1024) {
      int n = std::min(1024, Mixer::kRate - done);
      synth.Render(buf.data(), n);
      for (int i = 0; i < 2 * n; ++i) peak = std::max<double>(peak, buf[i] < 0 ? -buf[i] : buf[i]);
    }
    std::string status;
    synth.SendString("status midifile mode", &status);
    if (status != "playing") synth.SendString("play midifile from 0", nullptr);
    benchmark::DoNotOptimize(buf.data());
  }
  // Each iteration is one second of sound: its time in ms over 10 is the
  // percentage of one core. The peak shows the mix stays clear of clipping.
  state.counters["peak"] = peak;
  // The soundfont weighs on the cost: the fuller one is taken where installed.
  state.SetLabel("time per iteration = cost of 1 s of sound, " + sf.substr(sf.rfind('/') + 1));
}
BENCHMARK(BM_MixOneSecondOfSongAndSound)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirel
