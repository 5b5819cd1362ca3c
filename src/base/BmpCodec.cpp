#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/BmpCodec.h"

namespace mirel {
namespace {

uint32_t U32(const Bytes& b, size_t at) {
  return at + 4 <= b.size() ? b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24) : 0;
}
uint16_t U16(const Bytes& b, size_t at) { return at + 2 <= b.size() ? uint16_t(b[at] | (b[at + 1] << 8)) : 0; }

void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void Put16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

}  // namespace

bool BmpCodec::Decode(const Bytes& b, Image& out) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  uint32_t offBits = U32(b, 10);
  uint32_t hdrSize = U32(b, 14);
  if (hdrSize < 40) return false;
  int32_t w = static_cast<int32_t>(U32(b, 18));
  int32_t h = static_cast<int32_t>(U32(b, 22));
  uint16_t bpp = U16(b, 28);
  uint32_t compression = U32(b, 30);
  uint32_t colorsUsed = U32(b, 46);
  if (compression != 0 || w <= 0 || h == 0 || w > 16384 || h > 16384 || h < -16384) return false;
  // A small file of one bit per pixel could claim a gigabyte of pixels; no
  // picture the game shows comes near 16 million.
  if (static_cast<int64_t>(w) * std::abs(static_cast<int64_t>(h)) > 16'000'000) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
  bool bottomUp = h > 0;
  int height = bottomUp ? h : -h;
  size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  if (offBits > b.size() || stride * height > b.size() - offBits) return false;
  uint32_t palette[256] = {};
  if (bpp <= 8) {
    uint32_t n = colorsUsed ? colorsUsed : (1u << bpp);
    if (n > 256) return false;
    size_t palAt = 14 + hdrSize;
    for (uint32_t i = 0; i < n && palAt + 4 * i + 3 < b.size(); ++i)
      palette[i] = (b[palAt + 4 * i + 2] << 16) | (b[palAt + 4 * i + 1] << 8) | b[palAt + 4 * i];
  }
  out.width = w;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(w) * height, 0);
  for (int row = 0; row < height; ++row) {
    const uint8_t* src = b.data() + offBits + stride * row;
    int y = bottomUp ? height - 1 - row : row;
    uint32_t* dst = out.pixels.data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      switch (bpp) {
        case 32:
        case 24: {
          const uint8_t* p = src + static_cast<size_t>(x) * (bpp / 8);
          dst[x] = (p[2] << 16) | (p[1] << 8) | p[0];
          break;
        }
        case 8: dst[x] = palette[src[x]]; break;
        case 4: dst[x] = palette[(src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
        case 1: dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
      }
    }
  }
  return true;
}

Bytes BmpCodec::Encode(const Image& img) {
  size_t stride = (static_cast<size_t>(img.width) * 3 + 3) & ~size_t(3);
  uint32_t dataSize = static_cast<uint32_t>(stride * img.height);
  Bytes b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + dataSize);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(img.width));
  Put32(b, static_cast<uint32_t>(img.height));
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, dataSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int row = img.height - 1; row >= 0; --row) {
    size_t start = b.size();
    for (int x = 0; x < img.width; ++x) {
      uint32_t p = img.At(x, row);
      b.push_back(uint8_t(p));
      b.push_back(uint8_t(p >> 8));
      b.push_back(uint8_t(p >> 16));
    }
    while (b.size() - start < stride) b.push_back(0);
  }
  return b;
}

}  // namespace mirel
