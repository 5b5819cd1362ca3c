#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
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
  // Used once while a notice stands.
  std::vector<std::string> duringNotice;
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
        for (const std::string& c : duringNotice) q.push_back(ControlEvent("File_Window", c));
        duringNotice.clear();
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

TEST_F(FileWindowTest, TheWindowIsLaidOutAsDesigned) {
  const DialogModel& m = w.model;
  EXPECT_EQ(m.caption, u"ゲームデータ");
  EXPECT_EQ(m.clientWidth, 383);
  EXPECT_EQ(m.clientHeight, 151);
  EXPECT_EQ(m.backColor, Rgb(224, 224, 224));
  const int xs[5] = {16, 16, 16, 200, 200}, ys[5] = {8, 56, 104, 8, 56};
  for (int k = 0; k < 5; ++k) {
    const DialogControl& p = w.model.At("Picture1(" + std::to_string(k) + ")");
    EXPECT_EQ(std::vector<int>({p.x, p.y, p.w, p.h}), std::vector<int>({xs[k], ys[k], 161, 41})) << k;
    const DialogControl& l = w.model.At("Label1(" + std::to_string(k) + ")");
    EXPECT_EQ(l.parent, p.name);
    EXPECT_EQ(std::vector<int>({l.x, l.y, l.w, l.h}), std::vector<int>({40, 8, 121, 25}));
  }
  const std::pair<const char*, int> buttons[] = {{"Close", 328}, {"Delete", 232}, {"Load", 280}, {"Save", 184}};
  for (int k = 0; k < 4; ++k) {
    const DialogControl& b = w.model.At("fBtn(" + std::to_string(k) + ")");
    EXPECT_EQ(Utf8(b.caption), buttons[k].first);
    EXPECT_EQ(std::vector<int>({b.x, b.y, b.w, b.h}), std::vector<int>({buttons[k].second, 112, 49, 33}));
  }
  EXPECT_FALSE(w.model.At("Picture3").visible);
  EXPECT_EQ(w.model.At("Label2").parent, "Picture3");
  EXPECT_FALSE(w.model.At("Picture4").visible);
  EXPECT_EQ(w.model.At("Picture4").backColor, Rgb(255, 0, 0));
  EXPECT_EQ(w.model.At("Label4").foreColor, kWhite);
  EXPECT_EQ(w.model.At("Command1").caption, u"Yes");
  EXPECT_EQ(w.model.At("Command2").caption, u"No");
  EXPECT_EQ(w.model.At("Command2").parent, "Picture4");
}

TEST_F(FileWindowTest, EachModeOffersItsButtonsAndTheGameWaitsBehindTheDialog) {
  Open(1);
  EXPECT_FALSE(f.form.enabled);
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));  // Close, Delete, Save
  EXPECT_EQ(w.Waiting(), PlayerWait::Dialog);
  EXPECT_EQ(w.DefaultControl(), "fBtn(0)");
  Use("fBtn(0)");
  EXPECT_FALSE(w.IsOpen());
  EXPECT_TRUE(f.form.enabled);
  EXPECT_EQ(f.DialogMode, 0);

  Open(2);
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true, false}));  // Close, Load
  Use("_close");
  EXPECT_FALSE(w.IsOpen());
  EXPECT_TRUE(f.form.enabled);
}

TEST_F(FileWindowTest, InLoadModeSaveAndDeleteCannotBePressed) {
  std::string bytes = WriteSlot(0, u"一", u"二");
  Open(2);
  Use("Picture1(0)");
  Use("fBtn(3)");
  Use("fBtn(1)");
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(test::ReadBytes(dir / "00.dat"), bytes);
  EXPECT_TRUE(notices.empty());
}

TEST_F(FileWindowTest, TheListShowsTheCaptionsOfEachSlotButNeverItsDate) {
  WriteSlot(1, u"第一章", u"放課後");
  test::WriteBytes(dir / "03.dat", "2020/01/01 00:00\r\n");  // cut short after its date
  test::WriteBytes(dir / "04.dat", "\xff\xfe,\x81\r\n");        // not even CP932
  Open(2);
  EXPECT_EQ(Caption(0), u"データなし");
  EXPECT_EQ(w.model.At("Label1(0)").foreColor, Rgb(128, 128, 128));
  EXPECT_EQ(Caption(1), u"第一章\r\n放課後");
  EXPECT_EQ(w.model.At("Label1(1)").foreColor, Rgb(0, 0, 128));
  EXPECT_EQ(Caption(2), u"データなし");
  EXPECT_EQ(Caption(3), u"\r\n");  // a file is there, with nothing to show
  EXPECT_EQ(Caption(4), u"\r\n");
  for (int k = 0; k < 5; ++k) EXPECT_EQ(Caption(k).find(u"2020"), Text::npos);
}

TEST_F(FileWindowTest, ASecondLineWithoutACommaShowsItWholeAboveTheStateLine) {
  Text line = GoodLine(3);
  test::WriteBytes(dir / "02.dat", "d\r\nCAPTION\r\n" + Utf8(line) + "\r\nx\r\ny\r\n\\\r\n");
  Open(2);
  EXPECT_EQ(Caption(2), u"CAPTION\r\n" + line);
}

TEST_F(FileWindowTest, ClickingASlotHighlightsOnlyItsFrame) {
  Open(2);
  Use("Label1(2)");
  EXPECT_EQ(w.SelectedSlot(), 2);
  Use("Picture1(4)");
  EXPECT_EQ(w.SelectedSlot(), 4);
  const auto normal = File_Window::Icon(0, Rgb(224, 224, 224));
  const auto selected = File_Window::Icon(1, Rgb(255, 128, 128));
  ASSERT_NE(normal, File_Window::Icon(1, Rgb(224, 224, 224)));  // the two icons differ
  for (int k = 0; k < 5; ++k) {
    const DialogControl& p = w.model.At("Picture1(" + std::to_string(k) + ")");
    ASSERT_EQ(p.pixels.size(), 161u * 41u);
    uint32_t back = k == 4 ? Rgb(255, 128, 128) : Rgb(224, 224, 224);
    EXPECT_EQ(p.backColor, back);
    EXPECT_EQ(p.pixels[20 * 161 + 100], back);
    EXPECT_EQ(p.pixels[40 * 161 + 160], back);
    const auto& icon = k == 4 ? selected : normal;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) ASSERT_EQ(p.pixels[static_cast<size_t>(y) * 161 + x], icon[y * 32 + x]) << k;
  }
  EXPECT_EQ(selected[0], Rgb(255, 128, 128));  // the icon takes the frame's colour round it
}

TEST_F(FileWindowTest, AButtonWithoutASelectedSlotDoesNothing) {
  Open(1);
  uint32_t t0 = tp.clock.GetTickCount();
  Use("fBtn(3)");
  Use("fBtn(1)");
  EXPECT_FALSE(FileExists(dir / "00.dat"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_TRUE(questions.empty());
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(tp.clock.GetTickCount(), t0);
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));
}

TEST_F(FileWindowTest, SavingOntoAnEmptySlotWritesAtOnce) {
  tp.system.facts.dateTime = "2027/01/02 03:04:05";
  f.SavePoint = {u"4", u"第一章", u"放課後"};
  f.Names[1] = u"山田";
  f.Names[2] = u"太郎";
  f.kou = 7;
  Open(1);
  Use("Picture1(3)");
  uint32_t t0 = tp.clock.GetTickCount();
  Use("fBtn(3)");
  EXPECT_GE(tp.clock.GetTickCount() - t0, 1000u);
  EXPECT_TRUE(questions.empty());
  std::string expected = "2027/01/02 03:04\r\n";
  for (const Text& line : f.SaveSnapshot) expected += EncodeCp932(line) + "\r\n";
  expected += "\\\r\n";
  EXPECT_EQ(test::ReadBytes(dir / "03.dat"), expected);
  EXPECT_EQ(f.SaveSnapshot[1].substr(0, 3), u"007");
  EXPECT_EQ(notices, (std::vector<std::pair<Text, uint32_t>>{{u"セーブしました", Rgb(255, 192, 192)}}));
  // During the notice nothing waits for the player: a click then would be lost.
  ASSERT_FALSE(noticeWaits.empty());
  for (PlayerWait pw : noticeWaits) EXPECT_EQ(pw, PlayerWait::None);
  EXPECT_EQ(w.Waiting(), PlayerWait::Dialog);
  EXPECT_FALSE(w.model.At("Picture3").visible);
  EXPECT_EQ(Caption(3), u"第一章\r\n放課後");
  EXPECT_EQ(w.SelectedSlot(), 3);
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));
  EXPECT_TRUE(w.IsOpen());
  EXPECT_FALSE(FileExists(dir / "03.dat.tmp"));
}

TEST_F(FileWindowTest, SavingOntoAUsedSlotAsksFirstAndNoLeavesTheFileAlone) {
  std::string old = WriteSlot(2, u"旧", u"話");
  f.SavePoint = {u"4", u"新", u"話"};
  Open(1);
  Use("Picture1(2)");
  answers = {"Command2"};
  Use("fBtn(3)");
  EXPECT_EQ(questions, std::vector<Text>{u"上書きしますか？"});
  EXPECT_EQ(test::ReadBytes(dir / "02.dat"), old);
  EXPECT_TRUE(notices.empty());
  EXPECT_FALSE(w.model.At("Picture4").visible);
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));
  for (int k = 0; k < 5; ++k) EXPECT_TRUE(Enabled("Label1(" + std::to_string(k) + ")"));
  EXPECT_EQ(w.SelectedSlot(), 2);

  // Still selected: Save asks again, and Yes replaces the file.
  answers = {"Command1"};
  Use("fBtn(3)");
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_NE(test::ReadBytes(dir / "02.dat"), old);
  EXPECT_EQ(Caption(2), u"新\r\n話");
}

TEST_F(FileWindowTest, WhileAskingOnlyTheAnswerButtonsRespond) {
  WriteSlot(0, u"旧", u"話");
  Open(1);
  Use("Picture1(0)");
  duringQuestion = {"fBtn(0)", "Picture1(3)", "fBtn(1)", "_none"};
  answers = {"Command2"};
  Use("fBtn(3)");
  EXPECT_EQ(waitsAsked, std::vector<PlayerWait>{PlayerWait::Confirm});
  EXPECT_EQ(defaultsAsked, std::vector<std::string>{"Command2"});
  EXPECT_TRUE(w.IsOpen());
  EXPECT_EQ(w.SelectedSlot(), 0);
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(f.CurrentWait(), PlayerWait::Dialog);
}

TEST_F(FileWindowTest, ClosingTheWindowDuringAQuestionAnswersNo) {
  std::string old = WriteSlot(0, u"旧", u"話");
  Open(1);
  Use("Picture1(0)");
  answers = {"_close"};
  Use("fBtn(3)");
  EXPECT_EQ(test::ReadBytes(dir / "00.dat"), old);
  EXPECT_FALSE(w.IsOpen());
  EXPECT_TRUE(f.form.enabled);
  EXPECT_EQ(f.DialogMode, 0);
}

TEST_F(FileWindowTest, AQuestionWhoseDialogIsGoneCountsAsNo) {
  std::string old = WriteSlot(0, u"旧", u"話");
  Open(1);
  Use("Picture1(0)");
  // The dialog is taken away while it asks, without any answer.
  watcher.onAsked = [this](const DialogModel&) { w.Form_Unload(); };
  Use("fBtn(3)");
  EXPECT_LT(pumps, kPumpLimit);
  EXPECT_EQ(test::ReadBytes(dir / "00.dat"), old);
  EXPECT_FALSE(w.IsOpen());
  EXPECT_FALSE(w.Confirming());
  EXPECT_TRUE(f.form.enabled);
  EXPECT_TRUE(notices.empty());
}

TEST_F(FileWindowTest, ClosingTheWindowDuringANoticeClosesItOnceTheSaveIsDone) {
  f.SavePoint = {u"3", u"一", u"二"};
  Open(1);
  Use("Picture1(1)");
  duringNotice = {"_close", "fBtn(1)"};
  Use("fBtn(3)");
  EXPECT_TRUE(duringNotice.empty());
  EXPECT_TRUE(FileExists(dir / "01.dat"));  // the save went through, and the erase was not heard
  EXPECT_FALSE(w.IsOpen());
  EXPECT_EQ(f.DialogMode, 0);
  EXPECT_TRUE(f.form.enabled);
  EXPECT_TRUE(questions.empty());
}

TEST_F(FileWindowTest, ErasingAsksAndThenRemovesTheFile) {
  WriteSlot(1, u"一", u"二");
  Open(1);
  Use("Picture1(1)");
  answers = {"Command2"};
  Use("fBtn(1)");
  EXPECT_EQ(questions, std::vector<Text>{u"消去しますか？"});
  EXPECT_TRUE(FileExists(dir / "01.dat"));
  answers = {"Command1"};
  Use("fBtn(1)");
  EXPECT_FALSE(FileExists(dir / "01.dat"));
  EXPECT_EQ(notices, (std::vector<std::pair<Text, uint32_t>>{{u"消去しました", Rgb(255, 255, 192)}}));
  EXPECT_EQ(Caption(1), u"データなし");
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));
}

TEST_F(FileWindowTest, EraseOrLoadOnAnEmptySlotDropsTheSelection) {
  Open(1);
  Use("Picture1(2)");
  Use("fBtn(1)");
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(w.SelectedSlot(), -1);
  Use("fBtn(3)");  // nothing selected any more
  EXPECT_FALSE(FileExists(dir / "02.dat"));
  Use("fBtn(0)");

  Open(2);
  Use("Picture1(4)");
  Use("fBtn(2)");
  EXPECT_EQ(w.SelectedSlot(), -1);
  EXPECT_TRUE(w.IsOpen());
  EXPECT_TRUE(notices.empty());
}

TEST_F(FileWindowTest, LoadingReadsTheSlotShowsTheNoticeAndResumesTheGame) {
  WriteSlot(2, u"第三章", u"夜");
  f.GameDepth = 1;
  f.kou = 1;
  f.SavedVolume = 40000;
  Open(2);
  Use("Picture1(2)");
  uint32_t t0 = tp.clock.GetTickCount();
  EXPECT_THROW(Use("fBtn(2)"), ResumeGame);
  EXPECT_GE(tp.clock.GetTickCount() - t0, 500u);
  EXPECT_EQ(notices, (std::vector<std::pair<Text, uint32_t>>{{u"ロードしました", Rgb(192, 255, 192)}}));
  EXPECT_EQ(f.DialogMode, 3);
  EXPECT_FALSE(w.IsOpen());
  EXPECT_TRUE(f.form.enabled);
  EXPECT_EQ(f.kou, 40);
  EXPECT_EQ(f.CurSeq, 3);
  EXPECT_EQ(f.SavePoint[1], u"第三章");
  EXPECT_EQ(f.SavePoint[2], u"夜");
  EXPECT_EQ(f.Names[1], u"甲");
  EXPECT_EQ(f.Names[2], u"乙");

  // Opened again later, the dialog is idle and usable.
  Open(2);
  EXPECT_EQ(w.Waiting(), PlayerWait::Dialog);
  Use("Picture1(2)");
  EXPECT_EQ(w.SelectedSlot(), 2);
}

TEST_F(FileWindowTest, DamagedSlotsAreRefusedAndTheDialogStaysUsable) {
  const Text good = GoodLine(3);
  const std::string full = SlotFileBytes("2020/05/06 07:08", {u"一,二", good, u"甲", u"乙"});
  std::vector<std::string> damaged;
  for (size_t end = full.find("\r\n"); end != std::string::npos; end = full.find("\r\n", end + 2))
    if (end + 2 < full.size()) damaged.push_back(full.substr(0, end + 2));  // cut after each line
  Text letters = good;
  letters.replace(0, 3, u"abc");
  damaged.push_back(SlotFileBytes("d", {u"一,二", letters, u"甲", u"乙"}));
  damaged.push_back(SlotFileBytes("d", {u"一,二", good.substr(0, 50), u"甲", u"乙"}));
  damaged.push_back(SlotFileBytes("d", {u"一,二", GoodLine(10), u"甲", u"乙"}));  // the terminator
  damaged.push_back(SlotFileBytes("d", {u"一,二", GoodLine(999), u"甲", u"乙"}));
  damaged.push_back(SlotFileBytes("d", {u"一,二", GoodLine(4), u"甲", u"乙"}));  // not a save point
  ASSERT_EQ(damaged.size(), 10u);
  f.GameDepth = 1;
  f.kou = 1;
  f.SavePoint = {u"1", u"今", u"ここ"};
  for (const std::string& bytes : damaged) {
    test::WriteBytes(dir / "00.dat", bytes);
    Open(2);
    Use("Picture1(0)");
    size_t shown = tp.messages.Shown().size();
    EXPECT_NO_THROW(Use("fBtn(2)"));
    ASSERT_EQ(tp.messages.Shown().size(), shown + 1);
    EXPECT_NE(tp.messages.Shown().back().find(u"00.dat"), Text::npos);
    EXPECT_TRUE(w.IsOpen());
    EXPECT_EQ(Buttons(), (std::vector<bool>{true, false, true, false}));
    EXPECT_FALSE(w.model.At("Picture3").visible);
    EXPECT_EQ(w.SelectedSlot(), 0);
    EXPECT_EQ(f.kou, 1);
    EXPECT_EQ(f.SavePoint[1], u"今");
    EXPECT_EQ(f.DialogMode, 2);
    Use("fBtn(0)");
  }
  EXPECT_TRUE(notices.empty());
}

TEST_F(FileWindowTest, ASaveThatCannotBeWrittenSaysSoAndKeepsTheOldFile) {
  Open(1);
  // A slot whose name is taken by a folder.
  std::filesystem::create_directory(dir / "01.dat");
  Use("Picture1(1)");
  Use("fBtn(3)");
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_NE(tp.messages.Shown()[0].find(u"セーブできませんでした"), Text::npos);
  EXPECT_TRUE(DirExists(dir / "01.dat"));
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));
  Use("fBtn(0)");

  // A used slot whose temporary file cannot be made: the save is refused
  // before anything touches the slot.
  std::string old = WriteSlot(2, u"旧", u"話");
  std::filesystem::create_directory(dir / "02.dat.tmp");
  Open(1);
  Use("Picture1(2)");
  answers = {"Command1"};
  Use("fBtn(3)");
  EXPECT_EQ(tp.messages.Shown().size(), 2u);
  EXPECT_EQ(test::ReadBytes(dir / "02.dat"), old);
  Use("fBtn(0)");

  // No data folder at all.
  f.DataDir = dir / "gone/";
  Open(1);
  Use("Picture1(0)");
  Use("fBtn(3)");
  EXPECT_EQ(tp.messages.Shown().size(), 3u);
  EXPECT_TRUE(w.IsOpen());
  EXPECT_FALSE(DirExists(dir / "gone"));
  Use("fBtn(0)");

  // A folder nobody may write into, the super-user included.
  f.DataDir = "/proc/";
  Open(1);
  Use("Picture1(1)");
  Use("fBtn(3)");
  ASSERT_EQ(tp.messages.Shown().size(), 4u);
  EXPECT_NE(tp.messages.Shown()[3].find(u"セーブできませんでした"), Text::npos);
  EXPECT_NE(tp.messages.Shown()[3].find(u"/proc/01.dat"), Text::npos);
  EXPECT_EQ(Caption(1), u"データなし");
  EXPECT_EQ(Buttons(), (std::vector<bool>{true, true, false, true}));
  EXPECT_TRUE(notices.empty());
}

TEST_F(FileWindowTest, AStaleTemporaryFileNeitherHidesNorBlocksTheSlot) {
  std::string old = WriteSlot(0, u"旧", u"話");
  test::WriteBytes(dir / "00.dat.tmp", old.substr(0, 25));  // left by a save that was killed
  f.SavePoint = {u"2", u"新", u"話"};
  Open(1);
  EXPECT_EQ(Caption(0), u"旧\r\n話");
  Use("Picture1(0)");
  answers = {"Command1"};
  Use("fBtn(3)");
  EXPECT_EQ(Caption(0), u"新\r\n話");
  EXPECT_FALSE(FileExists(dir / "00.dat.tmp"));
}

TEST_F(FileWindowTest, AnEraseThatFailsSaysSo) {
  WriteSlot(3, u"一", u"二");
  Open(1);
  Use("Picture1(3)");
  std::filesystem::remove(dir / "03.dat");
  std::filesystem::create_directory(dir / "03.dat");
  answers = {"Command1"};
  Use("fBtn(1)");
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_NE(tp.messages.Shown()[0].find(u"消去できませんでした"), Text::npos);
  EXPECT_TRUE(notices.empty());
}

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
