// The player's sliders in our mixer: music and effects apart, beneath the
// game's master volume as its fades move it, and silent when muted.
#include <gtest/gtest.h>

#include <vector>

#include "audio/Mixer.h"
#include "audio/Riff.h"
#include "audio/audio_harness.h"
#include "comfort/Volume.h"

namespace mirel {
namespace {

// A steady tone level, so the mix can be read off one sample.
struct Steady : MusicSource {
  float level = 0.2f;
  void RenderMusic(float* s, int n) override {
    for (int i = 0; i < 2 * n; ++i) s[i] = level;
  }
};

TEST(PlayerVolume, SlidersScaleMusicAndEffectsApartBeneathTheFadingMasterVolume) {
  struct Case {
    uint32_t master;  // levels a fade passes through
    int music, effects;
    bool muted, muteUnfocused, focused;
  };
  const Case cases[] = {
      {65535, 100, 100, false, false, true},  {65535, 50, 100, false, false, true},
      {65535, 100, 25, false, false, true},   {57344, 80, 40, false, false, true},
      {8192, 30, 70, false, false, true},     {0, 100, 100, false, false, true},
      {65535, 0, 100, false, false, true},    {32768, 60, 60, true, false, true},
      {32768, 60, 60, false, true, false},    {32768, 60, 60, false, true, true},
  };
  const float music = 0.2f, wave = 8192 / 32768.0f;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "master " << c.master << " music " << c.music << " effects " << c.effects
                                    << (c.muted ? " muted" : "") << (c.muteUnfocused && !c.focused ? " unfocused" : ""));
    PlayerSettings s;
    s.musicVolume = c.music;
    s.effectsVolume = c.effects;
    s.muted = c.muted;
    s.muteUnfocused = c.muteUnfocused;
    PlayerGains g = GainsFor(s, c.focused);
    Steady song;
    song.level = music;
    Mixer m;
    m.SetMusic(&song);
    m.SetVolume(c.master);
    m.SetPlayerGains(g.music, g.effects);
    // Read at the end of each block, past the limiter's look-ahead.
    constexpr int kFrames = 256;
    std::vector<float> out(2 * kFrames);
    m.Render(out.data(), kFrames);  // music alone
    bool silent = c.muted || (c.muteUnfocused && !c.focused);
    double master = c.master / 65535.0;
    double musicLevel = silent ? 0 : music * c.music / 100.0;
    EXPECT_NEAR(out[2 * kFrames - 2], musicLevel * master, 1e-4);
    ASSERT_TRUE(m.PlayWave(test::ConstantWave(1, 44100, 1000, 8192)));
    m.Render(out.data(), kFrames);  // music and a sound
    double effectsLevel = silent ? 0 : wave * Mixer::kWaveLevel * c.effects / 100.0;
    EXPECT_NEAR(out[2 * kFrames - 2], (musicLevel + effectsLevel) * master, 1e-4);
    EXPECT_NEAR(out[2 * kFrames - 1], out[2 * kFrames - 2], 1e-6);
  }
}

}  // namespace
}  // namespace mirel
