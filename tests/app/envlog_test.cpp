#include <gtest/gtest.h>

#include "app/Startup.h"
#include "base/Cp932.h"
#include "platform/headless/NullAudio.h"
#include "platform/host/DeferredAudio.h"
#include "platform/qt/QtHost.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

std::vector<std::string> Utf8Lines(const std::string& cp932) {
  auto text = DecodeCp932(cp932);
  EXPECT_TRUE(text.has_value()) << "the log is not CP932";
  std::string s = text ? Utf8(*text) : std::string();
  EXPECT_TRUE(s.ends_with("\r\n")) << "the last line has no CR LF: " << s;
  return test::Lines(s);
}

HostFacts SampleFacts() {
  HostFacts f;
  f.dateTime = "2026/12/06 19:30:00";
  f.cpuVendor = "GenuineIntel";
  f.cpuArch = "x86_64";
  f.cpuModel = "Test CPU 3000";
  f.cpuCount = 4;
  f.screenWidth = 1920;
  f.screenHeight = 1080;
  f.screenDepth = 24;
  f.osName = "Linux";
  f.osVersion = "6.1.0-18-amd64";
  f.osDescription = "Debian GNU/Linux 12 (bookworm)";
  f.systemDir = "/usr";
  f.libDir = "/usr/lib";
  f.memTotal = 8000000000ULL;
  f.memFree = 6000000000ULL;
  f.swapTotal = 0;
  f.swapFree = 0;
  f.virtTotal = 140737488355328ULL;
  f.virtFree = 140737000000000ULL;
  f.memoryLoad = 25;
  f.fonts = {"ＭＳ ゴシック -> IPAGothic"};
  return f;
}

struct EnvLogTest : ::testing::Test {
  test::TempDir dir;
  test::TestPlatform tp;
  std::unique_ptr<Main_Form> form;
  void SetUp() override {
    tp.system.facts = SampleFacts();
    form = std::make_unique<Main_Form>(tp.platform, StartOptions{dir.path(), ""});
    form->BaseDir = "/opt/mirel/";
    form->DataDir = dir.path();
  }
};

TEST_F(EnvLogTest, ReportHasTheFifteenLinesInOrderThenSoundFontsAndStory) {
  form->Story = ReadStory(dir.path());
  auto lines = Utf8Lines(form->BuildEnvironmentReport());
  const std::vector<std::string> expected = {
      "2026/12/06 19:30:00",
      "CPU = GenuineIntel/x86_64/(Test CPU 3000)×4",
      "CRT = 1920*1080(24bits)",
      "OS = Linux Debian GNU/Linux 12 (bookworm) ver:6.1(6.1.0-18-amd64) build:0",
      "WINﾌｫﾙﾀﾞ = /usr",
      "ｼｽﾃﾑﾌｫﾙﾀﾞ = /usr/lib",
      "app = /opt/mirel/",
      "data= " + dir.path(),
      "総物理ﾒﾓﾘ      = 8000000000Bytes",
      "空物理ﾒﾓﾘ      = 6000000000Bytes",
      "総ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = 0Bytes",
      "空ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = 0Bytes",
      "総仮想ﾕｰｻﾞｰﾒﾓﾘ = 140737488355328Bytes",
      "空仮想ﾕｰｻﾞｰﾒﾓﾘ = 140737000000000Bytes",
      "ﾒﾓﾘ使用量      = 25%",
      "sound = fake audio",
      "font = ＭＳ ゴシック -> IPAGothic",
      "story = story.ini: missing: speaker tags 2 to 9 are empty; the staff roll credits the project",
  };
  EXPECT_EQ(lines, expected);
}

// The sound is opened after the log is written; the log then says what was
// opened, or why the sound is off, not what was planned.
TEST(EnvLogSound, NamesWhatWasOpened) {
  test::DemoRun run;
  DeferredAudio audio([] { return std::make_unique<NullAudio>("no audio device"); }, "not opened yet");
  run.tp.platform.audio = &audio;
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path()));
  run.Play(dir.path(), "");
  EXPECT_NE(test::ReadBytes(dir / "mirel.log").find("\r\nsound = sound off: no audio device\r\n"), std::string::npos);
}

}  // namespace
}  // namespace mirel
