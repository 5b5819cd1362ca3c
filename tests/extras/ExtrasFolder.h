#pragma once
// A small data folder of plain bitmaps for the gallery and ending tests:
// every picture is one colour the test can recognise, the tall picture and
// the thumbnail sheets are coded by row and by cell.
#include <string>

#include "gfx/Surface.h"
#include "platform/Image.h"
#include "support/TestPlatform.h"

namespace mirel::test {

// Colour of the one-colour picture "pNN.dat".
constexpr uint32_t PictureColour(int nn) { return Rgb(nn, 100 + nn, 7); }
// Row y of the tall "p51.dat" (640 x 930).
constexpr uint32_t TallRowColour(int y) { return Rgb(51, 1 + (y >> 8), y & 0xFF); }
// Cell of entry n in the normal and the highlighted sheet.
constexpr uint32_t SheetColour(int n, bool highlighted) { return Rgb(10 + n, highlighted ? 160 : 60, 90); }
constexpr uint32_t GalleryBackground = Rgb(0, 0, 120);
constexpr uint32_t PhotoFrameColour = Rgb(250, 246, 236);
constexpr int kFrameW = 229, kFrameH = 196;

// The texture sheet's pixel at (x, y) as the tests paint it.
constexpr uint32_t TextureColour(int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 77); }

// Pictures p01, p02, p51..p67 and p92, both sheets, the photo frame and the
// three ending songs.
inline void MakeExtrasFolder(const TempDir& dir) {
  auto name = [](int nn) { return std::string("p") + (nn < 10 ? "0" : "") + std::to_string(nn) + ".dat"; };
  for (int nn : {1, 2}) WriteBmp(dir / name(nn), Plain(640, 480, PictureColour(nn)));
  WriteBmp(dir / "p92.dat", Plain(640, 480, GalleryBackground));
  for (int nn = 52; nn <= 67; ++nn) WriteBmp(dir / name(nn), Plain(640, 480, PictureColour(nn)));
  WriteBmp(dir / "p51.dat", Painted(640, 930, [](int, int y) { return TallRowColour(y); }));
  for (bool hl : {false, true})
    WriteBmp(dir / (hl ? "62.dat" : "63.dat"),
             Painted(480, 216, [hl](int x, int y) { return SheetColour(x / 96 + 5 * (y / 72) + 1, hl); }));
  WriteBmp(dir / "64.dat", Plain(kFrameW, kFrameH, PhotoFrameColour));
  for (const char* song : {"03-1.mid", "22-1.mid", "34-3.mid"}) WriteBytes(dir / song, "MThd");
}

inline void PaintTexture(Surface& texture) {
  texture.Resize(400, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 400; ++x) texture.At(x, y) = TextureColour(x, y);
}

}  // namespace mirel::test
