// The demo data folder made by make-demo-data: every file the game needs,
// in the form the game expects, and a story that uses every command. What
// the author's tool checks of a folder (files, names, blocks, targets,
// overflowing messages) is left to its own check of the demo folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "audio/MidiFile.h"
#include "base/BmpCodec.h"
#include "base/Cp932.h"
#include "demo/DemoData.h"
#include "demo/Story.h"
#include "platform/Image.h"
#include "scenario/ScenarioData.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

// The image file table as the game lists it.
std::vector<std::string> ImageTable() {
  std::vector<std::string> n = {"11", "12", "13", "15", "17", "21", "22", "23", "25", "26", "27", "31",
                                "32", "35", "36", "41", "42", "45", "46", "51", "55", "62", "63"};
  for (int i = 3; i <= 14; ++i) n.push_back(i < 10 ? "p0" + std::to_string(i) : "p" + std::to_string(i));
  for (int i = 51; i <= 67; ++i) n.push_back("p" + std::to_string(i));
  for (const char* s : {"60", "64", "p01", "p02", "p91", "p92"}) n.push_back(s);
  for (auto& s : n) s += ".dat";
  return n;
}

class DemoData : public ::testing::Test {
 protected:
  // The folder the build made, read once.
  static void SetUpTestSuite() {
    if (!files.empty()) return;
    for (const auto& e : std::filesystem::directory_iterator(test::BuildDir() + "demo-data"))
      files[e.path().filename().string()] = test::ReadBytes(e.path().string());
  }
  static const std::string& File(const std::string& name) {
    static const std::string none;
    auto it = files.find(name);
    return it == files.end() ? none : it->second;
  }
  // A picture file with its readable first two bytes given back.
  static Bytes Restored(const std::string& name) { return test::Restored(File(name), name[0] == 'p'); }
  static Image Bitmap(const std::string& name) {
    Image img;
    EXPECT_TRUE(BmpCodec().Decode(Restored(name), img)) << name;
    return img;
  }
  static std::map<std::string, std::string> files;
};
std::map<std::string, std::string> DemoData::files;

TEST_F(DemoData, StoryFileGivesEveryTagAndTheProjectsStaffInShiftJis) {
  StoryContent story = ReadStory(test::BuildDir() + "demo-data/");
  EXPECT_TRUE(story.problems.empty()) << story.Summary();
  EXPECT_EQ(story.tags[1], u"【澪】");
  EXPECT_EQ(story.credits.scenario, u"MIREL 物語班");
  EXPECT_EQ(story.credits.music, u"MIREL 音楽ツール");
  EXPECT_EQ(story.credits.maker, u"MIREL 制作班");
  EXPECT_EQ(story.credits.year, u"2026");
  EXPECT_NE(File(kStoryFile).find("\r\n"), std::string::npos);
}

TEST_F(DemoData, EveryImageFileIsStoredAndDecodesOnceRestored) {
  for (const std::string& name : ImageTable()) {
    SCOPED_TRACE(name);
    const std::string& s = File(name);
    ASSERT_GT(s.size(), 2u) << "missing or empty";
    EXPECT_EQ(s.substr(0, 2), "JF");
    if (name[0] == 'p') {
      // The size from the frame header; the plays decode them for real.
      Image img;
      ASSERT_TRUE(test::TestImageCodec().Decode(Restored(name), img));
      EXPECT_EQ(img.width, 640);
      EXPECT_EQ(img.height, name == "p51.dat" ? 930 : 480);
    } else {
      EXPECT_GT(Bitmap(name).width, 0);
    }
  }
  // The plain pictures outside the table.
  for (const char* name : {"P98.dat", "P99.dat", "61.dat"}) EXPECT_EQ(File(name).substr(0, 2), "BM") << name;
}

// The start-up picture stands under the "Loading now" strip (224, 292,
// 200x30) while the story loads: nothing but its plain backdrop may be there.
TEST_F(DemoData, NothingOfTheStartupPictureHidesUnderTheLoadingStrip) {
  Image img = Bitmap("P99.dat");
  ASSERT_EQ(img.width, 640);
  for (int y = 292; y < 322; ++y)
    for (int x = 224; x < 424; ++x) ASSERT_EQ(img.At(x, y), img.At(0, y)) << x << "," << y;
}

// The scene songs loop under the story; the endings' songs must outlast the
// staff roll (about 45 seconds).
TEST_F(DemoData, SongsAreWholeMidiFilesOfTheRightLength) {
  const std::set<std::string> endings = {"22-1.mid", "03-1.mid", "34-3.mid"};
  int scene = 0, ending = 0;
  for (const auto& [name, bytes] : files) {
    if (name.size() < 4 || name.substr(name.size() - 4) != ".mid") continue;
    auto ms = MidiLengthMs(Bytes(bytes.begin(), bytes.end()));
    ASSERT_TRUE(ms.has_value()) << name;
    bool roll = endings.count(name);
    (roll ? ending : scene) += 1;
    EXPECT_GE(*ms, roll ? 50000u : 15000u) << name;
    EXPECT_LE(*ms, roll ? 65000u : 60000u) << name;
  }
  EXPECT_EQ(ending, 3);
  EXPECT_GE(scene, 4);
}

// ---- the story compiler's checks ----

std::string Rec(const std::string& num, const std::string& cmd, const std::string& jump, const std::string& text) {
  return num + "," + cmd + "," + jump + ",,,,,," + text + ",,,,\n";
}

TEST(DemoStoryCompiler, WritesCrLfShiftJisAndRejectsStoriesThatWouldBreakPlay) {
  std::string src = "# a comment\n" + Rec("1000", "", "", "こんにちは") + "\n" + Rec("9999", "", "", "");
  EXPECT_EQ(demo::CompileStory(src, "").scenario, EncodeCp932(u"1000,,,,,,,,こんにちは,,,,\r\n9999,,,,,,,,,,,,\r\n"));
  const std::string end = Rec("9000", "q", "", "") + Rec("9999", "", "", "");
  struct Case {
    std::string scenario, choices, expect;
  } cases[] = {
      {Rec("1000", "g0", "2000", "") + end, "", "missing block"},
      {Rec("2000", "", "", "あ") + Rec("1000", "", "", "い") + end, "", "go down"},
      {Rec("1000", "", "", "あ") + Rec("2000", "", "", "い") + Rec("1000", "", "", "う") + end, "", "go down"},
      {Rec("1000", "s", "", "2") + end, "1000,はい,9000\n", "needs 2 rows"},
      {Rec("1000", "s", "", "4") + end, "", "1 to 3"},
      {Rec("1000", "s", "", "1") + end, "1000,はい,1234\n", "does not exist"},
      {Rec("1000", "", "", std::string(91, 'x')) + end, "", "three rows"},
      {Rec("1000", "", "", "\xF0\x9F\x8C\x8A") + end, "", "Shift-JIS"},
      {"1000,,,,\n" + end, "", "13 fields"},
      {Rec("100", "", "", "あ") + end, "", "four digits"},
  };
  for (const Case& c : cases) {
    try {
      demo::CompileStory(c.scenario, c.choices);
      ADD_FAILURE() << "accepted: " << c.scenario;
    } catch (const demo::StoryError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expect), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace mirel
