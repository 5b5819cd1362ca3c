// The player's settings file in the user's config folder: every value comes
// back; a bad value keeps its default and is named in the log, an
// unreadable file gives the defaults, never a failure (what is written back
// is checked in a headless run).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "comfort/PlayerSettings.h"
#include "platform/headless/MemorySettingsStore.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

using namespace std::string_view_literals;

// The user's folders point into a temporary folder for the test's length.
struct SettingsFile : ::testing::Test {
  test::TempDir dir;
  std::string oldConfig, oldHome;
  void SetUp() override {
    if (const char* c = std::getenv("XDG_CONFIG_HOME")) oldConfig = c;
    if (const char* h = std::getenv("HOME")) oldHome = h;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    setenv("HOME", dir.path().c_str(), 1);
  }
  void TearDown() override {
    if (oldConfig.empty()) unsetenv("XDG_CONFIG_HOME");
    else setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
    setenv("HOME", oldHome.c_str(), 1);
  }
};

TEST_F(SettingsFile, EveryValueComesBackFromTheUsersConfigFolder) {
  qt::QtSettingsStore store;
  EXPECT_EQ(store.Path(), dir / "config/mirel/settings.ini");
  std::string problem;
  EXPECT_EQ(LoadPlayerSettings(store, problem), PlayerSettings{});  // never written yet
  EXPECT_EQ(problem, "");
  // Every value away from its default.
  PlayerSettings s{.scale = ScaleMode::Integer, .filter = ScaleFilter::Sharp, .zoom = 3, .musicVolume = 35,
                   .effectsVolume = 0, .muted = true, .muteUnfocused = true, .fullScreen = true,
                   .hasWindowPos = true, .windowX = -20, .windowY = 140,
                   .reading = {.autoBaseMs = 900, .autoPerCharMs = 0, .fastForwardUnread = true,
                               .copyEveryMessage = true},
                   .speech = {.speak = true, .duck = false, .rate = -4, .volume = 60}};
  ASSERT_TRUE(SavePlayerSettings(store, s, problem)) << problem;
  qt::QtSettingsStore again;
  EXPECT_EQ(LoadPlayerSettings(again, problem), s);
  EXPECT_EQ(problem, "");
  s.scale = ScaleMode::Stretch;
  s.hasWindowPos = false;  // a place never kept reads as none
  s.windowX = s.windowY = 0;
  ASSERT_TRUE(SavePlayerSettings(store, s, problem));
  EXPECT_EQ(LoadPlayerSettings(again, problem), s);
}

TEST_F(SettingsFile, EachBadValueKeepsItsDefaultAndIsNamedInTheLog) {
  qt::QtSettingsStore store;
  std::filesystem::create_directories(dir / "config/mirel");
  PlayerSettings zoomed;
  zoomed.zoom = 2;
  PlayerSettings quieter;
  quieter.musicVolume = 50;
  const std::string at = "player settings " + store.Path() + ": ";
  const struct {
    const char* what;
    std::string content;  // empty: a folder where the file should be
    PlayerSettings want;
    std::string problem;  // the start of it
  } cases[] = {  // each of a length of its own: Qt caches a file by its size and time
      {"garbage", std::string("\x00\xff\x01\x02 not a settings file \x7f"sv), {}, "player settings unreadable"},
      {"a folder", "", {}, "player settings unreadable"},
      {"only a volume", "[sound]\nmusic=50\n", quieter, ""},
      {"zoom out of range", "[General]\nformat=1\n[window]\nzoom=9\n", {}, at + "[window] zoom=9 is not valid, 1 used"},
      {"volume not a number", "[sound]\nmusic=louder\n[window]\nzoom=2\n", zoomed, at + "[sound] music=louder is not valid, 100 used"},
      {"another format", "[General]\nformat=7\n[window]\nzoom=2\n", zoomed, at + "format=7 is not valid, 1 used"},
      {"auto pace negative", "[reading]\nauto_base_ms=-5\n", {}, at + "[reading] auto_base_ms=-5 is not valid, 1500 used"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(store.Path());
    if (c.content.empty()) std::filesystem::create_directories(store.Path());
    else test::WriteBytes(store.Path(), c.content);
    std::string problem;
    EXPECT_EQ(LoadPlayerSettings(store, problem), c.want);
    EXPECT_EQ(problem.substr(0, c.problem.size()), c.problem);
    EXPECT_EQ(problem.empty(), c.problem.empty()) << problem;
  }

  // At start-up the problem goes into the log, after the environment report.
  test::WriteBytes(store.Path(), cases[3].content);
  test::TestPlatform tp;
  tp.platform.settings = &store;
  Main_Form f(tp.platform, StartOptions{dir.path(), dir.path()});
  EXPECT_EQ(f.display.settings, PlayerSettings{});
  f.DataDir = dir.path();
  f.WriteEnvironmentLog();
  std::string log = test::ReadBytes(dir / "mirel.log");
  EXPECT_NE(log.find("sound = "), std::string::npos);
  EXPECT_NE(log.find(cases[3].problem + "\r\n"), std::string::npos) << log;
}

TEST(ReadingSettingsKept, TheStoredReadingSettingsReachTheReadingComforts) {
  MemorySettingsStore store;
  store.values = {{"format", "1"},
                  {"reading/auto_base_ms", "2500"},
                  {"reading/auto_per_char_ms", "10"},
                  {"reading/fast_forward_unread", "true"},
                  {"reading/copy_every_message", "true"}};
  test::TestPlatform tp;
  tp.platform.settings = &store;
  test::TempDir dir;
  Main_Form f(tp.platform, StartOptions{dir.path(), dir.path()});
  const ReadingSettings want{.autoBaseMs = 2500, .autoPerCharMs = 10, .fastForwardUnread = true,
                             .copyEveryMessage = true};
  EXPECT_EQ(f.reading.settings, want);
  EXPECT_EQ(f.display.settings.reading, want);
}

}  // namespace
}  // namespace mirel
