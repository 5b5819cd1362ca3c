#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/Main_Form.h"
#include "save/SlotFile.h"
#include "support/TestPlatform.h"
#include "ui/File_Window.h"

namespace mirel {
namespace {

Text A(const std::string& ascii) { return Text(ascii.begin(), ascii.end()); }

// kou 12, hap 234, bad 0, mak -1, reserved, BgRequest 5, CurNum 37,
// opacity 60 %, music on, effects off, speed 3, CurSeq 123, CurMusic 4,
// save point `resume` (four digits).
Text StateLine(const std::string& resume) {
  return A(std::string("012234000-01") + "000000000000" + "005" + "0037" + "0060" + "-1" + "00" + "03" + "0123" +
           "04" + resume);
}

struct SnapshotTest : ::testing::Test {
  test::TestPlatform tp;
  test::TempDir dir;
  Main_Form f{tp.platform, StartOptions{}};
  std::vector<int32_t> trace;
  std::function<void(int32_t)> onStep;

  int pumps = 0;

  void SetUp() override {
    // Nothing here waits for the player; a wait that would never end is
    // cut off by closing the window, which ends the program.
    tp.events.onPump = [this](EventQueue& q) {
      if (++pumps < 100000) return;
      if (pumps == 100000) ADD_FAILURE() << "kept waiting";
      q.push_back(CloseEvent());
    };
    f.LayOutMainWindow();
    f.DataDir = dir.path();
    f.StepHook = [this](int32_t seq) {
      trace.push_back(seq);
      if (onStep) onStep(seq);
    };
  }
  // `n` records that run without waiting, then the terminator.
  void Records(int n) {
    for (int i = 0; i <= n; ++i)
      f.ScenarioTable.push_back(test::Record(static_cast<int16_t>(i + 1), i < n ? u"p7" : u""));
    f.LastSeq = n;
  }
  void Use(const char* control) { f.Dispatch(ControlEvent("File_Window", control)); }
  // Makes record `i` a save point with its two captions.
  void SavePointAt(int i, const Text& part1 = u"", const Text& part2 = u"") {
    ScenarioRecord& r = f.ScenarioTable[static_cast<size_t>(i)];
    r = test::Record(r.Num, u"p8", part1, part2);
  }
  std::vector<int32_t> Range(int32_t from, int32_t to) {
    std::vector<int32_t> v;
    for (int32_t i = from; i < to; ++i) v.push_back(i);
    return v;
  }
};

TEST_F(SnapshotTest, RestoringSetsThePlayStateClearsTheScreenAndUnwindsTheGame) {
  Records(20);
  f.SaveSnapshot[1] = StateLine("0012");
  SavePointAt(12);
  f.SaveSnapshot[2] = u"山田";
  f.SaveSnapshot[3] = u"太郎";
  // The game being played when the player loads.
  f.kou = f.hap = f.bad = f.mak = 50;
  f.WakuOpacity = 0.3f;
  f.BgmOn = false;
  f.SeOn = true;
  f.MessageSpeed = 1;
  f.BgRequest = 9;
  f.CurSeq = 3;
  f.CurMusic = 7;
  f.DollPose[2][1] = 5;
  f.DollPose[6][0] = 2;
  f.PosUsed[1] = true;
  f.Doll_Disp[1].Visible = true;
  f.DollNo = 2;
  f.FaceNo = 3;
  f.LineNo = 4;
  f.LastSpeaker = 2;
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  f.DateTabOn = false;
  f.ClickWait = true;
  f.GameDepth = 1;  // a game loop is running

  EXPECT_THROW(f.Continue_game(), ResumeGame);

  EXPECT_EQ(std::tie(f.kou, f.hap, f.bad, f.mak, f.BgRequest, f.CurNum), std::make_tuple(12, 234, 0, -1, 5, 37));
  EXPECT_EQ(std::tie(f.WakuOpacity, f.BgmOn, f.SeOn, f.MessageSpeed, f.CurSeq),
            std::make_tuple(0.6f, true, false, 3, 12));
  EXPECT_EQ(f.SavePoint[0], u"12");
  EXPECT_EQ(std::tie(f.Names[1], f.Names[2]), std::make_tuple(u"山田", u"太郎"));
  EXPECT_EQ(f.CurMusic, 0);  // silent until the story's next music record
  for (auto& row : f.DollPose)
    for (int16_t p : row) EXPECT_EQ(p, 0);
  for (bool used : f.PosUsed) EXPECT_FALSE(used);
  for (auto& d : f.Doll_Disp) EXPECT_FALSE(d.Visible);
  EXPECT_EQ(std::tie(f.DollNo, f.FaceNo, f.LineNo, f.LastSpeaker), std::make_tuple(0, 0, 0, 0));
  EXPECT_FALSE(f.Waku[0].Visible);
  EXPECT_FALSE(f.Waku[3].Visible);
  EXPECT_TRUE(f.DateTabOn);
  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup}) EXPECT_TRUE(f.Menu(m).enabled);
  EXPECT_TRUE(f.Blinker.Visible);
  EXPECT_TRUE(f.timers.Enabled(f.ClickerTimer));
  EXPECT_TRUE(f.Pic_Main.Enabled);
  EXPECT_TRUE(f.form.enabled);
  EXPECT_FALSE(f.ClickWait);
  EXPECT_TRUE(trace.empty());  // the interpreter is left to the game loop
}

TEST_F(SnapshotTest, EverySavePointTheStoryPassesLoadsBack) {
  for (const char16_t* cmd : {u"p8", u"p08", u" p18 "}) {
    SCOPED_TRACE(Utf8(cmd));
    f.ScenarioTable.clear();
    Records(6);
    f.ScenarioTable[3].Cmd = cmd;
    f.CurSeq = 3;
    ASSERT_EQ(f.RunStep(), 2);
    f.Save_Data_stack();
    f.CurSeq = 5;
    trace.clear();
    f.Continue_game();
    EXPECT_EQ(trace, Range(3, 6));
  }
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(SnapshotTest, ALoadDuringPlayReplacesTheGameAndRepeatedLoadsDoNotNest) {
  Records(8);
  std::array<Text, 4> snap{u"第二章,朝", StateLine("0002"), u"山田", u"太郎"};
  SavePointAt(2, u"第二章", u"朝");
  ASSERT_FALSE(WriteFileAtomic(dir / "00.dat", SlotFileBytes("2026/12/06 12:00", snap)));
  int loads = 0;
  std::vector<int> depths;
  onStep = [&](int32_t seq) {
    if (seq != 5 || loads == 3) return;
    ++loads;
    depths.push_back(f.GameDepth);
    f.ClickWait = f.InKeys = true;  // as while the story waits for the player
    f.Menu(MenuItem::prog_load).enabled = true;
    f.prog_load_Click();
    ASSERT_TRUE(f.fileWindow->IsOpen());
    Use("Picture1(0)");
    Use("fBtn(2)");
    ADD_FAILURE() << "the load returned into the interrupted game";
  };
  f.CurSeq = 0;
  f.RunGame();
  std::vector<int32_t> expected = Range(0, 6);
  for (int i = 0; i < 3; ++i)
    for (int32_t s : Range(2, 6)) expected.push_back(s);
  for (int32_t s : Range(6, 8)) expected.push_back(s);
  EXPECT_EQ(trace, expected);
  EXPECT_EQ(depths, (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(f.GameDepth, 0);
  EXPECT_EQ(f.SavePoint[1], u"第二章");
  EXPECT_EQ(f.SavePoint[2], u"朝");
  EXPECT_EQ(f.DialogMode, 3);
  EXPECT_FALSE(f.fileWindow->IsOpen());
}

TEST_F(SnapshotTest, AGameSavedAndLoadedThroughItsFileComesBackAsItWas) {
  tp.system.facts.dateTime = "2027/01/02 03:04:05";
  Records(20);
  f.kou = 1234;
  f.hap = 0;
  f.bad = -1;
  f.mak = 999;
  f.BgRequest = 17;
  f.CurNum = 210;
  f.WakuOpacity = 0.6f;
  f.BgmOn = true;
  f.SeOn = false;
  f.MessageSpeed = 2;
  f.CurSeq = 44;
  f.CurMusic = 5;
  f.SavePoint = {u"", u"", u""};  // no save point passed yet
  f.Names[1] = u"山田";
  f.Names[2] = u"太郎";
  f.ClickWait = f.InKeys = true;
  f.Menu(MenuItem::prog_save).enabled = true;
  f.prog_save_Click();
  ASSERT_TRUE(f.fileWindow->IsOpen());
  Use("Picture1(4)");
  Use("fBtn(3)");
  Use("fBtn(0)");
  // The file, written out by hand from the layout (山田 and 太郎 in CP932).
  const std::string expected = std::string("2027/01/02 03:04\r\n") + ",\r\n" + "234000-01999" + "000000000000" +
                               "017" + "0210" + "0060" + "-1" + "00" + "02" + "0044" + "05" + "0000\r\n" +
                               "\x8e\x52\x93\x63\r\n" + "\x91\xbe\x98\x59\r\n" + "\\\r\n";
  EXPECT_EQ(test::ReadBytes(dir / "04.dat"), expected);

  // Another run of the program loads it.
  test::TestPlatform tp2;
  Main_Form g{tp2.platform, StartOptions{}};
  g.LayOutMainWindow();
  g.DataDir = dir.path();
  g.ScenarioTable = f.ScenarioTable;
  g.LastSeq = f.LastSeq;
  std::vector<int32_t> run;
  g.StepHook = [&run](int32_t seq) { run.push_back(seq); };
  g.kou = g.hap = g.bad = g.mak = 7;
  g.WakuOpacity = 0.3f;
  g.SeOn = true;
  g.MessageSpeed = 0;
  g.CurSeq = 9;
  g.DialogMode = 2;
  g.TitleShown = true;
  g.fileWindow->Form_Load();
  ASSERT_TRUE(g.fileWindow->IsOpen());
  EXPECT_EQ(g.fileWindow->model.At("Label1(4)").caption, u"\r\n");  // no captions yet
  for (const char* c : {"Picture1(4)", "fBtn(2)"}) g.Dispatch(ControlEvent("File_Window", c));
  // kou cut to the field's three places.
  EXPECT_EQ(std::tie(g.kou, g.hap, g.bad, g.mak, g.BgRequest), std::make_tuple(234, 0, -1, 999, 17));
  EXPECT_EQ(std::tie(g.WakuOpacity, g.BgmOn, g.SeOn, g.MessageSpeed, g.CurMusic),
            std::make_tuple(0.6f, true, false, 2, 0));
  EXPECT_EQ(std::tie(g.Names[1], g.Names[2]), std::make_tuple(u"山田", u"太郎"));
  EXPECT_EQ(g.SavePoint, (std::array<Text, 3>{u"0", u"", u""}));
  EXPECT_EQ(run, Range(0, 20));  // from record 0: no save point had been passed
}

}  // namespace
}  // namespace mirel
