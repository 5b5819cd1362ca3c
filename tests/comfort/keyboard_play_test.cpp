// The demo played from the keyboard alone: on every route it runs the same
// records, in the same order, to the same ending as the play with the
// mouse, and the description it gives as it goes names what is on screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/AccessLines.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

constexpr uint32_t kGiveUpMs = 2u * 3600 * 1000;
const Text kName = u"水野　テスト";

// Answers every wait with keys: Enter to go on, the arrows and Enter at the
// title and the choices; the name entry takes its text.
struct KeyboardPlayer : test::DemoRun {
  std::vector<int> answers;
  size_t next = 0;
  bool inChoice = false;
  int titles = 0;

  void Pump(EventQueue& q) override {
    if (!form) return;
    if (!q.empty()) return;
    if (tp.clock.GetTickCount() > kGiveUpMs) {
      q.push_back(CloseEvent());
      return;
    }
    const PlayerWait w = form->CurrentWait();
    if (w != PlayerWait::Choice) inChoice = false;
    switch (w) {
      case PlayerWait::Click: q.push_back(KeyEvent(kVkEnter)); break;
      case PlayerWait::Title:
        // The first title starts the game; the one after the ending ends it.
        if (titles++ == 0) q.push_back(KeyEvent(kVkEnter));
        else q.push_back(CloseEvent());
        break;
      case PlayerWait::Choice:
        if (inChoice) break;
        inChoice = true;
        for (int k = 1; next < answers.size() && k < answers[next]; ++k) q.push_back(KeyEvent(kVkDown));
        q.push_back(KeyEvent(kVkEnter));
        ++next;
        break;
      case PlayerWait::Dialog:
        q.push_back(ControlEvent("NameEnt", "Text1", 0, kName));
        q.push_back(ControlEvent("NameEnt", "Command1"));
        break;
      default: break;
    }
  }
};

struct Route {
  const char* name;
  std::vector<int> answers;
};
void PrintTo(const Route& r, std::ostream* os) { *os << r.name; }

const Route kRoutes[] = {{"lighthouse", {1, 1, 1, 1}}, {"festival", {2, 2, 2, 2}}, {"napping", {3, 1, 3, 1}}};

struct KeyboardPlay : ::testing::TestWithParam<Route> {};

TEST_P(KeyboardPlay, RunsTheRecordsOfTheMousePlayToTheSameEnding) {
  const Route& route = GetParam();
  test::TempDir mouseDir, keysDir;
  ASSERT_TRUE(test::CopyDemoData(mouseDir.path())) << "the demo data folder is built by the demo_data target";
  ASSERT_TRUE(test::CopyDemoData(keysDir.path()));
  std::string script = "title new\nchoose " + std::to_string(route.answers[0]) + "\ndialog NameEnt Text1 " +
                       Utf8(kName) + "\ndialog NameEnt Command1\n";
  for (size_t i = 1; i < route.answers.size(); ++i) script += "choose " + std::to_string(route.answers[i]) + "\n";
  test::DemoRun mouse;
  ASSERT_EQ(mouse.Play(mouseDir.path(), script), 0);
  KeyboardPlayer keys;
  keys.answers = route.answers;
  std::vector<std::string> told;
  AccessLines lines([&told](const std::string& l) { told.push_back(l); });
  keys.tp.platform.access = &lines;
  ASSERT_EQ(keys.Play(keysDir.path(), ""), 0);
  EXPECT_EQ(keys.next, route.answers.size()) << "every answer was given";
  EXPECT_EQ(keys.form->EndPoints, mouse.form->EndPoints);
  EXPECT_EQ(keys.trace, mouse.trace);
  EXPECT_EQ(test::ReadBytes(keysDir / "90.dat"), test::ReadBytes(mouseDir / "90.dat"));
  // The title, the name entry and every menu were described, and each
  // answer given was focused from the keyboard first.
  auto count = [&told](const std::string& line) { return std::count(told.begin(), told.end(), line); };
  EXPECT_EQ(count("a11y: screen title"), 1);
  EXPECT_EQ(count("a11y: screen dialog"), 1);
  EXPECT_EQ(count("a11y: screen choice"), 4);
  long downs = 0;
  for (int a : route.answers) downs += a - 1;
  EXPECT_EQ(std::count_if(told.begin(), told.end(), [](const std::string& l) { return l.rfind("a11y: focus button ", 0) == 0; }),
            downs);
}

INSTANTIATE_TEST_SUITE_P(Routes, KeyboardPlay, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<Route>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace mirel
