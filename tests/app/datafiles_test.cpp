#include <gtest/gtest.h>

#include <filesystem>

#include "app/Startup.h"
#include "platform/Cp932.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> v;
  size_t start = 0;
  while (start < s.size()) {
    size_t e = s.find("\r\n", start);
    if (e == std::string::npos) e = s.size();
    v.push_back(s.substr(start, e - start));
    start = e + 2;
  }
  return v;
}

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
  // The player closes the window once loading is over.
  void CloseWhenReady(Main_Form*& form) {
    tp.events.onPump = [&form](EventQueue& q) {
      if (!form || !form->DataReady) return;
      q.push_back(CloseEvent());
    };
  }
  int RunAndClose(const std::function<void(Main_Form&)>& before = nullptr) {
    Main_Form* current = nullptr;
    CloseWhenReady(current);
    Main_Form f(tp.platform, StartOptions{dir.path(), ""});
    current = &f;
    if (before) before(f);
    int status = RunProgram(f);
    tp.events.onPump = nullptr;
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
  WriteBytes(dir / "63.dat", "");
  EXPECT_NE(Run(), 0);
  EXPECT_EQ(Message(), u"実行に必要なﾌｧｲﾙが異常です.(" + FromUtf8(dir / "63.dat") + u":59)");
  WriteBytes(dir / "63.dat", "J");
  tp.messages = ScriptedMessageBoxes();
  EXPECT_NE(Run(), 0);
  EXPECT_EQ(Message(), u"実行に必要なﾌｧｲﾙが異常です.(" + FromUtf8(dir / "63.dat") + u":59)");
  EXPECT_EQ(ReadBytes(dir / "63.dat"), "J");  // never lengthened
  EXPECT_EQ(ReadBytes(dir / "90.dat"), config);
  ExpectStoredHeaders();
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
