#pragma once
// A frame texture whose every pixel tells where it came from, so a test can
// check that each piece of the message window was cut from the right place.
#include "gfx/Surface.h"

namespace mirel::test {

// Never black: blue carries 0x40 plus the high bit of x.
inline uint32_t Texel(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 0x40 | (x >> 8)); }

// Black is transparent in the tab picture; every third pixel of it is.
inline bool TabTransparent(int x, int y) { return (x + y) % 3 == 0; }

inline void PaintFrameTexture(Surface& t, uint32_t fill = Rgb(20, 40, 200)) {
  t.Resize(352, 340);
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x) t.At(x, y) = Texel(x, y);
  for (int y = 26; y < 48; ++y)
    for (int x = 48; x < 168; ++x)
      if (TabTransparent(x, y)) t.At(x, y) = kBlack;
  t.At(24, 24) = fill;
}

}  // namespace mirel::test
