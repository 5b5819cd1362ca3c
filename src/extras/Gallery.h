#pragma once
// The gallery grid's geometry and colours, and what the main window keeps
// of the open gallery.
#include <array>
#include <cstdint>

#include "base/Text.h"
#include "gfx/Surface.h"

namespace mirel::extras {

constexpr int kThumbWidth = 96, kThumbHeight = 72;
constexpr int kGridLeft = 40, kGridTop = 130;
constexpr int kGridStepX = 116, kGridStepY = 97;
// Frames stand one pixel off the thumbnail: the outline touches nothing of
// the picture.
constexpr int kFrameMargin = 1;
constexpr uint32_t kFrameHover = Rgb(235, 65, 95);
// Also the colour of a frame the mouse has not reached yet.
constexpr uint32_t kFrameLeft = Rgb(128, 0, 0);
constexpr uint32_t kScrollStepMs = 50;

// Entry n (1 to 15): its place on the screen and its cell in the sheets.
struct GalleryCell {
  int x, y;
  int sheetX, sheetY;
};
GalleryCell CellOf(int n);

}  // namespace mirel::extras

namespace mirel {

// The gallery as the main window shows it (extras/Gallery.cpp).
struct GalleryState {
  bool GalleryOpen = false;
  int16_t GalleryCurrent = 0;
  bool SecondView = false;
  std::array<Text, 18> GalleryPictures;
};

}  // namespace mirel
