// The MCI module against a back end that records its commands: the command
// texts and their order, failures switching music off, the status text, the
// fades' levels and timing, and which sounds block.
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

TEST_F(MciTest, SongCommandsAreSentInOrderWithTheirExactTexts) {
  mci.PlayMidi("/data/bgm 01.mid");
  mci.RestartMidi();
  mci.StopMidi();
  std::vector<std::string> want = {
      "open \"/data/bgm 01.mid\" type sequencer alias midifile",
      "play midifile from 0",
      "stop midifile ",
      "play midifile from 0",
      "stop midifile ",
      "close midifile",
  };
  EXPECT_EQ(backend.commands, want);
  EXPECT_TRUE(ps.BgmOn);
  EXPECT_TRUE(logged.empty());
  EXPECT_EQ(mci.CurrentSongPath(), "");
}

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

TEST_F(MciTest, FileNameWithADoubleQuoteIsRefusedBeforeAnyCommand) {
  mci.PlayMidi("/data/a\"b.mid");
  EXPECT_TRUE(backend.commands.empty());
  EXPECT_FALSE(ps.BgmOn);
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("double quote"), std::string::npos);
}

TEST_F(MciTest, StatusIsUpperCasedCutAtZeroAndFifteenAndEmptyOnFailure) {
  backend.status = "playing";
  EXPECT_EQ(mci.MidiStatus(), "PLAYING");
  EXPECT_EQ(backend.commands.back(), "status midifile mode");
  backend.status = std::string("paused\0junk", 11);
  EXPECT_EQ(mci.MidiStatus(), "PAUSED");
  backend.status = "abcdefghijklmnopqrst";
  EXPECT_EQ(mci.MidiStatus(), "ABCDEFGHIJKLMNO");
  backend.status = "playing";
  backend.codes["status"] = 263;
  EXPECT_EQ(mci.MidiStatus(), "");
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

TEST_F(MciTest, VolumeReadsAndWritesGoToTheBackEnd) {
  backend.volume = 40000;
  uint32_t v = 0;
  ASSERT_TRUE(mci.GetVolume(v));
  EXPECT_EQ(v, 40000u);
  backend.volumeOk = false;
  v = 7;
  EXPECT_FALSE(mci.GetVolume(v));
  EXPECT_EQ(v, 7u);
  EXPECT_TRUE(mci.SetVolume(123));
  EXPECT_EQ(backend.volume, 123u);
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

TEST_F(MciTest, FadesOfVolumesBelowEightStepByOneAndEnd) {
  mci.FadeOut(5);
  EXPECT_EQ(backend.Levels(), (std::vector<uint32_t>{5, 4, 3, 2, 1, 0}));
  backend.sets.clear();
  mci.FadeOut(0);
  EXPECT_EQ(backend.Levels(), (std::vector<uint32_t>{0}));
  backend.sets.clear();
  mci.FadeIn(3);
  EXPECT_EQ(backend.Levels(), (std::vector<uint32_t>{0, 1, 2, 3}));
  backend.sets.clear();
  mci.FadeIn(0);
  EXPECT_EQ(backend.Levels(), (std::vector<uint32_t>{0}));
}

TEST_F(MciTest, FadeStepsStayHundredMillisecondsWhenEventsAreSlow) {
  // Each pump costs 30 ms: a step waits out what is left of its 100 ms,
  // overshooting by at most one pump, not 100 ms more.
  Mci slow(backend, ps, clock, [this] { clock.Advance(30); });
  ASSERT_TRUE(slow.OpenMixer());
  ASSERT_TRUE(slow.GetVolumeControl(4));
  uint32_t t0 = clock.GetTickCount();
  slow.FadeOut(65535);
  uint32_t took = clock.GetTickCount() - t0;
  EXPECT_GE(took, 900u);
  EXPECT_LE(took, 9 * (100u + 30u + 5u));
}

TEST_F(MciTest, ClickSoundsPlaySynchronouslyTheRestInTheBackground) {
  for (int id = 100; id <= 108; ++id) mci.PlaySe(id);
  mci.PlaySe(99);
  mci.PlaySe(109);
  ASSERT_EQ(backend.sounds.size(), 9u);
  for (int id = 100; id <= 108; ++id) {
    const auto& [bytes, flags] = backend.sounds[id - 100];
    EXPECT_EQ(bytes, LoadWaveResource(id)) << id;
    EXPECT_TRUE(flags & kSndMemory) << id;
    EXPECT_EQ(static_cast<bool>(flags & kSndAsync), id > 102) << id;
  }
}

}  // namespace
}  // namespace mirel
