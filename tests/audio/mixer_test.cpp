// Our mixer, the wave reader and the MIDI length reader: levels and lengths
// of what is rendered, and damaged input refused.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/Limiter.h"
#include "audio/MidiFile.h"
#include "audio/Mixer.h"
#include "audio/Riff.h"
#include "audio_harness.h"
#include "platform/MciCommand.h"

namespace mirel {
namespace {

using test::ToBytes;

size_t SoundingFrames(const std::vector<float>& s) {
  size_t last = 0;
  for (size_t i = 0; i < s.size() / 2; ++i)
    if (s[2 * i] != 0 || s[2 * i + 1] != 0) last = i + 1;
  return last;
}

TEST(Mixer, WavePlaysForItsLengthAtTheMixRateWithItsLevel) {
  for (uint32_t rate : {11025u, 22050u, 44100u}) {
    SCOPED_TRACE(rate);
    Mixer m;
    ASSERT_TRUE(m.PlayWave(test::ConstantWave(1, rate, rate / 10, 16384)));
    std::vector<float> out(2 * Mixer::kRate / 5);
    m.Render(out.data(), Mixer::kRate / 5);
    size_t frames = SoundingFrames(out) - (Limiter::kLookahead - 1);  // the limiter's delay
    EXPECT_NEAR(double(frames), Mixer::kRate / 10.0, Mixer::kRate / double(rate) + 1);
    EXPECT_NEAR(out[200], 0.5f * Mixer::kWaveLevel, 1e-4);  // mono goes to both sides
    EXPECT_NEAR(out[201], 0.5f * Mixer::kWaveLevel, 1e-4);
    EXPECT_FALSE(m.WavePlaying());
  }
}

TEST(Mixer, MasterVolumeScalesTheMixAndStereoSidesStayApart) {
  Mixer m;
  m.SetVolume(32768);
  ASSERT_TRUE(m.PlayWave(test::ConstantWave(2, 22050, 22050, 16384, -8192, true)));
  std::vector<float> out(2 * 1000);
  m.Render(out.data(), 1000);
  double g = 32768 / 65535.0 * Mixer::kWaveLevel;
  EXPECT_NEAR(out[400], 0.5 * g, 1e-4);
  EXPECT_NEAR(out[401], -0.25 * g, 1e-4);
  m.SetVolume(0);
  m.Render(out.data(), 1000);
  EXPECT_EQ(test::Rms(out, 0, 1000), 0.0);
  m.SetVolume(70000);
  EXPECT_EQ(m.Volume(), 65535u);
}

// The master bus: a sum far over full scale leaves below the ceiling with no
// flat tops, the gain comes back after it, and a quiet mix passes untouched,
// only delayed.
TEST(Mixer, LimiterHoldsLoudSumsBelowTheCeilingAndLeavesQuietOnesAlone) {
  struct Tone : MusicSource {
    float amp = 0.3f;
    int n = 0;
    float At(int i) const { return amp * float(std::sin(2 * M_PI * 220 * i / Mixer::kRate)); }
    void RenderMusic(float* s, int frames) override {
      for (int i = 0; i < frames; ++i, ++n) s[2 * i] = -(s[2 * i + 1] = At(n));
    }
  } tone;
  Mixer m;
  m.SetMusic(&tone);
  std::vector<float> out(2 * Mixer::kRate);
  m.Render(out.data(), 2000);
  for (int i = 0; i + Limiter::kLookahead - 1 < 2000; ++i) ASSERT_EQ(out[2 * (i + Limiter::kLookahead - 1) + 1], tone.At(i));

  tone.amp = 2.5f;
  ASSERT_TRUE(m.PlayWave(test::ConstantWave(1, 44100, 44100, 32767)));
  Bytes bad = test::ConstantWave(1, 44100, 10, 1);
  bad.resize(bad.size() - 30);  // the data chunk runs past the end
  EXPECT_FALSE(m.PlayWave(bad));
  EXPECT_TRUE(m.WavePlaying());
  m.Render(out.data(), Mixer::kRate / 2);
  out.resize(Mixer::kRate);
  EXPECT_LE(test::Peak(out), Limiter::kCeiling * 1.0001);
  EXPECT_GT(test::Rms(out, 0, Mixer::kRate / 2), 0.4);
  EXPECT_EQ(test::FlatTops(out), 0u);

  tone.amp = 0.3f;
  m.StopWave();
  out.resize(2 * Mixer::kRate);
  m.Render(out.data(), Mixer::kRate);
  EXPECT_NEAR(test::Peak(std::vector<float>(out.end() - 2000, out.end())), 0.3, 0.002);
}

TEST(Riff, DamagedOrUnplayableImagesAreRefused) {
  Bytes good = test::ConstantWave(1, 22050, 100, 1000);
  ASSERT_TRUE(ParseWave(good));
  EXPECT_EQ(ParseWave(good)->Frames(), 100u);
  EXPECT_EQ(ParseWave(good)->Milliseconds(), 5u);  // 100 / 22050 s, rounded up

  auto with = [&](size_t at, uint8_t v) {
    Bytes b = good;
    b[at] = v;
    return ParseWave(b);
  };
  EXPECT_FALSE(with(0, 'X'));         // not RIFF
  EXPECT_FALSE(with(8, 'X'));         // not WAVE
  EXPECT_FALSE(with(20, 3));          // floating point, not integer PCM
  EXPECT_FALSE(with(22, 6));          // six channels
  EXPECT_FALSE(with(34, 24));         // 24 bit
  EXPECT_FALSE(ParseWave(Bytes(good.begin(), good.begin() + 30)));
  EXPECT_FALSE(ParseWave(test::ConstantWave(1, 22050, 0, 0)));  // no samples
  EXPECT_FALSE(ParseWave({}));
}

// Length in ms: ticks / division quarters, each quarter as long as the
// tempo in force says.
TEST(MidiFile, LengthFollowsTempoAndDivision) {
  test::MidiBuilder a;  // 960 ticks at 120 a minute, division 480: 1 s
  a.On(0, 0, 60).Off(960, 0, 60).End();
  EXPECT_EQ(MidiLengthMs(ToBytes(a.Bytes())), std::optional<uint32_t>(1000));

  test::MidiBuilder b;  // 480 ticks at 0.5 s, then 480 at 0.25 s
  b.Tempo(0, 500000).On(0, 0, 60).Tempo(480, 250000).Off(480, 0, 60).End();
  EXPECT_EQ(MidiLengthMs(ToBytes(b.Bytes())), std::optional<uint32_t>(750));

  test::MidiBuilder c(96, 1);  // format 1: tempo track, notes track with running status
  c.Tempo(0, 1000000).End(0);
  c.Track().Event(0, {0x90, 60, 100}).Event(96, {62, 100}).Event(96, {60, 0}).Event(96, {62, 0}).End();
  EXPECT_EQ(MidiLengthMs(ToBytes(c.Bytes())), std::optional<uint32_t>(3000));

  test::MidiBuilder d(uint16_t(0xE728));  // 25 frames of 40 ticks: 1000 ticks a second
  d.On(0, 0, 60).Off(2500, 0, 60).End();
  EXPECT_EQ(MidiLengthMs(ToBytes(d.Bytes())), std::optional<uint32_t>(2500));

  // The RIFF form plays what its "data" chunk holds.
  Bytes rmid = ToBytes(test::RiffMidi(b.Bytes()));
  EXPECT_EQ(MidiLengthMs(rmid), std::optional<uint32_t>(750));
  EXPECT_EQ(StandardMidiFile(rmid), ToBytes(b.Bytes()));
  EXPECT_EQ(StandardMidiFile(ToBytes(b.Bytes())), ToBytes(b.Bytes()));
}

TEST(MidiFile, DamagedFilesAreRefused) {
  test::MidiBuilder ok;
  ok.Program(0, 0, 1).On(0, 0, 60).Off(480, 0, 60).End();
  Bytes good = ToBytes(ok.Bytes());
  ASSERT_TRUE(MidiLengthMs(good));
  EXPECT_FALSE(MidiLengthMs({}));
  EXPECT_FALSE(MidiLengthMs(ToBytes("RIFF0000WAVEfmt ")));
  Bytes cut(good.begin(), good.end() - 5);  // the track chunk runs past the end
  EXPECT_FALSE(MidiLengthMs(cut));
  Bytes noTracks(good.begin(), good.begin() + 14);
  EXPECT_FALSE(MidiLengthMs(noTracks));

  test::MidiBuilder orphan;  // a data byte with no status before it
  orphan.Event(0, {60, 100}).End();
  EXPECT_FALSE(MidiLengthMs(ToBytes(orphan.Bytes())));
  test::MidiBuilder shortNote;  // an event cut off by the end of its track
  shortNote.Event(0, {0x90, 60});
  EXPECT_FALSE(MidiLengthMs(ToBytes(shortNote.Bytes())));
  test::MidiBuilder longDelta;  // a delta of five bytes
  longDelta.Event(0, {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100}).End();
  EXPECT_FALSE(MidiLengthMs(ToBytes(longDelta.Bytes())));

  Bytes rmid = ToBytes(test::RiffMidi(ok.Bytes()));
  EXPECT_FALSE(MidiLengthMs(Bytes(rmid.begin(), rmid.end() - 5)));  // its data chunk runs past the end
  Bytes noData = rmid;
  noData[24] = 'D';  // "Data": no chunk of the name
  EXPECT_FALSE(MidiLengthMs(noData));
}

TEST(MciCommandText, OnlyTheProgramsOwnCommandsAreUnderstood) {
  MciCommand open = ParseMciCommand("open \"/a b/c.mid\" type sequencer alias midifile");
  EXPECT_EQ(open.verb, MciVerb::Open);
  EXPECT_EQ(open.path, "/a b/c.mid");
  EXPECT_EQ(ParseMciCommand("open \"/a\"b.mid\" type sequencer alias midifile").verb, MciVerb::Unknown);
  EXPECT_EQ(ParseMciCommand("open /a.mid type sequencer alias midifile").verb, MciVerb::Unknown);
  EXPECT_EQ(ParseMciCommand("stop midifile ").verb, MciVerb::Stop);
  EXPECT_EQ(ParseMciCommand("play midifile from 0").verb, MciVerb::Play);
  EXPECT_EQ(ParseMciCommand("close midifile").verb, MciVerb::Close);
  EXPECT_EQ(ParseMciCommand("status midifile mode").verb, MciVerb::Status);
  EXPECT_EQ(ParseMciCommand("play other from 0").verb, MciVerb::OtherAlias);
  EXPECT_EQ(ParseMciCommand("set midifile time format ms").verb, MciVerb::Unknown);
}

}  // namespace
}  // namespace mirel
