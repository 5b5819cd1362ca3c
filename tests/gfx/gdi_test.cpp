// Raster operations, masks, blends and pixel grids,
// checked pixel by pixel against plain per-pixel models of each rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "gfx/Gdi.h"

namespace mirel {
namespace {

// Every pixel different, none black, the top byte always 0.
Surface Coded(int w, int h, int salt = 0) {
  Surface s;
  s.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = Rgb(1 + (x + salt) % 251, 1 + (y + 3 * salt) % 251, 1 + (x * 7 + y * 13 + salt) % 251);
  return s;
}

Surface Random(int w, int h, uint32_t seed) {
  Surface s;
  s.Resize(w, h);
  std::mt19937 rng(seed);
  for (auto& p : s.pixels) p = rng() & 0xFFFFFF;
  return s;
}

Surface Filled(int w, int h, uint32_t c) {
  Surface s;
  s.BackColor = c;
  s.Resize(w, h);
  return s;
}

uint32_t Apply(Rop rop, uint32_t d, uint32_t s) {
  switch (rop) {
    case Rop::SrcCopy: return s;
    case Rop::SrcAnd: return s & d;
    case Rop::SrcInvert: return s ^ d;
  }
  return d;
}

// A raster operation pixel by pixel: where either end of a pixel lies off
// its surface, nothing happens to it. The source is a copy, so the model
// reads everything before it writes.
void ModelBlt(Surface& dst, int dx, int dy, int w, int h, Surface src, int sx, int sy, Rop rop) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (dst.Contains(dx + x, dy + y) && src.Contains(sx + x, sy + y))
        dst.At(dx + x, dy + y) = Apply(rop, dst.At(dx + x, dy + y), src.At(sx + x, sy + y));
}

// The blend rule written out plainly: the weight and its complement in
// single precision, the sum in double, rounded half to even.
uint8_t BlendByte(int a, int b, float weight) {
  const float w1 = weight, w0 = 1.0f - weight;
  const double v = static_cast<double>(b) * static_cast<double>(w1) + static_cast<double>(a) * static_cast<double>(w0);
  return static_cast<uint8_t>(std::nearbyint(v));
}

uint32_t BlendPixel(uint32_t a, uint32_t b, float weight) {
  return Rgb(BlendByte(RedOf(a), RedOf(b), weight), BlendByte(GreenOf(a), GreenOf(b), weight),
             BlendByte(BlueOf(a), BlueOf(b), weight));
}

void ModelBlend(Surface& dst, int dx, int dy, int w, int h, Surface src, int sx, int sy, float weight) {
  if (!(weight >= 0.0f && weight <= 1.0f)) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (dst.Contains(dx + x, dy + y) && src.Contains(sx + x, sy + y))
        dst.At(dx + x, dy + y) = BlendPixel(dst.At(dx + x, dy + y), src.At(sx + x, sy + y), weight);
}

// Index of the first differing pixel, or -1.
long FirstDifference(const Surface& a, const Surface& b) {
  if (a.width != b.width || a.height != b.height) return -2;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    if (a.pixels[i] != b.pixels[i]) return static_cast<long>(i);
  return -1;
}

// ---------------------------------------------------------------- raster ops

class RasterOps : public ::testing::TestWithParam<Rop> {
 protected:
  // The operation and the model from the same start, compared whole.
  ::testing::AssertionResult Matches(Surface dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    Surface want = dst;
    ModelBlt(want, dx, dy, w, h, src, sx, sy, GetParam());
    BitBlt(dst, dx, dy, w, h, src, sx, sy, GetParam());
    long at = FirstDifference(dst, want);
    if (at == -1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << at << " of " << w << "x" << h << " to " << dx << "," << dy
                                         << " from " << sx << "," << sy;
  }
};

// Every placement of a 4 x 3 copy from a 5 x 4 source onto a 6 x 5
// destination, from fully off the left/top to fully off the right/bottom,
// on both ends; empty and negative sizes; rows long enough for any
// block-wise inner loop and widths that leave tails.
TEST_P(RasterOps, MatchTheModelAtEveryPlacementSizeAndWidth) {
  const Surface dst0 = Coded(6, 5, 3), src = Coded(5, 4, 77);
  for (int dx = -5; dx <= 7; ++dx)
    for (int dy = -4; dy <= 6; dy += 2)
      for (int sx = -5; sx <= 6; ++sx)
        for (int sy = -4; sy <= 5; sy += 3) ASSERT_TRUE(Matches(dst0, dx, dy, 4, 3, src, sx, sy));
  for (auto [w, h] : std::vector<std::pair<int, int>>{{0, 3}, {3, 0}, {-2, 3}, {3, -1}, {-4, -4}}) {
    Surface dst = dst0;
    BitBlt(dst, 0, 0, w, h, Coded(6, 5, 9), 0, 0, GetParam());
    EXPECT_EQ(FirstDifference(dst, dst0), -1) << w << "x" << h;
  }
  Surface empty, dst = dst0;
  BitBlt(dst, 0, 0, 6, 5, empty, 0, 0, GetParam());
  EXPECT_EQ(FirstDifference(dst, dst0), -1);
  BitBlt(empty, 0, 0, 6, 5, src, 0, 0, GetParam());
  EXPECT_TRUE(empty.pixels.empty());
  for (int w : {1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 33, 641})
    ASSERT_TRUE(Matches(Random(w + 3, 4, 11), 1, 1, w, 3, Random(w + 2, 5, 12), 2, 0));
}

INSTANTIATE_TEST_SUITE_P(Gdi, RasterOps, ::testing::Values(Rop::SrcCopy, Rop::SrcAnd, Rop::SrcInvert));

// ------------------------------------------------------------------ masks

// The sprite idiom: AND the mask, XOR the picture; black is transparent, a
// black that is only almost black is not.
TEST(MakeMask, MaskedDrawingShowsThePictureWhereItIsNotBlack) {
  Surface scene = Coded(6, 4, 2), picture = Coded(6, 4, 50);
  picture.At(0, 0) = picture.At(3, 2) = kBlack;
  picture.At(5, 3) = Rgb(1, 0, 0);
  picture.BackColor = kWhite;  // the source's own background does not matter
  Surface mask = Filled(6, 4, kWhite);
  MakeMask(mask, picture, 0, 0, 6, 4);
  EXPECT_EQ(picture.BackColor, kBlack);
  Surface drawn = scene;
  BitBlt(drawn, 0, 0, 6, 4, mask, 0, 0, Rop::SrcAnd);
  BitBlt(drawn, 0, 0, 6, 4, picture, 0, 0, Rop::SrcInvert);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(drawn.At(x, y), picture.At(x, y) == kBlack ? scene.At(x, y) : picture.At(x, y)) << x << "," << y;
  EXPECT_EQ(drawn.At(5, 3), Rgb(1, 0, 0));
}

// ------------------------------------------------------------------ blends

// A region partly off the destination blends the part on it; where the
// source region runs off the source picture, the destination keeps its
// pixels, as a raster copy leaves them. Source and destination on one
// surface are both read before anything is written.
TEST(DibBlend, RegionsRunningOffEitherSurfaceOrOverlapping) {
  const Surface scene = Random(9, 7, 5), picture = Random(6, 5, 6);
  WorkDib dib;
  dib.DibCreate(4, 3);
  int changed = 0;
  for (int dx = -5; dx <= 10; ++dx)
    for (int dy = -4; dy <= 8; dy += 3)
      for (int sx = -5; sx <= 7; sx += 2)
        for (int sy = -4; sy <= 6; sy += 2) {
          Surface s = scene, want = scene;
          dib.DibBlend(s, dx, dy, 4, 3, picture, sx, sy, 0.75f);
          ModelBlend(want, dx, dy, 4, 3, picture, sx, sy, 0.75f);
          ASSERT_EQ(FirstDifference(s, want), -1) << dx << "," << dy << " from " << sx << "," << sy;
          if (FirstDifference(s, scene) != -1) ++changed;
        }
  EXPECT_GT(changed, 100);
  const Surface s0 = Random(14, 11, 7);
  dib.DibCreate(8, 6);
  for (int ox = -3; ox <= 3; ++ox)
    for (int oy = -2; oy <= 2; ++oy) {
      Surface s = s0, want = s0;
      dib.DibBlend(s, 3 + ox, 3 + oy, 8, 6, s, 3, 3, 0.4f);
      ModelBlend(want, 3 + ox, 3 + oy, 8, 6, s0, 3, 3, 0.4f);
      ASSERT_EQ(FirstDifference(s, want), -1) << ox << "," << oy;
    }
}

// Every pair of channel values, for weights around every kind of edge: the
// cross-fade's 0.1, dyadic weights whose sums land exactly on .5, weights
// next to 0 and 1, denormals, and a sweep. Red, green and blue see the
// pairs in different arrangements, so a mixed-up channel shows. One work
// bitmap serves every weight, as in a cross-fade.
TEST(DibBlend, EveryChannelPairMatchesThePlainRule) {
  Surface scene, picture;
  scene.Resize(256, 256);
  picture.Resize(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      scene.At(x, y) = Rgb(y, x, 255 - y);
      picture.At(x, y) = Rgb(x, y, x ^ 0x5A);
    }
  std::vector<float> weights = {0.1f, 0.5f, 0.25f, 0.75f, 0.125f, 0.375f, 0.625f, 0.875f, 0.0625f, 0.9375f,
                                0.6f, 0.3f, 0.7f, 0.2f, 0.4f, 0.8f, 0.9f, 1.0f / 3, 2.0f / 3, 0.999f,
                                std::nextafter(1.0f, 0.0f), std::nextafter(0.0f, 1.0f), 1e-30f, 1e-7f,
                                std::nextafter(0.5f, 0.0f), std::nextafter(0.5f, 1.0f), 0.0f, 1.0f, -0.0f, 0.1f};
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> any(0.0f, 1.0f);
  for (int i = 0; i < 12; ++i) weights.push_back(any(rng));
  WorkDib dib;
  dib.DibCreate(256, 256);
  for (float wt : weights) {
    Surface s = scene;
    dib.DibBlend(s, 0, 0, 256, 256, picture, 0, 0, wt);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x)
        ASSERT_EQ(s.At(x, y), BlendPixel(scene.At(x, y), picture.At(x, y), wt))
            << "weight " << wt << " at " << x << "," << y;
  }
}

// ------------------------------------------------------------- pixel grids

TEST(PixelGrid, IndexLayout) {
  const int w = 5, h = 3;
  Surface s = Coded(w, h);
  PixelGrid g;
  ASSERT_EQ(GetPixelGrid(s, g), 0);
  ASSERT_EQ(g.size(), static_cast<size_t>(w + 1));
  for (const auto& column : g) ASSERT_EQ(column.size(), static_cast<size_t>(h + 1));
  // Columns counted from the right, rows from the top, both from 1.
  for (int i = 1; i <= w; ++i)
    for (int j = 1; j <= h; ++j) EXPECT_EQ(g[i][j], s.At(w - i, j - 1)) << i << "," << j;
  // Index 0 holds what follows a row in the bottom-up array: the first
  // pixel of the row above, and for the top row the spare element.
  for (int j = 2; j <= h; ++j) EXPECT_EQ(g[0][j], s.At(0, j - 2)) << j;
  EXPECT_EQ(g[0][1], 0u);
}

}  // namespace
}  // namespace mirel
