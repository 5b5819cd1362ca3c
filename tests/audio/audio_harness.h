#pragma once
// Helpers of the audio tests: MIDI files made to order, a back end that
// records what it is told, and measuring rendered sound.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <cstdlib>
#include <fstream>

#include "base/Files.h"
#include "platform/AudioBackend.h"
#include "platform/Clock.h"

namespace mirel::test {

inline mirel::Bytes ToBytes(const std::string& s) { return mirel::Bytes(s.begin(), s.end()); }

// A standard MIDI file, built event by event.
class MidiBuilder {
 public:
  explicit MidiBuilder(uint16_t division = 480, uint16_t format = 0) : division_(division), format_(format) {}
  // Starts a new track (the first one is started already).
  MidiBuilder& Track() {
    tracks_.emplace_back();
    return *this;
  }
  MidiBuilder& Tempo(uint32_t delta, uint32_t usPerQuarter) {
    return Event(delta, {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)});
  }
  MidiBuilder& Program(uint32_t delta, int ch, int program) { return Event(delta, {uint8_t(0xC0 | ch), uint8_t(program)}); }
  MidiBuilder& On(uint32_t delta, int ch, int key, int vel = 100) {
    return Event(delta, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(vel)});
  }
  MidiBuilder& Off(uint32_t delta, int ch, int key) { return Event(delta, {uint8_t(0x80 | ch), uint8_t(key), 0}); }
  MidiBuilder& End(uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }
  // Raw bytes after a delta (running status and the like).
  MidiBuilder& Event(uint32_t delta, std::vector<uint8_t> bytes) {
    auto& t = tracks_.back();
    Vlq(t, delta);
    t.insert(t.end(), bytes.begin(), bytes.end());
    return *this;
  }
  std::string Bytes() const {
    std::string out = "MThd";
    Be(out, 6, 4);
    Be(out, format_, 2);
    Be(out, static_cast<uint32_t>(tracks_.size()), 2);
    Be(out, division_, 2);
    for (const auto& t : tracks_) {
      out += "MTrk";
      Be(out, static_cast<uint32_t>(t.size()), 4);
      out.append(t.begin(), t.end());
    }
    return out;
  }

 private:
  static void Vlq(std::vector<uint8_t>& t, uint32_t v) {
    uint8_t tmp[5];
    int n = 0;
    do {
      tmp[n++] = v & 0x7F;
      v >>= 7;
    } while (v);
    while (n--) t.push_back(static_cast<uint8_t>(tmp[n] | (n ? 0x80 : 0)));
  }
  static void Be(std::string& s, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  uint16_t division_, format_;
  std::vector<std::vector<uint8_t>> tracks_{1};
};

// A sustained organ chord held for `ms` (at 120 beats a minute, division
// 480), so the level stays even while it sounds.
inline std::string HeldChord(uint32_t ms, int program = 19) {
  uint32_t ticks = ms * 480 / 500;
  MidiBuilder m;
  m.Tempo(0, 500000).Program(0, 0, program).On(0, 0, 60).On(0, 0, 64).On(0, 0, 67);
  m.Off(ticks, 0, 60).Off(0, 0, 64).Off(0, 0, 67).End();
  return m.Bytes();
}

// `smf` as a RIFF MIDI file: an odd-sized "LIST" chunk (padded to even),
// then the file in the "data" chunk.
inline std::string RiffMidi(const std::string& smf) {
  auto le = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  std::string body = "RMID" + std::string("LIST") + le(3) + std::string("abc\0", 4) + "data" + le(uint32_t(smf.size())) + smf;
  return "RIFF" + le(uint32_t(body.size())) + body;
}

// Little-endian numbers and chunk names of a RIFF image.
inline void Put(mirel::Bytes& b, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void Tag(mirel::Bytes& b, const char* t) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(t[i]));
}

// A 16-bit wave of `frames` frames of constant value per channel.
inline mirel::Bytes ConstantWave(int channels, uint32_t rate, uint32_t frames, int16_t left, int16_t right = 0,
                                 bool listChunk = false) {
  mirel::Bytes data;
  for (uint32_t i = 0; i < frames; ++i) {
    Put(data, uint16_t(left), 2);
    if (channels == 2) Put(data, uint16_t(right), 2);
  }
  mirel::Bytes b;
  Tag(b, "RIFF");
  Put(b, 0, 4);
  Tag(b, "WAVE");
  if (listChunk) {  // an odd-sized chunk before the format: padded to even
    Tag(b, "LIST");
    Put(b, 3, 4);
    b.insert(b.end(), {'a', 'b', 'c', 0});
  }
  Tag(b, "fmt ");
  Put(b, 16, 4);
  Put(b, 1, 2);
  Put(b, channels, 2);
  Put(b, rate, 4);
  Put(b, rate * channels * 2, 4);
  Put(b, channels * 2, 2);
  Put(b, 16, 2);
  Tag(b, "data");
  Put(b, uint32_t(data.size()), 4);
  b.insert(b.end(), data.begin(), data.end());
  uint32_t riff = uint32_t(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = uint8_t(riff >> (8 * i));
  return b;
}

// Root mean square of interleaved stereo samples [from, to) in frames.
inline double Rms(const std::vector<float>& s, size_t from, size_t to) {
  if (to * 2 > s.size()) to = s.size() / 2;
  if (from >= to) return 0;
  double sum = 0;
  for (size_t i = 2 * from; i < 2 * to; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / double(2 * (to - from)));
}

// The largest magnitude of any sample.
inline double Peak(const std::vector<float>& s) {
  double p = 0;
  for (float v : s) p = std::max(p, double(std::fabs(v)));
  return p;
}

// Runs of three or more equal samples on one side above -3 dBFS: what
// clamping or a hard clip leaves on a waveform.
inline size_t FlatTops(const std::vector<float>& s) {
  size_t runs = 0;
  for (size_t ch = 0; ch < 2; ++ch) {
    int run = 1;
    for (size_t i = 2 + ch; i < s.size(); i += 2) {
      run = s[i] == s[i - 2] && std::fabs(s[i]) > 0.7f ? run + 1 : 1;
      if (run == 3) ++runs;
    }
  }
  return runs;
}

// The soundfont the synthesizer tests play: MIREL_SOUNDFONT, else the small
// General MIDI one the program requires (quick to load); empty when there
// is none.
inline std::string TestSoundfont() {
  const char* env = std::getenv("MIREL_SOUNDFONT");
  std::string p = env && *env ? env : "/usr/share/sounds/sf2/TimGM6mb.sf2";
  return mirel::FileExists(p) ? p : "";
}

// With MIREL_AUDIO_DUMP set, rendered stereo at 44.1 kHz goes to that folder
// as NAME.wav (32-bit float), to be listened to or measured.
inline void DumpWave(const std::vector<float>& s, const std::string& name) {
  const char* dir = std::getenv("MIREL_AUDIO_DUMP");
  if (!dir) return;
  std::ofstream f(std::string(dir) + "/" + name + ".wav", std::ios::binary);
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) f.put(char(v >> (8 * i)));
  };
  uint32_t bytes = uint32_t(s.size() * 4);
  f << "RIFF";
  put(36 + bytes, 4);
  f << "WAVEfmt ";
  put(16, 4), put(3, 2), put(2, 2), put(44100, 4), put(44100 * 8, 4), put(8, 2), put(32, 2);
  f << "data";
  put(bytes, 4);
  f.write(reinterpret_cast<const char*>(s.data()), bytes);
}

// Answers each command with the code given for it (0 otherwise), and a
// status text; notes every volume set with the time it was set at.
class ScriptedBackend final : public AudioBackend {
 public:
  explicit ScriptedBackend(Clock& clock) : clock_(clock) {}
  uint32_t SendString(const std::string& c, std::string* result) override {
    commands.push_back(c);
    if (result) *result = status;
    auto it = codes.find(c.substr(0, c.find(' ')));
    return it == codes.end() ? 0 : it->second;
  }
  bool PlaySound(const mirel::Bytes& wave, uint32_t flags) override {
    sounds.push_back({wave, flags});
    return true;
  }
  bool MixerOpen() override { return mixerOk; }
  bool GetVolume(uint32_t& v) override {
    v = volume;
    return volumeOk;
  }
  bool SetVolume(uint32_t v) override {
    volume = v;
    sets.emplace_back(v, clock_.GetTickCount());
    return true;
  }
  std::string Describe() override { return "scripted"; }
  std::vector<uint32_t> Levels() const {
    std::vector<uint32_t> l;
    for (auto& s : sets) l.push_back(s.first);
    return l;
  }

  std::map<std::string, uint32_t> codes;  // by the command's first word
  std::string status = "stopped";
  bool mixerOk = true, volumeOk = true;
  uint32_t volume = 65535;
  std::vector<std::string> commands;
  std::vector<std::pair<mirel::Bytes, uint32_t>> sounds;
  std::vector<std::pair<uint32_t, uint32_t>> sets;  // level, tick

 private:
  Clock& clock_;
};

}  // namespace mirel::test
