#pragma once
// An audio back end made on its first use instead of at start: loading a
// soundfont and opening the device take long enough to hold back the first
// picture, and the first use comes after the window is shown.
#include <functional>
#include <memory>
#include <string>

#include "platform/AudioBackend.h"

namespace mirel {

class DeferredAudio final : public AudioBackend {
 public:
  // `open` makes the real back end; `plan` describes it until then.
  DeferredAudio(std::function<std::unique_ptr<AudioBackend>()> open, std::string plan)
      : open_(std::move(open)), plan_(std::move(plan)) {}
  uint32_t SendString(const std::string& command, std::string* result) override {
    return Get().SendString(command, result);
  }
  bool PlaySound(const Bytes& wave, uint32_t flags) override { return Get().PlaySound(wave, flags); }
  bool MixerOpen() override { return Get().MixerOpen(); }
  bool GetVolume(uint32_t& value) override { return Get().GetVolume(value); }
  bool SetVolume(uint32_t value) override { return Get().SetVolume(value); }
  // Kept until the back end is made: setting them must not open it early.
  void SetPlayerGains(float music, float effects) override {
    music_ = music;
    effects_ = effects;
    if (backend_) backend_->SetPlayerGains(music, effects);
  }
  std::string Describe() override { return backend_ ? backend_->Describe() : plan_; }
  bool Opened() const { return backend_ != nullptr; }

 private:
  AudioBackend& Get() {
    if (!backend_) {
      backend_ = open_();
      backend_->SetPlayerGains(music_, effects_);
    }
    return *backend_;
  }
  std::function<std::unique_ptr<AudioBackend>()> open_;
  std::string plan_;
  std::unique_ptr<AudioBackend> backend_;
  float music_ = 1, effects_ = 1;  // a back end's own starting gains
};

}  // namespace mirel
