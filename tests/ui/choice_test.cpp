#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

constexpr uint32_t kSilver = Rgb(192, 192, 192);
constexpr uint32_t kRed = Rgb(255, 0, 0);

struct ChoiceTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  // What the player does at each pump while the menu waits; pump counts from 0.
  std::function<void(int pump, EventQueue&)> player;
  int pumps = 0;

  void SetUp() override {
    f.LayOutMainWindow();
    f.Pic_Main.Visible = true;
    f.Waku[0].Visible = true;
    for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup}) f.Menu(m).enabled = true;
    f.timers.SetEnabled(f.ClickerTimer, true);
    // Records 0..9, the choice record first; the table's end is record 9.
    for (int i = 0; i < 10; ++i) {
      f.ScenarioTable.push_back(test::Record(static_cast<int16_t>(100 + i)));
      f.ScenarioTable.back().line = 40 + i;
    }
    f.LastSeq = 9;
    tp.events.onPump = [this](EventQueue& q) {
      if (pumps > 10000) throw std::runtime_error("the menu never closed");
      if (f.ChoiceOpen && f.ChoicePick < 0 && player) player(pumps++, q);
    };
  }
  void Row(int16_t sct, Text text, int16_t target, bool resolved = true) {
    ChoiceRow r;
    r.Sct = sct;
    r.ChoiceText = std::move(text);
    r.Target = target;
    r.resolved = resolved;
    r.line = static_cast<int>(f.ChoiceTable.size()) + 1;
    f.ChoiceTable.push_back(r);
    f.LastSct = static_cast<int32_t>(f.ChoiceTable.size()) - 1;
  }
  int32_t Open(int16_t point, Text count) {
    f.CurSeq = 0;
    f.CurNum = point;
    f.MsgText = std::move(count);
    return f.SelectDisp();
  }
  InputEvent At(int label, EventKind kind = EventKind::MouseDown, int button = 1, int dx = 4) const {
    const Surface& s = f.SelTxt[static_cast<size_t>(label)];
    return MouseEvent(kind, s.ScreenLeft() + dx, s.ScreenTop() + s.height / 2, button);
  }
};

TEST_F(ChoiceTest, TwoAnswersShowTwoEqualLabelsOnRowsTwoAndThree) {
  Row(7, u" 短い ", 3);
  Row(7, u"ずっと長い答え", 5);
  Row(7, u"三つ目", 6);
  f.MessageSpeed = 0;
  f.Menu(MenuItem::speedup).caption = u"スキップ停止";
  uint32_t picked = 0;
  player = [&](int pump, EventQueue& q) {
    if (pump == 0) {
      EXPECT_EQ(f.CurrentWait(), PlayerWait::Choice);
      EXPECT_TRUE(f.SelTxt[0].Visible);
      EXPECT_TRUE(f.SelTxt[1].Visible);
      EXPECT_FALSE(f.SelTxt[2].Visible);
      EXPECT_EQ(f.SelTxt[0].Caption, u"短い");
      EXPECT_EQ(f.SelTxt[0].top, f.LineHeight * 2 + 2);
      EXPECT_EQ(f.SelTxt[1].top, f.LineHeight * 3 + 2);
      // As wide as the widest answer (7 full-width characters of 16) + 10.
      EXPECT_EQ(f.SelTxt[0].width, 7 * 16 + 10);
      EXPECT_EQ(f.SelTxt[1].width, 7 * 16 + 10);
      EXPECT_EQ(f.SelTxt[0].ForeColor, kSilver);
      EXPECT_FALSE(f.Menu(MenuItem::prog_save).enabled);
      EXPECT_FALSE(f.Menu(MenuItem::prog_load).enabled);
      EXPECT_FALSE(f.Menu(MenuItem::speedup).enabled);
      EXPECT_FALSE(f.timers.Enabled(f.ClickerTimer));
      // Where the third label would stand there is only the window.
      InputEvent e = MouseEvent(EventKind::MouseDown, f.SelTxt[1].ScreenLeft() + 4,
                                f.SelTxt[1].ScreenTop() + f.LineHeight + 8);
      EXPECT_EQ(HitTest(f, e.x, e.y), &f.Waku[0]);
      q.push_back(e);
    } else if (pump == 1) {
      picked = tp.clock.GetTickCount();
      q.push_back(At(1));
    }
  };
  EXPECT_EQ(Open(7, u"2"), 1);
  EXPECT_EQ(pumps, 2);
  EXPECT_EQ(f.ChoicePick, 1);
  EXPECT_EQ(f.CurSeq, 5);
  EXPECT_GE(tp.clock.GetTickCount() - picked, 1000u);  // the pick is held on screen
  EXPECT_EQ(f.SelTxt[1].ForeColor, kRed);
  for (const Surface& s : f.SelTxt) EXPECT_FALSE(s.Visible);
  EXPECT_EQ(f.MessageSpeed, 1);  // a skip ends here
  EXPECT_EQ(f.Menu(MenuItem::speedup).caption, u"次の選択まで進む");
  EXPECT_TRUE(f.Menu(MenuItem::prog_save).enabled);
  EXPECT_TRUE(f.Menu(MenuItem::speedup).enabled);
  EXPECT_TRUE(f.timers.Enabled(f.ClickerTimer));
  EXPECT_EQ(f.LastSpeaker, 0);
  EXPECT_EQ(f.LineNo, 0);
  EXPECT_EQ(f.CurrentWait(), PlayerWait::None);
}

TEST_F(ChoiceTest, HoverLightsTheEnteredLabelAndOnlyALeftClickPicks) {
  for (int k = 0; k < 3; ++k) Row(8, u"答え" + Decimal(k), static_cast<int16_t>(k + 1));
  std::vector<std::array<uint32_t, 3>> colours;
  auto snap = [&] { colours.push_back({f.SelTxt[0].ForeColor, f.SelTxt[1].ForeColor, f.SelTxt[2].ForeColor}); };
  player = [&](int pump, EventQueue& q) {
    if (pump > 0) snap();
    switch (pump) {
      case 0: q.push_back(At(0, EventKind::MouseMove)); break;
      case 1: q.push_back(At(1, EventKind::MouseMove)); break;
      case 2: q.push_back(At(1, EventKind::MouseMove, 1, 20)); break;
      case 3: q.push_back(At(1, EventKind::MouseDown, 2)); break;  // right button
      case 4: q.push_back(KeyEvent(32)); q.push_back(KeyEvent(13)); break;
      case 5: q.push_back(At(2)); break;
      default: break;
    }
  };
  Open(8, u"3");
  ASSERT_EQ(colours.size(), 5u);
  EXPECT_EQ(colours[0], (std::array<uint32_t, 3>{kRed, kSilver, kSilver}));
  EXPECT_EQ(colours[1], (std::array<uint32_t, 3>{kSilver, kRed, kSilver}));
  EXPECT_EQ(colours[2], colours[1]);
  EXPECT_EQ(colours[3], colours[1]);  // the right click changed nothing
  EXPECT_EQ(pumps, 6);                // neither it nor the keys picked
  EXPECT_EQ(f.ChoicePick, 2);
  EXPECT_EQ(f.CurSeq, 3);
  EXPECT_EQ(f.SelTxt[2].ForeColor, kRed);
}

TEST_F(ChoiceTest, AChoiceWithoutRowsIsReportedAndPassedALostTargetIsDamagedData) {
  Row(5, u"a1", 1);
  Row(6, u"b1", 0, false);
  f.ScenarioTable[0].Num = 4;
  f.ScenarioTable[0].Cmd = u"s";
  f.ScenarioTable[0].Text = u"2";
  f.CurSeq = 0;
  EXPECT_EQ(f.RunStep(), 2);  // on with the next record
  EXPECT_EQ(tp.messages.Shown(), std::vector<Text>{u"SCT not found."});
  EXPECT_FALSE(f.SelTxt[0].Visible);
  EXPECT_TRUE(f.Menu(MenuItem::prog_save).enabled);
  player = [&](int, EventQueue& q) { q.push_back(At(0)); };
  try {
    Open(6, u"1");
    FAIL() << "no error";
  } catch (const PlayError& e) {
    EXPECT_NE(e.message.find(u"92.dat の 2 行目"), Text::npos);
  }
  EXPECT_FALSE(f.ChoiceOpen);
}

}  // namespace
}  // namespace mirel
