// The whole demo with each kind of sound output: with no audio device it
// plays to its end silently and the log says why; on the virtual output its
// songs all open and loop.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Main_Form.h"
#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "audio_harness.h"
#include "platform/Cp932.h"
#include "platform/VirtualAudio.h"
#include "platform/host/HostAudio.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct DemoRun {
  int status = -1;
  int32_t lastRecord = -1;
  bool bgmOn = false, seOn = false;
  std::string log;
};

DemoRun PlayDemo(const std::string& dir, test::TestPlatform& tp, AudioBackend& audio) {
  // A new game from the title; every choice then takes its first answer.
  ScriptInput input("title new\n", tp.clock, tp.messages);
  input.SetTimeLimit(3ull * 3600 * 1000);
  tp.platform.events = &input;
  tp.platform.audio = &audio;
  Main_Form f(tp.platform, StartOptions{dir, ""});
  input.Attach(&f);
  DemoRun r;
  f.StepHook = [&r](int32_t seq) { r.lastRecord = seq; };
  r.status = RunProgram(f);
  EXPECT_FALSE(input.TimedOut());
  r.bgmOn = f.BgmOn;
  EXPECT_GT(r.lastRecord, 100);  // well into the story, not just the title
  r.seOn = f.SeOn;
  auto bytes = ReadFile(dir + "mirel.log");
  if (bytes) r.log = Utf8(DecodeCp932(std::string(bytes->begin(), bytes->end())).value_or(Text()));
  return r;
}

TEST(DemoSound, WithNoAudioDeviceTheDemoPlaysToItsEndAndTheLogSaysWhy) {
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path())) << "the demo data folder has not been built";
  test::TestPlatform tp;
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  std::unique_ptr<AudioBackend> audio = OpenHostAudio(tp.clock, test::TestSoundfont());
  unsetenv("SDL_AUDIODRIVER");
  DemoRun r = PlayDemo(dir.path(), tp, *audio);
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(r.bgmOn);
  EXPECT_FALSE(r.seOn);
  EXPECT_NE(r.log.find("sound = sound off: "), std::string::npos) << r.log;
  EXPECT_TRUE(r.log.find("no audio device") != std::string::npos || r.log.find("soundfont") != std::string::npos)
      << r.log;
}

// Passes everything on, noting the songs opened and the sounds played.
struct Recording final : AudioBackend {
  explicit Recording(AudioBackend& inner) : inner(inner) {}
  uint32_t SendString(const std::string& c, std::string* result) override {
    uint32_t rc = inner.SendString(c, result);
    if (c.rfind("open ", 0) == 0) opened.push_back(c);
    if (c.rfind("play ", 0) == 0 && rc == 0) ++plays;
    return rc;
  }
  bool PlaySound(const Bytes& w, uint32_t flags) override {
    ++sounds;
    return inner.PlaySound(w, flags);
  }
  bool MixerOpen() override { return inner.MixerOpen(); }
  bool GetVolume(uint32_t& v) override { return inner.GetVolume(v); }
  bool SetVolume(uint32_t v) override { return inner.SetVolume(v); }
  std::string Describe() override { return inner.Describe(); }
  AudioBackend& inner;
  std::vector<std::string> opened;
  int plays = 0, sounds = 0;
};

TEST(DemoSound, OnTheVirtualOutputEverySongOfTheDemoOpens) {
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path())) << "the demo data folder has not been built";
  test::TestPlatform tp;
  VirtualAudio virt(tp.clock);
  Recording audio(virt);
  DemoRun r = PlayDemo(dir.path(), tp, audio);
  EXPECT_GE(audio.opened.size(), 2u);  // the title's song and the story's
  EXPECT_GE(audio.plays, int(audio.opened.size()));
  EXPECT_GE(audio.sounds, 1);  // the opening's sound at least
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.bgmOn);  // a song that failed to open would have switched music off
  EXPECT_TRUE(r.seOn);
  EXPECT_NE(r.log.find("sound = virtual output"), std::string::npos) << r.log;
}

}  // namespace
}  // namespace mirel
