// Where the picture goes on screens of several sizes and pixel densities,
// and where a point of the screen lands in the picture.
#include <gtest/gtest.h>

#include "comfort/Scaling.h"

namespace mirel {
namespace {

struct Case {
  ScaleMode mode;
  int w, h;      // the area, logical pixels
  double dpr;    // device pixels per logical pixel
  PictureRect placed;  // device pixels
  bool whole;
  int dialogScale;
  double px, py;  // a logical point...
  int x, y;       // ...and the picture pixel under it (-1: outside)
};

TEST(Scaling, PlacesThePictureInDevicePixelsAndMapsPointsBack) {
  using enum ScaleMode;
  const Case cases[] = {
      {Fit, 640, 480, 1.0, {0, 0, 640, 480}, true, 1, 639.5, 479.5, 639, 479},
      {Integer, 640, 480, 1.0, {0, 0, 640, 480}, true, 1, 0, 0, 0, 0},
      // 1920x1080: fit leaves bars left and right, integer is 2x.
      {Fit, 1920, 1080, 1.0, {240, 0, 1440, 1080}, false, 2, 960, 540, 320, 240},
      {Fit, 1920, 1080, 1.0, {240, 0, 1440, 1080}, false, 2, 239, 540, -1, -1},
      {Integer, 1920, 1080, 1.0, {320, 60, 1280, 960}, true, 2, 320 + 201, 60 + 101, 100, 50},
      {Integer, 1920, 1080, 1.0, {320, 60, 1280, 960}, true, 2, 319, 100, -1, -1},
      {Stretch, 1920, 1080, 1.0, {0, 0, 1920, 1080}, false, 2, 1919, 1079, 639, 479},
      {Stretch, 1920, 1080, 1.0, {0, 0, 1920, 1080}, false, 2, 960, 540, 320, 240},
      // A scale factor of 2 on 2560x1440: 3x of the device pixels, whichever
      // of fit and integer; in logical pixels that is 1.5x.
      {Fit, 1280, 720, 2.0, {320, 0, 1920, 1440}, true, 1, 640, 360, 320, 240},
      {Integer, 1280, 720, 2.0, {320, 0, 1920, 1440}, true, 1, 160.5, 0.5, 0, 0},
      {Integer, 1280, 720, 2.0, {320, 0, 1920, 1440}, true, 1, 1119.9, 719.9, 639, 479},
      {Fit, 2560, 1440, 1.0, {320, 0, 1920, 1440}, true, 3, 2239, 1439, 639, 479},
      // 1.5 on a 1366x768 laptop: 2049x1152 device pixels.
      {Integer, 1366, 768, 1.5, {384, 96, 1280, 960}, true, 1, 256 + 100, 64 + 100, 75, 75},
      {Fit, 1366, 768, 1.5, {256, 0, 1536, 1152}, false, 1, 683, 384, 320, 240},
      {Stretch, 1280, 720, 1.25, {0, 0, 1600, 900}, false, 1, 640, 360, 320, 240},
      // A window smaller than the picture shrinks it, whatever the mode.
      {Integer, 600, 400, 1.0, {33, 0, 533, 400}, false, 1, 33, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << ScaleModeName(c.mode) << " " << c.w << "x" << c.h << " @" << c.dpr << " point "
                                    << c.px << "," << c.py);
    PictureRect r = PlacePicture(c.mode, DevicePixels(c.w, c.dpr), DevicePixels(c.h, c.dpr));
    EXPECT_EQ(r, c.placed) << r.x << "," << r.y << " " << r.w << "x" << r.h;
    EXPECT_EQ(WholeMultiple(r), c.whole);
    EXPECT_EQ(DialogScale(r, c.dpr), c.dialogScale);
    int x = -1, y = -1;
    bool inside = ToPicture(r, c.px, c.py, c.dpr, x, y);
    EXPECT_EQ(inside, c.x >= 0);
    if (inside) {
      EXPECT_EQ(x, c.x);
      EXPECT_EQ(y, c.y);
    }
  }
}

}  // namespace
}  // namespace mirel
