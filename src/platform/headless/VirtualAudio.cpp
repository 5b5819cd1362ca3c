#include "platform/headless/VirtualAudio.h"

#include "audio/MidiFile.h"
#include "audio/Riff.h"
#include "platform/MciCommand.h"

namespace mirel {

uint32_t VirtualAudio::SendString(const std::string& command, std::string* result) {
  if (result) result->clear();
  MciCommand c = ParseMciCommand(command);
  switch (c.verb) {
    case MciVerb::Open: {
      if (open_) return kMciErrDuplicateAlias;
      auto bytes = ReadFile(c.path);
      if (!bytes) return kMciErrFileNotFound;
      auto ms = MidiLengthMs(*bytes);
      if (!ms) return kMciErrCannotLoad;
      songMs_ = *ms;
      open_ = true;
      playing_ = false;
      return 0;
    }
    case MciVerb::Unknown: return kMciErrUnrecognized;
    case MciVerb::OtherAlias: return kMciErrInvalidDevice;
    default: break;
  }
  if (!open_) return kMciErrInvalidDevice;
  switch (c.verb) {
    case MciVerb::Play:
      playing_ = true;
      playStart_ = clock_.GetTickCount();
      break;
    case MciVerb::Stop: playing_ = false; break;
    case MciVerb::Close: open_ = playing_ = false; break;
    case MciVerb::Status:
      if (playing_ && TicksSince(playStart_, clock_.GetTickCount()) >= songMs_) playing_ = false;
      if (result) *result = playing_ ? "playing" : "stopped";
      break;
    default: break;
  }
  return 0;
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
