#pragma once
// Sound on a real synthesizer: FluidSynth renders the MIDI song into our
// own mixer, which adds the wave voice and applies the master volume. The
// mix is pulled either by SDL2's audio device (from its own thread) or, with
// no device, rendered up to the program's clock on every call (tests).
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/Mixer.h"
#include "audio/SongDevice.h"
#include "platform/AudioBackend.h"
#include "platform/Clock.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace mirel {

class SynthAudio final : public AudioBackend, private MusicSource, private SongDevice {
 public:
  // Loads the soundfont; check Ready() afterwards.
  SynthAudio(Clock& clock, const std::string& soundfont);
  ~SynthAudio() override;
  SynthAudio(const SynthAudio&) = delete;
  SynthAudio& operator=(const SynthAudio&) = delete;

  bool Ready() const { return synth_ != nullptr; }
  const std::string& Error() const { return error_; }

  // Plays through the default SDL2 audio device. False with the reason when
  // no device opens.
  bool OpenDevice(std::string* why);
  // No device: every call first renders the mix up to the clock's time and
  // hands it to `sink` (which may be empty to just advance).
  void RenderToClock(std::function<void(const float*, int)> sink);

  // The mixer callback: interleaved stereo float at Mixer::kRate.
  void Render(float* out, int frames);

  uint32_t SendString(const std::string& command, std::string* result) override;
  bool PlaySound(const Bytes& wave, uint32_t flags) override;
  bool MixerOpen() override { return Ready(); }
  bool GetVolume(uint32_t& value) override;
  bool SetVolume(uint32_t value) override;
  void SetPlayerGains(float music, float effects) override;
  std::string Describe() override;

 private:
  void RenderMusic(float* stereo, int frames) override;
  void CatchUp();
  bool StartPlayer();
  void DropPlayer();
  void SilenceSynth();
  void OnSongOpened(Bytes bytes, uint32_t ms) override;
  bool OnSongStart() override { return StartPlayer(); }
  void OnSongStop() override;
  void OnSongClose() override;
  bool SongPlaying() override;

  Clock& clock_;
  std::string soundfont_, error_;
  std::recursive_mutex lock_;  // the device thread renders while the engine sends
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  Mixer mixer_;

  Bytes song_;                // the open song's file
  uint64_t songFrames_ = 0;   // its length
  uint64_t playedFrames_ = 0; // rendered since "play"

  uint32_t device_ = 0;
  std::string deviceName_;
  bool clocked_ = false;
  std::function<void(const float*, int)> sink_;
  uint32_t lastTick_ = 0;
  double owedFrames_ = 0;
  std::vector<float> buffer_;
};

}  // namespace mirel
