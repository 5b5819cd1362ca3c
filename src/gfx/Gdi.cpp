#include "gfx/Gdi.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace mirel {

void CopyToMono(MonoBitmap& dst, const Surface& src, int x, int y, int w, int h) {
  dst.width = std::max(w, 0);
  dst.height = std::max(h, 0);
  dst.bits.assign(static_cast<size_t>(dst.width) * dst.height, 0);
  for (int yy = 0; yy < dst.height; ++yy)
    for (int xx = 0; xx < dst.width; ++xx) {
      int sx = x + xx, sy = y + yy;
      // Outside the source nothing is copied: the bitmap keeps its 0 there.
      if (src.Contains(sx, sy))
        dst.bits[static_cast<size_t>(yy) * dst.width + xx] = src.At(sx, sy) == src.BackColor ? 1 : 0;
    }
}

void CopyFromMono(Surface& dst, int dx, int dy, const MonoBitmap& src) {
  for (int yy = 0; yy < src.height; ++yy)
    for (int xx = 0; xx < src.width; ++xx) {
      int x = dx + xx, y = dy + yy;
      if (dst.Contains(x, y))
        dst.At(x, y) = src.bits[static_cast<size_t>(yy) * src.width + xx] ? dst.BackColor : dst.ForeColor;
    }
}

// The two copies of the mask idiom done in one pass: a source pixel equal
// to the source's background gives the destination's background, any other
// pixel, and the part of the region off the source, its foreground.
void MakeMask(Surface& dst, Surface& src, int x, int y, int w, int h) {
  src.BackColor = kBlack;
  w = std::min(w, dst.width);
  h = std::min(h, dst.height);
  if (w <= 0 || h <= 0) return;
  const uint32_t key = src.BackColor, clear = dst.BackColor, solid = dst.ForeColor;
  // Columns of the region that lie on the source.
  const int x0 = std::clamp(-x, 0, w), x1 = std::clamp(src.width - x, x0, w);
  for (int row = 0; row < h; ++row) {
    uint32_t* out = dst.pixels.data() + static_cast<size_t>(row) * dst.width;
    const int sy = y + row;
    if (sy < 0 || sy >= src.height) {
      std::fill_n(out, w, solid);
      continue;
    }
    const uint32_t* in = src.pixels.data() + static_cast<size_t>(sy) * src.width;
    std::fill_n(out, x0, solid);
    for (int col = x0; col < x1; ++col) out[col] = in[x + col] == key ? clear : solid;
    std::fill(out + x1, out + w, solid);
  }
}

int GetPixels(const Surface& s, std::vector<uint32_t>& px) {
  const int w = s.width, h = s.height;
  px.assign(static_cast<size_t>(w) * h + 1, 0);
  if (w <= 0 || h <= 0 || s.pixels.size() != static_cast<size_t>(w) * h) return -1;
  for (int y = 0; y < h; ++y)
    std::copy_n(s.pixels.begin() + static_cast<size_t>(y) * w, w, px.begin() + static_cast<size_t>(h - 1 - y) * w);
  return w * h;
}

int SetPixels(Surface& s, const std::vector<uint32_t>& px) {
  const int w = s.width, h = s.height;
  int status = -1;
  if (w > 0 && h > 0 && px.size() >= static_cast<size_t>(w) * h && s.pixels.size() == static_cast<size_t>(w) * h) {
    for (int y = 0; y < h; ++y)
      std::copy_n(px.begin() + static_cast<size_t>(h - 1 - y) * w, w, s.pixels.begin() + static_cast<size_t>(y) * w);
    status = 0;
  }
  s.Refresh();
  return status;
}

void WorkDib::DibCreate(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  active_ = true;
}

void WorkDib::DibRelease() {
  active_ = false;
  sourceRows_.clear();
  sourceRows_.shrink_to_fit();
}

namespace {

// Rounds half to even exactly as nearbyint does in the default rounding
// mode, for 0 <= v < 2^51: adding 1.5 * 2^52 leaves no fraction bits, so
// the addition itself rounds. Much cheaper than the library call.
inline double RoundHalfEven(double v) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52
  return (v + kShift) - kShift;
#else
  // Wider intermediates would round the sum at the wrong place.
  return std::nearbyint(v);
#endif
}

// Shrinks a rectangle to the pixels whose source and destination both lie
// on their surfaces, moving both origins alike.
bool ClipToBoth(int& dx, int& dy, int& w, int& h, int& sx, int& sy, const Surface& dst, const Surface& src) {
  auto clip = [](int& d, int& s, int& len, int dLim, int sLim) {
    const int shift = std::max({0, -d, -s});
    d += shift;
    s += shift;
    len = std::min({len - shift, dLim - d, sLim - s});
  };
  clip(dx, sx, w, dst.width, src.width);
  clip(dy, sy, h, dst.height, src.height);
  return w > 0 && h > 0;
}

void BlendRow(const uint8_t* table, uint32_t* d, const uint32_t* s, int n) {
  for (int x = 0; x < n; ++x) {
    const uint32_t a = d[x], b = s[x];
    // Red and blue pairs side by side: destination byte over source byte.
    const uint32_t redBlue = ((a << 8) & 0xFF00FF00u) | (b & 0x00FF00FFu);
    const uint32_t red = table[redBlue >> 16];
    const uint32_t green = table[(a & 0xFF00u) | ((b >> 8) & 0xFFu)];
    const uint32_t blue = table[redBlue & 0xFFFFu];
    d[x] = red << 16 | green << 8 | blue;
  }
}

}  // namespace

void WorkDib::PrepareTable(float weight) {
  uint32_t bits;
  std::memcpy(&bits, &weight, sizeof bits);
  if (!table_.empty() && bits == tableWeight_) return;
  // The weight and its complement each in single precision; each product
  // is exact in double, the sum is rounded once, then to a whole number.
  const float w1 = weight, w0 = 1.0f - weight;
  double fromSource[256], fromDest[256];
  for (int v = 0; v < 256; ++v) {
    fromSource[v] = static_cast<double>(v) * static_cast<double>(w1);
    fromDest[v] = static_cast<double>(v) * static_cast<double>(w0);
  }
  table_.resize(256 * 256);
  for (int a = 0; a < 256; ++a) {
    uint8_t* row = table_.data() + static_cast<size_t>(a) * 256;
    for (int b = 0; b < 256; ++b) row[b] = static_cast<uint8_t>(RoundHalfEven(fromSource[b] + fromDest[a]));
  }
  tableWeight_ = bits;
  // Taken only once it has given every pair of the table.
  wide_ = MakeBlendKernel(weight);
  if (wide_.usable) {
    std::vector<uint32_t> dest(256 * 256), source(256 * 256);
    for (uint32_t a = 0; a < 256; ++a)
      for (uint32_t b = 0; b < 256; ++b) {
        dest[a * 256 + b] = a * 0x010101u;
        source[a * 256 + b] = b * 0x010101u;
      }
    BlendRowWide(wide_, dest.data(), source.data(), 256 * 256);
    for (size_t i = 0; i < dest.size() && wide_.usable; ++i) wide_.usable = dest[i] == table_[i] * 0x010101u;
  }
}

// The work bitmap holds no pixels of its own: each destination row is
// blended in place from its source row, so any width works, whatever its
// size in bytes.
void WorkDib::DibBlend(Surface& dst, int dx, int dy, int width, int height, const Surface& src, int sx, int sy,
                       float weight) {
  if (!(weight >= 0.0f && weight <= 1.0f)) return;
  if (!active_ || width != width_ || height != height_ || width <= 0 || height <= 0) return;
  int w = width, h = height;
  if (!ClipToBoth(dx, dy, w, h, sx, sy, dst, src)) return;
  PrepareTable(weight);
  const uint32_t* from = src.pixels.data() + static_cast<size_t>(sy) * src.width + sx;
  size_t fromStride = static_cast<size_t>(src.width);
  if (&src == &dst) {
    sourceRows_.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      std::copy_n(from + static_cast<size_t>(y) * fromStride, w, sourceRows_.data() + static_cast<size_t>(y) * w);
    from = sourceRows_.data();
    fromStride = static_cast<size_t>(w);
  }
  uint32_t* to = dst.pixels.data() + static_cast<size_t>(dy) * dst.width + dx;
  for (int y = 0; y < h; ++y) {
    uint32_t* row = to + static_cast<size_t>(y) * dst.width;
    const uint32_t* source = from + static_cast<size_t>(y) * fromStride;
    const int done = BlendRowWide(wide_, row, source, w);
    BlendRow(table_.data(), row + done, source + done, w - done);
  }
}

void BlendRect(WorkDib& dib, Surface& dst, int dx, int dy, int width, int height, const Surface& src, int sx, int sy,
               float weight) {
  dib.DibCreate(width, height);
  dib.DibBlend(dst, dx, dy, width, height, src, sx, sy, weight);
  dib.DibRelease();
}

int GetPixelGrid(const Surface& s, PixelGrid& grid) {
  std::vector<uint32_t> flat;
  if (GetPixels(s, flat) < 0) return -1;
  const int w = s.width, h = s.height;
  grid.assign(static_cast<size_t>(w) + 1, std::vector<uint32_t>(static_cast<size_t>(h) + 1, 0));
  for (int r = 0; r < h; ++r)
    for (int c = 0; c <= w; ++c) grid[static_cast<size_t>(w - c)][static_cast<size_t>(h - r)] = flat[static_cast<size_t>(w) * r + c];
  return 0;
}

int SetPixelGrid(Surface& s, const PixelGrid& grid) {
  const int w = s.width, h = s.height;
  // A grid too small for the picture writes nothing, but the surface is
  // presented all the same, as a failed SetPixels does.
  bool fits = grid.size() >= static_cast<size_t>(w) + 1;
  for (const auto& col : grid) fits = fits && col.size() >= static_cast<size_t>(h) + 1;
  if (!fits) {
    s.Refresh();
    return -1;
  }
  std::vector<uint32_t> flat(static_cast<size_t>(w) * h + 1, 0);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c <= w; ++c) flat[static_cast<size_t>(w) * r + c] = grid[static_cast<size_t>(w - c)][static_cast<size_t>(h - r)];
  return SetPixels(s, flat);
}

}  // namespace mirel
