#pragma once
// No sound at all: the mixer does not open, so music and sound effects are
// switched off as when a machine has no audio device.
#include "platform/AudioBackend.h"

namespace mirel {

class NullAudio final : public AudioBackend {
 public:
  explicit NullAudio(std::string why = "no audio output") : why_(std::move(why)) {}
  uint32_t SendString(const std::string&, std::string* result) override {
    if (result) result->clear();
    return 263;  // invalid device
  }
  bool PlaySound(const Bytes&, uint32_t) override { return false; }
  bool MixerOpen() override { return false; }
  bool GetVolume(uint32_t&) override { return false; }
  bool SetVolume(uint32_t) override { return false; }
  std::string Describe() override { return "sound off: " + why_; }

 private:
  std::string why_;
};

}  // namespace mirel
