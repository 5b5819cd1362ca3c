#include "comfort/Scaling.h"

#include <algorithm>
#include <cmath>

namespace mirel {

int DevicePixels(int logical, double dpr) { return static_cast<int>(std::lround(logical * dpr)); }

PictureRect PlacePicture(ScaleMode mode, int areaW, int areaH) {
  areaW = std::max(areaW, 1);
  areaH = std::max(areaH, 1);
  if (mode == ScaleMode::Stretch) return PictureRect{0, 0, areaW, areaH};
  int w, h;
  int whole = std::min(areaW / kPictureWidth, areaH / kPictureHeight);
  if (mode == ScaleMode::Integer && whole >= 1) {
    w = kPictureWidth * whole;
    h = kPictureHeight * whole;
  } else if (static_cast<long>(areaW) * kPictureHeight <= static_cast<long>(areaH) * kPictureWidth) {
    // Width decides; integer arithmetic so a whole factor stays exact.
    w = areaW;
    h = static_cast<int>((static_cast<long>(areaW) * kPictureHeight + kPictureWidth / 2) / kPictureWidth);
  } else {
    h = areaH;
    w = static_cast<int>((static_cast<long>(areaH) * kPictureWidth + kPictureHeight / 2) / kPictureHeight);
  }
  return PictureRect{(areaW - w) / 2, (areaH - h) / 2, w, h};
}

bool ToPicture(const PictureRect& r, double logicalX, double logicalY, double dpr, int& x, int& y) {
  if (r.w <= 0 || r.h <= 0) return false;
  double dx = logicalX * dpr - r.x, dy = logicalY * dpr - r.y;
  if (dx < 0 || dy < 0 || dx >= r.w || dy >= r.h) return false;
  x = std::min(kPictureWidth - 1, static_cast<int>(dx * kPictureWidth / r.w));
  y = std::min(kPictureHeight - 1, static_cast<int>(dy * kPictureHeight / r.h));
  return true;
}

bool WholeMultiple(const PictureRect& r) {
  return r.w % kPictureWidth == 0 && r.h % kPictureHeight == 0 && r.w / kPictureWidth == r.h / kPictureHeight;
}

int DialogScale(const PictureRect& r, double dpr) {
  double s = std::min(r.w / (kPictureWidth * dpr), r.h / (kPictureHeight * dpr));
  return std::max(1, static_cast<int>(s + 1e-9));
}

namespace {
const char* const kModes[] = {"fit", "integer", "stretch"};
const char* const kFilters[] = {"sharp", "smooth"};

// The enumerator whose name is `s`, in the enumeration's order.
template <typename E, size_t N>
bool FromName(const char* const (&names)[N], const std::string& s, E& out) {
  for (size_t i = 0; i < N; ++i)
    if (s == names[i]) {
      out = static_cast<E>(i);
      return true;
    }
  return false;
}

}  // namespace

const char* ScaleModeName(ScaleMode m) { return kModes[static_cast<int>(m)]; }
const char* ScaleFilterName(ScaleFilter f) { return kFilters[static_cast<int>(f)]; }

bool ParseScaleMode(const std::string& s, ScaleMode& out) { return FromName(kModes, s, out); }
bool ParseScaleFilter(const std::string& s, ScaleFilter& out) { return FromName(kFilters, s, out); }

}  // namespace mirel
