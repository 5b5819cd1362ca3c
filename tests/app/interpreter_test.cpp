#include <gtest/gtest.h>

#include <vector>

#include "app/Main_Form.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct InterpreterTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  void Add(int16_t num, Text cmd, Text text = u"", Text subst = u"") {
    ScenarioRecord r = test::Record(num, std::move(cmd), std::move(text));
    r.NameSubst = std::move(subst);
    r.line = static_cast<int>(f.ScenarioTable.size()) + 1;
    f.ScenarioTable.push_back(r);
    f.LastSeq = static_cast<int32_t>(f.ScenarioTable.size()) - 1;
  }
};

TEST_F(InterpreterTest, PlaceholdersTakeTheNames) {
  f.Names[1] = u"山田";
  f.Names[2] = u"太郎";
  EXPECT_EQ(f.ReplacePlaceholders(u"&2さん"), u"太郎さん");
  EXPECT_EQ(f.ReplacePlaceholders(u"&1&2、&2!"), u"山田太郎、太郎!");
}

TEST_F(InterpreterTest, StopsOnReachingTheTerminatorAndNeverRunsIt) {
  Add(1, u"", u"一");
  Add(1, u"", u"二");
  Add(2, u"", u"終端");
  f.MessageSpeed = 0;  // skipping: the lines are shown without waiting for a player
  f.CurSeq = 0;
  f.RunScenario();
  EXPECT_EQ(f.CurSeq, 2);
  EXPECT_EQ(f.MsgText, u"二");  // the terminator's fields were never copied
}

TEST_F(InterpreterTest, ALoopThatNeverWaitsKeepsTheWindowAliveAndIsStoppedNamingItsRecord) {
  struct Case {
    const char16_t *cmd, *text, *param;
  };
  // Back to its own block at once, and through a counter that never changes.
  for (Case c : {Case{u"g0", u"", u""}, Case{u"c2", u"kou", u"5"}}) {
    f.ScenarioTable.clear();
    Add(1, u"p7");
    Add(1, c.cmd, c.text);
    f.ScenarioTable[1].Jump = 1;
    f.ScenarioTable[1].Param1 = c.param;
    Add(2, u"");
    f.BlockIndex = {{1, 0}, {2, 2}};
    f.BlockCount = 2;
    std::vector<uint32_t> pumpedAt;
    bool close = false;
    tp.events.onPump = [&](EventQueue& q) {
      pumpedAt.push_back(tp.clock.GetTickCount());
      if (close) q.push_back(CloseEvent());
    };
    f.CurSeq = 0;
    try {
      f.RunScenario();
      ADD_FAILURE() << "the loop returned";
    } catch (const PlayError& e) {
      EXPECT_NE(e.message.find(u"91.dat"), Text::npos);
      EXPECT_NE(e.message.find(u"(レコード "), Text::npos);
    }
    ASSERT_GE(pumpedAt.size(), 3u);
    for (size_t i = 1; i < pumpedAt.size(); ++i) EXPECT_LE(pumpedAt[i] - pumpedAt[i - 1], 21u);
    // The close box works while it loops.
    close = true;
    f.CurSeq = 0;
    EXPECT_THROW(f.RunScenario(), ProgramEnd);
  }
  // A loop that waits each time round is the story's own business.
  f.ScenarioTable[0].Cmd = u"w";
  f.ScenarioTable[0].Text = u"1";
  f.ScenarioTable[1].Cmd = u"g0";
  int pumps = 0;
  tp.events.onPump = [&](EventQueue& q) {
    if (++pumps == Main_Form::kMaxQuietSteps + 10) q.push_back(CloseEvent());
  };
  f.CurSeq = 0;
  EXPECT_THROW(f.RunScenario(), ProgramEnd);
}

TEST_F(InterpreterTest, QuitDrawsEndInTheColourOfTheEndingAndEndsTheProgram) {
  f.LayOutMainWindow();
  f.Pic_Main.BackColor = Rgb(100, 100, 100);
  f.Pic_Main.Cls();
  for (int16_t points : {0, 3}) {
    f.EndPoints = points;
    Add(1, u"q");
    f.CurSeq = static_cast<int32_t>(f.ScenarioTable.size()) - 1;
    Add(2, u"");
    uint32_t t0 = tp.clock.GetTickCount();
    try {
      f.RunScenario();
      FAIL() << "quit returned";
    } catch (const ProgramEnd& e) {
      EXPECT_EQ(e.status, 0);
      EXPECT_TRUE(e.runUnload);
    }
    EXPECT_GE(tp.clock.GetTickCount() - t0, 11100u);  // 101 x 100 ms, then 1 s
    EXPECT_EQ(f.Pic_Main.At(505, 392), points ? kBlack : kWhite);
    EXPECT_FALSE(f.Menu(MenuItem::vvrr).enabled);
  }
}

}  // namespace
}  // namespace mirel
