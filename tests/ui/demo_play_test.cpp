// Plays the demo story on the test platform with scripted input: the first
// choice answered each way in turn, the hero renamed at the name entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "text/text_harness.h"

namespace mirel {
namespace {

struct Counters {
  int16_t kou, hap, bad, mak;
};

struct DemoRun {
  test::TestPlatform tp;
  test::RecordingFont font;
  test::TempDir dir;
  std::unique_ptr<ScriptInput> input;
  std::unique_ptr<Main_Form> f;
  std::vector<int32_t> trace;
  std::map<int32_t, Counters> countersAt;  // as each record starts (first time)
  // Each record run and the message text it left (names filled in).
  std::vector<std::pair<int32_t, Text>> texts;
  int32_t last = -1;
  int status = -1;

  bool Play(const std::string& script) {
    if (!test::CopyDemoData(dir.path())) return false;
    tp.platform.fonts = &font;
    input = std::make_unique<ScriptInput>(script, tp.clock, tp.messages);
    tp.platform.events = input.get();
    f = std::make_unique<Main_Form>(tp.platform, StartOptions{dir.path(), dir.path()});
    input->Attach(f.get());
    f->StepHook = [this](int32_t seq) {
      trace.push_back(seq);
      if (last >= 0) texts.emplace_back(last, f->MsgText);
      last = seq;
      countersAt.emplace(seq, Counters{f->kou, f->hap, f->bad, f->mak});
    };
    status = RunProgram(*f);
    return true;
  }
  int32_t FirstOf(int16_t block) const {
    for (const BlockIndexEntry& b : f->BlockIndex)
      if (b.Num == block) return b.Seq;
    return -1;
  }
  int32_t RecordOf(const Text& cmd) const {
    for (size_t i = 0; i < f->ScenarioTable.size(); ++i)
      if (Trim(f->ScenarioTable[i].Cmd) == cmd) return static_cast<int32_t>(i);
    return -1;
  }
  // Position in the draw log of the first / last text holding `s`.
  long FirstDraw(const Text& s) const {
    for (size_t i = 0; i < font.drawn.size(); ++i)
      if (font.drawn[i].text.find(s) != Text::npos) return static_cast<long>(i);
    return -1;
  }
  long LastDraw(const Text& s) const {
    for (size_t i = font.drawn.size(); i-- > 0;)
      if (font.drawn[i].text.find(s) != Text::npos) return static_cast<long>(i);
    return -1;
  }
};

TEST(DemoPlay, EachFirstAnswerTakesItsRouteAndTheNewNameIsUsedAfterTheEntry) {
  const int16_t branches[] = {1210, 1220, 1230};
  for (int answer = 1; answer <= 3; ++answer) {
    SCOPED_TRACE(answer);
    DemoRun run;
    // The name entry needs family name, separator, given name.
    std::string script = "title new\nchoose " + std::to_string(answer) +
                         "\ndialog NameEnt Text1 水野　テスト\ndialog NameEnt Command1\n";
    if (!run.Play(script)) GTEST_SKIP() << "the build has not made the demo data folder";
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.tp.messages.Shown().empty()) << Utf8(run.tp.messages.Shown().front());
    EXPECT_FALSE(run.input->TimedOut());

    // The choice record of block 1200 is followed by the answer's block.
    int32_t choice = -1;
    for (size_t i = 0; i < run.f->ScenarioTable.size(); ++i)
      if (run.f->ScenarioTable[i].Num == 1200 && Trim(run.f->ScenarioTable[i].Cmd) == u"s")
        choice = static_cast<int32_t>(i);
    ASSERT_GE(choice, 0);
    auto at = std::find(run.trace.begin(), run.trace.end(), choice);
    ASSERT_NE(at, run.trace.end());
    ASSERT_NE(at + 1, run.trace.end());
    EXPECT_EQ(*(at + 1), run.FirstOf(branches[answer - 1]));
    for (int16_t other : branches) {
      if (other == branches[answer - 1]) continue;
      EXPECT_EQ(std::count(run.trace.begin(), run.trace.end(), run.FirstOf(other)), 0) << other;
    }

    // Chapter 2 begins with one point on the route the answer chose.
    auto c = run.countersAt.find(run.FirstOf(2000));
    ASSERT_NE(c, run.countersAt.end());
    EXPECT_EQ(c->second.kou, answer == 1 ? 1 : 0);
    EXPECT_EQ(c->second.hap, answer == 2 ? 1 : 0);
    EXPECT_EQ(c->second.bad, answer == 3 ? 1 : 0);

    // The name entry was reached, and the hero's tag and the story's text
    // use the new given name from then on, the old one only before.
    int32_t entry = run.RecordOf(u"g4");
    ASSERT_GE(entry, 0);
    EXPECT_NE(std::find(run.trace.begin(), run.trace.end(), entry), run.trace.end());
    EXPECT_EQ(run.f->Names[2], u"テスト");
    long lastOld = run.LastDraw(u"【晴】"), firstNew = run.FirstDraw(u"【テスト】");
    ASSERT_GE(lastOld, 0);
    ASSERT_GE(firstNew, 0);
    EXPECT_LT(lastOld, firstNew);
    // Every line with the given name's placeholder, as it was shown: the
    // old name before the entry, the new one after it.
    bool afterEntry = false;
    int replaced = 0;
    for (const auto& [seq, text] : run.texts) {
      if (seq == entry) afterEntry = true;
      const ScenarioRecord& r = run.f->ScenarioTable[static_cast<size_t>(seq)];
      if (Trim(r.NameSubst) != u"1" || r.Text.find(u"&2") == Text::npos) continue;
      Text expected = Trim(r.Text);
      for (size_t p; (p = expected.find(u"&2")) != Text::npos;)
        expected.replace(p, 2, afterEntry ? u"テスト" : u"晴");
      for (size_t p; (p = expected.find(u"&1")) != Text::npos;) expected.replace(p, 2, u"水野");
      EXPECT_EQ(text, expected) << seq;
      replaced += afterEntry;
    }
    EXPECT_GT(replaced, 0);
  }
}

}  // namespace
}  // namespace mirel
