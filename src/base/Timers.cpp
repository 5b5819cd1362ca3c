#include "base/Timers.h"

namespace mirel {

int Timers::Add(std::string name, uint32_t intervalMs, std::function<void()> onTick) {
  timers_.push_back(Timer{std::move(name), intervalMs, std::move(onTick)});
  return static_cast<int>(timers_.size()) - 1;
}

void Timers::SetEnabled(int id, bool enabled) {
  Timer& t = timers_.at(static_cast<size_t>(id));
  if (enabled && !t.enabled) t.last = clock_.GetTickCount();
  t.enabled = enabled;
}

bool Timers::Enabled(int id) const { return timers_.at(static_cast<size_t>(id)).enabled; }

void Timers::Poll() {
  for (size_t i = 0; i < timers_.size(); ++i) {
    Timer& t = timers_[i];
    if (!t.enabled) continue;
    uint32_t now = clock_.GetTickCount();
    uint32_t elapsed = TicksSince(t.last, now);
    if (t.interval > 0 && elapsed >= t.interval) {
      // Keep the cadence of the interval; ticks missed while busy are dropped.
      t.last += elapsed - elapsed % t.interval;
      t.onTick();  // may disable timers; indices stay valid
    }
  }
}

}  // namespace mirel
