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
