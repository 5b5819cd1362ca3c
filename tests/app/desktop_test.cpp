// The real window on a real (virtual frame buffer) X display: a story shows
// a sprite, waits, wipes it away and waits again; grabs of the whole screen
// during the waits must show the sprite, then nothing of it.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

constexpr uint32_t kSpriteColour = 0xFF00FF;  // drawn by nothing else
constexpr int kSpriteW = 100, kSpriteH = 200, kClearColumns = 10;

// The scenario file: every byte complemented, CR LF line ends.
std::string ScenarioFile(const std::string& csv) {
  std::string out;
  for (char c : csv) {
    if (c == '\n') {
      out += static_cast<char>(~'\r');
      out += static_cast<char>(~'\n');
    } else {
      out += static_cast<char>(~c);
    }
  }
  return out;
}

long Count(const QImage& img, uint32_t rgb) {
  long n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == rgb;
  return n;
}

TEST(Desktop, ScreenGrabsDuringTimedWaitsShowTheSpriteThenNothingOfIt) {
  test::TempDir root;
  const std::string data = root / "data/";
  std::filesystem::create_directory(data);
  ASSERT_TRUE(test::CopyDemoData(data));
  // A click during the opening skips it and starts the story at record 10;
  // should it come too late, records 0 to 9 pass in a moment anyway.
  std::string story = "num,cmd,jump,bg,doll,anim,spare,speaker,text,param1,param2,names,end\n";
  for (int i = 0; i < 10; ++i) story += "1000,w,,,,,,,1,,,,\n";
  test::WriteBytes(data + "91.dat", ScenarioFile(story + "1000,,,,,,,,START,,,,\n"
                                                 "1000,,,,11,,,,L,,,,\n"
                                                 "1000,w,,,,,,,4000,,,,\n"
                                                 "1000,,,,10,,,,MS,,,,\n"
                                                 "1000,w,,,,,,,4000,,,,\n"
                                                 "1000,q,,,,,,,,,,,\n"
                                                 "9999,,,,,,,,,,,,\n"));
  test::WriteBmp(data + "11.dat", test::Painted(kSpriteW, kSpriteH, [](int x, int) {
                  return x < kClearColumns ? 0 : kSpriteColour;
                }));
  // The second click answers the first line; the grabs fall two seconds
  // into each wait; then the window is closed rather than played out.
  const std::string shown = root / "shown.png", gone = root / "gone.png";
  test::WriteBytes(root / "input.txt", "wait 1500\nnow click\nclick\nwait 2000\nnow screenshot " + shown +
                                           "\nwait 4000\nnow screenshot " + gone + "\nnow close\n");
  const auto [status, out] =
      test::RunOnDesktop(root.path(), "1024x768", "--data '" + data + "' --input input.txt --soundfont none");
  ASSERT_EQ(status, 0) << "needs xvfb-run, xauth and openbox (scripts/packages.sh)\n" << out;
  QImage during(QString::fromStdString(shown)), after(QString::fromStdString(gone));
  ASSERT_FALSE(during.isNull()) << out;
  ASSERT_FALSE(after.isNull()) << out;
  EXPECT_EQ(Count(during, kSpriteColour), (kSpriteW - kClearColumns) * kSpriteH);
  EXPECT_EQ(Count(after, kSpriteColour), 0);
}

// A game dialog open when the window goes full screen stays in front of
// it, where the player can answer it: the screen with the options dialog
// open differs from the screen after it is cancelled by the dialog's area.
TEST(Desktop, AGameDialogStaysInFrontWhenTheWindowGoesFullScreen) {
  test::TempDir root;
  const std::string data = root / "data/";
  std::filesystem::create_directory(data);
  ASSERT_TRUE(test::CopyDemoData(data));
  const std::string open = root / "open.png", closed = root / "closed.png";
  test::WriteBytes(root / "input.txt", "wait 1500\nnow click\ntitle new\nclick\nmenu options\nwait 1500\nnow key f11\n"
                                       "wait 4000\nnow screenshot " + open + "\ndialog Option_Window Command2\n"
                                       "wait 1500\nnow screenshot " + closed + "\nnow close\n");
  const auto [status, out] =
      test::RunOnDesktop(root.path(), "1280x1024", "--data '" + data + "' --input input.txt --soundfont none");
  ASSERT_EQ(status, 0) << "needs xvfb-run, xauth and openbox (scripts/packages.sh)\n" << out;
  QImage withDialog(QString::fromStdString(open)), without(QString::fromStdString(closed));
  ASSERT_EQ(withDialog.size(), QSize(1280, 1024)) << out;
  ASSERT_EQ(without.size(), QSize(1280, 1024)) << out;
  long differ = 0, lit = 0;
  for (int y = 0; y < 1024; ++y)
    for (int x = 0; x < 1280; ++x) {
      differ += (withDialog.pixel(x, y) & 0xFFFFFF) != (without.pixel(x, y) & 0xFFFFFF);
      lit += (withDialog.pixel(x, y) & 0xFFFFFF) != 0;
    }
  // Both grabs are of the full screen: the picture at twice its size
  // covers it, not a 640x480 window.
  EXPECT_GT(lit, 1000000) << "the window had not gone full screen by the first grab";
  // The options dialog is 330x200 at the window's scale when it opened.
  EXPECT_GT(differ, 40000) << "the dialog is hidden behind the full-screen window";
}

}  // namespace
}  // namespace mirel

namespace mirel {
namespace {

// A screen reader's view of the real window over the desktop's
// accessibility bus (tests/app/screen_reader/read_story.py): the messages
// as text, the next one told by an event, the answers as buttons, the
// second picked with Down and Enter and its message read.
TEST(Desktop, AScreenReaderReadsTheStoryAndTheKeyboardPicksAnAnswer) {
  test::TempDir root;
  const std::string src = std::string(MIREL_TEST_SOURCE_DIR) + "/tests/app/screen_reader/";
  const std::string bin = test::BuildDir();
  const test::Outcome built = test::Shell(bin + "tools/mirel-tool build '" + src + "story' '" + root / "data" +
                                          "' --base '" + bin + "demo-data' 2>&1");
  ASSERT_EQ(built.status, 0) << built.out;
  // Debian's own Python: python3-pyatspi installs for it.
  const test::Outcome read =
      test::OnDesktop(root.path(), "1024x768",
                      "dbus-run-session -- /usr/bin/python3 '" + src + "read_story.py' '" + bin + "src/mirel' '" +
                          root / "data" + "' '" + root.path() + "'");
  EXPECT_EQ(read.status, 0) << "needs xvfb-run, dbus-run-session, at-spi2-core, python3-pyatspi and xdotool "
                               "(scripts/packages.sh)\n"
                            << read.out;
  EXPECT_NE(read.out.find("the story was read, the answer taken"), std::string::npos) << read.out;
}

}  // namespace
}  // namespace mirel

namespace mirel {
namespace {

// A player without a mouse reaches the game's menu: Alt or F10, then Enter
// on its first command (the end), then Enter on the question; Enter without
// either would only go on with the story
// (tests/app/keyboard_menu/use_menu.sh).
TEST(Desktop, TheMenuIsUsedByTheKeyboardAlone) {
  for (const char* key : {"alt", "F10"}) {
    SCOPED_TRACE(key);
    test::TempDir root;
    const std::string data = root / "data/";
    std::filesystem::create_directory(data);
    ASSERT_TRUE(test::CopyDemoData(data));
    const std::string script = std::string(MIREL_TEST_SOURCE_DIR) + "/tests/app/keyboard_menu/use_menu.sh";
    const test::Outcome used =
        test::OnDesktop(root.path(), "1024x768",
                        "sh '" + script + "' '" + test::BuildDir() + "src/mirel' '" + data + "' " + key);
    EXPECT_EQ(used.status, 0) << "needs xvfb-run, openbox and xdotool (scripts/packages.sh)\n" << used.out;
    EXPECT_NE(used.out.find("keys: the menu was used by the keyboard, status 0"), std::string::npos) << used.out;
  }
}

}  // namespace
}  // namespace mirel
