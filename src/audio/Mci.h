#pragma once
// The MCI module: the one MIDI song, the wave sounds and the master volume,
// through the command texts of the platform's audio back end.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/AudioBackend.h"
#include "platform/Clock.h"
#include "scenario/PlayState.h"

namespace mirel {

class Mci {
 public:
  // doEvents lets pending window events run (used by the fades).
  Mci(AudioBackend& backend, PlayState& ps, Clock& clock, std::function<void()> doEvents);

  void PlayMidi(const std::string& path);
  void StopMidi();
  void RestartMidi();
  std::string MidiStatus();
  void PlaySe(int32_t id);
  bool OpenMixer();
  // componentType 4: the speakers' destination line.
  bool GetVolumeControl(uint32_t componentType);
  bool GetVolume(uint32_t& value);
  bool SetVolume(uint32_t value);
  void FadeOut(uint32_t start);
  void FadeIn(uint32_t end);

  const std::string& CurrentSongPath() const { return songPath_; }
  // A song is open under the alias (even one that would not play).
  bool SongOpen() const { return aliasOpen_; }
  // A fade-out has left the volume down and nothing has set it back since:
  // the level now is not the player's volume.
  bool FadedOut() const { return fadedOut_; }
  // What the song control holds, to be put back as it was.
  struct SongState {
    std::string path;
    bool open = false, fadedOut = false;
  };
  SongState Song() const { return {songPath_, aliasOpen_, fadedOut_}; }
  void SetSong(const SongState& s) {
    songPath_ = s.path;
    aliasOpen_ = s.open;
    fadedOut_ = s.fadedOut;
  }
  // Where the reasons for switching music off go (stderr by default).
  std::function<void(const std::string&)> log;

 private:
  bool SetLevel(uint32_t value);
  void WaitStep(uint32_t since);

  AudioBackend& backend_;
  PlayState& ps_;
  Clock& clock_;
  std::function<void()> doEvents_;
  std::string songPath_;
  Bytes asyncWave_;  // kept while the back end may still be playing it
  bool mixerOpen_ = false;
  bool controlFound_ = false;
  bool aliasOpen_ = false;
  bool fadedOut_ = false;
};

}  // namespace mirel
