// The message window's pieces cut from the frame texture, and clearing a page.
#include <gtest/gtest.h>

#include "support/FrameTexture.h"
#include "support/TestPlatform.h"

namespace mirel::test {
namespace {

class Frame : public ::testing::Test {
 protected:
  TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  const uint32_t fill = Rgb(20, 40, 200);

  void SetUp() override {
    f.LayOutMainWindow();
    PaintFrameTexture(f.Texture, fill);
    f.Pic_Main.Resize(640, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) f.Pic_Main.At(x, y) = Rgb(x / 3, y / 2, 7);
    f.WakuBuild();
  }
};

TEST_F(Frame, EdgesAreTiledAndTheCornersDrawnOverThem) {
  const Surface& fr = f.Waku[2];
  const int W = 576, H = 108;
  ASSERT_EQ(fr.width, W);
  ASSERT_EQ(fr.height, H);
  // Corners.
  EXPECT_EQ(fr.At(0, 0), Texel(0, 0));
  EXPECT_EQ(fr.At(15, 15), Texel(15, 15));
  EXPECT_EQ(fr.At(W - 16 + 3, 2), Texel(35, 2));
  EXPECT_EQ(fr.At(2, H - 16 + 5), Texel(2, 37));
  EXPECT_EQ(fr.At(W - 1, H - 1), Texel(47, 47));
  // Top and bottom tiles repeat every 16 columns.
  EXPECT_EQ(fr.At(100, 5), Texel(16 + 100 % 16, 5));
  EXPECT_EQ(fr.At(559, 2), Texel(31, 2));
  EXPECT_EQ(fr.At(100, H - 8 + 2), Texel(16 + 100 % 16, 42));
  // Side tiles repeat every 16 rows.
  EXPECT_EQ(fr.At(3, 50), Texel(3, 16 + 50 % 16));
  EXPECT_EQ(fr.At(W - 8 + 5, 50), Texel(45, 16 + 50 % 16));
  // The bottom-right corner covers the end of the right edge.
  EXPECT_EQ(fr.At(W - 3, 95), Texel(45, 35));
  // The inside stays black.
  EXPECT_EQ(fr.At(50, 50), kBlack);
  EXPECT_EQ(fr.At(20, 8), kBlack);
  EXPECT_EQ(fr.At(W - 20, H - 9), kBlack);
}

TEST_F(Frame, FillIsTheTextureFillColourInsideABlackRim) {
  const Surface& fl = f.Waku[1];
  EXPECT_EQ(fl.At(3, 3), kBlack);
  EXPECT_EQ(fl.At(4, 4), fill);
  EXPECT_EQ(fl.At(571, 103), fill);
  EXPECT_EQ(fl.At(572, 50), kBlack);
  EXPECT_EQ(fl.At(50, 104), kBlack);
  EXPECT_FALSE(fl.Visible);
}

TEST_F(Frame, DateTabSitsOnTheTopEdgeWithAMaskOfItsBlackPixels) {
  for (int k : {3, 4, 5}) {
    EXPECT_EQ(f.Waku[k].left, 491) << k;
    EXPECT_EQ(f.Waku[k].top, 338) << k;
    EXPECT_EQ(f.Waku[k].width, 120) << k;
    EXPECT_EQ(f.Waku[k].height, 22) << k;
  }
  int transparent = 0;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 120; ++x) {
      bool clear = TabTransparent(48 + x, 26 + y);
      transparent += clear;
      ASSERT_EQ(f.Waku[4].At(x, y), clear ? kBlack : Texel(48 + x, 26 + y)) << x << "," << y;
      ASSERT_EQ(f.Waku[5].At(x, y), clear ? kWhite : kBlack) << x << "," << y;
    }
  EXPECT_GT(transparent, 800);
}

TEST_F(Frame, WindowStartsAsTheScreenBehindItAndClearingRestoresTheCleanCopy) {
  EXPECT_EQ(f.Waku[0].At(0, 0), f.Pic_Main.At(35, 360));
  EXPECT_EQ(f.Waku[0].At(575, 107), f.Pic_Main.At(611, 467));
  EXPECT_EQ(f.Waku[0].pixels, f.Waku[6].pixels);

  // Text drawn on the page goes away; the page counters start again.
  FillBox(f.Waku[0], 30, 10, 300, 80, kWhite);
  f.LineNo = 3;
  f.LastSpeaker = 4;
  long refreshes = f.Waku[0].refreshCount;
  f.WakuClear();
  EXPECT_EQ(f.Waku[0].pixels, f.Waku[6].pixels);
  EXPECT_EQ(f.LineNo, 0);
  EXPECT_EQ(f.LastSpeaker, -1);
  EXPECT_EQ(f.Waku[0].refreshCount, refreshes + 1);
}

TEST(FrameWithoutTexture, EverythingComesOutBlack) {
  TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  f.LayOutMainWindow();  // no "61.dat": the texture stays blank
  f.WakuBuild();
  for (int k : {1, 2, 4}) {
    ASSERT_FALSE(f.Waku[k].pixels.empty()) << k;
    for (uint32_t p : f.Waku[k].pixels) ASSERT_EQ(p, kBlack) << k;
  }
  for (uint32_t p : f.Waku[5].pixels) ASSERT_EQ(p, kWhite);
}

}  // namespace
}  // namespace mirel::test
