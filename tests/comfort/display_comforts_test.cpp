// The display comforts and the gamepad in plays of the demo on the virtual
// clock: full screen switched from the title and the gallery and kept for
// the next start, screenshots, and the pad driving title, gallery, message
// window and a choice through the headless runner.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/headless/MemorySettingsStore.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

// Records what the comforts ask of the desktop.
struct FakeDisplayHost final : DisplayHost {
  std::vector<PlayerSettings> applied;
  int dialogs = 0;
  std::vector<std::string> shots, notes;
  void ApplyDisplay(const PlayerSettings& s) override { applied.push_back(s); }
  void EditSettings(const PlayerSettings& s, const std::function<void(const PlayerSettings&)>& changed,
                    const std::function<void()>& switchFullScreen) override {
    ++dialogs;
    switchFullScreen();  // F11 in the dialog
    PlayerSettings edited = s;
    edited.musicVolume = 40;
    changed(edited);
  }
  std::string PicturesFolder() override { return "/pictures/MIREL/"; }
  bool FileExists(const std::string& path) override {
    return std::find(shots.begin(), shots.end(), path) != shots.end();
  }
  bool SaveScreenshot(const std::string& path, std::string&) override {
    shots.push_back(path);
    return true;
  }
  void Note(const std::string& text) override { notes.push_back(text); }
};

// Plays of the demo with the settings kept in memory and the desktop faked.
struct Play : test::DemoRun {
  MemorySettingsStore store;
  FakeDisplayHost host;
  test::TempDir dir;

  Play() {
    tp.platform.settings = &store;
    tp.platform.display = &host;
  }
  ~Play() override { form.reset(); }  // before its folder goes
  void Run(const std::string& script, std::function<void(Main_Form&)> watch) {
    if (!form && !test::CopyDemoData(dir.path())) ADD_FAILURE() << "the build has not made the demo data folder";
    trace.clear();
    look = std::move(watch);
    DemoRun::Play(dir.path(), script);
  }
};

TEST(PlayerKeys, FullScreenSwitchesFromTheTitleAndTheGalleryAndIsKeptForTheNextStart) {
  Play p;
  std::vector<std::pair<PlayerWait, bool>> changes;  // what was waited for, full screen or not
  bool last = false, consistent = true;
  const std::string script =
      "pad down\n"       // waits for the title
      "key f11\n"        // full screen from the title...
      "key alt+enter\n"  // ...and back
      "key f12\n"        // two screenshots
      "key print\n"
      "key f11\n"
      "title gallery\n"
      "key alt+enter\n"  // back to the window from the gallery...
      "key f11\n"        // ...and full screen again, kept to the end
      "key ctrl+3\n";    // zoom: taken up by the window
  p.Run(script, [&](Main_Form& f) {
    if (f.FullScreen != last) {
      changes.emplace_back(f.CurrentWait(), f.FullScreen);
      last = f.FullScreen;
    }
    // Caption, menu bar and the display always agree with the switch.
    bool windowed = !f.FullScreen;
    consistent = consistent && p.tp.window.HasCaption() == windowed && p.tp.window.MenuBarVisible() == windowed &&
                 p.tp.window.InFullScreenMode() == f.FullScreen;
  });
  EXPECT_EQ(p.status, 0);
  const std::vector<std::pair<PlayerWait, bool>> expected = {{PlayerWait::Title, true},
                                                             {PlayerWait::Title, false},
                                                             {PlayerWait::Title, true},
                                                             {PlayerWait::Gallery, false},
                                                             {PlayerWait::Gallery, true}};
  EXPECT_EQ(changes, expected);
  EXPECT_TRUE(consistent);
  // Shutdown leaves full screen; the window is as the game left it.
  EXPECT_FALSE(p.tp.window.InFullScreenMode());
  EXPECT_EQ(p.tp.window.ClientRect().w, 640);
  EXPECT_EQ(p.tp.window.ClientRect().h, 480);

  ASSERT_EQ(p.host.shots.size(), 2u);
  for (const std::string& s : p.host.shots) {
    EXPECT_EQ(s.rfind("/pictures/MIREL/MIREL ", 0), 0u) << s;
    EXPECT_EQ(s.substr(s.size() - 4), ".png");
  }
  EXPECT_NE(p.host.shots[0], p.host.shots[1]);
  ASSERT_FALSE(p.host.notes.empty());
  EXPECT_EQ(p.host.notes[0], "screenshot saved: " + p.host.shots[0]);
  ASSERT_FALSE(p.host.applied.empty());
  EXPECT_EQ(p.host.applied.back().zoom, 3);

  // Kept for the next start, which begins in full screen with the zoom.
  EXPECT_EQ(p.store.values["window/fullscreen"], "true");
  EXPECT_EQ(p.store.values["window/zoom"], "3");
  bool fullAtTitle = false;
  p.Run("", [&](Main_Form& f) {
    if (f.CurrentWait() == PlayerWait::Title) fullAtTitle = f.FullScreen;
  });
  EXPECT_TRUE(fullAtTitle);
}

TEST(PlayerPad, ButtonsDriveTitleGalleryMessageWindowSettingsAndAChoice) {
  Play p;
  bool sawGallery = false, sawHidden = false, shownAgain = false;
  const std::string script =
      "pad down\npad down\npad down\npad a\n"  // the title's third button: the gallery
      "pad up\npad a\n"                        // the gallery's exit, the last thing the D-pad reaches
      "pad down\npad a\n"                      // back on the title: a new game
      "pad b\npad b\n"                         // the message window hidden and shown again
      "pad start\n"                            // the player settings
      "pad up\npad up\npad a\n";               // the first choice: up from nothing is the last answer, then the second
  p.Run(script, [&](Main_Form& f) {
    sawGallery = sawGallery || f.GalleryOpen;
    if (f.WakuHidden) sawHidden = true;
    else if (sawHidden && f.Waku[0].Visible) shownAgain = true;
  });
  EXPECT_EQ(p.status, 0);
  EXPECT_TRUE(sawGallery);
  EXPECT_TRUE(sawHidden);
  EXPECT_TRUE(shownAgain);
  EXPECT_EQ(p.host.dialogs, 1);
  EXPECT_EQ(p.store.values["sound/music"], "40");  // the dialog's edit was kept
  EXPECT_EQ(p.store.values["window/fullscreen"], "true");  // and F11 pressed in it
  // The second answer's branch ran, the others did not.
  auto ran_block = [&](int16_t block) {
    for (const BlockIndexEntry& b : p.form->BlockIndex)
      if (b.Num == block)
        return std::find(p.trace.begin(), p.trace.end(), b.Seq) != p.trace.end();
    return false;
  };
  EXPECT_FALSE(ran_block(1210));
  EXPECT_TRUE(ran_block(1220));
  EXPECT_FALSE(ran_block(1230));
}

}  // namespace
}  // namespace mirel
