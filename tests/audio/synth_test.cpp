// The synthesizer back end rendered offline on the virtual clock: songs sound
// while they play and end on time, the loop timer brings them back, RIFF and
// GS songs play, and the host's choice of soundfont and device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/Main_Form.h"
#include "audio/WaveResources.h"
#include "audio_harness.h"
#include "base/Files.h"
#include "platform/headless/VirtualClock.h"
#include "platform/host/HostAudio.h"
#include "platform/host/SynthAudio.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

constexpr double kPerMs = Mixer::kRate / 1000.0;

struct SynthTest : ::testing::Test {
  test::TestPlatform tp;
  test::TempDir dir;
  std::unique_ptr<SynthAudio> synth;
  std::unique_ptr<Main_Form> f;
  std::vector<float> out;  // everything rendered, from the start

  void SetUp() override {
    std::string sf = test::TestSoundfont();
    if (sf.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    synth = std::make_unique<SynthAudio>(tp.clock, sf);
    ASSERT_TRUE(synth->Ready()) << synth->Error();
    synth->RenderToClock([this](const float* s, int n) { out.insert(out.end(), s, s + 2 * n); });
    tp.platform.audio = synth.get();
    f = std::make_unique<Main_Form>(tp.platform, StartOptions{});
    f->DataDir = dir.path();
    f->mci.log = [](const std::string&) {};
    ASSERT_TRUE(f->mci.OpenMixer());
    ASSERT_TRUE(f->mci.GetVolumeControl(4));
    ASSERT_TRUE(f->mci.GetVolume(f->SavedVolume));
  }
  void Song(int m, const std::string& bytes) {
    std::string name = "song" + std::to_string(m) + ".mid";
    test::WriteBytes(dir / name, bytes);
    f->MusicFiles[m] = FromUtf8(name);
  }
  void Run(const Text& cmd) {
    f->CmdText = cmd;
    f->CmdAudio();
  }
  // Lets `ms` pass on the clock and renders up to it.
  size_t Wait(uint32_t ms) {
    tp.clock.Sleep(ms);
    return Frame();
  }
  size_t Frame() {
    uint32_t v;
    synth->GetVolume(v);  // any call renders up to the clock
    return out.size() / 2;
  }
  double Level(size_t from, size_t to) { return test::Rms(out, from, to); }
};

TEST_F(SynthTest, SongSoundsWhilePlayingEndsOnTimeAndTheLoopBringsItBack) {
  Song(1, test::HeldChord(1500));
  f->timers.SetEnabled(f->BGMLoopTimer, true);
  size_t start = Frame();
  Run(u"aa");
  EXPECT_EQ(f->mci.MidiStatus(), "PLAYING");
  size_t at = Wait(1000);
  EXPECT_EQ(f->mci.MidiStatus(), "PLAYING");
  EXPECT_GT(Level(start + size_t(200 * kPerMs), at), 0.005);
  Wait(800);  // past its length and the player's grace
  EXPECT_NE(f->mci.MidiStatus(), "PLAYING");
  size_t ended = Frame();

  // The loop timer brings it back within a second.
  int ms = 0;
  while (f->mci.MidiStatus() != "PLAYING" && ms < 1500) {
    f->DoEvents();
    Wait(10);
    ms += 10;
  }
  EXPECT_EQ(f->mci.MidiStatus(), "PLAYING");
  EXPECT_LE(ms, 1000);
  size_t back = Frame();
  size_t later = Wait(500);
  EXPECT_GT(Level(back + size_t(100 * kPerMs), later), 0.005);
  EXPECT_GT(back, ended);
  test::DumpWave(out, "loop");
}

TEST_F(SynthTest, RiffMidiSongPlays) {
  Song(1, test::RiffMidi(test::HeldChord(800)));
  size_t start = Frame();
  Run(u"aa");
  EXPECT_TRUE(f->BgmOn);
  EXPECT_EQ(f->mci.MidiStatus(), "PLAYING");
  EXPECT_GT(Level(start + size_t(100 * kPerMs), Wait(600)), 0.005);
}

// A song for GS modules: the GS reset, its drum part moved to channel 11 by
// the "use for rhythm part" message, a kit chosen there by bank and program,
// and a closed hi-hat: short, as a drum, where the part taken as a melody
// would hold a string note.
TEST_F(SynthTest, GsSongsDrumPartSoundsAsDrums) {
  test::MidiBuilder m;
  m.Event(0, {0xF0, 10, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
  m.Event(96, {0xF0, 10, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x02, 0x0F, 0xF7});
  m.Event(0, {0xBA, 0, 0}).Program(0, 10, 48).On(96, 10, 42, 110).Off(480, 10, 42).End(96);
  Song(1, m.Bytes());
  size_t start = Frame();
  Run(u"aa");
  Wait(800);
  auto at = [&](int ms) { return start + size_t(ms * kPerMs); };
  double hit = Level(at(200), at(300)), after = Level(at(500), at(700));
  EXPECT_GT(hit, 0.002);
  EXPECT_LT(after, hit / 20);
}

// A song stopped after its fade leaves nothing of its reverb to come back
// when the player's volume is put back.
TEST_F(SynthTest, AStoppedSongsEchoDoesNotComeBackWithTheVolume) {
  test::MidiBuilder m;
  m.Event(0, {0xB0, 91, 127}).Program(0, 0, 19).On(0, 0, 60).On(0, 0, 67).Off(4000, 0, 60).Off(0, 0, 67).End();
  Song(1, m.Bytes());
  size_t start = Frame();
  Run(u"aa");
  size_t playing = Wait(1000);
  Run(u"a0");
  size_t stopped = Frame();
  EXPECT_GT(Level(start + size_t(200 * kPerMs), playing), 0.005);
  EXPECT_LT(Level(stopped, Wait(600)), 0.0005);
  test::DumpWave(out, "echo");
}

// Everything written to the standard error stream while `run` runs.
std::string Stderr(const std::function<void()>& run) {
  test::TempDir dir;
  std::fflush(stderr);
  int saved = dup(2), file = open((dir / "err").c_str(), O_WRONLY | O_CREAT, 0600);
  dup2(file, 2);
  run();
  std::fflush(stderr);
  dup2(saved, 2);
  close(file);
  close(saved);
  return test::ReadBytes(dir / "err");
}

TEST(HostAudio, NoSoundfontOrNoDeviceMeansSilenceWithOneLineSayingWhy) {
  VirtualClock clock;
  auto none = OpenHostAudio(clock, "/nonexistent/none.sf2");
  EXPECT_FALSE(none->MixerOpen());
  EXPECT_NE(none->Describe().find("sound off"), std::string::npos);
  EXPECT_NE(none->Describe().find("/nonexistent/none.sf2"), std::string::npos);

  std::string sf = test::TestSoundfont();
  if (sf.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  // A driver that does not exist, and ALSA asked for a device that does not
  // exist: only our own line reaches the terminal.
  for (const char* driver : {"no-such-driver", "alsa"}) {
    SCOPED_TRACE(driver);
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("AUDIODEV", "mirel-no-such-device", 1);
    std::unique_ptr<AudioBackend> silent;
    std::string err = Stderr([&] { silent = OpenHostAudio(clock, sf); });
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("AUDIODEV");
    EXPECT_FALSE(silent->MixerOpen());
    EXPECT_NE(silent->Describe().find("no audio device"), std::string::npos) << silent->Describe();
    EXPECT_EQ(err, "mirel: " + silent->Describe() + "\n");
  }
}

// A fuller soundfont is the default where it is installed; the option
// chooses any other; the log's sound line names the one in use.
TEST(HostAudio, TheFullerSoundfontIsTheDefaultAndTheLogNamesTheOneUsed) {
  test::TempDir dir;
  std::string root = dir.path().substr(0, dir.path().size() - 1), sf2 = root + "/usr/share/sounds/sf2/";
  std::filesystem::create_directories(sf2);
  test::WriteBytes(sf2 + "TimGM6mb.sf2", "small");
  test::WriteBytes(sf2 + "FluidR3_GM.sf2", "full");
  const char* env = std::getenv("MIREL_SOUNDFONT");
  std::string saved = env ? env : "";
  unsetenv("MIREL_SOUNDFONT");
  EXPECT_EQ(FindSoundfont("", root), sf2 + "FluidR3_GM.sf2");
  EXPECT_EQ(FindSoundfont("/my/own.sf2", root), "/my/own.sf2");
  std::filesystem::remove(sf2 + "FluidR3_GM.sf2");
  EXPECT_EQ(FindSoundfont("", root), sf2 + "TimGM6mb.sf2");
  if (!saved.empty()) setenv("MIREL_SOUNDFONT", saved.c_str(), 1);

  std::string sf = test::TestSoundfont();
  if (sf.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  VirtualClock clock;
  SynthAudio synth(clock, sf);
  EXPECT_NE(synth.Describe().find("soundfont " + sf), std::string::npos) << synth.Describe();
}

}  // namespace
}  // namespace mirel
