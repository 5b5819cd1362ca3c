#pragma once
// The master bus's peak limiter: whatever the music and the sounds add up
// to, the output stays below the ceiling and never flat-tops. It looks a
// little ahead, so the gain comes down smoothly before a peak instead of
// cutting it, and it recovers slowly afterwards. Quiet input passes
// untouched, only delayed by the look-ahead.
#include <array>

namespace mirel {

class Limiter {
 public:
  static constexpr float kCeiling = 0.85f;  // about -1.4 dBFS
  static constexpr int kLookahead = 64;     // frames: 1.5 ms at 44.1 kHz

  explicit Limiter(int rate, double releaseSeconds = 0.15);
  // Interleaved stereo, in place; the output lags the input by
  // kLookahead - 1 frames.
  void Process(float* stereo, int frames);
  // Drops what waits in the look-ahead and lets the gain back to 1: after a
  // stop, or the frames rendered before it would come out at the volume put
  // back after the fade.
  void Reset();
  // The gain given to the last frame put out: 1 when nothing is limited.
  float Gain() const { return gain_; }

 private:
  std::array<float, 2 * kLookahead> delayed_{};  // the input, a ring of frames
  std::array<float, kLookahead> need_;           // the gain each frame needs to stay below the ceiling
  std::array<float, kLookahead> released_;       // the gain after the release, to be averaged
  double sum_ = kLookahead;                      // of released_
  float release_;                                // share of the way back up per frame
  float level_ = 1, gain_ = 1;
  int at_ = 0;
  int sinceCut_ = kLookahead;  // frames since one needed less than 1
};

}  // namespace mirel
