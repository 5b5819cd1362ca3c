#pragma once
// Picture surfaces: the engine's stand-in for the toolkit's picture boxes
// with a persistent image, and the raster operations between them.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/FontRaster.h"
#include "platform/Image.h"

namespace mirel {

constexpr uint32_t Rgb(int r, int g, int b) {
  return (static_cast<uint32_t>(r & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
         static_cast<uint32_t>(b & 0xFF);
}
constexpr int RedOf(uint32_t c) { return (c >> 16) & 0xFF; }
constexpr int GreenOf(uint32_t c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(uint32_t c) { return c & 0xFF; }
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

enum class Rop : uint32_t {
  SrcCopy = 0x00CC0020,    // S
  SrcAnd = 0x008800C6,     // S AND D
  SrcInvert = 0x00660046,  // S XOR D
};

struct Surface;

// Told when a shown surface presents its image.
class RefreshSink {
 public:
  virtual ~RefreshSink() = default;
  virtual void Refreshed(const Surface& s) = 0;
};

enum class SurfaceKind { Picture, Label, Shape };

// How a control looks, apart from its picture and its place among the
// others: what going back through the story keeps of it, all in one.
struct SurfaceLook {
  SurfaceKind kind = SurfaceKind::Picture;
  int left = 0, top = 0;       // in the parent's coordinates
  int width = 0, height = 0;   // the control's size; the image has this size
  uint32_t BackColor = kWhite;
  uint32_t ForeColor = kBlack;   // text colour (SetTextColor / ForeColor)
  Font font;
  bool Visible = false;
  bool Enabled = true;
  int zOrder = 0;                // larger is in front
  // Labels: caption drawn with font and ForeColor on a transparent background.
  Text Caption;
  // Shapes: a rectangle outline.
  uint32_t BorderColor = kBlack;
  int BorderWidth = 1;
};

struct Surface : SurfaceLook {
  std::string name;
  std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB
  Surface* parent = nullptr;     // labels and children of pictures
  RefreshSink* sink = nullptr;
  long refreshCount = 0;

  uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  // New size; the part of the old image that still fits is kept, the rest
  // takes the background colour.
  void Resize(int w, int h);
  void Move(int l, int t) { left = l; top = t; }
  void Move(int l, int t, int w, int h) { left = l; top = t; Resize(w, h); }
  // Clears the whole image to the background colour.
  void Cls();
  // The surface takes the picture's size and pixels.
  void SetPicture(const Image& img);
  Image ToImage() const;
  // Presents the image (counted; the sink paints it when shown).
  void Refresh();
  // Screen position of the surface's top-left corner.
  int ScreenLeft() const { return left + (parent ? parent->ScreenLeft() : 0); }
  int ScreenTop() const { return top + (parent ? parent->ScreenTop() : 0); }
  // Shown on screen: itself and every parent visible.
  bool Shown() const { return Visible && (!parent || parent->Shown()); }
};

// Raster operation from (sx, sy) of src to (dx, dy) of dst, w x h, clipped
// to both surfaces: pixels whose source or destination lies outside stay
// untouched. Source and destination may be the same surface.
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, Rop rop);
// Scales the source rectangle onto the destination rectangle, nearest pixel.
void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                Rop rop);
// Filled box with corners (x1, y1) and (x2, y2), the far edges exclusive,
// clipped to the surface.
void FillBox(Surface& s, int x1, int y1, int x2, int y2, uint32_t rgb);
// Unfilled rectangle outline one pixel wide, corners as FillBox.
void FrameBox(Surface& s, int x1, int y1, int x2, int y2, uint32_t rgb);
// Text at (x, y) in the surface's font and ForeColor, background transparent.
void TextOut(FontRasterizer& fonts, Surface& s, int x, int y, TextView text);

}  // namespace mirel
