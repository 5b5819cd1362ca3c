// Raster operations, masks, raw pixel arrays, blends and pixel grids,
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

class RasterOps : public ::testing::TestWithParam<Rop> {};

TEST_P(RasterOps, InsideCopyChangesExactlyTheRegion) {
  Surface dst = Coded(9, 7, 1), src = Coded(6, 5, 40);
  Surface want = dst;
  ModelBlt(want, 2, 1, 4, 3, src, 1, 2, GetParam());
  BitBlt(dst, 2, 1, 4, 3, src, 1, 2, GetParam());
  EXPECT_EQ(FirstDifference(dst, want), -1);
  // The model itself: a pixel of the region and one outside it.
  EXPECT_EQ(dst.At(2, 1), Apply(GetParam(), Coded(9, 7, 1).At(2, 1), src.At(1, 2)));
  EXPECT_EQ(dst.At(6, 1), Coded(9, 7, 1).At(6, 1));
}

// Every placement of a 4 x 3 copy from a 5 x 4 source onto a 6 x 5
// destination, from fully off the left/top to fully off the right/bottom,
// on both ends.
TEST_P(RasterOps, ClipsAtEveryEdgeOfBothSurfaces) {
  const Surface dst0 = Coded(6, 5, 3), src = Coded(5, 4, 77);
  int checked = 0;
  for (int dx = -5; dx <= 7; ++dx)
    for (int dy = -4; dy <= 6; dy += 2)
      for (int sx = -5; sx <= 6; ++sx)
        for (int sy = -4; sy <= 5; sy += 3) {
          Surface dst = dst0, want = dst0;
          ModelBlt(want, dx, dy, 4, 3, src, sx, sy, GetParam());
          BitBlt(dst, dx, dy, 4, 3, src, sx, sy, GetParam());
          ASSERT_EQ(FirstDifference(dst, want), -1) << dx << "," << dy << " from " << sx << "," << sy;
          ++checked;
        }
  EXPECT_GT(checked, 1000);
}

TEST_P(RasterOps, EmptyOrNegativeSizesDrawNothing) {
  const Surface dst0 = Coded(6, 5, 3), src = Coded(6, 5, 9);
  for (auto [w, h] : std::vector<std::pair<int, int>>{{0, 3}, {3, 0}, {-2, 3}, {3, -1}, {-4, -4}}) {
    Surface dst = dst0;
    BitBlt(dst, 0, 0, w, h, src, 0, 0, GetParam());
    EXPECT_EQ(FirstDifference(dst, dst0), -1) << w << "x" << h;
  }
  Surface empty;
  Surface dst = dst0;
  BitBlt(dst, 0, 0, 6, 5, empty, 0, 0, GetParam());
  EXPECT_EQ(FirstDifference(dst, dst0), -1);
  BitBlt(empty, 0, 0, 6, 5, src, 0, 0, GetParam());
  EXPECT_TRUE(empty.pixels.empty());
}

// Copies within one surface in every direction, including shifts along a
// row by less than the width: the result is as if the source had been read
// whole before anything was written.
TEST_P(RasterOps, OverlappingCopiesWithinOneSurface) {
  const Surface s0 = Coded(12, 10, 5);
  for (int ox = -3; ox <= 3; ++ox)
    for (int oy = -3; oy <= 3; ++oy) {
      Surface s = s0, want = s0;
      ModelBlt(want, 3 + ox, 3 + oy, 7, 5, s0, 3, 3, GetParam());
      BitBlt(s, 3 + ox, 3 + oy, 7, 5, s, 3, 3, GetParam());
      ASSERT_EQ(FirstDifference(s, want), -1) << "shift " << ox << "," << oy;
    }
  // A whole-surface scroll that also runs off the edges.
  for (int shift : {-2, -1, 1, 2}) {
    Surface s = s0, want = s0;
    ModelBlt(want, shift, shift, 12, 10, s0, 0, 0, GetParam());
    BitBlt(s, shift, shift, 12, 10, s, 0, 0, GetParam());
    EXPECT_EQ(FirstDifference(s, want), -1) << shift;
  }
}

TEST_P(RasterOps, WideSurfacesAndOddWidthsMatchTheModel) {
  // Rows long enough for any block-wise inner loop, widths that leave tails.
  for (int w : {1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 33, 641}) {
    Surface dst = Random(w + 3, 4, 11), src = Random(w + 2, 5, 12);
    Surface want = dst;
    ModelBlt(want, 1, 1, w, 3, src, 2, 0, GetParam());
    BitBlt(dst, 1, 1, w, 3, src, 2, 0, GetParam());
    ASSERT_EQ(FirstDifference(dst, want), -1) << "width " << w;
  }
}

INSTANTIATE_TEST_SUITE_P(Gdi, RasterOps, ::testing::Values(Rop::SrcCopy, Rop::SrcAnd, Rop::SrcInvert),
                         [](const auto& info) {
                           switch (info.param) {
                             case Rop::SrcCopy: return std::string("SrcCopy");
                             case Rop::SrcAnd: return std::string("SrcAnd");
                             case Rop::SrcInvert: return std::string("SrcInvert");
                           }
                           return std::string("Other");
                         });

TEST(RasterOps, TheThreeCodesAndTheirResults) {
  EXPECT_EQ(static_cast<uint32_t>(Rop::SrcCopy), 0x00CC0020u);
  EXPECT_EQ(static_cast<uint32_t>(Rop::SrcAnd), 0x008800C6u);
  EXPECT_EQ(static_cast<uint32_t>(Rop::SrcInvert), 0x00660046u);
  Surface d = Filled(1, 1, Rgb(0xF0, 0x0F, 0x55)), s = Filled(1, 1, Rgb(0x3C, 0xFF, 0x0F));
  Surface a = d, x = d, c = d;
  BitBlt(a, 0, 0, 1, 1, s, 0, 0, Rop::SrcAnd);
  BitBlt(x, 0, 0, 1, 1, s, 0, 0, Rop::SrcInvert);
  BitBlt(c, 0, 0, 1, 1, s, 0, 0, Rop::SrcCopy);
  EXPECT_EQ(a.At(0, 0), Rgb(0x30, 0x0F, 0x05));
  EXPECT_EQ(x.At(0, 0), Rgb(0xCC, 0xF0, 0x5A));
  EXPECT_EQ(c.At(0, 0), Rgb(0x3C, 0xFF, 0x0F));
}

TEST(RasterOps, StretchTakesTheNearestPixelAbove) {
  Surface src = Coded(3, 2);
  Surface dst = Filled(8, 6, kWhite);
  StretchBlt(dst, 1, 1, 6, 4, src, 0, 0, 3, 2, Rop::SrcCopy);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
      EXPECT_EQ(dst.At(x, y), inside ? src.At((x - 1) / 2, (y - 1) / 2) : kWhite) << x << "," << y;
    }
  // Shrinking keeps every other pixel.
  Surface big = Coded(8, 4), small = Filled(4, 2, kWhite);
  StretchBlt(small, 0, 0, 4, 2, big, 0, 0, 8, 4, Rop::SrcCopy);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(small.At(x, y), big.At(2 * x, 2 * y));
}

TEST(RasterOps, FillBoxClipsAndTakesCornersInEitherOrder) {
  Surface s = Filled(5, 4, kBlack);
  FillBox(s, 4, 3, -2, 1, kWhite);  // the far corner is exclusive
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(s.At(x, y), (x < 4 && y >= 1 && y < 3) ? kWhite : kBlack) << x << "," << y;
}

// The sprite idiom: AND the mask, XOR the picture; black is transparent, a
// black that is only almost black is not.
TEST(RasterOps, MaskedDrawingShowsThePictureWhereItIsNotBlack) {
  Surface scene = Coded(6, 4, 2);
  Surface picture = Coded(6, 4, 50);
  picture.At(0, 0) = kBlack;
  picture.At(3, 2) = kBlack;
  picture.At(5, 3) = Rgb(1, 0, 0);
  Surface mask = Filled(6, 4, kWhite);
  MakeMask(mask, picture, 0, 0, 6, 4);
  Surface drawn = scene;
  BitBlt(drawn, 0, 0, 6, 4, mask, 0, 0, Rop::SrcAnd);
  BitBlt(drawn, 0, 0, 6, 4, picture, 0, 0, Rop::SrcInvert);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(drawn.At(x, y), picture.At(x, y) == kBlack ? scene.At(x, y) : picture.At(x, y)) << x << "," << y;
  EXPECT_EQ(drawn.At(5, 3), Rgb(1, 0, 0));
}

// ------------------------------------------------------- colour and mono

TEST(MonoCopies, SourceBackgroundBecomesOneEverythingElseZero) {
  Surface src = Coded(5, 3);
  src.BackColor = Rgb(9, 9, 9);
  src.At(1, 0) = Rgb(9, 9, 9);
  src.At(4, 2) = Rgb(9, 9, 9);
  src.At(2, 1) = Rgb(9, 9, 8);
  MonoBitmap mono;
  CopyToMono(mono, src, 0, 0, 5, 3);
  ASSERT_EQ(mono.width, 5);
  ASSERT_EQ(mono.height, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(mono.bits[y * 5 + x], ((x == 1 && y == 0) || (x == 4 && y == 2)) ? 1 : 0) << x << "," << y;
}

TEST(MonoCopies, RegionOffsetAndTheOffSourcePartStaysZero) {
  Surface src = Filled(4, 4, kBlack);  // background black: every pixel is 1
  MonoBitmap mono;
  CopyToMono(mono, src, 2, 1, 4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mono.bits[y * 4 + x], (x < 2 && y < 3) ? 1 : 0) << x << "," << y;
}

TEST(MonoCopies, OneTakesTheDestinationBackgroundZeroItsForeground) {
  MonoBitmap mono;
  mono.width = 3;
  mono.height = 2;
  mono.bits = {1, 0, 1, 0, 0, 1};
  Surface dst = Coded(5, 4);
  const Surface before = dst;
  dst.BackColor = Rgb(10, 20, 30);
  dst.ForeColor = Rgb(200, 100, 50);
  CopyFromMono(dst, 3, 3, mono);  // only the top row's first two bits land
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      uint32_t want = before.At(x, y);
      if (y == 3 && x == 3) want = Rgb(10, 20, 30);
      if (y == 3 && x == 4) want = Rgb(200, 100, 50);
      EXPECT_EQ(dst.At(x, y), want) << x << "," << y;
    }
}

// ------------------------------------------------------------------ masks

TEST(MakeMask, AllBlackGivesAllWhiteNoBlackGivesAllBlack) {
  Surface black = Filled(7, 5, kBlack);
  black.BackColor = kWhite;  // the source's own background does not matter
  Surface mask = Filled(7, 5, kWhite);
  FillBox(mask, 0, 0, 7, 5, Rgb(1, 2, 3));
  MakeMask(mask, black, 0, 0, 7, 5);
  for (uint32_t p : mask.pixels) EXPECT_EQ(p, kWhite);
  EXPECT_EQ(black.BackColor, kBlack);

  Surface colourful = Coded(7, 5);
  MakeMask(mask, colourful, 0, 0, 7, 5);
  for (uint32_t p : mask.pixels) EXPECT_EQ(p, kBlack);
}

TEST(MakeMask, RegionGoesToTheOriginOfTheDestination) {
  Surface src = Coded(10, 8);
  for (int y = 0; y < 8; ++y) src.At((y * 3) % 10, y) = kBlack;
  src.At(6, 5) = Rgb(0, 0, 1);
  Surface mask = Filled(6, 5, kWhite);
  FillBox(mask, 0, 0, 6, 5, Rgb(7, 7, 7));
  MakeMask(mask, src, 3, 2, 5, 4);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      uint32_t want = Rgb(7, 7, 7);  // outside the 5 x 4 mask
      if (x < 5 && y < 4) want = src.At(3 + x, 2 + y) == kBlack ? kWhite : kBlack;
      EXPECT_EQ(mask.At(x, y), want) << x << "," << y;
    }
}

// The mask takes the destination's colours, so a mask surface with other
// colours gives another mask; the part of the region off the source is
// drawn with the foreground, and the destination clips.
TEST(MakeMask, DestinationColoursOffSourcePartAndClipping) {
  Surface src = Filled(4, 3, kBlack);
  src.At(1, 1) = Rgb(50, 60, 70);
  Surface mask = Filled(5, 2, Rgb(9, 9, 9));
  mask.BackColor = Rgb(0, 255, 0);
  mask.ForeColor = Rgb(255, 0, 0);
  MakeMask(mask, src, 0, 0, 6, 4);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool clear = x < 4 && !(x == 1 && y == 1);
      EXPECT_EQ(mask.At(x, y), clear ? Rgb(0, 255, 0) : Rgb(255, 0, 0)) << x << "," << y;
    }
}

TEST(MakeMask, LargeSpriteMatchesThePerPixelRule) {
  Surface body = Random(301, 400, 3);
  std::mt19937 rng(4);
  for (auto& p : body.pixels)
    if (rng() % 3 == 0) p = kBlack;
  body.At(0, 0) = Rgb(0, 1, 0);
  Surface mask = Filled(301, 400, kWhite);
  MakeMask(mask, body, 0, 0, 301, 400);
  for (size_t i = 0; i < body.pixels.size(); ++i)
    ASSERT_EQ(mask.pixels[i], body.pixels[i] == kBlack ? kWhite : kBlack) << i;
}

// ------------------------------------------------------------ pixel arrays

TEST(PixelArrays, FullScreenCountSpareElementAndBottomUpOrder) {
  Surface s = Coded(640, 480);
  std::vector<uint32_t> px(5, 0xDEADBEEF);
  ASSERT_EQ(GetPixels(s, px), 307200);
  ASSERT_EQ(px.size(), 307201u);
  EXPECT_EQ(px[0], s.At(0, 479));      // bottom-left
  EXPECT_EQ(px[639], s.At(639, 479));  // bottom-right
  EXPECT_EQ(px[640], s.At(0, 478));
  EXPECT_EQ(px[307199], s.At(639, 0));  // top-right
  EXPECT_EQ(px[307200], 0u);            // the spare element is never filled
}

TEST(PixelArrays, ElementOfEveryPixel) {
  const int w = 5, h = 3;
  Surface s = Coded(w, h);
  std::vector<uint32_t> px;
  ASSERT_EQ(GetPixels(s, px), w * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(px[(h - 1 - y) * w + x], s.At(x, y)) << x << "," << y;
  // Element value 0x00RRGGBB: bytes blue, green, red, 0.
  const uint32_t e = px[(h - 1) * w + 0];
  EXPECT_EQ(e, Rgb(RedOf(s.At(0, 0)), GreenOf(s.At(0, 0)), BlueOf(s.At(0, 0))));
}

TEST(PixelArrays, WriteUsesTheSameLayoutIgnoresTheSpareAndPresents) {
  const int w = 4, h = 3;
  Surface s = Filled(w, h, kBlack);
  std::vector<uint32_t> px(w * h + 1);
  for (int i = 0; i < w * h; ++i) px[i] = Rgb(i, 2 * i, 3 * i);
  px[w * h] = kWhite;
  const long before = s.refreshCount;
  ASSERT_EQ(SetPixels(s, px), 0);
  EXPECT_EQ(s.refreshCount, before + 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int i = (h - 1 - y) * w + x;
      EXPECT_EQ(s.At(x, y), Rgb(i, 2 * i, 3 * i)) << x << "," << y;
    }
  std::vector<uint32_t> back;
  ASSERT_EQ(GetPixels(s, back), w * h);
  back.pop_back();
  px.pop_back();
  EXPECT_EQ(back, px);
}

TEST(PixelArrays, FailuresReadNothingAndLeaveTheImage) {
  Surface empty;
  std::vector<uint32_t> px(3, 7);
  EXPECT_EQ(GetPixels(empty, px), -1);
  for (uint32_t v : px) EXPECT_EQ(v, 0u);

  Surface s = Coded(4, 3);
  const Surface before = s;
  std::vector<uint32_t> tooShort(11, kWhite);
  EXPECT_EQ(SetPixels(s, tooShort), -1);
  EXPECT_EQ(FirstDifference(s, before), -1);
  EXPECT_EQ(s.refreshCount, 1);  // still presented
}

// ------------------------------------------------------------------ blends

TEST(DibBlend, WeightZeroKeepsOneCopiesOutOfRangeDrawsNothing) {
  const Surface scene = Random(20, 10, 1), picture = Random(20, 10, 2);
  WorkDib dib;
  dib.DibCreate(20, 10);
  Surface s = scene;
  dib.DibBlend(s, 0, 0, 20, 10, picture, 0, 0, 0.0f);
  EXPECT_EQ(FirstDifference(s, scene), -1);
  dib.DibBlend(s, 0, 0, 20, 10, picture, 0, 0, 1.0f);
  EXPECT_EQ(FirstDifference(s, picture), -1);
  for (float bad : {-0.0001f, -1.0f, 1.0001f, 2.0f, std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
    Surface t = scene;
    dib.DibBlend(t, 0, 0, 20, 10, picture, 0, 0, bad);
    EXPECT_EQ(FirstDifference(t, scene), -1) << bad;
  }
  dib.DibRelease();
}

TEST(DibBlend, HalfWeightTiesRoundToEven) {
  // Blue 1 over 2 is 1.5 -> 2, green 2 over 3 is 2.5 -> 2, red 0 over 1 is
  // 0.5 -> 0 and 254 over 255 is 254.5 -> 254; 3 over 4 is 3.5 -> 4.
  Surface d = Filled(3, 1, Rgb(0, 2, 1)), s = Filled(3, 1, Rgb(1, 3, 2));
  d.At(1, 0) = Rgb(254, 3, 10);
  s.At(1, 0) = Rgb(255, 4, 20);
  d.At(2, 0) = Rgb(255, 0, 7);
  s.At(2, 0) = Rgb(0, 255, 7);
  WorkDib dib;
  dib.DibCreate(3, 1);
  dib.DibBlend(d, 0, 0, 3, 1, s, 0, 0, 0.5f);
  EXPECT_EQ(d.At(0, 0), Rgb(0, 2, 2));
  EXPECT_EQ(d.At(1, 0), Rgb(254, 4, 15));
  EXPECT_EQ(d.At(2, 0), Rgb(128, 128, 7));  // 127.5 -> 128 both ways
}

// A weight whose complement is not exact in single precision: 0.1f and
// 1 - 0.1f rounded to a float add to slightly less than 1, yet 255 over
// 255 stays 255; 5 over 0 is 0.50000000745 and 25 over 0 2.5000000373,
// just past the tie, so they round up; 10 over 5 is 5.4999999 and stays 5
// (a complement taken in double would make it 5.50000001, rounding to 6).
TEST(DibBlend, ComplementIsHeldInSinglePrecision) {
  Surface d = Filled(2, 1, Rgb(255, 0, 0)), s = Filled(2, 1, Rgb(255, 5, 25));
  d.At(1, 0) = Rgb(5, 5, 5);
  s.At(1, 0) = Rgb(10, 10, 10);
  WorkDib dib;
  dib.DibCreate(2, 1);
  dib.DibBlend(d, 0, 0, 2, 1, s, 0, 0, 0.1f);
  EXPECT_EQ(d.At(0, 0), Rgb(255, 1, 3));
  EXPECT_EQ(d.At(1, 0), Rgb(5, 5, 5));
}

TEST(DibBlend, OnlyTheRegionChangesFromTheSourceOffset) {
  const Surface scene = Coded(12, 9, 4), picture = Coded(8, 8, 90);
  Surface s = scene, want = scene;
  WorkDib dib;
  dib.DibCreate(5, 4);
  dib.DibBlend(s, 6, 3, 5, 4, picture, 2, 1, 0.3f);
  ModelBlend(want, 6, 3, 5, 4, picture, 2, 1, 0.3f);
  EXPECT_EQ(FirstDifference(s, want), -1);
  EXPECT_EQ(s.At(6, 3), BlendPixel(scene.At(6, 3), picture.At(2, 1), 0.3f));
  EXPECT_EQ(s.At(5, 3), scene.At(5, 3));
  EXPECT_NE(s.At(6, 3), scene.At(6, 3));
}

TEST(DibBlend, NeedsAWorkBitmapOfExactlyTheRegionsSize) {
  const Surface scene = Coded(10, 10, 1), picture = Coded(10, 10, 2);
  WorkDib dib;
  Surface s = scene;
  dib.DibBlend(s, 0, 0, 4, 4, picture, 0, 0, 0.5f);  // none created
  EXPECT_EQ(FirstDifference(s, scene), -1);
  dib.DibCreate(4, 4);
  EXPECT_TRUE(dib.Active());
  dib.DibBlend(s, 0, 0, 5, 4, picture, 0, 0, 0.5f);
  dib.DibBlend(s, 0, 0, 4, 3, picture, 0, 0, 0.5f);
  EXPECT_EQ(FirstDifference(s, scene), -1);
  dib.DibRelease();
  EXPECT_FALSE(dib.Active());
  dib.DibBlend(s, 0, 0, 4, 4, picture, 0, 0, 0.5f);
  EXPECT_EQ(FirstDifference(s, scene), -1);
  // Created again with another size, it blends that size.
  dib.DibCreate(10, 10);
  dib.DibBlend(s, 0, 0, 10, 10, picture, 0, 0, 0.5f);
  Surface want = scene;
  ModelBlend(want, 0, 0, 10, 10, picture, 0, 0, 0.5f);
  EXPECT_EQ(FirstDifference(s, want), -1);
}

// A region partly off the destination blends the part on it; where the
// source region runs off the source picture, the destination keeps its
// pixels, as a raster copy leaves them.
TEST(DibBlend, RegionsRunningOffEitherSurface) {
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
  // A source wholly off its picture changes nothing.
  Surface s = scene;
  dib.DibBlend(s, 0, 0, 4, 3, picture, 6, 0, 1.0f);
  EXPECT_EQ(FirstDifference(s, scene), -1);
}

// Source and destination on one surface, overlapping: both regions are
// read before anything is written.
TEST(DibBlend, OverlappingRegionsOfOneSurface) {
  const Surface s0 = Random(14, 11, 7);
  WorkDib dib;
  dib.DibCreate(8, 6);
  for (int ox = -3; ox <= 3; ++ox)
    for (int oy = -2; oy <= 2; ++oy) {
      Surface s = s0, want = s0;
      dib.DibBlend(s, 3 + ox, 3 + oy, 8, 6, s, 3, 3, 0.4f);
      ModelBlend(want, 3 + ox, 3 + oy, 8, 6, s0, 3, 3, 0.4f);
      ASSERT_EQ(FirstDifference(s, want), -1) << ox << "," << oy;
    }
}

// Rows of 3, 9, 15 or 1923 bytes are not multiples of 4: each row must
// still blend with its own pixels, up to the last pixel of the top row.
TEST(DibBlend, WidthsWhoseRowsAreNotWholeWords) {
  WorkDib dib;
  for (int w : {1, 2, 3, 5, 7, 130, 641}) {
    for (int h : {1, 3, 7}) {
      const Surface scene = Random(w + 2, h + 2, 100 + w), picture = Random(w + 1, h, 200 + h);
      Surface s = scene, want = scene;
      dib.DibCreate(w, h);
      dib.DibBlend(s, 1, 2, w, h, picture, 1, 0, 0.1f);
      ModelBlend(want, 1, 2, w, h, picture, 1, 0, 0.1f);
      ASSERT_EQ(FirstDifference(s, want), -1) << w << "x" << h;
      dib.DibRelease();
    }
  }
}

// Every pair of channel values, for weights around every kind of edge: the
// cross-fade's 0.1, dyadic weights whose sums land exactly on .5, weights
// next to 0 and 1, denormals, and a sweep. Red, green and blue see the
// pairs in different arrangements, so a mixed-up channel shows.
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
                                std::nextafter(0.5f, 0.0f), std::nextafter(0.5f, 1.0f), 0.0f, 1.0f, -0.0f};
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
  dib.DibRelease();
}

// The cross-fade's use: one work bitmap, many frames on random pictures,
// weights changing between frames.
TEST(DibBlend, RepeatedFramesOnRandomPicturesMatchThePlainRule) {
  const Surface picture = Random(640, 480, 9);
  Surface screen = Random(640, 480, 8), want = screen;
  WorkDib dib;
  dib.DibCreate(640, 480);
  const float frames[] = {0.1f, 0.1f, 0.5f, 0.1f, 0.25f, 0.33f, 0.1f};
  for (float wt : frames) {
    dib.DibBlend(screen, 0, 0, 640, 480, picture, 0, 0, wt);
    ModelBlend(want, 0, 0, 640, 480, picture, 0, 0, wt);
    ASSERT_EQ(FirstDifference(screen, want), -1) << wt;
  }
  dib.DibRelease();
}

TEST(BlendRect, OneOffBlendLeavesNoWorkBitmap) {
  const Surface window = Random(576, 108, 21), fill = Random(576, 108, 22);
  Surface s = window, want = window;
  WorkDib dib;
  BlendRect(dib, s, 4, 4, 568, 100, fill, 4, 4, 0.6f);
  ModelBlend(want, 4, 4, 568, 100, fill, 4, 4, 0.6f);
  EXPECT_EQ(FirstDifference(s, want), -1);
  EXPECT_FALSE(dib.Active());
  // The frame around the inner area is untouched.
  EXPECT_EQ(s.At(3, 50), window.At(3, 50));
  EXPECT_EQ(s.At(572, 50), window.At(572, 50));
  Surface t = window;
  BlendRect(dib, t, 4, 4, 568, 100, fill, 4, 4, 1.5f);
  EXPECT_EQ(FirstDifference(t, window), -1);
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
  EXPECT_EQ(g[1][1], s.At(4, 0));
  EXPECT_EQ(g[5][3], s.At(0, 2));
  // Index 0 holds what follows a row in the bottom-up array: the first
  // pixel of the row above, and for the top row the spare element.
  for (int j = 2; j <= h; ++j) EXPECT_EQ(g[0][j], s.At(0, j - 2)) << j;
  EXPECT_EQ(g[0][1], 0u);
}

TEST(PixelGrid, ReadThenWriteLeavesThePictureAndPresents) {
  for (auto [w, h] : std::vector<std::pair<int, int>>{{5, 3}, {1, 1}, {7, 1}, {1, 6}, {640, 480}}) {
    Surface s = Random(w, h, static_cast<uint32_t>(w * 1000 + h));
    const Surface before = s;
    PixelGrid g;
    ASSERT_EQ(GetPixelGrid(s, g), 0);
    const long presented = s.refreshCount;
    ASSERT_EQ(SetPixelGrid(s, g), 0);
    EXPECT_EQ(FirstDifference(s, before), -1) << w << "x" << h;
    EXPECT_EQ(s.refreshCount, presented + 1);
  }
}

TEST(PixelGrid, WritingPlacesEachElementAndIgnoresIndexZero) {
  const int w = 4, h = 3;
  Surface s = Filled(w, h, kBlack);
  PixelGrid g(w + 1, std::vector<uint32_t>(h + 1, Rgb(255, 0, 255)));
  for (int i = 1; i <= w; ++i)
    for (int j = 1; j <= h; ++j) g[i][j] = Rgb(i, j, 1);
  ASSERT_EQ(SetPixelGrid(s, g), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(s.At(x, y), Rgb(w - x, y + 1, 1)) << x << "," << y;
}

TEST(PixelGrid, FailuresLeaveGridAndPicture) {
  Surface empty;
  PixelGrid g(2, std::vector<uint32_t>(2, 42));
  EXPECT_EQ(GetPixelGrid(empty, g), -1);
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[1][1], 42u);

  Surface s = Coded(4, 3);
  const Surface before = s;
  PixelGrid narrow(4, std::vector<uint32_t>(4, 0)), shallow(5, std::vector<uint32_t>(3, 0));
  EXPECT_EQ(SetPixelGrid(s, narrow), -1);
  EXPECT_EQ(SetPixelGrid(s, shallow), -1);
  EXPECT_EQ(FirstDifference(s, before), -1);
  EXPECT_EQ(s.refreshCount, 2);  // presented all the same
}

}  // namespace
}  // namespace mirel
