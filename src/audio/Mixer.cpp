#include "audio/Mixer.h"

#include <algorithm>
#include <cstring>

#include "audio/Riff.h"

namespace mirel {

bool Mixer::PlayWave(const Bytes& image) {
  auto w = ParseWave(image);
  if (!w) return false;
  uint32_t frames = w->Frames();
  std::vector<float> s(static_cast<size_t>(frames) * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    s[2 * i] = WaveSample(image, *w, i, 0);
    s[2 * i + 1] = w->channels == 2 ? WaveSample(image, *w, i, 1) : s[2 * i];
  }
  wave_ = std::move(s);
  pos_ = 0;
  step_ = static_cast<double>(w->sampleRate) / kRate;
  return true;
}

void Mixer::Render(float* out, int frames) {
  if (music_) music_->RenderMusic(out, frames);
  else std::memset(out, 0, sizeof(float) * 2 * frames);
  // The player's sliders come first: music and sounds apart, before the
  // limiter and the game's own volume.
  if (musicGain_ != 1.0f)
    for (int i = 0; i < 2 * frames; ++i) out[i] *= musicGain_;
  AddWave(out, frames, kWaveLevel * effectsGain_);
  // The master bus: the limiter keeps the sum below full scale, then the
  // master volume (the fades) scales what leaves it.
  limiter_.Process(out, frames);
  float gain = volume_ / 65535.0f;
  for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i] * gain, -1.0f, 1.0f);
}

void Mixer::AddWave(float* out, int frames, float level) {
  if (wave_.empty()) return;
  size_t n = wave_.size() / 2;
  for (int i = 0; i < frames; ++i) {
    size_t k = static_cast<size_t>(pos_);
    if (k >= n) break;
    // Linear interpolation between the wave's own samples.
    float f = static_cast<float>(pos_ - k);
    size_t k1 = k + 1 < n ? k + 1 : k;
    out[2 * i] += (wave_[2 * k] + (wave_[2 * k1] - wave_[2 * k]) * f) * level;
    out[2 * i + 1] += (wave_[2 * k + 1] + (wave_[2 * k1 + 1] - wave_[2 * k + 1]) * f) * level;
    pos_ += step_;
  }
  if (static_cast<size_t>(pos_) >= n) wave_.clear();
}

}  // namespace mirel
