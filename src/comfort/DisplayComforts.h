#pragma once
// The player's display and sound comforts beside the game: full screen from
// any screen, window zoom, screenshots, volume and mute, the gamepad and
// the player settings dialog. It sees every input event first and takes
// only its own keys; the game's screens, menus and files stay as they are.
//
//   Alt+Enter, F11   full screen on and off (as Esc does during play)
//   Ctrl+1 .. Ctrl+4 window zoom
//   Ctrl+M           mute
//   F12, Print       screenshot
//   F1               player settings
#include <string>

#include "comfort/GameView.h"
#include "comfort/GamepadMapper.h"
#include "comfort/DisplayHost.h"
#include "comfort/PlayerSettings.h"
#include "comfort/ReadingSettings.h"
#include "comfort/Volume.h"
#include "platform/Events.h"
#include "platform/Platform.h"

namespace mirel {

class DisplayComforts {
 public:
  // Reads the settings from the platform's store (defaults without one)
  // and hands their reading part to the reading comforts' `reading`.
  DisplayComforts(GameView& game, Platform& sys, ReadingSettings& reading);
  DisplayComforts(const DisplayComforts&) = delete;
  DisplayComforts& operator=(const DisplayComforts&) = delete;

  PlayerSettings settings;
  // Why the stored settings were not used, for the log; empty when they were.
  const std::string& LoadProblem() const { return loadProblem_; }

  // True when the event was one of ours and is used up.
  bool Intercept(const InputEvent& e);
  // The window has been shown: zoom, place and full screen as last left.
  void Started();
  // Shutdown, before full screen is left: remembers the window.
  void Closing();
  PlayerGains Gains() const;
  // Music and effects lowered while the game speaks.
  void SetDucked(bool ducked);
  // Speaking was switched by its key: the setting is kept.
  void SpeechSwitched(const SpeechSettings& s);

 private:
  void Apply();
  void Save();
  void ToggleFullScreen();
  void TakeScreenshot();
  void OpenSettings();
  bool Ctrl(const InputEvent& e) const;

  GameView& game_;
  Platform& sys_;
  ReadingSettings& reading_;
  DisplayHost* host_;
  GamepadMapper pad_;
  bool focused_ = true;
  bool ducked_ = false;
  bool editing_ = false;
  PlayerSettingsFile file_;
  std::string loadProblem_;
};

}  // namespace mirel
