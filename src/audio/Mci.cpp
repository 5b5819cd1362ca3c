#include "audio/Mci.h"

namespace mirel {

Mci::Mci(AudioBackend& backend, PlayState& ps, Clock& clock, std::function<void()> doEvents)
    : backend_(backend), ps_(ps), clock_(clock), doEvents_(std::move(doEvents)) {}

void Mci::PlayMidi(const std::string&) {}
void Mci::StopMidi() {}
void Mci::RestartMidi() {}
std::string Mci::MidiStatus() { return ""; }
void Mci::PlaySe(int32_t) {}
bool Mci::OpenMixer() { return true; }
bool Mci::GetVolumeControl(uint32_t) { return true; }
bool Mci::GetVolume(uint32_t& value) { value = 65535; return true; }
bool Mci::SetVolume(uint32_t) { return true; }
void Mci::FadeOut(uint32_t) {}
void Mci::FadeIn(uint32_t) {}

}  // namespace mirel
