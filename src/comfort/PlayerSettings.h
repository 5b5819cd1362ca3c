#pragma once
// The player's own settings: how the picture is shown, how loud things
// are, the window. They belong to the player and the machine, never to a
// saved game or the data folder.
#include <string>

#include "comfort/ReadingSettings.h"
#include "comfort/Scaling.h"
#include "comfort/SpeechSettings.h"
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
  // The game speaking for itself.
  SpeechSettings speech;

  bool operator==(const PlayerSettings&) const = default;
};

constexpr int kMaxZoom = 4;
// Auto mode's waits are kept up to a minute.
constexpr int kMaxAutoMs = 60000;

SettingsValues ToValues(const PlayerSettings& s);
// Values missing from the store keep their defaults, and so does a value
// that cannot be read, named in `problem` (a line for the log each, with
// the file, the key and the value). A store that cannot be read at all
// gives the defaults and a line.
PlayerSettings LoadPlayerSettings(SettingsStore& store, std::string& problem);
// Writes every setting. False with the reason in `problem` when the store
// refuses.
bool SavePlayerSettings(SettingsStore& store, const PlayerSettings& s, std::string& problem);

// The settings file as the player left it, hand-written or not: what is
// written back is that file with only what changed during the run put in,
// so keys it did not name stay unnamed, unknown and unreadable ones stay as
// they were, and a file that could not be read is left alone.
class PlayerSettingsFile {
 public:
  PlayerSettings Load(SettingsStore& store, std::string& problem);
  // Writes nothing when nothing changed since the load or the last save.
  bool Save(SettingsStore& store, const PlayerSettings& s, std::string& problem);

 private:
  SettingsValues stored_;
  PlayerSettings saved_;
  bool readable_ = true;
};

}  // namespace mirel
