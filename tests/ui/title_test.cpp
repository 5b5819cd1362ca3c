// The title screen and the menu bar: the four picture buttons cut from the
// frame texture, their highlight and sounds, a new game played inside the
// button's handler, the other buttons, the menu items in each state, the
// end question and the title music.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "audio/WaveResources.h"
#include "support/TestPlatform.h"
#include "ui/File_Window.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {
namespace {

// Every texel of the texture has a colour of its own, so a copied region
// tells exactly where it was taken from.
uint32_t Texel(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 0x80 | (x >> 8) | ((y >> 8) << 1)); }
uint32_t TitlePixel(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 0x11); }

Image Painted(int w, int h, uint32_t (*colour)(int, int)) {
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.pixels[static_cast<size_t>(y) * w + x] = colour(x, y);
  return img;
}
Image Plain(int w, int h, uint32_t colour) { return Image{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, colour)}; }
void WriteBmp(const std::string& path, const Image& img) {
  Bytes b = BmpCodec::Encode(img);
  test::WriteBytes(path, std::string(b.begin(), b.end()));
}

// Remembers each question with its buttons; answers from a queue, then Yes.
class RecordingBoxes final : public MessageBoxes {
 public:
  MsgAnswer Show(const Text& text, MsgButtons buttons) override {
    shown.emplace_back(text, buttons);
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (next < answers.size()) return answers[next++];
    return MsgAnswer::Yes;
  }
  std::vector<std::pair<Text, MsgButtons>> shown;
  std::vector<MsgAnswer> answers;
  size_t next = 0;
};

ScenarioRecord Record(Text cmd, Text text = u"", Text param1 = u"") {
  ScenarioRecord r;
  r.Cmd = std::move(cmd);
  r.Text = std::move(text);
  r.Param1 = std::move(param1);
  return r;
}

constexpr MenuItem kAllMenus[] = {MenuItem::prog_end, MenuItem::prog_load, MenuItem::prog_save,
                                  MenuItem::opt_menu, MenuItem::speedup,   MenuItem::vvrr};

struct TitleTest : ::testing::Test {
  test::TestPlatform tp;
  RecordingBoxes boxes;
  test::TempDir dir;
  std::unique_ptr<Main_Form> owner;
  Main_Form* fp = nullptr;
  // What the player does at each pump; guarded against endless waits.
  std::function<void(EventQueue&)> player;
  int pumps = 0;
  size_t wave100 = LoadWaveResource(100).size(), wave101 = LoadWaveResource(101).size();

  void SetUp() override {
    WriteBmp(dir / "61.dat", Painted(360, 340, Texel));
    WriteBmp(dir / "P91.dat", Painted(640, 480, TitlePixel));
    test::WriteBytes(dir / "song1.mid", "MThd");
    test::WriteBytes(dir / "song2.mid", "MThd");
    tp.platform.messages = &boxes;
    owner = std::make_unique<Main_Form>(tp.platform, StartOptions{dir.path(), dir.path()});
    fp = owner.get();
    Main_Form& f = *fp;
    f.DataDir = dir.path();
    f.MusicFiles[1] = u"song1.mid";
    f.MusicFiles[2] = u"song2.mid";
    f.LayOutMainWindow();
    f.Pic_Main.Visible = true;
    f.Waku[0].Visible = true;  // the message window is already up
    tp.events.onPump = [this](EventQueue& q) {
      if (++pumps > 200000) throw std::runtime_error("the game never stopped waiting");
      if (player) player(q);
    };
  }
  Main_Form& F() { return *fp; }
  InputEvent OnButton(int i, EventKind kind, int dx = 10, int dy = 10) {
    return MouseEvent(kind, 104 + dx, 180 + 50 * i + dy);
  }
  // The button's image against the texture region it must come from.
  ::testing::AssertionResult ButtonShows(int i, int sourceX) {
    const Surface& b = F().Smenu[static_cast<size_t>(i)];
    if (b.width != 166 || b.height != 38) return ::testing::AssertionFailure() << "button " << i << " is " << b.width << "x" << b.height;
    for (int y = 0; y < 38; ++y)
      for (int x = 0; x < 166; ++x)
        if (b.At(x, y) != Texel(sourceX + x, 148 + 50 * i + y))
          return ::testing::AssertionFailure() << "button " << i << " differs at " << x << "," << y;
    return ::testing::AssertionSuccess();
  }
  std::vector<size_t> SoundsPlayed() const {
    std::vector<size_t> s;
    for (auto& p : tp.audio.sounds) s.push_back(p.first);
    return s;
  }
  size_t Count(const std::string& command) const {
    return static_cast<size_t>(std::count(tp.audio.commands.begin(), tp.audio.commands.end(), command));
  }
  std::string OpenOf(const std::string& file) const { return "open \"" + dir.path() + file + "\" type sequencer alias midifile"; }
  void ExpectTitleMenus() {
    for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup})
      EXPECT_FALSE(F().Menu(m).enabled) << static_cast<int>(m);
    for (MenuItem m : {MenuItem::prog_end, MenuItem::opt_menu, MenuItem::vvrr})
      EXPECT_TRUE(F().Menu(m).enabled) << static_cast<int>(m);
  }
};

TEST_F(TitleTest, ShowsThePictureAndTheFourButtonsAndLeavesOnlyEndOptionsAndVersionInTheMenu) {
  Main_Form& f = F();
  for (MenuItem m : kAllMenus) f.Menu(m).enabled = true;
  f.Pic_Main.Enabled = true;
  f.TitleDisp();
  EXPECT_TRUE(f.Title.Visible);
  EXPECT_EQ(f.Title.left, 0);
  EXPECT_EQ(f.Title.top, 0);
  EXPECT_EQ(f.Title.width, 640);
  EXPECT_EQ(f.Title.height, 480);
  EXPECT_FALSE(f.Pic_Main.Enabled);
  ExpectTitleMenus();
  EXPECT_FALSE(tp.window.ImeOpen());
  EXPECT_EQ(f.CurrentWait(), PlayerWait::Title);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(f.Smenu[static_cast<size_t>(i)].Visible);
    EXPECT_EQ(f.Smenu[static_cast<size_t>(i)].left, 104);
    EXPECT_EQ(f.Smenu[static_cast<size_t>(i)].top, 180 + 50 * i);
    EXPECT_TRUE(ButtonShows(i, 4));
  }
  // On screen: the buttons over the title picture.
  Image screen;
  Compose(f, *tp.platform.fonts, screen);
  EXPECT_EQ(screen.At(0, 0), TitlePixel(0, 0));
  EXPECT_EQ(screen.At(639, 479), TitlePixel(639, 479));
  EXPECT_EQ(screen.At(103, 180), TitlePixel(103, 180));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(screen.At(104, 180 + 50 * i), Texel(4, 148 + 50 * i)) << i;
    EXPECT_EQ(screen.At(104 + 165, 180 + 50 * i + 37), Texel(4 + 165, 148 + 50 * i + 37)) << i;
  }
  EXPECT_EQ(screen.At(104 + 166, 180), TitlePixel(104 + 166, 180));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TitleTest, WithoutATitlePictureTheButtonsStillAppear) {
  for (const char* content : {"", "not a picture"}) {
    SCOPED_TRACE(content);
    test::WriteBytes(dir / "P91.dat", content);
    Main_Form& f = F();
    f.Title.Visible = false;
    boxes.shown.clear();
    f.TitleDisp();
    EXPECT_FALSE(f.Title.Visible);
    for (const Surface& b : f.Smenu) EXPECT_TRUE(b.Visible);
    ExpectTitleMenus();
    // The title goes on without a word about its picture.
    EXPECT_TRUE(boxes.shown.empty());
  }
  std::filesystem::remove(dir / "P91.dat");
  F().TitleDisp();
  EXPECT_FALSE(F().Title.Visible);
  for (const Surface& b : F().Smenu) EXPECT_TRUE(b.Visible);
}

TEST_F(TitleTest, TheButtonUnderTheMouseLightsUpWithOneSoundPerButtonEntered) {
  Main_Form& f = F();
  f.SeOn = false;  // the title's own sounds do not ask the options
  f.TitleDisp();
  ASSERT_NE(wave100, wave101);
  tp.audio.sounds.clear();
  f.Dispatch(OnButton(2, EventKind::MouseMove));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ButtonShows(i, i == 2 ? 179 : 4)) << i;
  EXPECT_EQ(SoundsPlayed(), std::vector<size_t>{wave101});
  f.Dispatch(OnButton(2, EventKind::MouseMove, 100, 30));
  EXPECT_EQ(SoundsPlayed().size(), 1u);  // still the same button
  f.Dispatch(OnButton(1, EventKind::MouseMove));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ButtonShows(i, i == 1 ? 179 : 4)) << i;
  EXPECT_EQ(SoundsPlayed(), (std::vector<size_t>{wave101, wave101}));
  EXPECT_EQ(f.LastHover, 1);
  // The highlight sound plays to its end before the mouse is looked at again.
  EXPECT_EQ(tp.audio.sounds.back().second & kSndAsync, 0u);
}

TEST_F(TitleTest, TheTitleComesBackUnlitAndTheButtonLastUsedLightsAgain) {
  Main_Form& f = F();
  f.ScenarioTable = {Record(u"g9"), Record(u"g9"), Record(u"")};
  f.LastSeq = 2;
  f.CurSeq = 0;
  f.RunGame();
  f.Dispatch(OnButton(0, EventKind::MouseMove));
  f.Dispatch(OnButton(0, EventKind::MouseDown));  // a new game straight back to the title
  ASSERT_TRUE(f.TitleShown);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ButtonShows(i, 4)) << i;
  tp.audio.sounds.clear();
  f.Dispatch(OnButton(0, EventKind::MouseMove));
  EXPECT_TRUE(ButtonShows(0, 179));
  EXPECT_EQ(SoundsPlayed(), std::vector<size_t>{wave101});
  // A choice entered last at its second answer leaves the same index behind.
  f.LastHover = 1;
  f.TitleDisp();
  tp.audio.sounds.clear();
  f.Dispatch(OnButton(1, EventKind::MouseMove));
  EXPECT_TRUE(ButtonShows(1, 179));
  EXPECT_EQ(SoundsPlayed(), std::vector<size_t>{wave101});
}

TEST_F(TitleTest, NewGamePlaysTheStoryInsideTheButtonFromTheRecordAfterTheTitle) {
  Main_Form& f = F();
  // 0 title; 1-2 change the routes and the ending counter; 3 a line; 4 title.
  f.ScenarioTable = {Record(u"g9"), Record(u"p1", u"kou"), Record(u"p2", u"end", u"3"), Record(u"", u"一行目"),
                     Record(u"g9"), Record(u"")};
  f.LastSeq = 5;
  f.CurSeq = 0;
  f.RunGame();  // the story reaches the title and returns
  ASSERT_TRUE(f.TitleShown);
  f.End_Pic.Visible = true;
  f.DateTabOn = false;
  f.Dispatch(OnButton(0, EventKind::MouseMove));
  tp.audio.sounds.clear();

  std::vector<int32_t> steps;
  bool firstStepChecked = false, waited = false;
  f.StepHook = [&](int32_t seq) {
    steps.push_back(seq);
    if (firstStepChecked) return;
    firstStepChecked = true;
    // The first transition starts from the title as it was left, with the
    // lit button as it was shown.
    EXPECT_EQ(f.Pic_Main.At(0, 0), TitlePixel(0, 0));
    EXPECT_EQ(f.Pic_Main.At(300, 400), TitlePixel(300, 400));
    for (int j = 0; j < 4; ++j)
      EXPECT_EQ(f.Pic_Main.At(104 + 7, 180 + 50 * j + 9), Texel((j == 0 ? 179 : 4) + 7, 148 + 50 * j + 9)) << j;
    EXPECT_FALSE(f.Title.Visible);
    for (const Surface& b : f.Smenu) EXPECT_FALSE(b.Visible);
    EXPECT_FALSE(f.End_Pic.Visible);
    EXPECT_TRUE(f.DateTabOn);
    EXPECT_TRUE(f.Pic_Main.Enabled);
    EXPECT_FALSE(f.TitleShown);
    // The click sound came first and played to its end.
    EXPECT_EQ(SoundsPlayed(), std::vector<size_t>{wave100});
    EXPECT_EQ(tp.audio.sounds[0].second & kSndAsync, 0u);
  };
  player = [&](EventQueue& q) {
    if (!f.ClickWait) return;
    waited = true;
    EXPECT_EQ(f.CurrentWait(), PlayerWait::Click);
    EXPECT_EQ(f.kou, 1);
    EXPECT_EQ(f.EndPoints, 3);
    for (MenuItem m : kAllMenus) EXPECT_TRUE(f.Menu(m).enabled) << static_cast<int>(m);
    q.push_back(KeyEvent(32));
  };
  f.Dispatch(OnButton(0, EventKind::MouseDown));
  EXPECT_TRUE(waited);  // the story waited for the player inside the click
  EXPECT_EQ(steps, (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(f.CurSeq, 4);
  EXPECT_TRUE(f.TitleShown);
  EXPECT_TRUE(f.Title.Visible);
  for (const Surface& b : f.Smenu) EXPECT_TRUE(b.Visible);
  ExpectTitleMenus();
}

TEST_F(TitleTest, EveryNewGameStartsTheRoutesAndTheEndingCounterAfresh) {
  Main_Form& f = F();
  f.ScenarioTable = {Record(u"g9"), Record(u"p1", u"hap"), Record(u"p2", u"end", u"2"), Record(u"g9"), Record(u"")};
  f.LastSeq = 4;
  struct Counts {
    int16_t kou, hap, bad, mak, end;
  };
  std::vector<Counts> atStart;
  f.StepHook = [&](int32_t seq) {
    if (seq == 1) atStart.push_back({f.kou, f.hap, f.bad, f.mak, f.EndPoints});
  };
  for (int game = 0; game < 2; ++game) {
    SCOPED_TRACE(game);
    f.CurSeq = 0;
    f.TitleDisp();
    // What the last play (or the part before the title) left behind.
    f.kou = 4;
    f.bad = -2;
    f.mak = 7;
    f.Dispatch(OnButton(0, EventKind::MouseDown));
    EXPECT_TRUE(f.TitleShown);
    EXPECT_EQ(f.hap, 1);
    EXPECT_EQ(f.EndPoints, 2);
    EXPECT_EQ(f.kou, 0);
  }
  ASSERT_EQ(atStart.size(), 2u);
  for (const Counts& c : atStart) {
    EXPECT_EQ(c.kou, 0);
    EXPECT_EQ(c.hap, 0);
    EXPECT_EQ(c.bad, 0);
    EXPECT_EQ(c.mak, 0);
    EXPECT_EQ(c.end, 0);
  }
}

TEST_F(TitleTest, LoadButtonOpensTheDialogForLoading) {
  Main_Form& f = F();
  f.TitleDisp();
  tp.audio.sounds.clear();
  f.Dispatch(OnButton(1, EventKind::MouseDown));
  EXPECT_EQ(f.DialogMode, 2);
  EXPECT_TRUE(f.fileWindow->IsOpen());
  EXPECT_FALSE(f.form.enabled);
  EXPECT_EQ(SoundsPlayed(), std::vector<size_t>{wave100});
  // Behind the dialog the title takes no clicks.
  f.Dispatch(OnButton(3, EventKind::MouseDown));
  f.Dispatch(MenuEvent(MenuItem::prog_end));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TitleTest, GalleryButtonClearsTheTitleForTheGalleryAndItsExitBringsTheTitleBack) {
  Main_Form& f = F();
  WriteBmp(dir / "p92.dat", Plain(640, 480, Rgb(1, 2, 3)));
  WriteBmp(dir / "63.dat", Plain(480, 216, Rgb(9, 9, 9)));
  WriteBmp(dir / "62.dat", Plain(480, 216, Rgb(8, 8, 8)));
  f.TitleDisp();
  f.Dispatch(OnButton(2, EventKind::MouseMove));
  f.Dispatch(OnButton(2, EventKind::MouseDown));
  EXPECT_TRUE(f.GalleryOpen);
  for (const Surface& b : f.Smenu) EXPECT_FALSE(b.Visible);
  EXPECT_FALSE(f.Title.Visible);
  EXPECT_FALSE(f.Pic_Main.Visible);
  ASSERT_EQ(f.FormPicture.width, 640);
  EXPECT_EQ(f.FormPicture.At(320, 240), Rgb(1, 2, 3));
  EXPECT_TRUE(f.CG_END.Visible);
  EXPECT_TRUE(boxes.shown.empty());
  f.Dispatch(MouseEvent(EventKind::MouseDown, f.CG_END.left + 5, f.CG_END.top + 5));
  EXPECT_FALSE(f.GalleryOpen);
  EXPECT_TRUE(f.Title.Visible);
  for (const Surface& b : f.Smenu) EXPECT_TRUE(b.Visible);
  // Back at the title nothing is lit, and the gallery button lights again.
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(ButtonShows(i, 4)) << i;
  tp.audio.sounds.clear();
  f.Dispatch(OnButton(2, EventKind::MouseMove));
  EXPECT_TRUE(ButtonShows(2, 179));
  EXPECT_EQ(SoundsPlayed(), std::vector<size_t>{wave101});
}

TEST_F(TitleTest, EndButtonAndMenuAskFirstAndNoChangesNothing) {
  Main_Form& f = F();
  f.TitleDisp();
  for (int how = 0; how < 2; ++how) {
    SCOPED_TRACE(how);
    boxes.shown.clear();
    boxes.answers = {MsgAnswer::No};
    boxes.next = 0;
    tp.audio.sounds.clear();
    size_t commands = tp.audio.commands.size();
    // Any mouse button presses a title button.
    InputEvent press = OnButton(3, EventKind::MouseDown);
    press.button = 2;
    f.Dispatch(how == 0 ? press : MenuEvent(MenuItem::prog_end));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].first, u"終了しますか？");
    EXPECT_EQ(boxes.shown[0].second, MsgButtons::YesNo);
    EXPECT_EQ(SoundsPlayed(), how == 0 ? std::vector<size_t>{wave100} : std::vector<size_t>{});
    EXPECT_TRUE(f.TitleShown);
    EXPECT_TRUE(f.Title.Visible);
    EXPECT_FALSE(f.Unloaded);
    EXPECT_EQ(tp.audio.commands.size(), commands);  // the music was left alone
    ExpectTitleMenus();
  }
  for (int how = 0; how < 2; ++how) {
    boxes.answers = {MsgAnswer::Yes};
    boxes.next = 0;
    try {
      f.Dispatch(how == 0 ? OnButton(3, EventKind::MouseDown) : MenuEvent(MenuItem::prog_end));
      ADD_FAILURE() << "Yes did not end the program";
    } catch (const ProgramEnd& e) {
      EXPECT_EQ(e.status, 0);
      EXPECT_TRUE(e.runUnload);  // the normal shutdown follows
    }
  }
}

TEST_F(TitleTest, NoToTheEndQuestionDuringPlayLeavesTheStoryWaitingWhereItWas) {
  Main_Form& f = F();
  f.ScenarioTable = {Record(u"g9"), Record(u"", u"一行目"), Record(u"", u"二行目"), Record(u"g9"), Record(u"")};
  f.LastSeq = 4;
  f.CurSeq = 0;
  f.RunGame();
  boxes.answers = {MsgAnswer::No};
  int phase = 0;
  player = [&](EventQueue& q) {
    if (!f.ClickWait) return;
    if (phase == 0) {
      q.push_back(MenuEvent(MenuItem::prog_end));
      phase = 1;
    } else if (phase == 1) {
      EXPECT_EQ(boxes.shown.size(), 1u);
      EXPECT_EQ(f.CurSeq, 1);
      EXPECT_TRUE(f.Blinker.Visible);
      for (MenuItem m : kAllMenus) EXPECT_TRUE(f.Menu(m).enabled) << static_cast<int>(m);
      q.push_back(KeyEvent(32));
      phase = 2;
    } else {
      q.push_back(KeyEvent(32));
    }
  };
  f.Dispatch(OnButton(0, EventKind::MouseDown));
  EXPECT_EQ(phase, 2);
  EXPECT_EQ(f.CurSeq, 3);
  EXPECT_TRUE(f.TitleShown);
}

TEST_F(TitleTest, SavingAndLoadingFromTheMenuOnlyWhileTheStoryWaits) {
  Main_Form& f = F();
  f.ScenarioTable = {Record(u"g9"), Record(u"", u"あいうえおかきくけこ"), Record(u"g9"), Record(u"")};
  f.LastSeq = 3;
  f.CurSeq = 0;
  f.RunGame();
  bool triedWhileTyping = false, openedWhileWaiting = false;
  player = [&](EventQueue& q) {
    if (f.MsgBusy && !f.ClickWait && !triedWhileTyping) {
      // The message is still being typed: neither item does anything.
      triedWhileTyping = true;
      q.push_back(MenuEvent(MenuItem::prog_load));
      q.push_back(MenuEvent(MenuItem::prog_save));
      return;
    }
    if (!f.ClickWait) return;
    if (!openedWhileWaiting) {
      EXPECT_FALSE(f.fileWindow->IsOpen());
      openedWhileWaiting = true;
      q.push_back(MenuEvent(MenuItem::prog_save));
      return;
    }
    if (f.fileWindow->IsOpen()) {
      EXPECT_EQ(f.DialogMode, 1);
      EXPECT_FALSE(f.form.enabled);
      // The snapshot of the waiting story was taken for the dialog.
      EXPECT_FALSE(f.SaveSnapshot[1].empty());
      q.push_back(ControlEvent("File_Window", "_close"));
      return;
    }
    q.push_back(KeyEvent(32));
  };
  f.Dispatch(OnButton(0, EventKind::MouseDown));
  EXPECT_TRUE(triedWhileTyping);
  EXPECT_TRUE(openedWhileWaiting);
  EXPECT_TRUE(f.TitleShown);
}

TEST_F(TitleTest, OptionsAndVersionOpenTheirDialogsWhichHoldTheMenuBar) {
  Main_Form& f = F();
  f.TitleDisp();
  f.Dispatch(MenuEvent(MenuItem::opt_menu));
  EXPECT_TRUE(f.optionWindow->IsOpen());
  EXPECT_FALSE(f.form.enabled);
  // While a dialog is open no menu item does anything.
  f.Dispatch(MenuEvent(MenuItem::prog_end));
  f.Dispatch(MenuEvent(MenuItem::vvrr));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(f.aboutBox->IsOpen());
  f.Dispatch(ControlEvent("Option_Window", "Command2"));
  EXPECT_TRUE(f.form.enabled);
  f.Dispatch(MenuEvent(MenuItem::vvrr));
  EXPECT_TRUE(f.aboutBox->IsOpen());
  EXPECT_FALSE(f.form.enabled);
}

TEST_F(TitleTest, OptionsDuringPlayHoldTheStoryUntilTheDialogIsClosedAndTheNextClick) {
  Main_Form& f = F();
  f.ScenarioTable = {Record(u"g9"), Record(u"", u"あいうえおかきくけこ"), Record(u"g9"), Record(u"")};
  f.LastSeq = 3;
  f.CurSeq = 0;
  f.RunGame();
  int phase = 0;
  player = [&](EventQueue& q) {
    if (phase == 0 && f.MsgBusy && !f.ClickWait) {
      q.push_back(MenuEvent(MenuItem::opt_menu));  // opened while the line is typed
      phase = 1;
    } else if (phase == 1 && f.optionWindow->IsOpen()) {
      EXPECT_TRUE(f.ClickWait);  // the story waits behind the dialog
      q.push_back(ControlEvent("Option_Window", "Command1"));
      phase = 2;
    } else if (phase == 2) {
      // Closed: the story still waits until the player clicks.
      EXPECT_FALSE(f.optionWindow->IsOpen());
      EXPECT_TRUE(f.ClickWait);
      EXPECT_TRUE(f.MsgBusy);  // and the line is not typed on meanwhile
      q.push_back(KeyEvent(32));
      phase = 3;
    } else if (f.ClickWait) {
      q.push_back(KeyEvent(32));
    }
  };
  f.Dispatch(OnButton(0, EventKind::MouseDown));
  EXPECT_EQ(phase, 3);
  EXPECT_TRUE(f.TitleShown);
}

TEST_F(TitleTest, SkipChosenInTheOptionsWhileALineWaitsRunsOnWithoutAnotherClick) {
  Main_Form& f = F();
  f.ScenarioTable = {Record(u"g9"), Record(u"", u"一行目"), Record(u"", u"二行目"), Record(u"", u"三行目"),
                     Record(u"g9"), Record(u"")};
  f.LastSeq = 5;
  f.CurSeq = 0;
  f.RunGame();
  int spaces = 0;
  bool asked = false;
  player = [&](EventQueue& q) {
    if (f.optionWindow->IsOpen()) {
      for (const char* control : {"Option1", "Command1"}) {
        q.push_back(ControlEvent("Option_Window", control, 1));
      }
      return;
    }
    if (!f.ClickWait) return;
    if (!asked) {
      asked = true;
      q.push_back(MenuEvent(MenuItem::opt_menu));
    } else {
      ++spaces;
      q.push_back(KeyEvent(32));
    }
  };
  f.Dispatch(OnButton(0, EventKind::MouseDown));
  EXPECT_TRUE(asked);
  EXPECT_EQ(spaces, 0);  // the rest of the story ran by itself
  EXPECT_EQ(f.MessageSpeed, 0);
  EXPECT_EQ(f.CurSeq, 4);
  EXPECT_TRUE(f.TitleShown);
}

TEST_F(TitleTest, TitleMusicStartsOnlyWhenNothingPlaysAndMusicIsOn) {
  Main_Form& f = F();
  f.TitleDisp();
  EXPECT_EQ(Count(OpenOf("song1.mid")), 1u);
  EXPECT_EQ(Count("play midifile from 0"), 1u);
  EXPECT_EQ(f.CurMusic, 1);
  EXPECT_EQ(f.mci.MidiStatus(), "PLAYING");
  // Back at the title while a song plays: that song goes on.
  f.CmdText = u"ab";
  f.CmdAudio();
  ASSERT_EQ(f.CurMusic, 2);
  size_t before = tp.audio.commands.size();
  f.TitleDisp();
  EXPECT_EQ(f.CurMusic, 2);
  for (size_t i = before; i < tp.audio.commands.size(); ++i)
    EXPECT_EQ(tp.audio.commands[i].rfind("open", 0), std::string::npos) << tp.audio.commands[i];
  EXPECT_EQ(Count(OpenOf("song2.mid")), 1u);
  // Song 2 has stopped: the title brings back music 1.
  f.mci.StopMidi();
  f.TitleDisp();
  EXPECT_EQ(Count(OpenOf("song1.mid")), 2u);
  EXPECT_EQ(f.CurMusic, 1);
  // With music switched off nothing starts.
  f.mci.StopMidi();
  f.CurMusic = 0;
  f.BgmOn = false;
  before = tp.audio.commands.size();
  f.TitleDisp();
  for (size_t i = before; i < tp.audio.commands.size(); ++i)
    EXPECT_EQ(tp.audio.commands[i].rfind("open", 0), std::string::npos) << tp.audio.commands[i];
  EXPECT_EQ(f.CurMusic, 0);
}

// The whole program on the demo story: the end question at the title ends
// it through the shutdown; No lets it go on.
TEST(TitleEnd, YesAtTheTitleEndsTheProgramThroughItsShutdownAndNoGoesOn) {
  struct Case {
    const char* script;
    size_t questions;
  };
  for (const Case& c : {Case{"title end\nyes\n", 1}, Case{"title end\nno\ntitle end\nyes\n", 2}}) {
    SCOPED_TRACE(c.script);
    test::TestPlatform tp;
    test::TempDir dir;
    if (!test::CopyDemoData(dir.path())) GTEST_SKIP() << "the build has not made the demo data folder";
    std::string stored = test::ReadBytes(dir / "11.dat").substr(0, 2);
    auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(dir / "90.dat", past);
    ScriptInput input(c.script, tp.clock, tp.messages);
    tp.platform.events = &input;
    Main_Form f(tp.platform, StartOptions{dir.path(), dir.path()});
    input.Attach(&f);
    EXPECT_EQ(RunProgram(f), 0);
    EXPECT_TRUE(f.Unloaded);
    EXPECT_TRUE(input.Exhausted());
    EXPECT_EQ(static_cast<size_t>(std::count(tp.messages.Shown().begin(), tp.messages.Shown().end(),
                                             Text(u"終了しますか？"))),
              c.questions);
    // The shutdown ran: the configuration written, the pictures back in
    // their stored form, the music closed.
    EXPECT_GT(std::filesystem::last_write_time(dir / "90.dat"), past);
    EXPECT_EQ(test::ReadBytes(dir / "11.dat").substr(0, 2), stored);
    ASSERT_FALSE(tp.audio.commands.empty());
    EXPECT_EQ(tp.audio.commands.back(), "close midifile");
  }
}

}  // namespace
}  // namespace mirel
