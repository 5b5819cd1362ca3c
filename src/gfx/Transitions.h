#pragma once
// The drawing of single frames of the background transitions, apart from
// the main window so that a frame can be drawn (and measured) on its own.
// "Copy" always means: the rectangle of the new picture to the same place
// on the screen, clipped to both surfaces.
#include <cstdint>
#include <vector>

#include "gfx/Surface.h"

namespace mirel::effects {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// Dither thresholds of the mesh pattern: at mesh frame k the new picture
// shows wherever kMeshThreshold[y % 8][x % 8] <= k.
extern const uint8_t kMeshThreshold[8][8];

// The 320 x 64 black and white mesh strip: ten 32 x 32 frames side by side,
// the keep-old masks on top and their complements, the show-new masks, below.
void BuildMeshPattern(Surface& mesh1);

inline void CopyRect(Surface& screen, const Surface& next, int x, int y, int w, int h) {
  BitBlt(screen, x, y, w, h, next, x, y, Rop::SrcCopy);
}

// "DI", i = 0..49: one column in every 50-pixel band.
void DissolveColumns(Surface& screen, const Surface& next, int i);
// "VB", i = 0, 2, ..., 320: two column pairs sweeping in from both edges.
void VerticalBlinds(Surface& screen, const Surface& next, int i);
// "HB", i = 0, 2, ..., 240: the same on rows.
void HorizontalBlinds(Surface& screen, const Surface& next, int i);
// "HC", s = 0, 15, ..., 630: the soft-edged wipe.
void CurtainWipe(Surface& screen, const Surface& next, int s);
// "BC", n = 2, 4, ..., 20: squares of side n in every 20 x 20 cell.
void GrowingBoxes(Surface& screen, const Surface& next, int n);
// "IC", phase 1 or 2: two of the four 2 x 2 blocks of every 4 x 4 cell.
void CheckerPhase(Surface& screen, const Surface& next, int phase);

// One mesh dissolve frame k (0..9) over the screen in 32 x 32 cells, the
// new picture's cell taken from next (x, nextTop + y). scratch must be
// 32 x 32. Where a cell reaches past the new picture the screen keeps its
// old pixels, instead of whatever the scratch cell held before.
void MeshFrame(Surface& screen, const Surface& next, int nextTop, Surface& scratch, const Surface& mesh1, int k);

// Nearest integer, ties to even, in double precision.
double RoundEven(double v);

// The colour codes, over elements 0..count of a pixel array (so the spare
// last element too); a count of -1 (failed read) touches nothing.
void Darken(std::vector<uint32_t>& px, int count);             // "DK"
void Sepia(std::vector<uint32_t>& px, int count);              // "SP"
void Grey(std::vector<uint32_t>& px, int count);               // "MC"
void WarmFade(std::vector<uint32_t>& px, int count, double f); // "SO"
void GreyFade(std::vector<uint32_t>& px, int count, double f); // "MO", "MI"

}  // namespace mirel::effects

namespace mirel {

// The work buffer the main window's transitions draw through
// (gfx/Transitions.cpp).
struct TransitionsState {
  std::vector<uint32_t> PixelBuf;
  int PixelCount = 0;
};

}  // namespace mirel
