#pragma once
// Window timers. Like the toolkit's timers they never interrupt: a due timer
// is only reported when events are pumped, at most once per pump.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace mirel {

class Timers {
 public:
  explicit Timers(Clock& clock) : clock_(clock) {}
  // Returns the timer's id. Timers start disabled.
  int Add(std::string name, uint32_t intervalMs, std::function<void()> onTick);
  void SetEnabled(int id, bool enabled);
  bool Enabled(int id) const;
  // Calls the handlers of every timer that has come due since its last tick.
  void Poll();

 private:
  struct Timer {
    std::string name;
    uint32_t interval;
    std::function<void()> onTick;
    bool enabled = false;
    uint32_t last = 0;
  };
  Clock& clock_;
  std::vector<Timer> timers_;
};

}  // namespace mirel
