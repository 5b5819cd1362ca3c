#pragma once
// Sound for runs on the virtual clock: nothing is rendered, but songs play
// for their real length, synchronous sounds take theirs and the volume is
// kept, so loops, fades and waits behave as with a sound card.
#include <cstdint>
#include <string>

#include "audio/SongDevice.h"
#include "platform/AudioBackend.h"
#include "platform/Clock.h"

namespace mirel {

class VirtualAudio final : public AudioBackend, private SongDevice {
 public:
  explicit VirtualAudio(Clock& clock) : clock_(clock) {}
  uint32_t SendString(const std::string& command, std::string* result) override;
  bool PlaySound(const Bytes& wave, uint32_t flags) override;
  bool MixerOpen() override { return true; }
  bool GetVolume(uint32_t& value) override {
    value = volume_;
    return true;
  }
  bool SetVolume(uint32_t value) override {
    volume_ = value > 65535 ? 65535 : value;
    return true;
  }
  std::string Describe() override { return "virtual output (headless run): nothing is rendered"; }

  // For tests: the song's length, whether a sound is sounding now.
  uint32_t SongMs() const { return songMs_; }
  bool SoundPlaying();

 private:
  void OnSongOpened(Bytes bytes, uint32_t ms) override;
  bool OnSongStart() override;
  void OnSongStop() override {}
  void OnSongClose() override {}
  bool SongPlaying() override;

  Clock& clock_;
  uint32_t volume_ = 65535;
  uint32_t songMs_ = 0, playStart_ = 0;
  uint32_t soundMs_ = 0, soundStart_ = 0;
};

}  // namespace mirel
