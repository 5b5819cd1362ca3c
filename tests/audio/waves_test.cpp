// The built-in wave sounds: their RIFF images, formats and lengths, and how
// they play: clicks block their caller for their length, the rest play on
// while a new one replaces the one sounding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "audio/Mci.h"
#include "audio/Mixer.h"
#include "audio/Riff.h"
#include "audio/WaveResources.h"
#include "audio_harness.h"
#include "platform/VirtualAudio.h"

namespace mirel {
namespace {

struct Table {
  int id, channels, rate, bits;
  double seconds;
};
const Table kTable[] = {
    {100, 1, 11025, 8, 0.10}, {101, 1, 11025, 16, 0.01}, {102, 1, 22050, 16, 0.06},
    {103, 1, 22050, 16, 0.74}, {104, 1, 22050, 16, 0.71}, {105, 1, 22050, 16, 0.09},
    {106, 2, 22050, 16, 5.69}, {107, 1, 11025, 8, 7.99}, {108, 1, 11025, 16, 0.91},
};

uint32_t Le(const Bytes& b, size_t i, int n) {
  uint32_t v = 0;
  for (int k = n - 1; k >= 0; --k) v = (v << 8) | b[i + k];
  return v;
}

// Read straight from the bytes, not through the program's own parser.
TEST(WaveResources, EachIsACompleteRiffImageOfItsFormatAndLength) {
  for (const Table& t : kTable) {
    SCOPED_TRACE(t.id);
    Bytes w = LoadWaveResource(t.id);
    ASSERT_GE(w.size(), 44u);
    EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
    EXPECT_EQ(Le(w, 4, 4), w.size() - 8);
    EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le(w, 20, 2), 1u);  // PCM
    EXPECT_EQ(Le(w, 22, 2), uint32_t(t.channels));
    EXPECT_EQ(Le(w, 24, 4), uint32_t(t.rate));
    uint32_t block = t.channels * t.bits / 8;
    EXPECT_EQ(Le(w, 28, 4), t.rate * block);
    EXPECT_EQ(Le(w, 32, 2), block);
    EXPECT_EQ(Le(w, 34, 2), uint32_t(t.bits));
    EXPECT_EQ(std::string(w.begin() + 36, w.begin() + 40), "data");
    uint32_t data = Le(w, 40, 4);
    EXPECT_EQ(44 + data + (data & 1), w.size());
    double seconds = double(data / block) / t.rate;
    EXPECT_NEAR(seconds, t.seconds, 0.5 / t.rate + 1e-9);  // half a sample either way
  }
}

TEST(WaveResources, EachSoundsWithoutClippingAndStartsAndEndsQuietly) {
  for (const Table& t : kTable) {
    SCOPED_TRACE(t.id);
    Bytes w = LoadWaveResource(t.id);
    auto info = ParseWave(w);
    ASSERT_TRUE(info);
    uint32_t n = info->Frames();
    double peak = 0, sum = 0;
    for (uint32_t i = 0; i < n; ++i)
      for (int ch = 0; ch < t.channels; ++ch) {
        double v = WaveSample(w, *info, i, ch);
        peak = std::max(peak, std::abs(v));
        sum += v * v;
      }
    double rms = std::sqrt(sum / (n * t.channels));
    EXPECT_GT(peak, 0.2);
    EXPECT_LT(peak, 0.999);
    EXPECT_GT(rms, 0.02);
    EXPECT_LT(std::abs(WaveSample(w, *info, n - 1, 0)), 0.05);
  }
}

TEST(WaveResources, OpeningSoundIsReallyStereoAndUnknownIdsAreEmpty) {
  Bytes w = LoadWaveResource(106);
  auto info = ParseWave(w);
  ASSERT_TRUE(info);
  double diff = 0;
  for (uint32_t i = 0; i < info->Frames(); ++i) diff += std::abs(WaveSample(w, *info, i, 0) - WaveSample(w, *info, i, 1));
  EXPECT_GT(diff / info->Frames(), 0.005);
  EXPECT_TRUE(LoadWaveResource(99).empty());
  EXPECT_TRUE(LoadWaveResource(109).empty());
  EXPECT_TRUE(LoadWaveResource(0).empty());
}

// On the virtual output, played through the module as the game plays them.
TEST(WaveResources, ClicksBlockForTheirLengthOthersReturnAtOnce) {
  VirtualClock clock(500);
  VirtualAudio audio(clock);
  PlayState ps;
  int pumps = 0;
  Mci mci(audio, ps, clock, [&] { ++pumps; });
  for (const Table& t : kTable) {
    SCOPED_TRACE(t.id);
    uint32_t before = clock.GetTickCount();
    mci.PlaySe(t.id);
    uint32_t took = clock.GetTickCount() - before;
    if (t.id <= 102) {
      EXPECT_GE(took, uint32_t(std::floor(t.seconds * 1000)));
      EXPECT_LE(took, uint32_t(std::ceil(t.seconds * 1000)) + 2);
    } else {
      EXPECT_LE(took, 1u);
      EXPECT_TRUE(audio.SoundPlaying());
    }
  }
  EXPECT_EQ(pumps, 0);  // a blocking sound lets nothing else run
  clock.Advance(8000);
  EXPECT_FALSE(audio.SoundPlaying());
}

TEST(WaveResources, NewSoundReplacesTheOneSounding) {
  Mixer mixer;
  ASSERT_TRUE(mixer.PlayWave(LoadWaveResource(107)));  // eight seconds of rain
  std::vector<float> out(2 * Mixer::kRate / 10);
  mixer.Render(out.data(), Mixer::kRate / 10);
  EXPECT_GT(test::Rms(out, 0, out.size() / 2), 0.003);
  ASSERT_TRUE(mixer.PlayWave(LoadWaveResource(105)));  // a pop of 0.09 s
  // The pop, then silence: the rain does not come back.
  std::vector<float> rest(2 * Mixer::kRate);
  mixer.Render(rest.data(), Mixer::kRate);
  size_t popEnd = size_t(0.09 * Mixer::kRate) + 2 + Limiter::kLookahead;
  EXPECT_GT(test::Rms(rest, 0, popEnd), 0.01);
  EXPECT_EQ(test::Rms(rest, popEnd, Mixer::kRate), 0.0);
  EXPECT_FALSE(mixer.WavePlaying());
}

}  // namespace
}  // namespace mirel
