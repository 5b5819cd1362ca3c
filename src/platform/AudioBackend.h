#pragma once
// The engine's stand-in for the multimedia interfaces: an MCI-like command
// string interface for the one MIDI song, a wave player for sounds held in
// memory, and a master volume of 0 to 65535 that only this program uses.
#include <cstdint>
#include <string>

#include "base/Files.h"

namespace mirel {

// PlaySound flags, as the caller passes them.
constexpr uint32_t kSndSync = 0x0000;
constexpr uint32_t kSndAsync = 0x0001;
constexpr uint32_t kSndMemory = 0x0004;

class AudioBackend {
 public:
  virtual ~AudioBackend() = default;
  // Understands "open \"PATH\" type sequencer alias midifile",
  // "play midifile from 0", "stop midifile ", "close midifile" and
  // "status midifile mode". 0 on success, an error number otherwise.
  // For status queries the mode ("playing", "stopped") goes into *result.
  virtual uint32_t SendString(const std::string& command, std::string* result) = 0;
  // `wave` is a whole RIFF file. Synchronous sounds return when they have
  // finished (timed by the program's clock); asynchronous ones replace the
  // sound playing. The bytes must stay valid while the sound plays.
  virtual bool PlaySound(const Bytes& wave, uint32_t flags) = 0;
  virtual bool MixerOpen() = 0;
  virtual bool GetVolume(uint32_t& value) = 0;
  virtual bool SetVolume(uint32_t value) = 0;
  // The player's own music and effects levels (0 to 1), beneath the master
  // volume. Back ends that render nothing ignore them.
  virtual void SetPlayerGains(float music, float effects) {
    (void)music;
    (void)effects;
  }
  // One line for the environment log: back end, device, soundfont, or why
  // sound is off.
  virtual std::string Describe() = 0;
};

}  // namespace mirel
