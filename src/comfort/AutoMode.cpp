#include "comfort/AutoMode.h"

#include "platform/Clock.h"

namespace mirel {

void AutoMode::Set(bool on, uint32_t now) {
  on_ = on;
  from_ = now;
}

void AutoMode::WaitBegins(uint32_t now, size_t chars, const ReadingSettings& s) {
  from_ = now;
  delay_ = s.autoBaseMs + s.autoPerCharMs * static_cast<uint32_t>(chars);
}

bool AutoMode::Due(uint32_t now) const { return on_ && TicksSince(from_, now) >= delay_; }

}  // namespace mirel
