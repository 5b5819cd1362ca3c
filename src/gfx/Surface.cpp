#include "gfx/Surface.h"

#include <algorithm>
#include <cstring>

namespace mirel {

void Surface::Resize(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == width && h == height && pixels.size() == static_cast<size_t>(w) * h) return;
  std::vector<uint32_t> next(static_cast<size_t>(w) * h, BackColor);
  int cw = std::min(w, width), ch = std::min(h, height);
  if (pixels.size() == static_cast<size_t>(width) * height)
    for (int y = 0; y < ch; ++y)
      std::copy_n(pixels.begin() + static_cast<size_t>(y) * width, cw, next.begin() + static_cast<size_t>(y) * w);
  pixels.swap(next);
  width = w;
  height = h;
}

void Surface::Cls() { std::fill(pixels.begin(), pixels.end(), BackColor); }

void Surface::SetPicture(const Image& img) {
  width = img.width;
  height = img.height;
  pixels = img.pixels;
  pixels.resize(static_cast<size_t>(width) * height, BackColor);
}

Image Surface::ToImage() const {
  Image img;
  img.width = width;
  img.height = height;
  img.pixels = pixels;
  return img;
}

void Surface::Refresh() {
  ++refreshCount;
  if (sink) sink->Refreshed(*this);
}

namespace {

// Intersects the copy with both surfaces, shifting the two origins alike.
bool ClipCopy(int& dx, int& dy, int& w, int& h, int& sx, int& sy, int dstW, int dstH, int srcW, int srcH) {
  if (w <= 0 || h <= 0) return false;
  auto clip = [](int& d, int& s, int& len, int dLim, int sLim) {
    int shift = std::max({0, -d, -s});
    d += shift;
    s += shift;
    len -= shift;
    len = std::min({len, dLim - d, sLim - s});
  };
  clip(dx, sx, w, dstW, srcW);
  clip(dy, sy, h, dstH, srcH);
  return w > 0 && h > 0;
}

}  // namespace

namespace {

// Four pixels at a time; the compiler maps this onto the machine's vector
// registers (or plain words where it has none).
using Pixels4 = uint32_t __attribute__((vector_size(16)));

template <typename Op>
void CombineRow(uint32_t* __restrict d, const uint32_t* __restrict s, int w, Op op) {
  int x = 0;
  for (; x + 4 <= w; x += 4) {
    Pixels4 a, b;
    std::memcpy(&a, d + x, sizeof a);
    std::memcpy(&b, s + x, sizeof b);
    a = op(a, b);
    std::memcpy(d + x, &a, sizeof a);
  }
  for (; x < w; ++x) d[x] = op(d[x], s[x]);
}

void RopRow(Rop rop, uint32_t* d, const uint32_t* s, int w) {
  switch (rop) {
    case Rop::SrcCopy:
      std::memcpy(d, s, static_cast<size_t>(w) * sizeof *d);
      break;
    case Rop::SrcAnd:
      CombineRow(d, s, w, [](auto a, auto b) { return a & b; });
      break;
    case Rop::SrcInvert:
      CombineRow(d, s, w, [](auto a, auto b) { return a ^ b; });
      break;
  }
}

}  // namespace

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  if (!ClipCopy(dx, dy, w, h, sx, sy, dst.width, dst.height, src.width, src.height)) return;
  const size_t dstStride = static_cast<size_t>(dst.width);
  if (&dst == &src && rop == Rop::SrcCopy) {
    // Scrolling within one surface: taking the rows in the direction of the
    // move reads each source row before it is overwritten, and memmove
    // copes with the overlap inside a row.
    uint32_t* base = dst.pixels.data();
    for (int i = 0; i < h; ++i) {
      const int y = dy > sy ? h - 1 - i : i;
      std::memmove(base + (dy + y) * dstStride + dx, base + (sy + y) * dstStride + sx,
                   static_cast<size_t>(w) * sizeof *base);
    }
    return;
  }
  std::vector<uint32_t> tmp;
  const uint32_t* from = src.pixels.data() + static_cast<size_t>(sy) * src.width + sx;
  size_t fromStride = static_cast<size_t>(src.width);
  if (&dst == &src) {
    // Combining overlapping parts of one surface: read everything first.
    tmp.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      std::copy_n(from + y * fromStride, w, tmp.begin() + static_cast<size_t>(y) * w);
    from = tmp.data();
    fromStride = static_cast<size_t>(w);
  }
  uint32_t* to = dst.pixels.data() + static_cast<size_t>(dy) * dstStride + dx;
  for (int y = 0; y < h; ++y) RopRow(rop, to + y * dstStride, from + y * fromStride, w);
}

void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                Rop rop) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  Surface tmp;
  tmp.Resize(dw, dh);
  for (int y = 0; y < dh; ++y) {
    int syy = sy + static_cast<int>(static_cast<long long>(y) * sh / dh);
    for (int x = 0; x < dw; ++x) {
      int sxx = sx + static_cast<int>(static_cast<long long>(x) * sw / dw);
      tmp.At(x, y) = src.Contains(sxx, syy) ? src.At(sxx, syy) : kBlack;
    }
  }
  BitBlt(dst, dx, dy, dw, dh, tmp, 0, 0, rop);
}

void FillBox(Surface& s, int x1, int y1, int x2, int y2, uint32_t rgb) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, s.width);
  y2 = std::min(y2, s.height);
  for (int y = y1; y < y2; ++y)
    for (int x = x1; x < x2; ++x) s.At(x, y) = rgb;
}

void FrameBox(Surface& s, int x1, int y1, int x2, int y2, uint32_t rgb) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  FillBox(s, x1, y1, x2, y1 + 1, rgb);
  FillBox(s, x1, y2 - 1, x2, y2, rgb);
  FillBox(s, x1, y1, x1 + 1, y2, rgb);
  FillBox(s, x2 - 1, y1, x2, y2, rgb);
}

void TextOut(FontRasterizer& fonts, Surface& s, int x, int y, TextView text) {
  if (s.pixels.empty()) return;
  fonts.DrawText(PixelTarget{s.pixels.data(), s.width, s.height}, x, y, text, s.font, s.ForeColor);
}

}  // namespace mirel
