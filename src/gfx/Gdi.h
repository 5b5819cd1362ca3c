#pragma once
// The GDI module: masks, raw pixel access, blends through one shared work
// bitmap, pixel grids, and colour <-> monochrome copies.
#include <cstdint>
#include <vector>

#include "gfx/BlendKernel.h"

#include "gfx/Surface.h"

namespace mirel {

// A 1-bit picture: 1 = white, 0 = black.
struct MonoBitmap {
  int width = 0, height = 0;
  std::vector<uint8_t> bits;  // one byte per pixel, 0 or 1
};

// Colour to monochrome: pixels equal to the source's background colour
// become 1, all others 0.
void CopyToMono(MonoBitmap& dst, const Surface& src, int x, int y, int w, int h);
// Monochrome to colour: 1 takes the destination's background colour, 0 its
// foreground colour.
void CopyFromMono(Surface& dst, int dx, int dy, const MonoBitmap& src);

// Writes into dst at (0, 0) the mask of the source region: white where the
// source is black, black elsewhere (with dst's white background and black
// foreground). Leaves the source's background colour black.
void MakeMask(Surface& dst, Surface& src, int x, int y, int w, int h);

// Pixel arrays: one 0x00RRGGBB element per pixel, rows bottom-up, sized
// w*h + 1 (the last element spare). GetPixels returns w*h or -1.
int GetPixels(const Surface& s, std::vector<uint32_t>& px);
// Writes an array laid out for the surface's size and presents the surface.
// 0, or -1 when the array does not fit the surface.
int SetPixels(Surface& s, const std::vector<uint32_t>& px);

// The shared work bitmap of blends. One at a time; an animation creates it
// once and blends every frame through it.
class WorkDib {
 public:
  void DibCreate(int width, int height);
  // dst region = weight x src region + (1 - weight) x dst region, rounded
  // half to even per channel. A weight outside 0..1 draws nothing; the
  // region must be the size the work bitmap was created with. Pixels whose
  // source or destination lies off its surface keep the destination.
  void DibBlend(Surface& dst, int dx, int dy, int width, int height, const Surface& src, int sx, int sy, float weight);
  void DibRelease();
  bool Active() const { return active_; }

 private:
  void PrepareTable(float weight);

  bool active_ = false;
  int width_ = 0, height_ = 0;
  // The source region, read first when it lies on the destination's surface.
  std::vector<uint32_t> sourceRows_;
  // The blended byte of every pair of channel values for one weight,
  // indexed destination << 8 | source. Animations and the message window
  // blend with the same weight again and again, so it outlives the work
  // bitmap and is rebuilt only when the weight changes.
  std::vector<uint8_t> table_;
  uint32_t tableWeight_ = 0;  // the float's bits
  // The same blend in whole numbers, eight pixels at a time, where it
  // gives the table's bytes for every pair.
  BlendKernel wide_;
};

void BlendRect(WorkDib& dib, Surface& dst, int dx, int dy, int width, int height, const Surface& src, int sx, int sy,
               float weight);

// Pixel grid of a w x h picture: grid[i][j], i = 0..w, j = 0..h. Element
// (i, j) with i, j >= 1 holds the screen pixel (w - i, j - 1).
using PixelGrid = std::vector<std::vector<uint32_t>>;
int GetPixelGrid(const Surface& s, PixelGrid& grid);
int SetPixelGrid(Surface& s, const PixelGrid& grid);

}  // namespace mirel
