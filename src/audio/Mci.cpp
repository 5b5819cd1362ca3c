#include "audio/Mci.h"

#include <cctype>
#include <cstdio>

#include "audio/WaveResources.h"

namespace mirel {

namespace {
constexpr uint32_t kFadeStepMs = 100;
}

Mci::Mci(AudioBackend& backend, PlayState& ps, Clock& clock, std::function<void()> doEvents)
    : log([](const std::string& s) { std::fprintf(stderr, "mirel: %s\n", s.c_str()); }),
      backend_(backend),
      ps_(ps),
      clock_(clock),
      doEvents_(std::move(doEvents)) {}

void Mci::PlayMidi(const std::string& path) {
  // A quote would end the file name inside the command text early.
  if (path.find('"') != std::string::npos) {
    ps_.BgmOn = false;
    if (log) log("music off: the file name " + path + " contains a double quote");
    return;
  }
  uint32_t rc = backend_.SendString("open \"" + path + "\" type sequencer alias midifile", nullptr);
  if (rc != 0) {
    ps_.BgmOn = false;
    if (log) log("music off: cannot open " + path + " (error " + std::to_string(rc) + ")");
    return;
  }
  aliasOpen_ = true;
  rc = backend_.SendString("play midifile from 0", nullptr);
  if (rc != 0) {
    ps_.BgmOn = false;
    if (log) log("music off: cannot play " + path + " (error " + std::to_string(rc) + ")");
    return;
  }
  songPath_ = path;
}

void Mci::StopMidi() {
  backend_.SendString("stop midifile ", nullptr);
  backend_.SendString("close midifile", nullptr);
  aliasOpen_ = false;
  songPath_.clear();
}

void Mci::RestartMidi() {
  backend_.SendString("stop midifile ", nullptr);
  backend_.SendString("play midifile from 0", nullptr);
}

std::string Mci::MidiStatus() {
  std::string answer;
  if (backend_.SendString("status midifile mode", &answer) != 0) return "";
  // The answer fits a buffer of 16 with its terminating zero.
  size_t zero = answer.find('\0');
  if (zero != std::string::npos) answer.resize(zero);
  if (answer.size() > 15) answer.resize(15);
  for (char& ch : answer) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return answer;
}

void Mci::PlaySe(int32_t id) {
  Bytes wave = LoadWaveResource(id);
  if (wave.empty()) return;
  if (id >= 100 && id <= 102) {
    backend_.PlaySound(wave, kSndMemory | kSndSync);
  } else {
    asyncWave_ = std::move(wave);
    backend_.PlaySound(asyncWave_, kSndMemory | kSndAsync);
  }
}

bool Mci::OpenMixer() {
  mixerOpen_ = backend_.MixerOpen();
  if (!mixerOpen_) ps_.BgmOn = ps_.SeOn = false;
  return mixerOpen_;
}

bool Mci::GetVolumeControl(uint32_t componentType) {
  // The back end has one output; only the speakers' line has a volume.
  if (!mixerOpen_ || componentType != 4) {
    ps_.BgmOn = ps_.SeOn = false;
    controlFound_ = false;
    return false;
  }
  controlFound_ = true;
  return true;
}

bool Mci::GetVolume(uint32_t& value) {
  uint32_t v = 0;
  if (!controlFound_ || !backend_.GetVolume(v)) return false;
  value = v;
  return true;
}

bool Mci::SetVolume(uint32_t value) {
  bool ok = SetLevel(value);
  if (ok) fadedOut_ = false;
  return ok;
}

bool Mci::SetLevel(uint32_t value) { return controlFound_ && backend_.SetVolume(value); }

void Mci::WaitStep(uint32_t since) {
  // Timed by the tick count, not by the sleeps: slow event handling makes
  // no step longer than it has to be.
  for (;;) {
    if (doEvents_) doEvents_();
    uint32_t passed = TicksSince(since, clock_.GetTickCount());
    if (passed >= kFadeStepMs) return;
    clock_.Sleep(1);
  }
}

// A volume below 8 has no eighth to step by: it goes down by 1, so the fade
// still ends at 0 (a muted volume takes one step).
void Mci::FadeOut(uint32_t start) {
  int64_t step = start / 8 ? start / 8 : 1;
  for (int64_t x = start; x >= 0; x -= step) {
    uint32_t t = clock_.GetTickCount();
    SetLevel(static_cast<uint32_t>(x));
    WaitStep(t);
  }
  fadedOut_ = true;
}

void Mci::FadeIn(uint32_t end) {
  int64_t step = end / 8 ? end / 8 : 1;
  for (int64_t x = 0; x <= end; x += step) {
    uint32_t t = clock_.GetTickCount();
    SetLevel(static_cast<uint32_t>(x));
    WaitStep(t);
  }
  fadedOut_ = false;
}

}  // namespace mirel
