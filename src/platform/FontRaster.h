#pragma once
// Drawing text into pixels: the engine's stand-in for TextOutA.
#include <cmath>
#include <cstdint>
#include <string>

#include "base/Text.h"

namespace mirel {

struct Font {
  Text name = u"ＭＳ ゴシック";
  double size = 12;  // points
  bool bold = false;
  // Character height in pixels at 96 dots per inch.
  int PixelHeight() const { return static_cast<int>(std::lround(size * 96.0 / 72.0)); }
  // The size the toolkit reports back: sizes snap to whole pixels.
  double ReportedSize() const { return PixelHeight() * 72.0 / 96.0; }
};

// Target of text drawing: a 32-bit 0x00RRGGBB pixel buffer, top-down rows.
struct PixelTarget {
  uint32_t* pixels;
  int width, height;
};

class FontRasterizer {
 public:
  virtual ~FontRasterizer() = default;
  // Draws with a transparent background; (x, y) is the top-left corner of
  // the character cell. Clipped to the target.
  virtual void DrawText(PixelTarget target, int x, int y, TextView text, const Font& font, uint32_t rgb) = 0;
  virtual int TextWidth(TextView text, const Font& font) = 0;
  // The family actually used for a font name (for the environment log).
  virtual std::string ResolvedFamily(const Font& font) = 0;
};

}  // namespace mirel
