// The scenario's audio command and the loop timer, on the main window with a
// back end that records its commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Main_Form.h"
#include "audio/WaveResources.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct AudioCommandTest : ::testing::Test {
  test::TestPlatform tp;
  test::TempDir dir;
  Main_Form f{tp.platform, StartOptions{}};
  std::vector<std::string> logged;

  void SetUp() override {
    f.DataDir = dir.path();
    for (int m = 1; m <= 9; ++m) {
      if (m == 3) continue;  // music 3 does not exist
      std::string name = "bgm0" + std::to_string(m) + ".mid";
      test::WriteBytes(dir / name, "MThd");
      f.MusicFiles[m] = FromUtf8(name);
    }
    f.mci.log = [this](const std::string& s) { logged.push_back(s); };
    ASSERT_TRUE(f.mci.OpenMixer());
    ASSERT_TRUE(f.mci.GetVolumeControl(4));
    f.SavedVolume = tp.audio.volume = 65535;
  }
  void Run(const Text& cmd) {
    f.CmdText = cmd;
    EXPECT_EQ(f.CmdAudio(), 2);
  }
  std::string OpenOf(int m) {
    return "open \"" + dir.path() + "bgm0" + std::to_string(m) + ".mid\" type sequencer alias midifile";
  }
  size_t Count(const std::string& command) {
    return std::count(tp.audio.commands.begin(), tp.audio.commands.end(), command);
  }
};

TEST_F(AudioCommandTest, StopFadesOutClosesAndRestoresTheVolume) {
  Run(u"aa");
  tp.audio.volumes.clear();
  uint32_t t0 = tp.clock.GetTickCount();
  Run(u"a0");
  EXPECT_EQ(f.CurMusic, 0);
  std::vector<uint32_t> want = {65535, 57344, 49153, 40962, 32771, 24580, 16389, 8198, 7, 65535};
  EXPECT_EQ(tp.audio.volumes, want);
  EXPECT_GE(tp.clock.GetTickCount() - t0, 900u);
  EXPECT_EQ(tp.audio.commands[tp.audio.commands.size() - 2], "stop midifile ");
  EXPECT_EQ(tp.audio.commands.back(), "close midifile");
  EXPECT_EQ(tp.audio.volume, f.SavedVolume);
}

TEST_F(AudioCommandTest, ChangingSongFadesTheOldOneAndComesBackToTheVolume) {
  tp.audio.volume = f.SavedVolume = 40000;
  Run(u"aa");
  tp.audio.volumes.clear();
  tp.audio.commands.clear();
  Run(u"ab");
  EXPECT_EQ(f.CurMusic, 2);
  ASSERT_FALSE(tp.audio.volumes.empty());
  EXPECT_EQ(tp.audio.volumes.front(), 40000u);
  EXPECT_EQ(tp.audio.volumes.back(), 40000u);
  EXPECT_EQ(tp.audio.volumes.size(), 10u);  // nine fade levels, then the volume
  auto stop = std::find(tp.audio.commands.begin(), tp.audio.commands.end(), "close midifile");
  auto open = std::find(tp.audio.commands.begin(), tp.audio.commands.end(), OpenOf(2));
  EXPECT_LT(stop, open);
  EXPECT_NE(open, tp.audio.commands.end());
}

TEST_F(AudioCommandTest, SoundDigitsPlayTheirWaveOnlyWithSoundsOn) {
  Run(u"a3");
  ASSERT_EQ(tp.audio.sounds.size(), 1u);
  EXPECT_EQ(tp.audio.sounds[0].first, LoadWaveResource(102).size());
  EXPECT_EQ(tp.audio.sounds[0].second, kSndMemory | kSndSync);
  Run(u"a9");
  ASSERT_EQ(tp.audio.sounds.size(), 2u);
  EXPECT_EQ(tp.audio.sounds[1].first, LoadWaveResource(108).size());
  EXPECT_EQ(tp.audio.sounds[1].second, kSndMemory | kSndAsync);

  f.SeOn = false;
  Run(u"a1");
  EXPECT_EQ(tp.audio.sounds.size(), 2u);
}

TEST_F(AudioCommandTest, LoopTimerRestartsAnEndedSongOnly) {
  tp.audio.songMs = 3000;
  Run(u"aa");
  f.BGMLoop_Timer();             // still playing
  EXPECT_EQ(Count("play midifile from 0"), 1u);
  tp.clock.Advance(3000);
  f.BGMLoop_Timer();
  EXPECT_EQ(Count("play midifile from 0"), 2u);
  EXPECT_EQ(tp.audio.commands[tp.audio.commands.size() - 2], "stop midifile ");
  EXPECT_TRUE(tp.audio.playing);

  Run(u"a0");
  tp.clock.Advance(10000);
  f.BGMLoop_Timer();
  EXPECT_EQ(Count("play midifile from 0"), 2u);  // stopped by the command: stays stopped
}

}  // namespace
}  // namespace mirel
