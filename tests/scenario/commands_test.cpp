#include <gtest/gtest.h>

#include "app/Main_Form.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct CommandsTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};

  void Blocks(int count, int first = 1000, int step = 10) {
    f.ScenarioTable.clear();
    f.BlockIndex.clear();
    for (int i = 0; i < count; ++i) {
      ScenarioRecord r;
      r.Num = static_cast<int16_t>(first + step * i);
      r.line = 2 * i + 1;
      f.ScenarioTable.push_back(r);
      f.ScenarioTable.push_back(r);
      f.BlockIndex.push_back(BlockIndexEntry{r.Num, 2 * i});
    }
    f.BlockCount = count;
    f.LastSeq = static_cast<int32_t>(f.ScenarioTable.size()) - 1;
  }
  // Runs one command as the interpreter would for the record at `seq`.
  int32_t Run(Text cmd, Text text = u"", Text p1 = u"", int16_t jump = 0, int32_t seq = 0) {
    f.CurSeq = seq;
    f.CmdText = std::move(cmd);
    f.MsgText = std::move(text);
    f.Param1 = std::move(p1);
    f.JumpNum = jump;
    switch (f.CmdText[0]) {
      case u'g': return f.CmdJump();
      case u'p': return f.CmdCounter();
      case u'i': return f.CmdEquality();
      case u'c': return f.CmdCompare();
      case u't': return f.CmdTextParam();
      default: return f.CmdWait();
    }
  }
};

TEST_F(CommandsTest, MissingBlockIsReportedOnceAndThePlayGoesOn) {
  Blocks(5);
  EXPECT_EQ(Run(u"g0", u"", u"", 1015, 3), 2);  // advance past the jump
  EXPECT_EQ(f.CurSeq, 3);
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_EQ(tp.messages.Shown()[0], u"Not found 1015 to 3");
  EXPECT_EQ(Run(u"g0", u"", u"", 1030, 3), 1);
  EXPECT_EQ(f.CurSeq, 6);
  // Through the interpreter: the missing jump runs once and play reaches the end.
  Blocks(3);
  f.ScenarioTable[0].Cmd = u"g0";
  f.ScenarioTable[0].Jump = 1500;
  tp.messages = ScriptedMessageBoxes();
  f.CurSeq = 0;
  f.RunScenario();
  EXPECT_EQ(f.CurSeq, f.LastSeq);
  EXPECT_EQ(tp.messages.Shown().size(), 1u);
}

TEST_F(CommandsTest, JumpFamily) {
  Blocks(2);
  EXPECT_EQ(Run(u"g9"), 9);
  EXPECT_EQ(Run(u"g1"), 2);
  EXPECT_EQ(Run(u"g3"), 2);
  EXPECT_EQ(Run(u"gx"), 2);
}

TEST_F(CommandsTest, ComparisonsAtTheirBoundaries) {
  Blocks(3);
  f.kou = 4;
  EXPECT_EQ(Run(u"c0", u"kou", u"3", 1020), 1);  // 3 < 4
  EXPECT_EQ(f.CurSeq, 4);
  f.kou = 3;
  EXPECT_EQ(Run(u"c0", u"kou", u"3", 1020), 2);
  EXPECT_EQ(Run(u"c1", u"kou", u"3", 1020), 1);  // 3 <= 3
  f.kou = 2;
  EXPECT_EQ(Run(u"c1", u"kou", u"3", 1020), 2);
  EXPECT_EQ(Run(u"c2", u"kou", u"3", 1020), 1);  // 3 > 2
  f.kou = 3;
  EXPECT_EQ(Run(u"c2", u"kou", u"3", 1020), 2);
  f.hap = -5;
  EXPECT_EQ(Run(u"c2", u"happy", u"-4", 1020), 1);  // the name is its first three characters
  EXPECT_TRUE(tp.messages.Shown().empty());
  EXPECT_EQ(Run(u"c5", u"kou", u"3", 1020), 2);
  EXPECT_EQ(Run(u"c0", u"xyz", u"3", 1020), 2);  // unknown counter: no jump, no message
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_EQ(tp.messages.Shown()[0], u"error(i?)");
}

TEST_F(CommandsTest, EqualityBranches) {
  Blocks(3);
  f.bad = 2;
  EXPECT_EQ(Run(u"i1", u"bad", u"2", 1010), 1);
  EXPECT_EQ(Run(u"i1", u"bad", u"3", 1010), 2);
  EXPECT_EQ(Run(u"i2", u"bad", u"3", 1010), 1);
  EXPECT_EQ(Run(u"i2", u"bad", u"2", 1010), 2);
  EXPECT_EQ(Run(u"i0", u"bad", u"2", 1010), 2);
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_EQ(tp.messages.Shown()[0], u"error(i?)");
}

TEST_F(CommandsTest, CountersSavePointsAndCaptions) {
  Blocks(2);
  EXPECT_EQ(Run(u"p1", u"mak"), 2);
  EXPECT_EQ(Run(u"p1", u"mak"), 2);
  EXPECT_EQ(Run(u"p0", u"mak"), 2);
  EXPECT_EQ(f.mak, 1);
  Run(u"p2", u"bad", u"-2");
  EXPECT_EQ(f.bad, -2);
  Run(u"p1", u"end");
  EXPECT_EQ(f.EndPoints, 0);  // "end" counts only with p2
  Run(u"p2", u"end", u"2");
  EXPECT_EQ(f.EndPoints, 2);
  Run(u"p8", u" 第一章 ", u" 三月 ", 0, 3);
  EXPECT_EQ(f.SavePoint[0], u"3");
  EXPECT_EQ(f.SavePoint[1], u"第一章");
  EXPECT_EQ(f.SavePoint[2], u"三月");
  Run(u"p9", u"3/25");
  EXPECT_EQ(f.DateCaption, u"3/25");
  EXPECT_EQ(f.Dtime_label.Caption, u"3/25");
  EXPECT_TRUE(tp.messages.Shown().empty());
  Run(u"p7", u"kou");
  Run(u"p5", u"kou");
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_EQ(tp.messages.Shown()[0], u"error(p?)");
}

TEST_F(CommandsTest, CounterOverflowAndBadNumbersAreDamagedData) {
  Blocks(2);
  f.kou = 32767;
  EXPECT_THROW(Run(u"p1", u"kou"), PlayError);
  EXPECT_EQ(f.kou, 32767);
  try {
    Run(u"p2", u"hap", u"lots", 0, 1);
    FAIL();
  } catch (const PlayError& e) {
    EXPECT_NE(e.message.find(u"91.dat"), Text::npos);
    EXPECT_NE(e.message.find(u"lots"), Text::npos);
  }
}

}  // namespace
}  // namespace mirel
