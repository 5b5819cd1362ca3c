#pragma once
// Where the 640x480 picture goes on the screen, worked out in device
// pixels so that a high-DPI screen gets a crisp whole multiple, and where a
// point of the screen falls in the picture.
#include <string>

namespace mirel {

constexpr int kPictureWidth = 640, kPictureHeight = 480;

enum class ScaleMode {
  Fit,      // as large as fits, proportions kept, black bars
  Integer,  // the largest whole multiple that fits, centred
  Stretch   // the whole area
};
enum class ScaleFilter { Sharp, Smooth };

struct PictureRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PictureRect&) const = default;
};

// A logical length on a screen of `dpr` device pixels per logical pixel.
int DevicePixels(int logical, double dpr);

// The picture's rectangle in an area of areaW x areaH device pixels. An area
// smaller than the picture shrinks it as "fit" does, whatever the mode.
PictureRect PlacePicture(ScaleMode mode, int areaW, int areaH);

// A point in logical coordinates of the area to a pixel of the picture;
// false outside the picture.
bool ToPicture(const PictureRect& r, double logicalX, double logicalY, double dpr, int& x, int& y);

// True when every picture pixel becomes the same whole block of device
// pixels, so nearest-neighbour drawing is exact.
bool WholeMultiple(const PictureRect& r);

// How many times larger dialogs are drawn over the picture: the whole part
// of its scale in logical pixels, at least 1.
int DialogScale(const PictureRect& r, double dpr);

// Names as they are kept in the settings file; unknown names give false.
const char* ScaleModeName(ScaleMode m);
bool ParseScaleMode(const std::string& s, ScaleMode& out);
const char* ScaleFilterName(ScaleFilter f);
bool ParseScaleFilter(const std::string& s, ScaleFilter& out);

}  // namespace mirel
