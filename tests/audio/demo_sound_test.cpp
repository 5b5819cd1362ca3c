// The whole demo with no audio device: it plays to its end silently and the
// log says why.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio_harness.h"
#include "base/Cp932.h"
#include "platform/host/HostAudio.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

TEST(DemoSound, WithNoAudioDeviceTheDemoPlaysToItsEndAndTheLogSaysWhy) {
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path())) << "the demo data folder has not been built";
  std::unique_ptr<AudioBackend> audio;  // outlives the program that uses it
  test::DemoRun run;
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  audio = OpenHostAudio(run.tp.clock, test::TestSoundfont());
  unsetenv("SDL_AUDIODRIVER");
  run.tp.platform.audio = audio.get();
  // A new game from the title; every choice then takes its first answer.
  run.timeLimitMs = 3ull * 3600 * 1000;
  EXPECT_EQ(run.Play(dir.path(), "title new\n"), 0);
  EXPECT_FALSE(run.input->TimedOut());
  EXPECT_GT(run.trace.back(), 100);  // well into the story, not just the title
  EXPECT_FALSE(run.form->BgmOn);
  EXPECT_FALSE(run.form->SeOn);
  auto bytes = ReadFile(dir / "mirel.log");
  ASSERT_TRUE(bytes.has_value());
  std::string log = Utf8(DecodeCp932(std::string(bytes->begin(), bytes->end())).value_or(Text()));
  EXPECT_NE(log.find("sound = sound off: "), std::string::npos) << log;
  EXPECT_TRUE(log.find("no audio device") != std::string::npos || log.find("soundfont") != std::string::npos) << log;
}

}  // namespace
}  // namespace mirel
