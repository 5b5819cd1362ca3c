#pragma once
// The player's reading settings: kept between runs by the player settings,
// never part of a saved game.
#include <cstdint>

namespace mirel {

struct ReadingSettings {
  // Auto mode waits this long after a message has been shown in full...
  uint32_t autoBaseMs = 1500;
  // ...plus this much for every character of it.
  uint32_t autoPerCharMs = 50;
  // Holding Ctrl runs through text not yet read as well.
  bool fastForwardUnread = false;
  // Every new message goes to the clipboard (for a dictionary beside the game).
  bool copyEveryMessage = false;
  // Closing the window in the story keeps the position as the quick save.
  bool resumeOnClose = true;

  bool operator==(const ReadingSettings&) const = default;
};

}  // namespace mirel
