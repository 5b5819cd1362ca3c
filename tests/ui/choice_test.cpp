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
