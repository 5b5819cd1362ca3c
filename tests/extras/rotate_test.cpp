#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "extras/Rotate.h"

namespace mirel {
namespace {

using extras::RotateGrid;

// A picture with a different colour in every pixel, none of them black.
Surface Coded(int w, int h) {
  Surface s;
  s.Resize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = Rgb(1 + x % 250, 1 + y % 250, 1 + (x / 250) * 16 + y / 250);
  return s;
}

// Turns a surface's picture into a new dw x dh surface through the grids,
// as the ending does.
Surface Turned(const Surface& src, int dw, int dh, double degrees, PixelGrid* sourceGrid = nullptr) {
  PixelGrid g, out;
  EXPECT_EQ(GetPixelGrid(src, g), 0);
  if (sourceGrid) {
    // Poison the grid's index-0 row and column: they hold no pixel of the
    // picture and must never be read.
    for (auto& column : g) column[0] = Rgb(255, 0, 255);
    for (auto& v : g[0]) v = Rgb(255, 0, 255);
    *sourceGrid = g;
  }
  RotateGrid(g, src.width, src.height, out, dw, dh, degrees);
  Surface dst;
  dst.Resize(dw, dh);
  EXPECT_EQ(SetPixelGrid(dst, out), 0);
  return dst;
}

// Whatever the proportions of the picture and of the square it is turned
// into, and whatever the angle, every pixel is either black or a pixel of
// the picture, never a pixel beyond it.
TEST(RotateGrid, NeverReadsOutsideThePictureWhateverItsProportions) {
  struct Case {
    int sw, sh, side;
  } cases[] = {
      {687, 588, 343},  // the demo's photo frame: 3W x 3H into 3W/2
      {60, 9, 90},      // a flat frame: the square is taller than the picture
      {9, 60, 90},      // a tall one: wider
      {3, 3, 40},       // far smaller than the square
      {40, 1, 60},      // one row
      {20, 12, 60},     // fits whole at every angle
  };
  for (const Case& c : cases) {
    Surface src = Coded(c.sw, c.sh);
    std::set<uint32_t> colours(src.pixels.begin(), src.pixels.end());
    for (double angle : {5.0, 350.0, 10.0, 30.0, 15.0, 45.0, 90.0, 135.0}) {
      PixelGrid poisoned;
      Surface dst = Turned(src, c.side, c.side, angle, &poisoned);
      ASSERT_EQ(dst.width, c.side);
      const double cx = (c.side - 1) / 2.0, cy = (c.side - 1) / 2.0;
      // Farther from the middle than the picture's half diagonal (plus a
      // pixel of rounding), only black can stand.
      const double reach = std::hypot(c.sw / 2.0, c.sh / 2.0) + 1.5;
      int inside = 0;
      for (int y = 0; y < c.side; ++y)
        for (int x = 0; x < c.side; ++x) {
          uint32_t p = dst.At(x, y);
          ASSERT_NE(p, Rgb(255, 0, 255)) << c.sw << "x" << c.sh << " at " << angle << ": read outside";
          ASSERT_TRUE(p == kBlack || colours.count(p)) << c.sw << "x" << c.sh << " " << angle;
          if (std::hypot(x - cx, y - cy) > reach) {
            ASSERT_EQ(p, kBlack) << x << "," << y;
          }
          inside += p != kBlack;
        }
      // The picture itself is there: about its area, when it fits.
      if (c.sw <= c.side / 2 && c.sh <= c.side / 2 && c.sw * c.sh >= 100) {
        EXPECT_GT(inside, c.sw * c.sh * 3 / 4) << c.sw << "x" << c.sh << " " << angle;
        EXPECT_LT(inside, c.sw * c.sh * 5 / 4) << c.sw << "x" << c.sh << " " << angle;
      }
    }
  }
}

}  // namespace
}  // namespace mirel
