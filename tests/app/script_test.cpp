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

}  // namespace
}  // namespace mirel
