#include "extras/Rotate.h"

#include <cmath>

namespace mirel::extras {

void RotateGrid(const PixelGrid& src, int sw, int sh, PixelGrid& dst, int dw, int dh, double degrees) {
  dw = dw < 0 ? 0 : dw;
  dh = dh < 0 ? 0 : dh;
  dst.assign(static_cast<size_t>(dw) + 1, std::vector<uint32_t>(static_cast<size_t>(dh) + 1, kBlack));
  // A grid smaller than the size it claims is read only as far as it goes.
  if (static_cast<int>(src.size()) <= sw) sw = static_cast<int>(src.size()) - 1;
  for (const auto& column : src)
    if (static_cast<int>(column.size()) <= sh) sh = static_cast<int>(column.size()) - 1;
  if (sw <= 0 || sh <= 0) return;
  const double rad = degrees * 3.14159265 / 180.0;
  const double c = std::cos(rad), s = std::sin(rad);
  // Grid pixels are indexed from 1, so the middle of 1..n is (n + 1) / 2.
  const double scx = (sw + 1) / 2.0, scy = (sh + 1) / 2.0;
  const double dcx = (dw + 1) / 2.0, dcy = (dh + 1) / 2.0;
  for (int i = 1; i <= dw; ++i) {
    const double du = i - dcx;
    for (int j = 1; j <= dh; ++j) {
      const double dv = j - dcy;
      const long si = std::lround(std::floor(scx + du * c + dv * s + 0.5));
      const long sj = std::lround(std::floor(scy - du * s + dv * c + 0.5));
      if (si >= 1 && si <= sw && sj >= 1 && sj <= sh)
        dst[static_cast<size_t>(i)][static_cast<size_t>(j)] = src[static_cast<size_t>(si)][static_cast<size_t>(sj)];
    }
  }
}

}  // namespace mirel::extras
