#include "gfx/Gdi.h"

#include <algorithm>
#include <cmath>

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

void MakeMask(Surface& dst, Surface& src, int x, int y, int w, int h) {
  MonoBitmap mono;
  src.BackColor = kBlack;
  CopyToMono(mono, src, x, y, w, h);
  CopyFromMono(dst, 0, 0, mono);
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
  bufA_.assign(static_cast<size_t>(width_) * height_ * 3, 0);
  bufB_.assign(bufA_.size(), 0);
  active_ = true;
}

namespace {

// Reads a region into blue, green, red triples; pixels outside the surface
// read as black, as an off-bitmap source does.
void ReadTriples(const Surface& s, int x0, int y0, int w, int h, std::vector<uint8_t>& buf) {
  size_t i = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x, i += 3) {
      uint32_t p = s.Contains(x0 + x, y0 + y) ? s.At(x0 + x, y0 + y) : 0;
      buf[i] = static_cast<uint8_t>(p);
      buf[i + 1] = static_cast<uint8_t>(p >> 8);
      buf[i + 2] = static_cast<uint8_t>(p >> 16);
    }
}

}  // namespace

// Every row is handled on its own, so widths whose bytes are not a multiple
// of 4 blend as exactly as the others and nothing is read past a row.
void WorkDib::DibBlend(Surface& dst, int dx, int dy, int width, int height, const Surface& src, int sx, int sy,
                       float weight) {
  if (!(weight >= 0.0f && weight <= 1.0f)) return;
  if (!active_ || width != width_ || height != height_ || width <= 0 || height <= 0) return;
  ReadTriples(dst, dx, dy, width, height, bufA_);
  ReadTriples(src, sx, sy, width, height, bufB_);
  const float w1 = weight;
  const float w0 = 1.0f - weight;
  for (size_t i = 0; i < bufA_.size(); ++i) {
    double v = static_cast<double>(bufB_[i]) * static_cast<double>(w1) + static_cast<double>(bufA_[i]) * static_cast<double>(w0);
    bufA_[i] = static_cast<uint8_t>(std::nearbyint(v));
  }
  size_t i = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x, i += 3)
      if (dst.Contains(dx + x, dy + y))
        dst.At(dx + x, dy + y) = Rgb(bufA_[i + 2], bufA_[i + 1], bufA_[i]);
}

void WorkDib::DibRelease() {
  active_ = false;
  bufA_.clear();
  bufB_.clear();
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
  if (grid.size() < static_cast<size_t>(w) + 1) return -1;
  for (const auto& col : grid)
    if (col.size() < static_cast<size_t>(h) + 1) return -1;
  std::vector<uint32_t> flat(static_cast<size_t>(w) * h + 1, 0);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c <= w; ++c) flat[static_cast<size_t>(w) * r + c] = grid[static_cast<size_t>(w - c)][static_cast<size_t>(h - r)];
  return SetPixels(s, flat);
}

}  // namespace mirel
