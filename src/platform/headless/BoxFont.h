#pragma once
#include <string>

#include "platform/FontRaster.h"

namespace mirel {

// A font of solid boxes: each character fills its cell (half-width for ASCII)
// minus a one-pixel margin. Deterministic, for tests and the null platform.
class BoxFont final : public FontRasterizer {
 public:
  void DrawText(PixelTarget target, int x, int y, TextView text, const Font& font, uint32_t rgb) override;
  int TextWidth(TextView text, const Font& font) override;
  std::string ResolvedFamily(const Font&) override { return "box"; }
  static int CharWidth(char16_t c, const Font& font);
};

}  // namespace mirel
