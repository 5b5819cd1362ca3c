#include "platform/headless/VirtualAudio.h"

#include "audio/Riff.h"

namespace mirel {

uint32_t VirtualAudio::SendString(const std::string& command, std::string* result) {
  return SongCommand(command, result);
}

void VirtualAudio::OnSongOpened(Bytes, uint32_t ms) { songMs_ = ms; }

bool VirtualAudio::OnSongStart() {
  playStart_ = clock_.GetTickCount();
  return true;
}

// A song ends by itself once its length has passed.
bool VirtualAudio::SongPlaying() {
  if (SongStarted() && TicksSince(playStart_, clock_.GetTickCount()) >= songMs_) SongEnded();
  return SongStarted();
}

bool VirtualAudio::PlaySound(const Bytes& wave, uint32_t flags) {
  auto w = ParseWave(wave);
  if (!w) return false;
  soundMs_ = w->Milliseconds();
  soundStart_ = clock_.GetTickCount();
  if (!(flags & kSndAsync)) {
    clock_.Sleep(soundMs_);
    soundMs_ = 0;
  }
  return true;
}

bool VirtualAudio::SoundPlaying() {
  return soundMs_ != 0 && TicksSince(soundStart_, clock_.GetTickCount()) < soundMs_;
}

}  // namespace mirel
