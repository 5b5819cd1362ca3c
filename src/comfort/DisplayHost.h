#pragma once
// What the player's display comforts need of the desktop: the picture's
// scaling and the window's zoom, the settings dialog, screenshots and a
// brief note to the player.
#include <functional>
#include <string>

#include "comfort/PlayerSettings.h"

namespace mirel {

class DisplayHost {
 public:
  virtual ~DisplayHost() = default;
  // Scaling, filtering and the window's zoom as the settings say.
  virtual void ApplyDisplay(const PlayerSettings& s) = 0;
  // Shows the settings dialog and returns when it closes; `changed` hears
  // every edit as it is made; F11 and Alt+Enter in the dialog call
  // `switchFullScreen`, as they do everywhere else.
  virtual void EditSettings(const PlayerSettings& s, const std::function<void(const PlayerSettings&)>& changed,
                            const std::function<void()>& switchFullScreen) = 0;
  // The folder screenshots go to, ending with a separator, created; empty
  // when there is none.
  virtual std::string PicturesFolder() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Writes the 640x480 picture as presented now, as PNG.
  virtual bool SaveScreenshot(const std::string& path, std::string& problem) = 0;
  // A line for the player, shown briefly (the window's caption).
  virtual void Note(const std::string& text) = 0;
  // False where there is no window on a desktop, so no place worth keeping.
  virtual bool OnDesktop() const { return true; }
};

}  // namespace mirel
