#include <gtest/gtest.h>

#include <filesystem>

#include "app/Startup.h"
#include "base/Cp932.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::ReadBytes;
using test::WriteBytes;

struct DataFilesTest : ::testing::Test {
  test::TempDir dir;
  test::TestPlatform tp;
  std::string config;
  void SetUp() override {
    ASSERT_TRUE(test::CopyDemoData(dir.path())) << "no demo data folder in " << test::BuildDir();
    config = ReadBytes(dir / "90.dat");
  }
  int Run() {
    Main_Form f(tp.platform, StartOptions{dir.path(), ""});
    return RunProgram(f);
  }
  // The player closes the window once loading is over; `after` looks at
  // the game that ran.
  int RunAndClose(const std::function<void(Main_Form&)>& after = nullptr) {
    Main_Form f(tp.platform, StartOptions{dir.path(), ""});
    tp.events.onPump = [&f](EventQueue& q) {
      if (f.DataReady) q.push_back(CloseEvent());
    };
    int status = RunProgram(f);
    tp.events.onPump = nullptr;
    if (after) after(f);
    return status;
  }
  void ExpectStoredHeaders() {
    for (const char* name : Main_Form::kImageTable) {
      if (!fs::exists(dir / name) || fs::file_size(dir / name) < 2) continue;
      EXPECT_EQ(ReadBytes(dir / name).substr(0, 2), "JF") << name;
    }
  }
  Text Message() { return tp.messages.Shown().empty() ? Text() : tp.messages.Shown().back(); }
};

TEST_F(DataFilesTest, NormalRunLeavesPicturesStoredAndRewritesTheGalleryLine) {
  EXPECT_EQ(RunAndClose(), 0);
  ExpectStoredHeaders();
  std::vector<std::string> before = Lines(config), after = Lines(ReadBytes(dir / "90.dat"));
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i)
    if (i != 5) {
      EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
    }
  // Closed before the opening ended: no picture seen, the line is rebuilt the same.
  EXPECT_EQ(after[5], before[5]);
  for (auto& e : fs::directory_iterator(dir.path())) EXPECT_NE(e.path().extension(), ".cod");
}

TEST_F(DataFilesTest, MissingConfigEndsAtOnceWithoutTheUnload) {
  fs::remove(dir / "90.dat");
  EXPECT_NE(Run(), 0);
  EXPECT_EQ(Message(), u"フォルダの内容が不正です.\r\n" + FromUtf8(dir.path()));
  EXPECT_FALSE(fs::exists(dir / "90.dat"));
  EXPECT_FALSE(fs::exists(dir / "mirel.log"));
}

TEST_F(DataFilesTest, MissingPictureIsNamedAndNothingIsLeftReadable) {
  fs::remove(dir / "p55.dat");
  EXPECT_NE(Run(), 0);
  EXPECT_EQ(Message(), u"実行に必要なﾌｧｲﾙがありません. " + FromUtf8(dir / "p55.dat"));
  EXPECT_EQ(ReadBytes(dir / "90.dat"), config);
  ExpectStoredHeaders();
  EXPECT_FALSE(fs::exists(dir / "p55.dat"));
}

TEST_F(DataFilesTest, EmptyOrOneByteFilesAreDamaged) {
  for (const char* bytes : {"", "J"}) {
    WriteBytes(dir / "63.dat", bytes);
    tp.messages = ScriptedMessageBoxes();
    EXPECT_NE(Run(), 0);
    EXPECT_EQ(Message(), u"実行に必要なﾌｧｲﾙが異常です.(" + FromUtf8(dir / "63.dat") + u":59)") << bytes;
  }
  EXPECT_EQ(ReadBytes(dir / "63.dat"), "J");  // never lengthened
  EXPECT_EQ(ReadBytes(dir / "90.dat"), config);
  ExpectStoredHeaders();
}

TEST_F(DataFilesTest, MissingMusicIsNamedAsWritten) {
  std::vector<std::string> lines = Lines(config);
  ASSERT_FALSE(lines[6].empty());
  // A file outside the data folder counts as missing, even where it exists.
  const std::string folder = fs::path(dir.path()).parent_path().filename();
  const std::string outside[] = {"../" + folder + "/" + lines[6], dir / lines[6]};
  for (const std::string& name : outside) {
    std::vector<std::string> edited = lines;
    edited[6] = name;
    std::string text;
    for (const auto& l : edited) text += l + "\r\n";
    WriteBytes(dir / "90.dat", text);
    EXPECT_NE(Run(), 0);
    EXPECT_EQ(Message(), u"実行に必要なﾌｧｲﾙがありません. " + FromUtf8(name));
  }
  WriteBytes(dir / "90.dat", config);
  fs::remove(dir / lines[6]);
  EXPECT_NE(Run(), 0);
  EXPECT_EQ(Message(), u"実行に必要なﾌｧｲﾙがありません. " + FromUtf8(lines[6]));
  EXPECT_EQ(ReadBytes(dir / "90.dat"), config);
}

TEST_F(DataFilesTest, TemporariesOfAKilledWriteGoAtTheNextStart) {
  for (const char* name : {"90.dat.tmp", "02.dat.tmp", "mirel.log.tmp", "notes.tmp"}) WriteBytes(dir / name, "half");
  EXPECT_EQ(RunAndClose(), 0);
  for (const char* name : {"90.dat.tmp", "02.dat.tmp", "mirel.log.tmp"}) EXPECT_FALSE(fs::exists(dir / name)) << name;
  EXPECT_TRUE(fs::exists(dir / "notes.tmp"));  // not the game's
}

TEST_F(DataFilesTest, StoryFileGivesTheTagsAndWithoutItTheOlderStaffFileTheRoll) {
  EXPECT_EQ(RunAndClose([](Main_Form& f) {
              EXPECT_TRUE(f.Story.problems.empty());
              for (const Text& tag : f.Story.tags) EXPECT_FALSE(tag.empty());
            }),
            0);
  fs::remove(dir / kStoryFile);
  WriteBytes(dir / "staff.txt", EncodeCp932(u"書いた人\r\n"));
  EXPECT_EQ(RunAndClose([](Main_Form& f) {
              for (const Text& tag : f.Story.tags) EXPECT_TRUE(tag.empty());
              EXPECT_EQ(f.Story.credits.scenario, u"書いた人");
              EXPECT_EQ(f.Story.credits.music, u"MIREL project");
            }),
            0);
  std::string log = Utf8(DecodeCp932(ReadBytes(dir / "mirel.log")).value_or(Text()));
  EXPECT_NE(log.find("story = story.ini: missing: speaker tags 2 to 9 are empty; staff roll from staff.txt"),
            std::string::npos) << log;
}

TEST(StoryFileTest, TagsAndStaffAreReadAndEveryBadLineIsNamed) {
  StoryContent s = ParseStory(EncodeCp932(
      u"; tags\r\n[tags]\r\n2=【甲】\r\n3 = 【乙】 \r\n4=\r\n5=x\r\n6=x\r\n7=x\r\n8=x\r\n9=【九】\r\n"
      u"\r\n[staff]\r\n# names\r\nscenario=作者\r\nyear=1999"));
  EXPECT_TRUE(s.problems.empty()) << s.problems.front().message;
  EXPECT_EQ(s.tags[0], u"【甲】");
  EXPECT_EQ(s.tags[1], u"【乙】");
  EXPECT_EQ(s.tags[2], u"");  // given as empty: no tag, and nothing to report
  EXPECT_EQ(s.tags[7], u"【九】");
  EXPECT_EQ(s.credits.scenario, u"作者");
  EXPECT_EQ(s.credits.year, u"1999");
  EXPECT_EQ(s.credits.music, u"MIREL project");

  const std::string allTags = "[tags]\r\n2=a\r\n3=a\r\n4=a\r\n5=a\r\n6=a\r\n7=a\r\n8=a\r\n9=a\r\n";  // lines 1-9
  struct Case {
    std::string text;
    int line;
    const char* says;
  } cases[] = {
      {allTags + "1=x", 10, "speakers 2 to 9"},
      {allTags + "9=b", 10, "already"},
      {"2=a\r\n" + allTags, 1, "before any [section]"},
      {allTags + "[cast]\r\n2=b", 10, "unknown section"},
      {allTags + "Mio", 10, "NAME=TEXT"},
      {allTags + "[staff]\r\nwriter=x", 11, "not a staff line"},
      {allTags + "[staff]\r\nyear=1\r\nyear=2", 12, "twice"},
      {allTags + "[staff]\r\nmaker=\x82", 11, "Shift-JIS"},
      {"[tags]\r\n2=a\r\n", 0, "no tag for speaker 3"},
  };
  for (const Case& c : cases) {
    StoryContent bad = ParseStory(c.text);
    ASSERT_FALSE(bad.problems.empty()) << c.says;
    EXPECT_EQ(bad.problems.front().line, c.line) << c.says;
    EXPECT_NE(bad.problems.front().message.find(c.says), std::string::npos) << bad.problems.front().message;
  }
}

TEST(DataDirTest, DataFolderBesideTheProgramElseTheProgramFolder) {
  test::TempDir prog;
  test::TestPlatform tp;
  {
    Main_Form f(tp.platform, StartOptions{"", prog.path()});
    RunProgram(f);
    EXPECT_EQ(f.BaseDir, prog.path());
    EXPECT_EQ(f.DataDir, prog.path());
  }
  fs::create_directory(prog / "Data");  // found whatever its case
  Main_Form g(tp.platform, StartOptions{"", prog.path()});
  RunProgram(g);
  EXPECT_EQ(g.DataDir, prog / "Data/");
  EXPECT_EQ(tp.messages.Shown().back(), u"フォルダの内容が不正です.\r\n" + FromUtf8(prog / "Data/"));
}

}  // namespace
}  // namespace mirel
