// The MCI module against a back end that records its commands: failures
// switching music and sounds off, and the fades' levels and timing.
#include <gtest/gtest.h>

#include "audio/Mci.h"
#include "audio/WaveResources.h"
#include "audio_harness.h"
#include "platform/headless/VirtualClock.h"

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

}  // namespace
}  // namespace mirel
