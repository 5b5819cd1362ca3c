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

}  // namespace
}  // namespace mirel
