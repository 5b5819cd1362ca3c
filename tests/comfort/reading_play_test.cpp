// The reading comforts on the demo story, played with scripted input on the
// virtual clock: the backlog's history, auto mode's timing, fast-forward on
// a second play, copying, and that none of them changes the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/headless/FixedFolders.h"
#include "platform/headless/MemoryClipboard.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

struct Seen {
  uint32_t tick;
  int32_t record;
  PlayerWait wait;
  bool inKeys, ctrl, autoOn, autoMarkShown;
  size_t chars;  // of the message on screen
};

// A play of a copy of the demo that notes what every pump finds before
// the script acts.
struct Play : test::DemoRun {
  test::TempDir data;
  MemoryClipboard clipboard;
  std::vector<Seen> pumps;
  std::string slot, config;  // "00.dat" and "90.dat" afterwards

  ~Play() override { form.reset(); }  // before its folder goes
  void Pump(EventQueue& q) override {
    Main_Form& f = *form;
    pumps.push_back({f.GetTickCount(), f.CurSeq, f.CurrentWait(), f.InKeys && f.CurrentWait() == PlayerWait::Click, f.reading.CtrlHeld(),
                     f.reading.AutoOn(), f.reading.AutoMark().Shown(), f.MsgText.size()});
    DemoRun::Pump(q);
  }
  // False when the build has not made the demo data.
  void Run(const std::string& script, UserFolders* folders = nullptr,
           const std::function<void(ReadingSettings&)>& settings = {}) {
    if (!test::CopyDemoData(data.path())) ADD_FAILURE() << "the build has not made the demo data folder";
    tp.platform.clipboard = &clipboard;
    tp.platform.folders = folders;
    if (settings) before = [settings](Main_Form& f) { settings(f.reading.settings); };
    DemoRun::Play(data.path(), script);
    slot = test::ReadBytes(data / "00.dat");
    config = test::ReadBytes(data / "90.dat");
  }
  // Records at which the story waited for a click (in order, once each).
  std::vector<int32_t> ClickWaits(bool ctrlHeld) const {
    std::vector<int32_t> v;
    for (const Seen& p : pumps)
      if (p.inKeys && p.ctrl == ctrlHeld && (v.empty() || v.back() != p.record)) v.push_back(p.record);
    return v;
  }
  int32_t ChoiceRecord() const {
    for (size_t i = 0; i < form->ScenarioTable.size(); ++i)
      if (Trim(form->ScenarioTable[i].Cmd) == u"s") return static_cast<int32_t>(i);
    return -1;
  }
};

TEST(ReadingPlay, TheBacklogHoldsWhatWasShownWithNamesAndThePickedChoiceAndChangesNothing) {
  Play p;
  p.Run("title new\nchoose 2\nkey pageup\nwheel up 3\nkey up\nwheel down 10\n"
        "wheel up\nkey esc\nmenu end\nyes\n");
  EXPECT_EQ(p.status, 0);
  const auto& h = p.form->reading.History().Entries();
  ASSERT_FALSE(h.empty());
  EXPECT_FALSE(p.form->reading.History().IsOpen());

  // The prologue's caption, the hero's tag with his name, a line with a
  // name filled in, narration without a tag, the picked answer last but
  // one (the line after it is where the backlog was opened).
  auto find = [&](BacklogEntry::Kind kind, const Text& tag, const Text& text) {
    for (const BacklogEntry& e : h)
      if (e.kind == kind && e.tag == tag && e.text == text) return true;
    return false;
  };
  using K = BacklogEntry::Kind;
  EXPECT_TRUE(find(K::Caption, u"", u"岬のミレル"));
  EXPECT_TRUE(find(K::Message, u"【晴】", u"……ここが、ばあちゃんの町か。"));
  EXPECT_TRUE(find(K::Message, u"【千尋】", u"あっ、いたいた！　晴兄ちゃん、こっちこっち！"));
  EXPECT_TRUE(find(K::Message, u"", u"小さな駅のホームに、潮の香りが流れこんできた。"));
  for (const BacklogEntry& e : h) EXPECT_EQ(e.text.find(u'&'), Text::npos) << Utf8(e.text);
  ASSERT_GE(h.size(), 3u);
  EXPECT_EQ(h[h.size() - 2].kind, K::Choice);
  EXPECT_EQ(h[h.size() - 2].text, u"千尋と商店街を歩く");
  EXPECT_EQ(h[h.size() - 3].text, u"さて、昼からどうしようか。");
  EXPECT_EQ(h[h.size() - 3].colour, Rgb(255, 255, 255));

  // The same play without the backlog ran the same records and left the
  // same files.
  Play plain;
  plain.Run("title new\nchoose 2\nmenu end\nyes\n");
  EXPECT_EQ(p.trace, plain.trace);
  EXPECT_EQ(p.config, plain.config);
}

TEST(ReadingPlay, AutoModeAdvancesAfterTheReadingTimeAndStopsAtTheChoice) {
  Play p;
  // Nothing but auto mode answers for ten minutes.
  p.Run("title new\nkey a\nwait 600000\nmenu end\nyes\n", nullptr, [](ReadingSettings& s) { s.autoPerCharMs = 70; });
  EXPECT_EQ(p.status, 0);
  const int32_t choice = p.ChoiceRecord();
  ASSERT_GE(choice, 0);

  // Every wait between the first message and the choice lasted the base
  // time plus 70 ms a character, with the mark on the window.
  struct Span {
    int32_t record;
    uint32_t first, last;
    size_t chars;
  };
  std::vector<Span> spans;
  bool sawChoice = false;
  for (const Seen& q : p.pumps) {
    if (q.wait == PlayerWait::Choice) {
      // Turned off at the first pump where the player must choose.
      if (sawChoice) {
        EXPECT_FALSE(q.autoOn);
      }
      sawChoice = true;
    }
    if (sawChoice || !q.autoOn || !q.inKeys) continue;
    EXPECT_TRUE(q.autoMarkShown);
    if (spans.empty() || spans.back().record != q.record) spans.push_back({q.record, q.tick, q.tick, q.chars});
    spans.back().last = q.tick;
  }
  ASSERT_TRUE(sawChoice);
  ASSERT_GE(spans.size(), 10u);
  for (const Span& s : spans) {
    // The first pump comes 10 ms into the wait, the last as it ends.
    EXPECT_NEAR(static_cast<double>(s.last - s.first + 10), 1500.0 + 70.0 * s.chars, 10.0) << s.record;
  }
  // The choice was answered by the script after the ten minutes, not by auto mode.
  ASSERT_FALSE(p.pumps.empty());
  uint32_t pickedAt = 0;
  for (size_t i = 1; i < p.pumps.size(); ++i)
    if (p.pumps[i - 1].wait == PlayerWait::Choice && p.pumps[i].wait != PlayerWait::Choice)
      pickedAt = p.pumps[i].tick;
  EXPECT_GT(pickedAt, 600000u);
}

TEST(ReadingPlay, CtrlRunsThroughTextReadInAnEarlierRunAndStopsAtTheFirstUnreadMessage) {
  test::TempDir home;
  FixedFolders folders(home.path());
  Play first;
  first.Run("title new\nclick\nclick\nclick\nclick\nclick\nclick\nclick\nclick\nmenu end\nyes\n", &folders);
  const std::vector<int32_t> readFirst = first.ClickWaits(false);
  ASSERT_GE(readFirst.size(), 9u);
  const int32_t unread = readFirst.back();  // left without advancing
  first.form.reset();                          // the marks reach the disk at the end

  Play second;
  second.Run("title new\nhold ctrl\nwait 100000\nrelease ctrl\nmenu end\nyes\n", &folders);
  EXPECT_EQ(second.status, 0);
  // Held from the first wait on, Ctrl passed every read message: the one
  // wait with it held is the first unread message.
  EXPECT_EQ(second.ClickWaits(true), std::vector<int32_t>{unread});
  EXPECT_EQ(second.trace.back(), unread);
  // The passed messages were drawn whole, not typed.
  const Text passed = second.form->ScenarioTable[static_cast<size_t>(readFirst[readFirst.size() - 2])].Text;
  const Text start = Left(Trim(passed), 6);
  EXPECT_TRUE(std::any_of(second.font.drawn.begin(), second.font.drawn.end(),
                          [&](const test::DrawnText& d) { return d.text.find(start) != Text::npos; }))
      << Utf8(passed);

  // Running through unread text as well, it still stops at the choice.
  Play unreadToo;
  unreadToo.Run("title new\nhold ctrl\nwait 100000\nrelease ctrl\nmenu end\nyes\n", nullptr,
                [](ReadingSettings& s) { s.fastForwardUnread = true; });
  EXPECT_TRUE(unreadToo.ClickWaits(true).empty());
  bool stoppedAtChoice = false;
  for (const Seen& q : unreadToo.pumps) stoppedAtChoice = stoppedAtChoice || (q.ctrl && q.wait == PlayerWait::Choice);
  EXPECT_TRUE(stoppedAtChoice);
}

TEST(ReadingPlay, EveryComfortUsedLeavesTheSlotTheConfigurationAndThePlayStateAsWithout) {
  const std::string save = "menu save\ndialog File_Window Picture1(0)\ndialog File_Window fBtn(3)\n"
                           "dialog File_Window fBtn(0)\nmenu end\nyes\n";
  Play plain;
  plain.Run("title new\nchoose 1\n" + save);
  Play comforts;
  comforts.Run("title new\nkey a\nwait 8000\nkey pageup\nwheel up 2\nkey pagedown\nkey enter\nkey ctrl+c\n"
               "hold ctrl\nkey space\nclick\nrelease ctrl\nkey a\nchoose 1\nwheel up\nrclick\nkey ctrl+c\n" + save,
               nullptr, [](ReadingSettings& s) {
                 s.fastForwardUnread = true;
                 s.copyEveryMessage = true;
               });
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(comforts.status, 0);
  ASSERT_FALSE(plain.slot.empty());
  EXPECT_EQ(comforts.slot, plain.slot);
  EXPECT_EQ(comforts.config, plain.config);
  EXPECT_EQ(comforts.trace, plain.trace);
  const Main_Form& a = *plain.form;
  const Main_Form& b = *comforts.form;
  EXPECT_EQ(b.CurSeq, a.CurSeq);
  EXPECT_EQ(std::tie(b.kou, b.hap, b.bad, b.mak, b.EndPoints, b.MessageSpeed, b.WaitAfterLine),
            std::tie(a.kou, a.hap, a.bad, a.mak, a.EndPoints, a.MessageSpeed, a.WaitAfterLine));
  EXPECT_EQ(b.SavePoint, a.SavePoint);
  EXPECT_EQ(b.Names, a.Names);

  // Ctrl+C after the choice copied the message on screen, tag first; every
  // message went to the clipboard as it appeared.
  const Text last = b.reading.History().Entries().back().text;
  EXPECT_EQ(comforts.clipboard.GetText().substr(comforts.clipboard.GetText().size() - last.size()), last);
  EXPECT_GT(comforts.clipboard.Copies(), 20);
  EXPECT_EQ(plain.clipboard.Copies(), 0);
}

}  // namespace
}  // namespace mirel
