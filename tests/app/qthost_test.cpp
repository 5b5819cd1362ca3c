// The Qt front end: the faces that stand in for the game's fonts, and the
// dialog windows made from the engine's models.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/QtHost.h"

namespace mirel {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_app";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

// Every text drawn in "Arial" stays inside its box, with the box's last
// column and row free (the thank-you panel has its frame there).
TEST(QtFontsTest, ArialTextsFitTheirBoxes) {
  App();
  qt::QtFonts fonts;
  EXPECT_EQ(fonts.ResolvedFamily(Font{u"Arial", 14, true}), "Liberation Sans");
  struct Case {
    const char16_t* text;
    double size;
    bool bold;
    int x, y, boxW, boxH;
  };
  const Case cases[] = {
      {u"Loading now", 8, false, 5, 0, 80, 30},  // left of the progress bar's frame
      {u"End", 24, true, 500, 385, 640, 480},
      {u"MIREL", 14, true, 40, 100, 130, 800},  // the credits strip
      {u"- making staff -", 11, true, 15, 130, 130, 800},
      {u"SCENARIO", 12, true, 17, 246, 130, 800},
      {u"PROGRAM", 12, true, 23, 318, 130, 800},
      {u"GRAPHICS", 12, true, 17, 390, 130, 800},
      {u"MUSIC", 12, true, 35, 462, 130, 800},
      {u" Thank you", 14, true, 0, 0, 120, 50},  // the final panel
      {u" for playing", 14, true, 0, 25, 120, 50},
  };
  for (const Case& c : cases) {
    // Drawn into a wider canvas, so a text that runs over shows it.
    const int w = c.boxW + 200, h = c.boxH + 50;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0);
    fonts.DrawText(PixelTarget{px.data(), w, h}, c.x, c.y, c.text, Font{u"Arial", c.size, c.bold}, 0xFFFFFF);
    int right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (px[static_cast<size_t>(y) * w + x] != 0) {
          right = std::max(right, x);
          bottom = std::max(bottom, y);
        }
    SCOPED_TRACE(Utf8(c.text));
    EXPECT_GE(right, c.x);  // something was drawn
    EXPECT_LT(right, c.boxW - 1);
    EXPECT_LT(bottom, c.boxH - 1);
  }
}

}  // namespace
}  // namespace mirel
