#pragma once
// The player's own settings: how the picture is shown, how loud things
// are, the window. They belong to the player and the machine, never to a
// saved game or the data folder.
#include <string>

#include "comfort/ReadingSettings.h"
#include "comfort/Scaling.h"
#include "platform/SettingsStore.h"

namespace mirel {

struct PlayerSettings {
  ScaleMode scale = ScaleMode::Fit;
  ScaleFilter filter = ScaleFilter::Smooth;
  int zoom = 1;  // window zoom, 1 to 4
  int musicVolume = 100, effectsVolume = 100;  // 0 to 100
  bool muted = false;
  bool muteUnfocused = false;
  // The window as it was left.
  bool fullScreen = false;
  bool hasWindowPos = false;
  int windowX = 0, windowY = 0;
  // Auto mode's pace, fast-forward and copying, for the reading comforts.
  ReadingSettings reading;

  bool operator==(const PlayerSettings&) const = default;
};

constexpr int kMaxZoom = 4;
// Auto mode's waits are kept up to a minute.
constexpr int kMaxAutoMs = 60000;

SettingsValues ToValues(const PlayerSettings& s);
// Values missing from the store keep their defaults. A value that cannot be
// read, or a store that cannot be read at all, gives the defaults and a
// line for the log in `problem`.
PlayerSettings LoadPlayerSettings(SettingsStore& store, std::string& problem);
// False with the reason in `problem` when the store refuses.
bool SavePlayerSettings(SettingsStore& store, const PlayerSettings& s, std::string& problem);

}  // namespace mirel
