#pragma once
// The one song device, "midifile", as a sound back end offers it: the order
// in which its commands are checked, their error codes, and whether a song
// is open and started. The back end says what opening, starting, stopping
// and closing do to its own sound.
#include <cstdint>
#include <string>

#include "base/Files.h"

namespace mirel {

class SongDevice {
 public:
  virtual ~SongDevice() = default;
  // An MCI command string; `result` (cleared first) gets a status's answer.
  uint32_t SongCommand(const std::string& command, std::string* result);

 protected:
  bool SongStarted() const { return playing_; }
  void SongEnded() { playing_ = false; }

 private:
  // A song file was opened: its bytes and its length.
  virtual void OnSongOpened(Bytes bytes, uint32_t ms) = 0;
  // False when the song cannot be played.
  virtual bool OnSongStart() = 0;
  virtual void OnSongStop() = 0;
  virtual void OnSongClose() = 0;
  // Whether the started song still plays.
  virtual bool SongPlaying() = 0;

  bool open_ = false, playing_ = false;
};

}  // namespace mirel
