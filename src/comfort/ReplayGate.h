#pragma once
// Stands between the game and the machine's clock and sound while a stretch
// of play is run again out of sight: closed, sleeping takes no time and no
// sound is heard, while the song the game believes is playing is followed.
// Opened again, the machine is brought to what the game believes, so the
// music that was playing at the point returned to plays on.
#include <cstdint>
#include <string>

#include "platform/AudioBackend.h"
#include "platform/Clock.h"

namespace mirel {

class ReplayGate final : public Clock, public AudioBackend {
 public:
  ReplayGate(AudioBackend& audio, Clock& clock) : audio_(audio), clock_(clock) {}

  void Close();
  void Open();
  bool Closed() const { return closed_; }

  // The song as the game last set it, for a point to go back to.
  struct Song {
    std::string open;  // the open command, empty when nothing is open
    bool playing = false;
    bool hasVolume = false;
    uint32_t volume = 0;
    friend bool operator==(const Song&, const Song&) = default;
  };
  const Song& Believed() const { return believed_; }
  void SetBelieved(const Song& s) { believed_ = s; }

  // Clock.
  uint32_t GetTickCount() override { return clock_.GetTickCount() + skipped_; }
  void Sleep(uint32_t ms) override;

  // AudioBackend.
  uint32_t SendString(const std::string& command, std::string* result) override;
  bool PlaySound(const Bytes& wave, uint32_t flags) override;
  bool MixerOpen() override { return audio_.MixerOpen(); }
  bool GetVolume(uint32_t& value) override;
  bool SetVolume(uint32_t value) override;
  void SetPlayerGains(float music, float effects) override { audio_.SetPlayerGains(music, effects); }
  std::string Describe() override { return audio_.Describe(); }

 private:
  static void Follow(Song& s, const std::string& command);

  AudioBackend& audio_;
  Clock& clock_;
  bool closed_ = false;
  // Time slept while closed: the clock never runs backwards for the game.
  uint32_t skipped_ = 0;
  Song believed_;  // what the game has asked for
  Song heard_;     // what the machine was last told
};

}  // namespace mirel
