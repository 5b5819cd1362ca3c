// Songs made elsewhere, rendered offline through our mixer: loud General MIDI
// songs from Debian packages come out at the level a standard synthesizer
// gives them, stay clear of full scale without flat tops, and a sound still
// shows over the loudest of them.
#include <gtest/gtest.h>
#include <fluidsynth.h>

#include <cmath>

#include "audio/WaveResources.h"
#include "audio_harness.h"
#include "base/Files.h"
#include "platform/headless/VirtualClock.h"
#include "platform/host/SynthAudio.h"

namespace mirel {
namespace {

constexpr int kChunk = 1024;

// `seconds` of the song through our synthesizer and mixer; with `sound`, that
// wave sound starts `soundAt` seconds in.
std::vector<float> Ours(const std::string& sf, const std::string& song, double seconds, int32_t sound = 0,
                        double soundAt = 0) {
  VirtualClock clock;
  SynthAudio synth(clock, sf);
  EXPECT_TRUE(synth.Ready()) << synth.Error();
  EXPECT_EQ(synth.SendString("open \"" + song + "\" type sequencer alias midifile", nullptr), 0u);
  EXPECT_EQ(synth.SendString("play midifile from 0", nullptr), 0u);
  Bytes wave = sound ? LoadWaveResource(sound) : Bytes();
  size_t frames = size_t(seconds * Mixer::kRate), soundFrame = size_t(soundAt * Mixer::kRate);
  std::vector<float> out(2 * frames);
  for (size_t at = 0; at < frames; at += kChunk) {
    if (sound && at <= soundFrame && soundFrame < at + kChunk) synth.PlaySound(wave, kSndMemory | kSndAsync);
    synth.Render(out.data() + 2 * at, int(std::min<size_t>(kChunk, frames - at)));
  }
  return out;
}

// The same through a synthesizer with FluidSynth's own default settings.
std::vector<float> Reference(const std::string& sf, const std::string& song, double seconds) {
  fluid_settings_t* settings = new_fluid_settings();
  fluid_settings_setnum(settings, "synth.sample-rate", Mixer::kRate);
  fluid_settings_setstr(settings, "player.timing-source", "sample");
  fluid_synth_t* synth = new_fluid_synth(settings);
  fluid_synth_sfload(synth, sf.c_str(), 1);
  fluid_player_t* player = new_fluid_player(synth);
  fluid_player_add(player, song.c_str());
  fluid_player_play(player);
  size_t frames = size_t(seconds * Mixer::kRate);
  std::vector<float> out(2 * frames);
  for (size_t at = 0; at < frames; at += kChunk)
    fluid_synth_write_float(synth, int(std::min<size_t>(kChunk, frames - at)), out.data() + 2 * at, 0, 2,
                            out.data() + 2 * at, 1, 2);
  delete_fluid_player(player);
  delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return out;
}

double Db(double v) { return 20 * std::log10(v); }

std::string Installed(const std::string& path) { return FileExists(path) ? path : ""; }

const char* const kOpenMsx = "/usr/share/games/openttd/baseset/openmsx/";
const char* const kBlupi = "/usr/share/planetblupi/music/";

TEST(RealSongs, LoudSongsSitAtTheStandardLevelBelowFullScaleWithNoFlatTops) {
  std::string sf = test::TestSoundfont();
  if (sf.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  int played = 0;
  for (std::string song : {std::string(kOpenMsx) + "ttsong_iii_imuh3.mid", std::string(kOpenMsx) + "flying_scotsman.mid",
                           std::string(kBlupi) + "music009.mid"}) {
    SCOPED_TRACE(song);
    if (!FileExists(song)) continue;
    ++played;
    std::vector<float> ours = Ours(sf, song, 3), ref = Reference(sf, song, 3);
    double peak = test::Peak(ours);
    EXPECT_LE(Db(peak), -1.0);
    EXPECT_EQ(test::FlatTops(ours), 0u);
    double level = test::Rms(ours, 0, ours.size() / 2), refLevel = test::Rms(ref, 0, ref.size() / 2);
    EXPECT_NEAR(Db(level), Db(refLevel), 3.0);
    test::DumpWave(ours, song.substr(song.rfind('/') + 1));
  }
  if (!played) GTEST_SKIP() << "the packages of General MIDI songs are not installed";
}

// Over the loudest song, a sound is heard: what it adds to the mix is at
// least half as loud as the song itself.
TEST(RealSongs, ASoundStillShowsOverALoudSong) {
  std::string sf = test::TestSoundfont(), song = Installed(std::string(kBlupi) + "music009.mid");
  if (sf.empty() || song.empty()) GTEST_SKIP() << "needs a soundfont and the songs' package";
  std::vector<float> alone = Ours(sf, song, 1.5), with = Ours(sf, song, 1.5, 103, 0.5);
  std::vector<float> added(with.size());
  for (size_t i = 0; i < with.size(); ++i) added[i] = with[i] - alone[i];
  size_t from = size_t(0.55 * Mixer::kRate), to = size_t(1.2 * Mixer::kRate);
  EXPECT_GT(test::Rms(added, from, to), test::Rms(alone, from, to) / 2) << "the sound is lost under the song";
  EXPECT_LE(Db(test::Peak(with)), -1.0);
}

}  // namespace
}  // namespace mirel
