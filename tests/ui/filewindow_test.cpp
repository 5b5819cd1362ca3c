#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "base/Files.h"
#include "save/SlotFile.h"
#include "support/TestPlatform.h"
#include "ui/File_Window.h"

namespace mirel {
namespace {

// Sees the dialog as the player does, through the dialog host: every time
// the question panel appears a new question has been asked, even when no
// events were pumped since the last one was answered.
struct QuestionWatcher final : DialogHost {
  std::function<void(const DialogModel&)> onAsked;
  bool shown = false;
  void ShowDialog(const DialogModel& m) override { Look(m); }
  void UpdateDialog(const DialogModel& m) override { Look(m); }
  void CloseDialog(const DialogModel&) override { shown = false; }
  void Look(const DialogModel& m) {
    const DialogControl* panel = m.Find("Picture4");
    bool now = panel && panel->visible && m.visible;
    if (now && !shown && onAsked) onAsked(m);
    shown = now;
  }
};

// More pumps than any operation of the dialog needs (its longest pause is
// a second in 10 ms steps): a wait that goes on past this would hang.
constexpr int kPumpLimit = 1000;

struct FileWindowTest : ::testing::Test {
  test::TestPlatform tp;
  test::TempDir dir;
  QuestionWatcher watcher;
  Main_Form f{tp.platform, StartOptions{}};
  File_Window& w = *f.fileWindow;
  // Controls the player uses when the dialog asks a question.
  std::deque<std::string> answers;
  // Used before each question is answered.
  std::vector<std::string> duringQuestion;
  std::vector<Text> questions;
  std::vector<std::pair<Text, uint32_t>> notices;
  std::vector<PlayerWait> waitsAsked;
  std::vector<std::string> defaultsAsked;
  // What the game waits for at each pump while a notice stands.
  std::vector<PlayerWait> noticeWaits;
  // What the player does at the next pump.
  std::deque<std::string> pending;
  int pumps = 0;

  void SetUp() override {
    tp.platform.dialogs = &watcher;
    f.LayOutMainWindow();
    f.DataDir = dir.path();
    // Records 0 to 10, the last the terminator; record 3 is a save point.
    f.ScenarioTable.resize(11);
    f.ScenarioTable[3].Cmd = u"p8";
    f.LastSeq = 10;
    watcher.onAsked = [this](const DialogModel& m) {
      questions.push_back(m.Find("Label4")->caption);
      waitsAsked.push_back(f.CurrentWait());
      defaultsAsked.push_back(w.DefaultControl());
      for (const std::string& c : duringQuestion) pending.push_back(c);
      if (answers.empty()) {
        ADD_FAILURE() << "unexpected question " << Utf8(questions.back());
        pending.push_back("Command2");
      } else {
        pending.push_back(answers.front());
        answers.pop_front();
      }
    };
    tp.events.onPump = [this](EventQueue& q) {
      if (++pumps > kPumpLimit) {
        // Ends any wait of the dialog: a question is answered "No" and the
        // dialog closes.
        if (pumps == kPumpLimit + 1) ADD_FAILURE() << "the dialog kept waiting";
        q.push_back(ControlEvent("File_Window", "_close"));
        return;
      }
      while (!pending.empty()) {
        q.push_back(ControlEvent("File_Window", pending.front()));
        pending.pop_front();
      }
      if (w.IsOpen() && w.model.At("Picture3").visible) {
        noticeWaits.push_back(f.CurrentWait());
        std::pair<Text, uint32_t> n{w.model.At("Label2").caption, w.model.At("Picture3").backColor};
        if (notices.empty() || notices.back() != n) notices.push_back(n);
      }
    };
  }

  void Use(const std::string& control) {
    pumps = 0;
    f.Dispatch(ControlEvent("File_Window", control));
    EXPECT_TRUE(pending.empty()) << "the dialog did not wait for " << pending.front();
    pending.clear();
  }

  // The story waits for the player, as between messages.
  void Open(int16_t mode) {
    f.ClickWait = f.InKeys = true;
    if (mode == 1) f.Save_Data_stack();
    f.DialogMode = mode;
    w.Form_Load();
    ASSERT_TRUE(w.IsOpen());
  }
  static Text GoodLine(int resume) {
    PlayState ps;
    ps.kou = 40;
    ps.SavePoint[0] = Decimal(resume);
    return BuildStateLine(ps);
  }
  std::string WriteSlot(int k, const Text& part1, const Text& part2, const Text& line = GoodLine(3)) {
    std::string bytes = SlotFileBytes("2020/05/06 07:08", {part1 + u"," + part2, line, u"甲", u"乙"});
    test::WriteBytes(dir / SlotFileName(k), bytes);
    return bytes;
  }
  const Text& Caption(int k) { return w.model.At("Label1(" + std::to_string(k) + ")").caption; }
  bool Enabled(const std::string& c) { return w.model.At(c).enabled; }
  std::vector<bool> Buttons() {
    return {Enabled("fBtn(0)"), Enabled("fBtn(1)"), Enabled("fBtn(2)"), Enabled("fBtn(3)")};
  }
};

TEST_F(FileWindowTest, TheDialogOpensOnlyWhereTheGameCanBeSavedOrLoaded) {
  // A message still being typed (the skip switch may have set the flag the
  // wait watches), a choice on screen, the gallery, no wait at all.
  for (int c = 0; c < 4; ++c) {
    f.ClickWait = c != 3;
    f.InKeys = c == 2;
    f.MsgBusy = c == 0;
    f.ChoiceOpen = c == 1;
    f.GalleryOpen = c == 2;
    for (int16_t mode : {1, 2}) {
      f.DialogMode = mode;
      w.Form_Load();
      EXPECT_FALSE(w.IsOpen()) << c << " " << mode;
      EXPECT_EQ(f.DialogMode, 0);
      EXPECT_TRUE(f.form.enabled);
    }
  }
  // Waiting for the player between messages: both modes open, unless
  // another dialog holds the window.
  f.MsgBusy = f.ChoiceOpen = f.GalleryOpen = false;
  f.ClickWait = f.InKeys = true;
  f.form.enabled = false;
  f.DialogMode = 1;
  w.Form_Load();
  EXPECT_FALSE(w.IsOpen());
  EXPECT_FALSE(f.form.enabled);
  f.form.enabled = true;
  for (int16_t mode : {1, 2}) {
    f.DialogMode = mode;
    w.Form_Load();
    EXPECT_TRUE(w.IsOpen()) << mode;
    Use("fBtn(0)");
  }
  // The title screen loads but has nothing to save.
  f.ClickWait = f.InKeys = false;
  f.TitleShown = true;
  f.DialogMode = 1;
  w.Form_Load();
  EXPECT_FALSE(w.IsOpen());
  f.DialogMode = 2;
  w.Form_Load();
  EXPECT_TRUE(w.IsOpen());
}

}  // namespace
}  // namespace mirel

namespace mirel {
namespace {

// The slot frames show only pictures: each is named for assistive
// technology by its slot's number and the caption it holds.
TEST_F(FileWindowTest, EachSlotFrameIsNamedByItsNumberAndCaption) {
  WriteSlot(2, u"第二話", u"夕暮れ");
  Open(2);
  for (int k = 0; k < 5; ++k) {
    const Text want = k == 2 ? Text(u"3 第二話\r\n夕暮れ") : Decimal(k + 1) + u" データなし";
    EXPECT_EQ(w.model.At("Picture1(" + std::to_string(k) + ")").accessibleName, want) << k;
  }
}

}  // namespace
}  // namespace mirel
