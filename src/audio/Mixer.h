#pragma once
// Our own mixer: the music, one wave voice on top, the master bus's limiter
// and the master volume (0 to 65535) applied to the sum. The system's mixer
// is never touched. Not locked: the back end that owns it serializes the
// calls.
#include <cstdint>
#include <vector>

#include "audio/Limiter.h"
#include "base/Files.h"

namespace mirel {

// Renders interleaved stereo float frames at the mixer's rate, overwriting
// the buffer.
class MusicSource {
 public:
  virtual ~MusicSource() = default;
  virtual void RenderMusic(float* stereo, int frames) = 0;
};

class Mixer {
 public:
  static constexpr int kRate = 44100;
  // The music comes at a standard synthesizer's own level, which leaves a
  // typical song well below full scale; the wave sounds, made at full scale,
  // are brought down to sit a little above such a song.
  static constexpr float kWaveLevel = 0.5f;

  void SetMusic(MusicSource* music) { music_ = music; }
  // Starts a RIFF image, replacing the sound playing; its samples are
  // copied, so the image may go. False (and nothing plays) for an image it
  // cannot read.
  bool PlayWave(const Bytes& image);
  void StopWave() { wave_.clear(); }
  bool WavePlaying() const { return !wave_.empty(); }
  void SetVolume(uint32_t v) { volume_ = v > 65535 ? 65535 : v; }
  uint32_t Volume() const { return volume_; }
  // The player's sliders: music and the wave voice apart, 0 to 1.
  void SetPlayerGains(float music, float effects) {
    musicGain_ = music;
    effectsGain_ = effects;
  }
  // A stopped song's last frames, still in the limiter, go unheard (and
  // with them 1.5 ms of any sound).
  void DropLookahead() { limiter_.Reset(); }
  // The whole mix: interleaved stereo, -1..1, a little behind the sources
  // (the limiter's look-ahead).
  void Render(float* out, int frames);

 private:
  void AddWave(float* out, int frames, float level);

  MusicSource* music_ = nullptr;
  Limiter limiter_{kRate};
  std::vector<float> wave_;  // stereo, at the wave's own rate
  double pos_ = 0, step_ = 1;
  uint32_t volume_ = 65535;
  float musicGain_ = 1.0f, effectsGain_ = 1.0f;
};

}  // namespace mirel
