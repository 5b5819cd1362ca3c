#pragma once
// Turning a picture held as a pixel grid (the layout of GetPixelGrid) about
// its centre, for the tilted photos of the ending.
#include "gfx/Gdi.h"

namespace mirel::extras {

// Fills dst (a dw x dh picture, grid indices 0..dw and 0..dh) with src (sw x
// sh) turned by `degrees` about the centres of both pictures, scale 1: every
// destination pixel takes the source pixel at the inversely turned position,
// rounded to the nearest pixel. A positive angle turns the picture
// anticlockwise on screen. Positions that fall outside the source picture
// are black; nothing outside the source's pixels is ever read, neither
// beyond its edges nor its grid's unused index-0 row and column.
void RotateGrid(const PixelGrid& src, int sw, int sh, PixelGrid& dst, int dw, int dh, double degrees);

}  // namespace mirel::extras
