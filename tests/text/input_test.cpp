#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

// Points of the laid-out screen: the bare picture and the message window.
constexpr int kPicX = 320, kPicY = 100, kWakuX = 60, kWakuY = 440;

struct State {
  bool waiting, hidden, wakuShown, optEnabled, blinker, inKeys;
};

struct InputTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  // Events handed over at successive pumps, one group per pump.
  std::deque<std::vector<InputEvent>> plan;
  // The state each pump finds (what the events of the pump before did).
  std::vector<State> seen;
  int pumps = 0;

  void SetUp() override {
    f.LayOutMainWindow();
    f.Pic_Main.Visible = true;
    f.Waku[0].Visible = true;
    f.Menu(MenuItem::opt_menu).enabled = true;
    f.Menu(MenuItem::speedup).enabled = true;
    tp.events.onPump = [this](EventQueue& q) {
      ++pumps;
      seen.push_back({f.ClickWait, f.WakuHidden, f.Waku[0].Visible, f.Menu(MenuItem::opt_menu).enabled,
                      f.Blinker.Visible, f.InKeys});
      if (pumps > 100000) throw std::runtime_error("the wait never ended");
      if (!plan.empty()) {
        for (const InputEvent& e : plan.front()) q.push_back(e);
        plan.pop_front();
      }
    };
  }
};

TEST_F(InputTest, LeftClicksSpaceAndEnterEndTheWaitOtherKeysDoNot) {
  f.Doll_Disp[0].Move(100, 50, 120, 200);
  f.Doll_Disp[0].Visible = true;
  const InputEvent advances[] = {MouseEvent(EventKind::MouseDown, kPicX, kPicY, 1),
                                 MouseEvent(EventKind::MouseDown, kWakuX, kWakuY, 1),
                                 MouseEvent(EventKind::MouseDown, 150, 100, 1), KeyEvent(32), KeyEvent(13)};
  for (const InputEvent& e : advances) {
    pumps = 0;
    seen.clear();
    plan = {{KeyEvent(65)}, {KeyEvent(9)}, {MouseEvent(EventKind::MouseDown, kPicX, kPicY, 3)}, {e}};
    f.Keys();
    EXPECT_EQ(pumps, 4);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.back().blinker);  // the mark shows while waiting
    EXPECT_TRUE(seen.back().inKeys);
    EXPECT_FALSE(f.Blinker.Visible);
    EXPECT_FALSE(f.InKeys);
    EXPECT_FALSE(f.ClickWait);
  }
}

TEST_F(InputTest, RightClickHidesTheWindowAndBringsItBackWithoutAdvancing) {
  f.DateTabOn = true;
  f.Waku[3].Visible = true;
  plan = {{MouseEvent(EventKind::MouseDown, kWakuX, kWakuY, 2)},  // hide
          {KeyEvent(32)},                                        // ignored while hidden
          {MouseEvent(EventKind::MouseDown, kPicX, kPicY, 1)},    // ignored while hidden
          {KeyEvent(27)},                                        // ignored while hidden
          {MouseEvent(EventKind::MouseDown, kPicX, kPicY, 2)},    // show again, still waiting
          {MouseEvent(EventKind::MouseDown, kPicX, kPicY, 1)}};   // advance
  f.Keys();
  ASSERT_EQ(pumps, 6);
  EXPECT_TRUE(seen[1].hidden);
  EXPECT_FALSE(seen[1].wakuShown);
  EXPECT_FALSE(seen[1].optEnabled);
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(seen[static_cast<size_t>(i)].waiting) << i;
  EXPECT_FALSE(f.FullScreen);
  EXPECT_FALSE(seen[5].hidden);
  EXPECT_TRUE(seen[5].wakuShown);
  EXPECT_TRUE(seen[5].optEnabled);
  EXPECT_TRUE(seen[5].waiting);  // the right click that showed it did not advance
  EXPECT_TRUE(f.Waku[3].Visible);
  EXPECT_FALSE(f.ClickWait);
}

TEST_F(InputTest, SkippingRunsToTheNextChoiceAndStopsThere) {
  // Block 10: five lines and a choice; block 20: two lines; then the end.
  auto add = [&](int16_t num, Text cmd, Text text) {
    f.ScenarioTable.push_back(test::Record(num, std::move(cmd), std::move(text)));
    f.ScenarioTable.back().line = static_cast<int>(f.ScenarioTable.size());
  };
  for (int i = 0; i < 5; ++i) add(10, u"", u"行" + Decimal(i));
  add(10, u"s", u"2");
  add(20, u"", u"選んだあと一");
  add(20, u"", u"選んだあと二");
  add(30, u"", u"");
  f.LastSeq = 8;
  f.BlockIndex = {{10, 0}, {20, 6}, {30, 8}};
  f.BlockCount = 3;
  for (int k = 0; k < 2; ++k) {
    ChoiceRow row;
    row.Sct = 10;
    row.ChoiceText = u"答え" + Decimal(k);
    row.Target = 6;
    row.resolved = true;
    f.ChoiceTable.push_back(row);
  }
  f.LastSct = 1;
  f.MessageSpeed = 1;
  std::vector<int32_t> waitedAt;
  bool skipAsked = false;
  tp.events.onPump = [&](EventQueue& q) {
    if (f.ChoiceOpen && f.ChoicePick < 0) {
      const Surface& s = f.SelTxt[0];
      q.push_back(MouseEvent(EventKind::MouseDown, s.ScreenLeft() + 4, s.ScreenTop() + 4, 1));
    } else if (f.CurrentWait() == PlayerWait::Click) {
      waitedAt.push_back(f.CurSeq);
      q.push_back(skipAsked ? KeyEvent(32) : MenuEvent(MenuItem::speedup));
      skipAsked = true;
    }
  };
  f.CurSeq = 0;
  f.RunScenario();
  // Only the first line was waited for; after the choice every line is.
  EXPECT_EQ(waitedAt, (std::vector<int32_t>{0, 6, 7}));
  EXPECT_EQ(f.MessageSpeed, 1);
  EXPECT_EQ(f.Menu(MenuItem::speedup).caption, u"次の選択まで進む");
}

}  // namespace
}  // namespace mirel
