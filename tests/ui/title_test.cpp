// The title screen and the menu bar: the four picture buttons cut from the
// frame texture, their highlight and sounds, a new game played inside the
// button's handler, the menu items in each state, and the end question.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "audio/WaveResources.h"
#include "support/DemoRun.h"
#include "ui/File_Window.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {
namespace {

// Every texel of the texture has a colour of its own, so a copied region
// tells exactly where it was taken from.
uint32_t Texel(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 0x80 | (x >> 8) | ((y >> 8) << 1)); }
uint32_t TitlePixel(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 0x11); }

constexpr MenuItem kAllMenus[] = {MenuItem::prog_end, MenuItem::prog_load, MenuItem::prog_save,
                                  MenuItem::opt_menu, MenuItem::speedup,   MenuItem::vvrr};

struct TitleTest : ::testing::Test {
  test::TestPlatform tp;
  test::TempDir dir;
  Main_Form f{tp.platform, StartOptions{dir.path(), dir.path()}};
  // What the player does at each pump; guarded against endless waits.
  std::function<void(EventQueue&)> player;
  int pumps = 0;
  size_t wave100 = LoadWaveResource(100).size(), wave101 = LoadWaveResource(101).size();

  void SetUp() override {
    test::WriteBmp(dir / "61.dat", test::Painted(360, 340, Texel));
    test::WriteBmp(dir / "P91.dat", test::Painted(640, 480, TitlePixel));
    test::WriteBytes(dir / "song1.mid", "MThd");
    f.DataDir = dir.path();
    f.MusicFiles[1] = u"song1.mid";
    f.LayOutMainWindow();
    f.Pic_Main.Visible = true;
    f.Waku[0].Visible = true;  // the message window is already up
    tp.events.onPump = [this](EventQueue& q) {
      if (++pumps > 200000) throw std::runtime_error("the game never stopped waiting");
      if (player) player(q);
    };
  }
  InputEvent OnButton(int i, EventKind kind, int dx = 10, int dy = 10) {
    return MouseEvent(kind, 104 + dx, 180 + 50 * i + dy);
  }
  // The button's image against the texture region it must come from.
  ::testing::AssertionResult ButtonShows(int i, int sourceX) {
    const Surface& b = f.Smenu[static_cast<size_t>(i)];
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
  void ExpectTitleMenus() {
    for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup})
      EXPECT_FALSE(f.Menu(m).enabled) << static_cast<int>(m);
    for (MenuItem m : {MenuItem::prog_end, MenuItem::opt_menu, MenuItem::vvrr})
      EXPECT_TRUE(f.Menu(m).enabled) << static_cast<int>(m);
  }
};

TEST_F(TitleTest, ShowsThePictureAndTheFourButtonsAndLeavesOnlyEndOptionsAndVersionInTheMenu) {
  for (MenuItem m : kAllMenus) f.Menu(m).enabled = true;
  f.Pic_Main.Enabled = true;
  f.TitleDisp();
  EXPECT_TRUE(f.Title.Visible);
  EXPECT_EQ(std::tie(f.Title.left, f.Title.top, f.Title.width, f.Title.height), std::make_tuple(0, 0, 640, 480));
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
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(TitleTest, TheButtonUnderTheMouseLightsUpWithOneSoundPerButtonEntered) {
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

TEST_F(TitleTest, NewGamePlaysTheStoryInsideTheButtonFromTheRecordAfterTheTitle) {
  // 0 title; 1-2 change the routes and the ending counter; 3 a line; 4 title.
  using test::Record;
  f.ScenarioTable = {Record(0, u"g9"), Record(0, u"p1", u"kou"), Record(0, u"p2", u"end", u"3"),
                     Record(0, u"", u"一行目"), Record(0, u"g9"), Record(0)};
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
    if (f.CurrentWait() != PlayerWait::Click) return;
    waited = true;
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

// The whole program on the demo story: No to the end question at the title
// lets it go on, Yes ends it through the shutdown.
TEST(TitleEnd, NoGoesOnAndYesEndsTheProgramThroughItsShutdown) {
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path()));
  std::string stored = test::ReadBytes(dir / "11.dat").substr(0, 2);
  auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  std::filesystem::last_write_time(dir / "90.dat", past);
  test::DemoRun run;
  EXPECT_EQ(run.Play(dir.path(), "title end\nno\ntitle end\nyes\n"), 0);
  EXPECT_TRUE(run.form->Unloaded);
  EXPECT_TRUE(run.input->Exhausted());
  const auto& shown = run.tp.messages.Shown();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), Text(u"終了しますか？")), 2);
  // The shutdown ran: the configuration written, the pictures back in
  // their stored form, the music closed.
  EXPECT_GT(std::filesystem::last_write_time(dir / "90.dat"), past);
  EXPECT_EQ(test::ReadBytes(dir / "11.dat").substr(0, 2), stored);
  ASSERT_FALSE(run.tp.audio.commands.empty());
  EXPECT_EQ(run.tp.audio.commands.back(), "close midifile");
}

}  // namespace
}  // namespace mirel
