#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <ostream>

#include "app/Main_Form.h"
#include "base/Cp932.h"
#include "mirel_tool/Check.h"
#include "mirel_tool/Codec.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using tool::Finding;

std::string Decoded(const std::string& path) {
  auto t = tool::DecodeShipped(ReadBytes(path), false, nullptr);
  EXPECT_TRUE(t.has_value()) << path;
  return t.value_or("");
}

void Encode(const std::string& path, const std::string& utf8) {
  std::string error;
  auto bytes = tool::EncodeShipped(utf8, false, &error);
  ASSERT_TRUE(bytes.has_value()) << error;
  WriteBytes(path, *bytes);
}

std::string JoinLines(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& l : v) s += l + "\r\n";
  return s;
}

struct CheckTest : ::testing::Test {
  test::TempDir dir;
  std::vector<std::string> scenario, choices;
  void SetUp() override {
    ASSERT_TRUE(test::CopyDemoData(dir.path()));
    scenario = test::Lines(Decoded(dir / "91.dat"));
    choices = test::Lines(Decoded(dir / "92.dat"));
  }
  // 1-based line of the first scenario line holding `marker`.
  int LineOf(const std::string& marker) {
    for (size_t i = 0; i < scenario.size(); ++i)
      if (scenario[i].find(marker) != std::string::npos) return static_cast<int>(i) + 1;
    ADD_FAILURE() << "no line with " << marker;
    return 1;
  }
  // Replaces every field after the block number of line `n`.
  void Plant(int n, const std::string& rest) {
    std::string& l = scenario[static_cast<size_t>(n - 1)];
    l = l.substr(0, l.find(',')) + "," + rest;
    Encode(dir / "91.dat", JoinLines(scenario));
  }
  std::vector<Finding> Check() { return tool::CheckDataFolder(dir.path()); }
  static bool Has(const std::vector<Finding>& fs, const std::string& file, int line, const std::string& part) {
    for (const auto& f : fs)
      if (f.file == file && f.line == line && f.Format().find(part) != std::string::npos) return true;
    return false;
  }
  static std::string All(const std::vector<Finding>& fs) {
    std::string s;
    for (const auto& f : fs) s += f.Format() + "\n";
    return s;
  }
};

TEST_F(CheckTest, DemoFolderHasNothingToReportAndIsLeftAsItWas) {
  const auto before = test::FolderFiles(dir.path());
  auto findings = Check();
  EXPECT_TRUE(findings.empty()) << All(findings);
  EXPECT_EQ(test::FolderFiles(dir.path()), before);
}

TEST_F(CheckTest, FilesStartUpNeedsAreReported) {
  fs::remove(dir / "p05.dat");
  WriteBytes(dir / "p06.dat", "J");
  WriteBytes(dir / "11.dat", "XXXX");
  fs::remove(dir / "P99.dat");
  auto f = Check();
  EXPECT_TRUE(Has(f, "p05.dat", 0, "missing")) << All(f);
  EXPECT_TRUE(Has(f, "p06.dat", 0, "too short")) << All(f);
  EXPECT_TRUE(Has(f, "11.dat", 0, "BMP")) << All(f);
  EXPECT_TRUE(Has(f, "P99.dat", 0, "missing")) << All(f);
}

TEST_F(CheckTest, MessagesRunningPastTheWindowAreReported) {
  int n = LineOf("小さな駅のホームに");
  std::string longText;
  for (int i = 0; i < 100; ++i) longText += "あ";  // four rows of thirty
  Plant(n, ",,,,,,," + longText + ",,,,");
  auto f = Check();
  EXPECT_TRUE(Has(f, "91.dat", n, "last row")) << All(f);
}

TEST_F(CheckTest, LoopsThatNeverWaitAreReportedAtTheirBlock) {
  const std::vector<std::string> original = scenario;
  const int start = LineOf("第一章　潮見の町"), date = LineOf("3/25"), music = LineOf("1100,aB");
  struct Case {
    std::vector<std::pair<int, std::string>> plants;
    const char* reported;  // nullptr: no loop
  } cases[] = {
      {{{date, "g0,1100,,,,,,,,,,"}}, "error: block 1100 loops without a wait, a text or a counter change: play would"},
      // The counter never changes inside: play stays only while it is below 5.
      {{{music, "c2,1100,,,,,,kou,5,,,"}}, "warning: block 1100 loops without a wait, a text or a counter change: play "
                                            "may never leave it, it leaves only when kou is 5 or more"},
      {{{music, "i2,1100,,,,,,hap,3,,,"}}, "it leaves only when hap is 3"},
      {{{date, "p1,,,,,,,kou,,,,"}, {music, "c2,1100,,,,,,kou,5,,,"}}, nullptr},
      {{{date, "w,,,,,,,,10,,,"}, {music, "g0,1100,,,,,,,,,,"}}, nullptr},
  };
  for (const Case& c : cases) {
    scenario = original;
    for (const auto& [line, rest] : c.plants) Plant(line, rest);
    auto f = Check();
    EXPECT_EQ(Has(f, "91.dat", start, c.reported ? c.reported : "loops"), c.reported != nullptr)
        << c.plants.back().second << "\n" << All(f);
    EXPECT_EQ(tool::CheckStatus(f, false), c.reported && std::string(c.reported).rfind("error", 0) == 0) << All(f);
  }
}

// What play passes over is a warning and leaves the status 0; what stops
// or breaks it is an error.
TEST_F(CheckTest, RecordsAreReportedAsErrorsOrWarnings) {
  const std::vector<std::string> original = scenario;
  const int n = LineOf("1100,,,,21,,,,R");
  const struct {
    const char* rest;
    const char* reported;
  } cases[] = {
      {",,,21,,,,X,,,,", "warning: sprite place \"X\" is none of L, R, C"},
      {",,,20,2,,,,,,,", "warning: face change of picture 0"},
      {",,,21,0,,,,,,,", "error: expression \"0\""},
      {"g0,7777,,,,,,,,,,", "error: \"g0\" jumps to block 7777"},
  };
  for (const auto& c : cases) {
    scenario = original;
    Plant(n, c.rest);
    auto f = Check();
    EXPECT_TRUE(Has(f, "91.dat", n, c.reported)) << All(f);
    const bool warning = std::string(c.reported).rfind("warning", 0) == 0;
    EXPECT_EQ(tool::CheckStatus(f, false), warning ? 0 : 1) << All(f);
    EXPECT_EQ(tool::CheckStatus(f, true), 1) << All(f);
  }
}

// A picture of the given size, encoded by Qt ("BMP", "JPG", "PNG"); stored
// pictures get "JF" as their first two bytes.
std::string Picture(int w, int h, const char* format, bool stored) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(0x336699);
  QBuffer buf;
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format);
  std::string bytes = buf.data().toStdString();
  if (stored) bytes.replace(0, 2, "JF");
  return bytes;
}

struct Planted {
  const char* name;
  void (*plant)(const test::TempDir& dir);
  const char* file;  // nullptr: the folder still has nothing to report
  int line;
  const char* part;
};

void PrintTo(const Planted& p, std::ostream* os) { *os << p.name; }

const Planted kPlanted[] = {
    {"PhotoFrameTooBigForTheEnding",
     [](const test::TempDir& d) { test::WriteBmp(d / "64.dat", test::Plain(4500, 1, kWhite)); }, "64.dat", 0,
     "error: the photo frame, 4500 x 1"},
    {"EndingSongMissing", [](const test::TempDir& d) { fs::remove(d / "34-3.mid"); }, "34-3.mid", 0, "warning: missing: ending 2"},
    {"SongThatIsNoMidi", [](const test::TempDir& d) { WriteBytes(d / "22-1.mid", "RIFF\4\0\0\0WAVE"); }, "22-1.mid", 0,
     "not a MIDI song"},
    {"RiffMidiSongIsPlayable",
     [](const test::TempDir& d) {
       std::string smf = ReadBytes(d / "03-1.mid"), chunk = "data";
       for (int k = 0; k < 4; ++k) chunk += static_cast<char>((smf.size() >> (8 * k)) & 255);
       chunk += smf + (smf.size() % 2 ? std::string(1, '\0') : "");
       std::string riff = "RMID" + chunk, size;
       for (int k = 0; k < 4; ++k) size += static_cast<char>((riff.size() >> (8 * k)) & 255);
       WriteBytes(d / "03-1.mid", "RIFF" + size + riff);
     },
     nullptr, 0, ""},
    {"PngStoredAsJpeg", [](const test::TempDir& d) { WriteBytes(d / "p04.dat", Picture(640, 480, "PNG", true)); }, "p04.dat",
     0, "error: the game cannot decode"},
    {"SmallBackground", [](const test::TempDir& d) { WriteBytes(d / "p05.dat", Picture(161, 161, "JPG", true)); }, "p05.dat",
     0, "161x161, too small for a full-screen picture"},
    {"SpriteLargerThanTheScreen", [](const test::TempDir& d) { WriteBytes(d / "21.dat", Picture(700, 500, "BMP", true)); },
     "21.dat", 0, "larger than a sprite"},
    {"ThumbnailSheetTooSmall", [](const test::TempDir& d) { WriteBytes(d / "63.dat", Picture(96, 72, "BMP", false)); },
     "63.dat", 0, "warning: is 96x72, too small for a gallery thumbnail sheet"},
    {"RollLineTooLong",
     [](const test::TempDir& d) {
       WriteBytes(d / "story.ini", "[tags]\r\n2=a\r\n3=a\r\n4=a\r\n5=a\r\n6=a\r\n7=a\r\n8=a\r\n9=a\r\n"
                                   "[staff]\r\nmaker=MIREL project\r\n");
     },
     "story.ini", 11, "cut in the staff roll"},
    {"RollLineTooLongInTheOlderStaffFile",
     [](const test::TempDir& d) {
       fs::remove(d / "story.ini");
       WriteBytes(d / "staff.txt", "A\r\nB\r\nC\r\nD\r\nMIREL project\r\n2026\r\n");
     },
     "staff.txt", 5, "cut in the staff roll"},
};

struct PlantedCheck : CheckTest, ::testing::WithParamInterface<Planted> {};

TEST_P(PlantedCheck, IsReportedWhereItStands) {
  GetParam().plant(dir);
  auto f = Check();
  if (!GetParam().file) EXPECT_TRUE(f.empty()) << All(f);
  else EXPECT_TRUE(Has(f, GetParam().file, GetParam().line, GetParam().part)) << All(f);
  EXPECT_EQ(tool::CheckStatus(f, false), std::string(GetParam().part).rfind("error", 0) == 0) << All(f);
}

INSTANTIATE_TEST_SUITE_P(Folders, PlantedCheck, ::testing::ValuesIn(kPlanted),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckTest, StoryFileMissingOrBrokenIsReported) {
  std::string story = ReadBytes(dir / "story.ini");
  WriteBytes(dir / "story.ini", story + "[staff]\r\nwriter=x\r\n");
  WriteBytes(dir / "staff.txt", "a\r\n");
  auto f = Check();
  int line = static_cast<int>(test::Lines(story).size()) + 2;
  EXPECT_TRUE(Has(f, "story.ini", line, "not a staff line")) << All(f);
  EXPECT_TRUE(Has(f, "staff.txt", 0, "not read")) << All(f);
  fs::remove(dir / "story.ini");
  f = Check();
  EXPECT_TRUE(Has(f, "story.ini", 0, "speaker tags 2 to 9 are empty")) << All(f);
  EXPECT_FALSE(Has(f, "staff.txt", 0, "not read")) << All(f);
}

TEST(CodecTest, EncodeTakesWhatInputMethodsTypeAndRefusesWhatShiftJisLacks) {
  std::string error;
  auto typed = tool::EncodeShipped("〜−\n", false, &error);
  ASSERT_TRUE(typed.has_value()) << error;
  EXPECT_EQ(tool::DecodeShipped(*typed, false, nullptr), "～－\r\n");
  EXPECT_FALSE(tool::EncodeShipped("ok\n\xF0\x9F\x98\x80\n", false, &error).has_value());
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

}  // namespace
}  // namespace mirel
