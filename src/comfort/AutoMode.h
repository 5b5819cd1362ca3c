#pragma once
// Auto mode: the story advances by itself once a message has been shown in
// full and the player has had time to read it.
#include <cstddef>
#include <cstdint>

#include "comfort/ReadingSettings.h"

namespace mirel {

class AutoMode {
 public:
  bool On() const { return on_; }
  // Switched on during a wait, the reading time counts from then.
  void Set(bool on, uint32_t now);
  // A wait for the player begins after a message of `chars` characters.
  void WaitBegins(uint32_t now, size_t chars, const ReadingSettings& s);
  // The reading time of the current wait is over.
  bool Due(uint32_t now) const;
  uint32_t DelayMs() const { return delay_; }

 private:
  bool on_ = false;
  uint32_t from_ = 0;
  uint32_t delay_ = 0;
};

}  // namespace mirel
