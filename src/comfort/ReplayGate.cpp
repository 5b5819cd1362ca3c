#include "comfort/ReplayGate.h"

namespace mirel {

namespace {

constexpr uint32_t kNotOpen = 263;  // the MCI error for an alias not open

bool Starts(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

void ReplayGate::Follow(Song& s, const std::string& command) {
  if (Starts(command, "open ")) {
    s.open = command;
    s.playing = false;
  } else if (Starts(command, "play ")) {
    s.playing = !s.open.empty();
  } else if (Starts(command, "stop ")) {
    s.playing = false;
  } else if (Starts(command, "close ")) {
    s.open.clear();
    s.playing = false;
  }
}

void ReplayGate::Close() {
  closed_ = true;
}

void ReplayGate::Open() {
  if (!closed_) return;
  closed_ = false;
  const Song want = believed_;
  if (want.open != heard_.open) {
    if (!heard_.open.empty()) {
      SendString("stop midifile ", nullptr);
      SendString("close midifile", nullptr);
    }
    if (!want.open.empty() && SendString(want.open, nullptr) == 0 && want.playing)
      SendString("play midifile from 0", nullptr);
  } else if (want.playing != heard_.playing && !want.open.empty()) {
    SendString(want.playing ? "play midifile from 0" : "stop midifile ", nullptr);
  }
  if (want.hasVolume && (!heard_.hasVolume || heard_.volume != want.volume)) SetVolume(want.volume);
  believed_ = want;
}

void ReplayGate::Sleep(uint32_t ms) {
  if (closed_) skipped_ += ms;
  else clock_.Sleep(ms);
}

uint32_t ReplayGate::SendString(const std::string& command, std::string* result) {
  if (!closed_) {
    uint32_t rc = audio_.SendString(command, result);
    if (rc == 0) {
      Follow(heard_, command);
      Follow(believed_, command);
    } else if (Starts(command, "open ")) {
      // A song that would not open is what the game believes too: none.
      heard_.open.clear();
      believed_.open.clear();
    }
    return rc;
  }
  if (Starts(command, "status ")) {
    if (believed_.open.empty()) return kNotOpen;
    if (result) *result = believed_.playing ? "playing" : "stopped";
    return 0;
  }
  if (!Starts(command, "open ") && believed_.open.empty()) return kNotOpen;
  Follow(believed_, command);
  return 0;
}

bool ReplayGate::PlaySound(const Bytes& wave, uint32_t flags) {
  if (closed_) return true;
  return audio_.PlaySound(wave, flags);
}

bool ReplayGate::GetVolume(uint32_t& value) {
  if (closed_ && believed_.hasVolume) {
    value = believed_.volume;
    return true;
  }
  return audio_.GetVolume(value);
}

bool ReplayGate::SetVolume(uint32_t value) {
  believed_.hasVolume = true;
  believed_.volume = value;
  if (closed_) return true;
  const bool ok = audio_.SetVolume(value);
  if (ok) {
    heard_.hasVolume = true;
    heard_.volume = value;
  }
  return ok;
}

}  // namespace mirel
