#include "platform/host/SynthAudio.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <dlfcn.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

#include "audio/MidiFile.h"
#include "audio/Riff.h"
#include "platform/MciCommand.h"

namespace mirel {

namespace {

// The player reports its end in steps of its own; a song whose notes never
// end still counts as ended a little after its last event.
constexpr uint64_t kEndGraceFrames = Mixer::kRate / 4;

void QuietLog(int, const char*, void*) {}

void AlsaSilent(const char*, int, const char*, int, const char*, ...) {}

// ALSA prints its own errors on the terminal (nine lines when there is no
// sound card) before our one line says why sound is off. SDL loads it only
// when it tries it; the handler set on our own reference to the library
// holds for SDL's too, so the reference is kept.
void QuietAlsa() {
  static void* lib = [] {
    void* l = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (auto set = l ? reinterpret_cast<int (*)(Handler)>(dlsym(l, "snd_lib_error_set_handler")) : nullptr)
      set(AlsaSilent);
    return l;
  }();
  (void)lib;
}

void DeviceCallback(void* self, Uint8* stream, int len) {
  static_cast<SynthAudio*>(self)->Render(reinterpret_cast<float*>(stream), len / static_cast<int>(2 * sizeof(float)));
}

}  // namespace

SynthAudio::SynthAudio(Clock& clock, const std::string& soundfont) : clock_(clock), soundfont_(soundfont) {
  // Its chatter about missing presets and the like is of no use to a player,
  // and its errors come to the player as our own one line.
  fluid_set_log_function(FLUID_ERR, QuietLog, nullptr);
  fluid_set_log_function(FLUID_WARN, QuietLog, nullptr);
  fluid_set_log_function(FLUID_INFO, QuietLog, nullptr);
  fluid_set_log_function(FLUID_DBG, QuietLog, nullptr);
  if (soundfont.empty() || !fluid_is_soundfont(soundfont.c_str())) {
    error_ = soundfont.empty() ? "no soundfont found" : "not a soundfont: " + soundfont;
    return;
  }
  settings_ = new_fluid_settings();
  if (!settings_) {
    error_ = "the synthesizer cannot start";
    return;
  }
  fluid_settings_setnum(settings_, "synth.sample-rate", Mixer::kRate);
  // The song advances with the samples rendered, not with a timer thread.
  fluid_settings_setstr(settings_, "player.timing-source", "sample");
  // The standard level: typical General MIDI songs then peak well below
  // full scale, as on any other player; the mixer balances the waves to it.
  fluid_settings_setnum(settings_, "synth.gain", 0.2);
  // Songs for GS modules: their reset and "use for rhythm part" messages
  // are addressed to device 16, and their bank selects are GS ones.
  fluid_settings_setint(settings_, "synth.device-id", 16);
  fluid_settings_setstr(settings_, "synth.midi-bank-select", "gs");
  // Reverb and chorus as a standard synthesizer has them: songs set their
  // sends and count on them for their level.
  fluid_settings_setint(settings_, "synth.reverb.active", 1);
  fluid_settings_setint(settings_, "synth.chorus.active", 1);
  fluid_settings_setint(settings_, "synth.polyphony", 128);
  fluid_settings_setint(settings_, "synth.cpu-cores", 1);
  synth_ = new_fluid_synth(settings_);
  if (!synth_ || fluid_synth_sfload(synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
    if (synth_) delete_fluid_synth(synth_);
    synth_ = nullptr;
    error_ = "cannot load the soundfont " + soundfont;
    return;
  }
  mixer_.SetMusic(this);
}

SynthAudio::~SynthAudio() {
  if (device_) {
    SDL_CloseAudioDevice(device_);  // returns once the callback has finished
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  DropPlayer();
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

bool SynthAudio::OpenDevice(std::string* why) {
  if (!Ready()) {
    if (why) *why = error_;
    return false;
  }
  QuietAlsa();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    if (why) *why = std::string("no audio device: ") + SDL_GetError();
    return false;
  }
  SDL_AudioSpec want{}, have{};
  want.freq = Mixer::kRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = DeviceCallback;
  want.userdata = this;
  // No changes allowed: SDL converts to whatever the card takes.
  SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (dev == 0) {
    if (why) *why = std::string("no audio device: ") + SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  device_ = dev;
  const char* driver = SDL_GetCurrentAudioDriver();
  deviceName_ = driver ? driver : "?";
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

void SynthAudio::RenderToClock(std::function<void(const float*, int)> sink) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  clocked_ = true;
  sink_ = std::move(sink);
  lastTick_ = clock_.GetTickCount();
  owedFrames_ = 0;
}

void SynthAudio::CatchUp() {
  if (!clocked_) return;
  uint32_t now = clock_.GetTickCount();
  owedFrames_ += TicksSince(lastTick_, now) * (Mixer::kRate / 1000.0);
  lastTick_ = now;
  constexpr int kChunk = 1024;
  buffer_.resize(2 * kChunk);
  while (owedFrames_ >= 1) {
    int n = static_cast<int>(std::min<double>(kChunk, std::floor(owedFrames_)));
    Render(buffer_.data(), n);
    if (sink_) sink_(buffer_.data(), n);
    owedFrames_ -= n;
  }
}

void SynthAudio::Render(float* out, int frames) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  if (!synth_) {
    std::fill(out, out + 2 * frames, 0.0f);
    return;
  }
  mixer_.Render(out, frames);
}

void SynthAudio::RenderMusic(float* stereo, int frames) {
  fluid_synth_write_float(synth_, frames, stereo, 0, 2, stereo, 1, 2);
  if (SongStarted()) playedFrames_ += frames;
}

bool SynthAudio::StartPlayer() {
  DropPlayer();
  // A fresh player for every start: a used one keeps its position and state.
  player_ = new_fluid_player(synth_);
  if (!player_) return false;
  if (fluid_player_add_mem(player_, song_.data(), song_.size()) != FLUID_OK || fluid_player_play(player_) != FLUID_OK) {
    DropPlayer();
    return false;
  }
  playedFrames_ = 0;
  return true;
}

void SynthAudio::DropPlayer() {
  if (!player_) return;
  fluid_player_stop(player_);
  delete_fluid_player(player_);
  player_ = nullptr;
  if (synth_) SilenceSynth();
}

void SynthAudio::SilenceSynth() {
  fluid_synth_all_sounds_off(synth_, -1);
  // Notes off is not enough: the reverb and chorus still hold the old song's
  // echo, which would come back at full strength once the volume a fade took
  // down is put back. Nothing clears them but rendering them out, unheard;
  // without voices that is cheap.
  constexpr int kBlock = 1024, kMostBlocks = 4 * Mixer::kRate / kBlock;
  std::vector<float> scratch(2 * kBlock);
  for (int b = 0; b < kMostBlocks; ++b) {
    RenderMusic(scratch.data(), kBlock);
    float peak = 0;
    for (float v : scratch) peak = std::max(peak, std::abs(v));
    if (peak < 1e-5f) break;
  }
  mixer_.DropLookahead();
}

bool SynthAudio::SongPlaying() {
  // "Done" is no longer playing, whatever the notes still sounding.
  return SongStarted() && player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING &&
         playedFrames_ < songFrames_ + kEndGraceFrames;
}

uint32_t SynthAudio::SendString(const std::string& command, std::string* result) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  CatchUp();
  if (result) result->clear();
  if (!synth_) return kMciErrNoDevice;
  return SongCommand(command, result);
}

void SynthAudio::OnSongOpened(Bytes bytes, uint32_t ms) {
  song_ = StandardMidiFile(std::move(bytes));  // the player takes no RIFF form
  songFrames_ = static_cast<uint64_t>(ms) * Mixer::kRate / 1000;
}

void SynthAudio::OnSongStop() {
  if (player_) fluid_player_stop(player_);
  SilenceSynth();
}

void SynthAudio::OnSongClose() {
  DropPlayer();
  song_.clear();
}

bool SynthAudio::PlaySound(const Bytes& wave, uint32_t flags) {
  uint32_t ms = 0;
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    CatchUp();
    if (!synth_) return false;
    auto w = ParseWave(wave);
    if (!w || !mixer_.PlayWave(wave)) return false;
    ms = w->Milliseconds();
  }
  if (!(flags & kSndAsync)) {
    // Synchronous: the caller waits out the sound, pumping nothing.
    clock_.Sleep(ms);
    std::lock_guard<std::recursive_mutex> g(lock_);
    CatchUp();
  }
  return true;
}

bool SynthAudio::GetVolume(uint32_t& value) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  CatchUp();
  if (!synth_) return false;
  value = mixer_.Volume();
  return true;
}

bool SynthAudio::SetVolume(uint32_t value) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  CatchUp();
  if (!synth_) return false;
  mixer_.SetVolume(value);
  return true;
}

void SynthAudio::SetPlayerGains(float music, float effects) {
  std::lock_guard<std::recursive_mutex> g(lock_);
  CatchUp();
  mixer_.SetPlayerGains(music, effects);
}

std::string SynthAudio::Describe() {
  if (!synth_) return "sound off: " + error_;
  std::string out = device_ ? "SDL2 device (" + deviceName_ + ")" : std::string("no device (rendered offline)");
  return std::string("FluidSynth ") + fluid_version_str() + " into our mixer at " + std::to_string(Mixer::kRate) +
         " Hz, " + out + ", soundfont " + soundfont_;
}

}  // namespace mirel
