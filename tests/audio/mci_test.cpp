// The MCI module against a back end that records its commands: failures
// switching music and sounds off, and the fades' levels and timing.
#include <gtest/gtest.h>

#include "audio/Mci.h"
#include "audio/WaveResources.h"
#include "audio_harness.h"

namespace mirel {
namespace {

struct MciTest : ::testing::Test {
  VirtualClock clock{1000};
  test::ScriptedBackend backend{clock};
  PlayState ps;
  int pumps = 0;
  std::vector<std::string> logged;
  Mci mci{backend, ps, clock, [this] { ++pumps; }};
  void SetUp() override {
    mci.log = [this](const std::string& s) { logged.push_back(s); };
    ASSERT_TRUE(mci.OpenMixer());
    ASSERT_TRUE(mci.GetVolumeControl(4));
  }
};

TEST_F(MciTest, OpenOrPlayFailureSwitchesMusicOffAndSaysWhy) {
  backend.codes["open"] = 275;
  mci.PlayMidi("/data/missing.mid");
  EXPECT_FALSE(ps.BgmOn);
  EXPECT_TRUE(ps.SeOn);
  ASSERT_EQ(backend.commands.size(), 1u);  // no play after a failed open
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("/data/missing.mid"), std::string::npos);

  ps.BgmOn = true;
  backend.commands.clear();
  backend.codes = {{"play", 277}};
  mci.PlayMidi("/data/bad.mid");
  EXPECT_FALSE(ps.BgmOn);
  EXPECT_EQ(backend.commands.size(), 2u);
  EXPECT_EQ(mci.CurrentSongPath(), "");
  EXPECT_TRUE(mci.SongOpen());  // the alias stays open until StopMidi
}

TEST_F(MciTest, MixerFailureSwitchesMusicAndSoundsOff) {
  test::ScriptedBackend dead(clock);
  dead.mixerOk = false;
  PlayState p;
  Mci m(dead, p, clock, nullptr);
  EXPECT_FALSE(m.OpenMixer());
  EXPECT_FALSE(p.BgmOn);
  EXPECT_FALSE(p.SeOn);
  uint32_t v = 1234;
  EXPECT_FALSE(m.GetVolumeControl(4));
  EXPECT_FALSE(m.GetVolume(v));
  EXPECT_EQ(v, 1234u);  // a failed read stores nothing

  PlayState q;
  Mci other(backend, q, clock, nullptr);
  ASSERT_TRUE(other.OpenMixer());
  EXPECT_FALSE(other.GetVolumeControl(5));  // only the speakers' line has a volume
  EXPECT_FALSE(q.BgmOn);
}

// The levels a fade passes: from the start value down by an eighth of it
// while the level is not negative, or up from 0 while it does not pass the
// end value.
TEST_F(MciTest, FadesPassTheListedLevelsAtHundredMillisecondSteps) {
  mci.FadeOut(65535);
  std::vector<uint32_t> down = {65535, 57344, 49153, 40962, 32771, 24580, 16389, 8198, 7};
  EXPECT_EQ(backend.Levels(), down);
  for (size_t i = 1; i < backend.sets.size(); ++i) {
    uint32_t gap = backend.sets[i].second - backend.sets[i - 1].second;
    EXPECT_GE(gap, 100u);
    EXPECT_LE(gap, 102u);
  }
  EXPECT_GE(pumps, 9);  // window events run while the fade waits
  EXPECT_TRUE(mci.FadedOut());

  backend.sets.clear();
  uint32_t t0 = clock.GetTickCount();
  mci.FadeIn(65535);
  std::vector<uint32_t> up = {0, 8191, 16382, 24573, 32764, 40955, 49146, 57337, 65528};
  EXPECT_EQ(backend.Levels(), up);
  uint32_t took = clock.GetTickCount() - t0;
  EXPECT_GE(took, 900u);
  EXPECT_LE(took, 920u);
  EXPECT_FALSE(mci.FadedOut());

  backend.sets.clear();
  mci.FadeOut(8);
  EXPECT_EQ(backend.Levels(), (std::vector<uint32_t>{8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

}  // namespace
}  // namespace mirel
