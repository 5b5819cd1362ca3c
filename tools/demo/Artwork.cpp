#include "demo/Artwork.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "demo/Characters.h"

namespace mirel::demo {
namespace {

struct Geometry {
  int w, h;
  double cx, cy, s;
};

// The face box whose place on the sprite fixes where the head is drawn.
FaceBox BoxFor(int key) {
  for (const FaceBox& b : FaceBoxes())
    if (b.key == key) return b;
  switch (key) {
    case 22: case 23: return {key, 115, 100, 145, 108, 0};
    case 32: return {key, 120, 100, 140, 120, 0};
    case 42: return {key, 125, 100, 140, 110, 0};
    case 26: case 27: return {key, 55, 80, 110, 80, 0};
    case 36: return {key, 95, 75, 105, 90, 0};
    case 46: return {key, 95, 75, 105, 85, 0};
    case 51: return {key, 130, 90, 135, 120, 0};
    case 55: return {key, 65, 75, 105, 85, 0};
  }
  throw std::runtime_error("no sprite " + std::to_string(key));
}

Geometry GeometryFor(int key) {
  FaceBox b = BoxFor(key);
  Geometry g;
  g.cx = b.x1 + b.w / 2.0;
  g.cy = b.y1 + b.h / 2.0;
  g.s = std::min(b.w / 2.9, b.h / 2.4);
  g.w = (static_cast<int>(std::ceil(2 * g.cx)) + 3) / 4 * 4;
  g.h = std::min(470, static_cast<int>(std::ceil(g.cy + 6.8 * g.s)));
  return g;
}

Canvas Render(int key, int expression) {
  Geometry g = GeometryFor(key);
  Canvas c(g.w, g.h);
  DrawPerson(c, StoryPerson(key / 10, key % 10), expression, g.cx, g.cy, g.s);
  return c;
}

// The message-window frame: a ring whose colour depends on the distance
// from the outer edge; the window shows only the outer four pixels.
Rgb FrameRing(int d) {
  switch (d) {
    case 0: return Hex(0x283868);
    case 1: return Hex(0xD8E0F8);
    case 2: return Hex(0xB0C0E8);
    case 3: return Hex(0x6078B8);
    default: return Hex(0x30406E);
  }
}
const Rgb kFill = Hex(0x121A44);

void Button(Canvas& c, int x, int y, int w, int h, std::string_view label, bool lit, bool pressed = false) {
  Rgb top = lit ? Hex(0xF8E0A0) : Hex(0x2A3A78), bottom = lit ? Hex(0xE0A050) : Hex(0x141C48);
  if (pressed) std::swap(top, bottom);
  c.Fill(Box(x, y, x + w, y + h), VGrad(y, top, y + h, bottom), x, y, x + w, y + h);
  Rgb edge = lit ? Hex(0xFFF8E0) : Hex(0xA8B8E8);
  c.FillBox(x, y, x + w, y + 1, edge);
  c.FillBox(x, y + h - 1, x + w, y + h, Scale(edge, 0.6));
  c.FillBox(x, y, x + 1, y + h, edge);
  c.FillBox(x + w - 1, y, x + w, y + h, Scale(edge, 0.6));
  double size = h * 0.42;
  double off = pressed ? 1 : 0;
  c.TextCentered(x + w / 2.0 + off, y + (h - size) / 2 + off - 1, size, label, lit ? Hex(0x402810) : Hex(0xF0F0FA),
                 0.13);
}

}  // namespace

const std::vector<FaceBox>& FaceBoxes() {
  static const std::vector<FaceBox> boxes = {
      {11, 130, 90, 135, 120, 0},   {12, 130, 90, 135, 120, 135},  {13, 130, 90, 135, 120, 270},
      {21, 115, 100, 145, 108, 405}, {31, 120, 100, 140, 120, 550}, {41, 125, 100, 140, 110, 690},
      {15, 65, 75, 105, 85, 830},    {17, 65, 75, 105, 85, 1040},   {25, 55, 80, 110, 80, 1145},
      {35, 95, 75, 105, 90, 1255},   {45, 95, 75, 105, 85, 1360},
  };
  return boxes;
}

Canvas SpritePicture(int key) { return Render(key, 1); }

Canvas FaceSheet() {
  int height = 0;
  for (const FaceBox& b : FaceBoxes()) height = std::max(height, b.h * kExpressions);
  Canvas sheet(kFaceSheetWidth, height);
  for (const FaceBox& b : FaceBoxes())
    for (int r = 1; r <= kExpressions; ++r) sheet.Paste(Render(b.key, r).Crop(b.x1, b.y1, b.w, b.h), b.column, (r - 1) * b.h);
  return sheet;
}

Canvas TextureAtlas() {
  Canvas c(352, 340);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      int d = std::min(std::min(x, y), std::min(47 - x, 47 - y));
      c.At(x, y) = d >= 8 ? kFill : FrameRing(d);
    }
  // Date tab: a rounded-top tab on black (black is see-through there).
  const int tx = 48, ty = 26;
  c.Fill(RoundBox(tx + 4, ty + 2, tx + 116, ty + 30, 7), Solid(Hex(0xA8B8E8)), tx, ty, tx + 120, ty + 22);
  c.Fill(RoundBox(tx + 6, ty + 4, tx + 114, ty + 30, 6), VGrad(ty + 4, Hex(0x34468A), ty + 22, Hex(0x1C2858)), tx, ty,
         tx + 120, ty + 22);
  c.FillEllipse(tx + 14, ty + 13, 3, 3, Hex(0xF8E0A0));
  // Gallery end button and its pressed face.
  Button(c, 3, 53, 95, 30, "BACK", false);
  Button(c, 3, 93, 95, 30, "BACK", true, true);
  const char* labels[] = {"START", "LOAD", "GALLERY", "EXIT"};
  for (int i = 0; i < 4; ++i) {
    Button(c, 4, 148 + 50 * i, 166, 38, labels[i], false);
    Button(c, 179, 148 + 50 * i, 166, 38, labels[i], true);
  }
  return c;
}

const std::vector<int>& GalleryEntries() {
  static const std::vector<int> entries = {51, 52, 53, 54, 56, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67};
  return entries;
}

Canvas ThumbnailSheet(bool highlighted, const std::function<const Canvas&(int)>& picture) {
  Canvas sheet(480, 216);
  for (size_t i = 0; i < GalleryEntries().size(); ++i) {
    const Canvas& pic = picture(GalleryEntries()[i]);
    // The tall picture is shown from its bottom screen first.
    Canvas screen = pic.h > 480 ? pic.Crop(0, pic.h - 480, 640, 480) : pic;
    Canvas t = screen.Resized(96, 72);
    if (highlighted) {
      for (auto& p : t.px) p = Mix(p, Hex(0xFFFFFF), 0.25);
      for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 96; ++x)
          if (x < 2 || y < 2 || x >= 94 || y >= 70) t.At(x, y) = Hex(0xF0C860);
    }
    sheet.Paste(t, static_cast<int>(i % 5) * 96, static_cast<int>(i / 5) * 72);
  }
  return sheet;
}

Canvas PhotoFrame() {
  Canvas c(229, 196, Hex(0xFAF6EC));
  for (int x = 0; x < c.w; ++x) c.At(x, 0) = c.At(x, c.h - 1) = Hex(0xC8C0B0);
  for (int y = 0; y < c.h; ++y) c.At(0, y) = c.At(c.w - 1, y) = Hex(0xC8C0B0);
  c.FillBox(8, 7, 8 + 213, 7 + 160, Hex(0xD8D4CC));
  c.FillEllipse(200, 181, 5, 5, Hex(0xE8A0A8));
  return c;
}

}  // namespace mirel::demo
