#include "comfort/Volume.h"

namespace mirel {

PlayerGains GainsFor(const PlayerSettings& s, bool focused) {
  if (s.muted || (s.muteUnfocused && !focused)) return PlayerGains{0.0f, 0.0f};
  return PlayerGains{s.musicVolume / 100.0f, s.effectsVolume / 100.0f};
}

}  // namespace mirel
