// The translucent message window: what lies behind it blended with the fill,
// and sprites showing through.
#include <gtest/gtest.h>

#include <cmath>

#include "support/FrameTexture.h"
#include "support/TestPlatform.h"

namespace mirel::test {
namespace {

uint32_t Scene(int x, int y) { return Rgb(x / 3, y / 2, (x + y) & 0xFF); }

// One channel of a blend, done the long way.
int Mix(int texture, int behind, float opacity) {
  float keep = 1.0f - opacity;
  return static_cast<int>(std::nearbyint(static_cast<double>(texture) * opacity + static_cast<double>(behind) * keep));
}
uint32_t Mix(uint32_t texture, uint32_t behind, float opacity) {
  return Rgb(Mix(RedOf(texture), RedOf(behind), opacity), Mix(GreenOf(texture), GreenOf(behind), opacity),
             Mix(BlueOf(texture), BlueOf(behind), opacity));
}

class Backdrop : public ::testing::Test {
 protected:
  TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  const uint32_t fill = Rgb(20, 40, 200);

  void SetUp() override {
    f.LayOutMainWindow();
    PaintFrameTexture(f.Texture, fill);
    f.Pic_Main.Resize(640, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) f.Pic_Main.At(x, y) = Scene(x, y);
    f.WakuBuild();
  }

  // A sprite of one colour standing at position p.
  void Stand(int p, int x, int y, int w, int h, uint32_t colour) {
    Surface& d = f.Doll_Disp[p];
    d.Move(x, y, w, h);
    std::fill(d.pixels.begin(), d.pixels.end(), colour);
    d.Visible = true;
    f.DollX[p] = static_cast<int16_t>(x);
    f.DollY[p] = static_cast<int16_t>(y);
    f.DollW[p] = static_cast<int16_t>(w);
    f.DollH[p] = static_cast<int16_t>(h);
    f.PosUsed[p] = true;
  }
  uint32_t Window(int x, int y) const { return f.Waku[0].At(x, y); }
};

TEST_F(Backdrop, InnerAreaIsTheSceneBlendedWithTheFillAtTheOpacity) {
  f.WakuOpacity = 0.6f;
  f.WakuBackdrop();
  for (int y = 4; y < 104; y += 7)
    for (int x = 4; x < 572; x += 13)
      ASSERT_EQ(Window(x, y), Mix(fill, Scene(35 + x, 360 + y), 0.6f)) << x << "," << y;
  // The rim is the empty frame, untouched by the blend.
  EXPECT_EQ(Window(0, 0), f.Waku[2].At(0, 0));
  EXPECT_EQ(Window(2, 50), f.Waku[2].At(2, 50));
  EXPECT_EQ(Window(575, 107), f.Waku[2].At(575, 107));
  EXPECT_TRUE(f.Waku[0].Visible);
  EXPECT_EQ(f.Waku[6].pixels, f.Waku[0].pixels);
}

TEST_F(Backdrop, SpritesShowThroughWithoutTheirOuterColumns) {
  f.WakuOpacity = 0.0f;
  const uint32_t red = Rgb(250, 0, 0), green = Rgb(0, 250, 0);
  Stand(0, 40, 200, 100, 280, red);     // "L", reaching below the window's top
  Stand(2, 300, 380, 60, 100, green);  // "C", its top inside the window
  f.WakuBackdrop();
  // "L": screen columns 44..135 show the sprite; its outer 4 columns don't.
  EXPECT_EQ(Window(44 - 35, 50), red);
  EXPECT_EQ(Window(135 - 35, 50), red);
  EXPECT_EQ(Window(43 - 35, 50), Scene(43, 410));
  EXPECT_EQ(Window(136 - 35, 50), Scene(136, 410));
  // "C" starts at row 20 of the window; above it the scene stays.
  EXPECT_EQ(Window(310 - 35, 4 + 20 + 4), green);
  EXPECT_EQ(Window(310 - 35, 10), Scene(310, 370));
}

}  // namespace
}  // namespace mirel::test
