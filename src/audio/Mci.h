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

 private:
  AudioBackend& backend_;
  PlayState& ps_;
  Clock& clock_;
  std::function<void()> doEvents_;
  std::string songPath_;
  bool mixerOpen_ = false;
  bool controlFound_ = false;
};

}  // namespace mirel
