#include "audio/Limiter.h"

#include <algorithm>
#include <cmath>

namespace mirel {

Limiter::Limiter(int rate, double releaseSeconds)
    : release_(static_cast<float>(1.0 - std::exp(-1.0 / (releaseSeconds * rate)))) {
  need_.fill(1.0f);
  released_.fill(1.0f);
}

void Limiter::Reset() {
  delayed_.fill(0.0f);
  need_.fill(1.0f);
  released_.fill(1.0f);
  sum_ = kLookahead;
  level_ = gain_ = 1;
  sinceCut_ = kLookahead;
}

// Each frame needs the gain that brings its louder side to the ceiling. The
// least of those over the look-ahead window, let back up slowly, is averaged
// over the window again: so the gain for a frame leaving the delay is never
// more than that frame needed, and it never jumps.
void Limiter::Process(float* s, int frames) {
  for (int i = 0; i < frames; ++i) {
    float l = s[2 * i], r = s[2 * i + 1];
    float peak = std::max(std::fabs(l), std::fabs(r));
    float need = peak > kCeiling ? kCeiling / peak : 1.0f;
    need_[at_] = need;
    if (need < 1.0f) sinceCut_ = 0;
    else if (sinceCut_ < kLookahead) ++sinceCut_;
    float least = 1.0f;
    if (sinceCut_ < kLookahead) least = *std::min_element(need_.begin(), need_.end());
    level_ = least < level_ ? least : level_ + (least - level_) * release_;
    sum_ += level_ - released_[at_];
    released_[at_] = level_;
    gain_ = std::min(1.0f, static_cast<float>(sum_ / kLookahead));

    delayed_[2 * at_] = l;
    delayed_[2 * at_ + 1] = r;
    at_ = (at_ + 1) % kLookahead;  // now the oldest frame: kLookahead - 1 back
    s[2 * i] = delayed_[2 * at_] * gain_;
    s[2 * i + 1] = delayed_[2 * at_ + 1] * gain_;
  }
}

}  // namespace mirel
