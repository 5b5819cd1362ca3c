#include <gtest/gtest.h>

#include <stdexcept>

#include "app/ScriptInput.h"
#include "support/TestPlatform.h"
#include "ui/NameEnt.h"

namespace mirel {
namespace {

struct ScriptTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  EventQueue q;
  std::unique_ptr<ScriptInput> in;
  void Load(const std::string& s) {
    in = std::make_unique<ScriptInput>(s, tp.clock, tp.messages);
    in->Attach(&f);
  }
};

TEST_F(ScriptTest, UnknownOrIncompleteLinesAreRefusedWithTheirNumber) {
  try {
    Load("click\n\n  # fine\nfly away\n");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("line 4"), std::string::npos);
  }
  EXPECT_THROW(Load("wait soon\n"), std::runtime_error);
  EXPECT_THROW(Load("dialog NameEnt\n"), std::runtime_error);
  EXPECT_THROW(Load("now\n"), std::runtime_error);
}

TEST_F(ScriptTest, ActionsWaitUntilTheGameWaitsForThePlayer) {
  Load("click\nkey space\n");
  in->Pump(q);
  EXPECT_TRUE(q.empty());  // nothing waits yet
  f.ClickWait = true;
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);  // a move to the point, then the press
  EXPECT_EQ(q[1].kind, EventKind::MouseDown);
  EXPECT_EQ(q[1].button, 1);
  q.clear();
  in->Pump(q);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].kind, EventKind::KeyDown);
  EXPECT_EQ(q[0].key, 32);
}

TEST_F(ScriptTest, NowGoesAtOnceAndWaitLetsTimePass) {
  Load("now click\nwait 500\nmenu end\nno\n");
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);
  q.clear();
  f.ClickWait = true;
  in->Pump(q);  // starts the wait
  tp.clock.Sleep(300);
  in->Pump(q);
  EXPECT_TRUE(q.empty());
  tp.clock.Sleep(300);
  in->Pump(q);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].kind, EventKind::Menu);
  EXPECT_EQ(q[0].menu, MenuItem::prog_end);
  // The answer was queued with the question's line.
  EXPECT_EQ(tp.messages.PendingAnswers(), 1u);
  EXPECT_EQ(tp.messages.Show(u"終了しますか？", MsgButtons::YesNo), MsgAnswer::No);
}

TEST_F(ScriptTest, DialogLinesCarryTextAndValues) {
  Load("dialog NameEnt Text1 山田　花子\ndialog Option_Window HScroll1 80\n");
  f.nameEnt->model.visible = true;  // a dialog is open
  in->Pump(q);
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].form, "NameEnt");
  EXPECT_EQ(q[0].control, "Text1");
  EXPECT_EQ(q[0].text, u"山田　花子");
  EXPECT_EQ(q[1].value, 80);
}

TEST_F(ScriptTest, AnActionForAnotherScreenWaitsWhileEarlierWaitsAreClickedAway) {
  f.LayOutMainWindow();
  Load("choose 3\n");
  f.ClickWait = true;
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(HitTest(f, q[1].x, q[1].y), nullptr);  // a plain click, no label is shown
  EXPECT_FALSE(in->Exhausted());
  q.clear();
  f.ClickWait = false;
  f.TitleShown = true;
  in->Pump(q);
  EXPECT_TRUE(q.empty());  // the title is not closed while a choice is still to come
  f.TitleShown = false;
  f.ChoiceOpen = true;
  f.ChoicePick = -1;
  f.Waku[0].Visible = true;
  f.SelTxt[2].Visible = true;
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(HitTest(f, q[1].x, q[1].y), &f.SelTxt[2]);
  EXPECT_TRUE(in->Exhausted());
}

TEST_F(ScriptTest, ChoicesAndTitleButtonsAreClickedWhereTheyStand) {
  f.LayOutMainWindow();
  Load("choose 2\ntitle load\n");
  f.ChoiceOpen = true;
  f.ChoicePick = -1;
  f.SelTxt[1].Visible = true;
  f.Waku[0].Visible = true;
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(HitTest(f, q[1].x, q[1].y), &f.SelTxt[1]);
  q.clear();
  f.ChoiceOpen = false;
  f.TitleShown = true;
  f.Smenu[1].Visible = true;
  in->Pump(q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(HitTest(f, q[1].x, q[1].y), &f.Smenu[1]);
}

TEST_F(ScriptTest, WhenTheScriptRunsOutEveryWaitIsAnsweredSoTheRunEnds) {
  f.LayOutMainWindow();
  Load("");
  f.ClickWait = true;
  in->Pump(q);
  ASSERT_FALSE(q.empty());
  EXPECT_EQ(q.back().kind, EventKind::MouseDown);
  q.clear();
  f.ClickWait = false;
  f.ChoiceOpen = true;
  f.ChoicePick = -1;
  f.Waku[0].Visible = true;
  f.SelTxt[0].Visible = true;
  in->Pump(q);
  ASSERT_FALSE(q.empty());
  EXPECT_EQ(HitTest(f, q.back().x, q.back().y), &f.SelTxt[0]);
  q.clear();
  f.ChoiceOpen = false;
  f.TitleShown = true;
  in->Pump(q);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].kind, EventKind::Close);
}

TEST_F(ScriptTest, TimeLimitClosesTheWindowOnce) {
  Load("");
  in->SetTimeLimit(1000);
  in->Pump(q);
  tp.clock.Sleep(1500);
  in->Pump(q);
  in->Pump(q);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].kind, EventKind::Close);
  EXPECT_TRUE(in->TimedOut());
}

}  // namespace
}  // namespace mirel
