#include <gtest/gtest.h>

#include <filesystem>

#include "audio/WaveResources.h"
#include "support/TestPlatform.h"
#include "text/text_harness.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {
namespace {

struct OptionsTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  Option_Window& w = *f.optionWindow;
  void Use(const std::string& control, int value = 0) {
    f.Dispatch(ControlEvent("Option_Window", control, value));
  }
  void SetUp() override { f.LayOutMainWindow(); }
};

TEST_F(OptionsTest, OpeningShowsTheCurrentSettingsAndDisablesTheGame) {
  f.MessageSpeed = 1;
  f.BgmOn = false;
  f.WakuOpacity = 0.29f;
  w.Form_Load();
  EXPECT_TRUE(w.IsOpen());
  EXPECT_FALSE(f.form.enabled);
  EXPECT_EQ(w.model.At("Option3").value, 1);  // after a skip: one line at a time
  EXPECT_EQ(w.model.At("Option4").value, 0);
  EXPECT_EQ(w.model.At("Check1").value, 0);
  EXPECT_EQ(w.model.At("Check2").value, 1);
  EXPECT_EQ(w.model.At("HScroll1").value, 29);  // rounded, not cut to 28
  EXPECT_EQ(w.model.At("Label4").caption, u"29");
  Use("Command1");
  EXPECT_EQ(f.MessageSpeed, 2);  // stored as the one-line speed it showed
}

TEST_F(OptionsTest, OkStoresEveryChoice) {
  w.Form_Load();
  Use("Option3", 1);
  Use("Check1", 0);
  Use("Check2", 0);
  Use("HScroll1", 80);
  EXPECT_EQ(w.model.At("Label4").caption, u"80");
  Use("Command1");
  EXPECT_FALSE(w.IsOpen());
  EXPECT_TRUE(f.form.enabled);
  EXPECT_EQ(f.MessageSpeed, 2);
  EXPECT_FALSE(f.BgmOn);
  EXPECT_FALSE(f.SeOn);
  EXPECT_FLOAT_EQ(f.WakuOpacity, 0.8f);
}

TEST_F(OptionsTest, SkipChosenReleasesTheWaitingStory) {
  f.ClickWait = true;
  w.Form_Load();
  Use("Option1", 1);
  Use("Command1");
  EXPECT_EQ(f.MessageSpeed, 0);
  EXPECT_FALSE(f.ClickWait);
}

TEST_F(OptionsTest, OneLineAtATimeKeepsTheStoryWaiting) {
  f.ClickWait = true;
  w.Form_Load();
  Use("Option4", 1);
  Use("Command1");
  EXPECT_EQ(f.MessageSpeed, 3);
  EXPECT_TRUE(f.ClickWait);
}

TEST_F(OptionsTest, CancelAndTheCloseBoxChangeNothing) {
  for (const char* how : {"Command2", "_close"}) {
    f.MessageSpeed = 3;
    w.Form_Load();
    Use("Option1", 1);
    Use("Check1", 0);
    Use("HScroll1", 5);
    Use(how);
    EXPECT_FALSE(w.IsOpen());
    EXPECT_TRUE(f.form.enabled);
    EXPECT_EQ(f.MessageSpeed, 3);
    EXPECT_TRUE(f.BgmOn);
    EXPECT_FLOAT_EQ(f.WakuOpacity, 0.6f);
  }
}

TEST_F(OptionsTest, FullScreenChangesOnlyWhenTheChoiceDiffers) {
  f.EnterFullScreen();
  ASSERT_TRUE(f.FullScreen);
  long refreshesBefore = tp.window.Refreshes();
  for (const char* how : {"Command1", "Command2"}) {
    w.Form_Load();
    EXPECT_EQ(w.model.At("Check4").value, 1);
    Use(how);
    EXPECT_TRUE(f.FullScreen);
    EXPECT_FALSE(tp.window.HasCaption());
  }
  EXPECT_EQ(tp.window.Refreshes(), refreshesBefore);  // the display was left alone
  w.Form_Load();
  Use("Check4", 0);
  Use("Command1");
  EXPECT_FALSE(f.FullScreen);
  EXPECT_TRUE(tp.window.HasCaption());
  w.Form_Load();
  Use("Check4", 1);
  Use("Command1");
  EXPECT_TRUE(f.FullScreen);
}

TEST_F(OptionsTest, TheDisplayIsLeftAloneWhateverClosesTheDialogWhenTheModeStaysTheSame) {
  // Windowed, and the box left clear.
  long refreshes = tp.window.Refreshes();
  for (const char* how : {"Command1", "Command2", "_close"}) {
    w.Form_Load();
    EXPECT_EQ(w.model.At("Check4").value, 0);
    Use(how);
    EXPECT_FALSE(f.FullScreen);
    EXPECT_FALSE(tp.window.InFullScreenMode());
  }
  EXPECT_EQ(tp.window.Refreshes(), refreshes);
  // Full screen, closed by its box.
  f.EnterFullScreen();
  refreshes = tp.window.Refreshes();
  w.Form_Load();
  Use("_close");
  EXPECT_TRUE(f.FullScreen);
  EXPECT_TRUE(tp.window.InFullScreenMode());
  EXPECT_EQ(tp.window.Refreshes(), refreshes);
  // A ticked box taken back by Cancel changes nothing either.
  w.Form_Load();
  Use("Check4", 0);
  Use("Command2");
  EXPECT_TRUE(f.FullScreen);
  EXPECT_EQ(tp.window.Refreshes(), refreshes);
}

TEST_F(OptionsTest, DensityShowsAsTheNearestWholePercentAndSurvivesOkUnchanged) {
  struct Case {
    float opacity;
    int percent;
  };
  for (Case c : {Case{0.29f, 29}, Case{0.57f, 57}, Case{0.58f, 58}, Case{0.0f, 0}, Case{1.0f, 100}, Case{0.6f, 60},
                 Case{0.994f, 99}, Case{0.996f, 100}}) {
    SCOPED_TRACE(c.opacity);
    f.WakuOpacity = c.opacity;
    w.Form_Load();
    EXPECT_EQ(w.model.At("HScroll1").value, c.percent);
    EXPECT_EQ(w.model.At("Label4").caption, Decimal(c.percent));
    Use("Command1");
    EXPECT_FLOAT_EQ(f.WakuOpacity, static_cast<float>(c.percent) / 100.0f);
  }
  // Opening and confirming again and again never lets the density creep.
  f.WakuOpacity = 0.29f;
  for (int i = 0; i < 5; ++i) {
    w.Form_Load();
    Use("Command1");
  }
  EXPECT_FLOAT_EQ(f.WakuOpacity, 0.29f);
}

TEST_F(OptionsTest, ARefusedSwitchToFullScreenIsReportedAndLeavesTheWindowAsItWas) {
  tp.window.SetFullScreenPossible(false);
  w.Form_Load();
  Use("Check4", 1);
  Use("Command1");
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_EQ(tp.messages.Shown()[0], u"screen mode not changed.");
  EXPECT_FALSE(f.FullScreen);
  EXPECT_TRUE(tp.window.HasCaption());
  EXPECT_TRUE(f.form.enabled);
  // The next opening shows the box clear again.
  w.Form_Load();
  EXPECT_EQ(w.model.At("Check4").value, 0);
}

TEST_F(OptionsTest, TheDialogIsCaptionedAsTheGameNamesItsSettings) {
  EXPECT_EQ(w.model.caption, u"オプション設定");
  EXPECT_TRUE(w.model.closeBox);
  EXPECT_TRUE(w.model.topMost);
  const std::pair<const char*, const char16_t*> captions[] = {
      {"Frame1", u"メッセージ速度"}, {"Option4", u"1文字ずつ表示"}, {"Option3", u"1行ずつ表示"},
      {"Option1", u"選択までｽｷｯﾌﾟ"},  {"Check1", u"ＢＧＭ"},         {"Check2", u"効果音"},
      {"Check4", u"ﾌﾙｽｸﾘｰﾝ"},        {"Label3", u"ｳｨﾝﾄﾞｳの濃さ"},   {"Label1", u"Low"},
      {"Label2", u"High"},           {"Command1", u"OK"},            {"Command2", u"Cancel"}};
  for (const auto& [name, caption] : captions) EXPECT_EQ(w.model.At(name).caption, Text(caption)) << name;
  for (const char* o : {"Option1", "Option3", "Option4"}) EXPECT_EQ(w.model.At(o).parent, "Frame1") << o;
  EXPECT_EQ(w.model.At("HScroll1").min, 0);
  EXPECT_EQ(w.model.At("HScroll1").max, 100);
}

TEST_F(OptionsTest, FullScreenBoxIsDisabledWhereFullScreenIsImpossible) {
  f.FullScreenUnavailable = true;
  w.Form_Load();
  EXPECT_FALSE(w.model.At("Check4").enabled);
  Use("Check4", 1);
  Use("Command1");
  EXPECT_FALSE(f.FullScreen);
  EXPECT_TRUE(tp.messages.Shown().empty());
}

// The message speed chosen in the dialog, seen in how the next line is typed
// on the virtual clock.
TEST(OptionsEffect, MessageSpeedDecidesHowTheNextLineIsTyped) {
  struct Case {
    const char* option;
    bool waits;       // the player is waited for after the line
    size_t draws;     // pieces of text drawn for the line
    uint32_t minMs, maxMs;  // from the start of the line to the wait
  };
  const Text line = u"あいうえおかきくけこ";  // ten characters
  for (const Case& c : {Case{"Option4", true, 10, 400, 439}, Case{"Option3", true, 1, 0, 39},
                        Case{"Option1", false, 1, 0, 0}}) {
    SCOPED_TRACE(c.option);
    test::TextHarness h;
    Main_Form& f = *h.form;
    f.MessageSpeed = c.option == std::string("Option4") ? 2 : 3;  // something else first
    f.optionWindow->Form_Load();
    for (const char* control : {c.option, "Command1"}) {
      f.Dispatch(ControlEvent("Option_Window", control, 1));
    }
    ASSERT_FALSE(f.optionWindow->IsOpen());
    h.font.drawn.clear();
    f.SpeakerNo = 0;
    f.MsgText = line;
    uint32_t start = h.tp.clock.GetTickCount();
    f.TalkDisp();
    size_t pieces = 0;
    for (const test::DrawnText& d : h.font.drawn)
      if (line.find(d.text) != Text::npos) ++pieces;
    EXPECT_EQ(pieces, c.draws);
    ASSERT_EQ(h.waits.size(), c.waits ? 1u : 0u);
    uint32_t typed = c.waits ? h.waits[0] - start : h.tp.clock.GetTickCount() - start;
    EXPECT_GE(typed, c.minMs);
    EXPECT_LE(typed, c.maxMs);
  }
}

struct AudioOptions : ::testing::Test {
  test::TestPlatform tp;
  test::TempDir dir;
  std::unique_ptr<Main_Form> owner;
  Main_Form* fp = nullptr;
  void SetUp() override {
    test::WriteBytes(dir / "song1.mid", "MThd");
    test::WriteBytes(dir / "song2.mid", "MThd");
    owner = std::make_unique<Main_Form>(tp.platform, StartOptions{dir.path(), dir.path()});
    fp = owner.get();
    fp->DataDir = dir.path();
    fp->MusicFiles[1] = u"song1.mid";
    fp->MusicFiles[2] = u"song2.mid";
    fp->LayOutMainWindow();
  }
  void Choose(const char* box, int value) {
    fp->optionWindow->Form_Load();
    fp->Dispatch(ControlEvent("Option_Window", box, value));
    fp->Dispatch(ControlEvent("Option_Window", "Command1", value));
  }
  void Audio(const char16_t* cmd) {
    fp->CmdText = cmd;
    fp->CmdAudio();
  }
  // Lets the song-loop timer run a few times.
  void LetTimePass() {
    for (int i = 0; i < 5; ++i) {
      tp.clock.Sleep(1000);
      fp->timers.Poll();
    }
  }
  size_t Opens() const {
    size_t n = 0;
    for (const std::string& c : tp.audio.commands) n += c.rfind("open ", 0) == 0;
    return n;
  }
};

TEST_F(AudioOptions, MusicOffStopsTheSongAndOnAgainWaitsForTheNextSongTheStoryAsksFor) {
  Main_Form& f = *fp;
  f.timers.SetEnabled(f.BGMLoopTimer, true);
  Audio(u"aa");
  ASSERT_EQ(f.mci.MidiStatus(), "PLAYING");
  Choose("Check1", 0);
  EXPECT_FALSE(f.BgmOn);
  EXPECT_NE(f.mci.MidiStatus(), "PLAYING");
  EXPECT_FALSE(f.mci.SongOpen());
  LetTimePass();
  EXPECT_NE(f.mci.MidiStatus(), "PLAYING");  // the loop timer does not bring it back
  Audio(u"ab");
  EXPECT_EQ(Opens(), 1u);  // no music is asked for while it is off
  // On again: the song that was current stays silent ...
  Choose("Check1", 1);
  EXPECT_TRUE(f.BgmOn);
  LetTimePass();
  Audio(u"aa");
  EXPECT_NE(f.mci.MidiStatus(), "PLAYING");
  EXPECT_EQ(Opens(), 1u);
  // ... until the story asks for another one.
  Audio(u"ab");
  EXPECT_EQ(f.mci.MidiStatus(), "PLAYING");
  EXPECT_EQ(tp.audio.openPath, dir / "song2.mid");
  // OK with the box still ticked leaves the song playing.
  size_t sent = tp.audio.commands.size();
  Choose("Check2", 1);
  EXPECT_EQ(f.mci.MidiStatus(), "PLAYING");
  for (size_t i = sent; i < tp.audio.commands.size(); ++i)
    EXPECT_EQ(tp.audio.commands[i].rfind("stop", 0), std::string::npos) << tp.audio.commands[i];
}

TEST_F(AudioOptions, SoundEffectsOffSilenceTheStoryAndTheChoicesButNotTheTitle) {
  Main_Form& f = *fp;
  const size_t chime = LoadWaveResource(102).size(), hover = LoadWaveResource(101).size();
  auto choiceHover = [&] {
    f.MsgDone = true;
    f.LastHover = 5;
    f.SelTxt_MouseMove(0);
  };
  Audio(u"a3");
  choiceHover();
  ASSERT_EQ(tp.audio.sounds.size(), 2u);
  EXPECT_EQ(tp.audio.sounds[0].first, chime);
  EXPECT_EQ(tp.audio.sounds[1].first, hover);
  Choose("Check2", 0);
  EXPECT_FALSE(f.SeOn);
  tp.audio.sounds.clear();
  Audio(u"a3");
  choiceHover();
  EXPECT_TRUE(tp.audio.sounds.empty());
  f.LastHover = 5;
  f.Smenu_MouseMove(0);
  EXPECT_EQ(tp.audio.sounds.size(), 1u);  // the title's own sound always plays
  // Back on.
  Choose("Check2", 1);
  tp.audio.sounds.clear();
  Audio(u"a3");
  EXPECT_EQ(tp.audio.sounds.size(), 1u);
}

TEST(AboutTest, WarningsFollowTheMachine) {
  EXPECT_EQ(frmAbout::Warnings(false, "32", "40"), u"");
  EXPECT_EQ(frmAbout::Warnings(false, "24", "90"), u"");
  EXPECT_EQ(frmAbout::Warnings(false, "16", "40"), u"画面の最大表示色数が足りません.\r\n24bit色以上の設定にして下さい.\r\n");
  EXPECT_EQ(frmAbout::Warnings(false, "32", "91"),
            u"ﾒﾓﾘの利用率が90%を越えています.\r\n他のｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい.\r\n");
  Text all = frmAbout::Warnings(true, "16", "95");
  EXPECT_EQ(all.find(u"Windows95,NTではフルスクリーン表示ができません."), 0u);
  EXPECT_LT(all.find(u"画面"), all.find(u"ﾒﾓﾘ"));
}

TEST(AboutTest, BoxShowsVersionAndEnablesWarningsOnlyWhenThereAreSome) {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  f.ColorDepthText = "32";
  f.MemoryLoadText = "10";
  f.aboutBox->Form_Load();
  EXPECT_EQ(f.aboutBox->model.At("Label6").caption, u"Ver. 1.10");
  EXPECT_FALSE(f.aboutBox->model.At("Text1").enabled);
  EXPECT_FALSE(f.form.enabled);
  f.Dispatch(ControlEvent("frmAbout", "cmdOK"));
  EXPECT_FALSE(f.aboutBox->IsOpen());
  EXPECT_TRUE(f.form.enabled);
  f.ColorDepthText = "16";
  f.aboutBox->Form_Load();
  EXPECT_TRUE(f.aboutBox->model.At("Text1").enabled);
}

}  // namespace
}  // namespace mirel
