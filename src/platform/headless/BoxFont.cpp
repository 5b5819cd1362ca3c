#include "platform/headless/BoxFont.h"

namespace mirel {

int BoxFont::CharWidth(char16_t c, const Font& font) {
  int h = font.PixelHeight();
  return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F) ? h / 2 : h;
}

void BoxFont::DrawText(PixelTarget t, int x, int y, TextView text, const Font& font, uint32_t rgb) {
  int h = font.PixelHeight();
  for (char16_t c : text) {
    int w = CharWidth(c, font);
    if (c != u' ' && c != u'\u3000') {
      for (int yy = y + 1; yy < y + h - 1; ++yy) {
        if (yy < 0 || yy >= t.height) continue;
        for (int xx = x + 1; xx < x + w - 1; ++xx)
          if (xx >= 0 && xx < t.width) t.pixels[static_cast<size_t>(yy) * t.width + xx] = rgb;
      }
    }
    x += w;
  }
}

int BoxFont::TextWidth(TextView text, const Font& font) {
  int w = 0;
  for (char16_t c : text) w += CharWidth(c, font);
  return w;
}

}  // namespace mirel
