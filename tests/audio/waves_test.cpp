// The built-in wave sounds: their RIFF images, formats and lengths.
#include <gtest/gtest.h>

#include "audio/Mci.h"
#include "audio/Mixer.h"
#include "audio/Riff.h"
#include "audio/WaveResources.h"
#include "audio_harness.h"
#include "platform/headless/VirtualAudio.h"

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

}  // namespace
}  // namespace mirel
