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
  // Incomplete, a number outside its range or a now inside a now: refused
  // before the run (5000 nested nows once overflowed the stack).
  std::string nows;
  for (int i = 0; i < 5000; ++i) nows += "now ";
  nows += "click";
  for (const std::string bad : {"wait soon", "dialog NameEnt", "now", "wait 99999999999", "wait -1", "key 4294967296",
                                "key 00", "choose 99999999999999999999", "now choose 12345678901", "mouse 1 99999999999",
                                "move 99999999999 1", "mouse 640 0", "move 0 480", "mouse -1 0", "title start",
                                "menu nothing", "wheel up 3000000000", "wheel up 2000000000", "wheel down 0",
                                "wheel up x", "now now click", "now wait 5", nows.c_str()}) {
    try {
      Load("click\n" + bad + "\n");
      ADD_FAILURE() << bad;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("input line 2: "), std::string::npos) << e.what();
    }
  }
  for (const char* edge : {"wheel up 1000", "mouse 639 479", "move 0 0", "key 255", "key 1", "now yes"})
    EXPECT_NO_THROW(Load(edge)) << edge;
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


TEST_F(ScriptTest, KeysHeldKeysAndTheWheelBecomeTheirEvents) {
  struct Case {
    const char* line;
    std::vector<std::pair<EventKind, int>> events;  // key code, or wheel notches
  };
  const Case cases[] = {
      {"key pageup", {{EventKind::KeyDown, 33}}},
      {"key a", {{EventKind::KeyDown, 65}}},
      {"key ctrl+c", {{EventKind::KeyDown, 17}, {EventKind::KeyDown, 67}, {EventKind::KeyUp, 17}}},
      {"key ctrl", {{EventKind::KeyDown, 17}, {EventKind::KeyUp, 17}}},
      {"hold ctrl\nkey ctrl+c", {{EventKind::KeyDown, 17}, {EventKind::KeyDown, 67}}},
      {"release ctrl", {{EventKind::KeyUp, 17}}},
      {"wheel up 2\nwheel down", {{EventKind::Wheel, 1}, {EventKind::Wheel, 1}, {EventKind::Wheel, -1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Load(c.line);
    f.ClickWait = true;
    q.clear();
    for (int i = 0; i < 3 && !in->Exhausted(); ++i) in->Pump(q);
    ASSERT_EQ(q.size(), c.events.size());
    for (size_t i = 0; i < q.size(); ++i) {
      EXPECT_EQ(q[i].kind, c.events[i].first) << i;
      EXPECT_EQ(q[i].kind == EventKind::Wheel ? q[i].value : q[i].key, c.events[i].second) << i;
    }
  }
  EXPECT_THROW(Load("wheel sideways\n"), std::runtime_error);
  EXPECT_THROW(Load("hold shift-lock\n"), std::runtime_error);
}

}  // namespace
}  // namespace mirel
