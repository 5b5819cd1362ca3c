#pragma once
// The ending's fixed places, periods and tables, and its state as it runs.
#include <array>
#include <cstdint>

namespace mirel::extras {

// The roll window and the strip it shows.
constexpr int kRollLeft = 400, kRollTop = 300, kRollWidth = 130, kRollHeight = 100;
constexpr int kStripLeft = 320;
// Strip rows shown at the top of the window while it rolls: 460 steps.
constexpr int16_t kRollStart = 150, kRollEnd = 610;
// Roll positions at which the next remembered photo is laid on the pile.
constexpr std::array<int16_t, 5> kPhotoRows{200, 285, 360, 430, 520};
// The pile of photos on the screen.
constexpr int kPileLeft = 50, kPileTop = 10;
// The " Thank you" plate, inside the roll window.
constexpr int kPanelWidth = 120, kPanelHeight = 50, kPanelLeft = 5, kPanelTop = 25;

constexpr int kBlendFrames = 20;
constexpr uint32_t kBlendMs = 80, kDarkenMs = 500, kTransparentRollMs = 85, kOpaqueRollMs = 90, kDissolveMs = 72;
constexpr int kDarkenSteps = 7, kDissolveFrames = 9;

// Side of the square a tilted photo is turned into, for a frame W wide.
constexpr int PhotoSide(int frameWidth) { return 3 * frameWidth / 2; }
// The photo pile's work surfaces (three times the frame, and squares of
// PhotoSide) stay within this many pixels each, or the frame is refused.
constexpr long long kMaxPhotoSurfacePixels = 16'000'000;
constexpr bool PhotoFrameFits(long long w, long long h) {
  const long long side = 3 * w / 2;
  return 9 * w * h <= kMaxPhotoSurfacePixels && side * side <= kMaxPhotoSurfacePixels;
}

// "22-1.mid", "03-1.mid" or "34-3.mid" for EndPoints 0, 1, 2 (and the plain
// ending's for any other value).
const char* EndingMusic(int16_t endPoints);
// The picture remembered in row 0..4 of ending 1 or 2; nullptr otherwise.
const char* RememberedPicture(int16_t endPoints, int row);

}  // namespace mirel::extras

namespace mirel {

// The ending as it runs (extras/Ending.cpp).
struct EndingState {
  int16_t RollPosition = 0;
  bool RollRunning = false;
  int16_t PhotoCounter = 0;
  std::array<int16_t, 5> TiltAngles{5, 350, 10, 30, 15};
  // Where the remembered photos land: the same every run, like the
  // toolkit's unseeded random numbers.
  uint32_t PhotoRandom = 1;
};

}  // namespace mirel
