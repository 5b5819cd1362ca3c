#pragma once
// The player's volume: music and effects sliders and mute, applied in our
// mixer beneath the game's own master volume and fades.
#include "comfort/PlayerSettings.h"

namespace mirel {

struct PlayerGains {
  float music = 1.0f, effects = 1.0f;
  bool operator==(const PlayerGains&) const = default;
};

// `focused`: the window has the keyboard focus.
PlayerGains GainsFor(const PlayerSettings& s, bool focused);

}  // namespace mirel
