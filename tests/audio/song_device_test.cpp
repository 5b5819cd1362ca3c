// The song device answers every command alike on the virtual and on the
// synthesized sound: the same codes in the same order of checks, the same
// status, so a headless run hears what the desktop would.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "audio_harness.h"
#include "platform/headless/VirtualAudio.h"
#include "platform/headless/VirtualClock.h"
#include "platform/host/SynthAudio.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct Step {
  const char* command;  // SONG, BROKEN and MISSING stand for the files
  uint32_t code;
  const char* result = "";
};

const Step kSteps[] = {
    {"play midifile from 0", 263},
    {"status midifile mode", 263},
    {"open \"MISSING\" type sequencer alias midifile", 275},
    {"open \"BROKEN\" type sequencer alias midifile", 266},
    {"open \"SONG\" type sequencer alias midifile", 0},
    {"open \"SONG\" type sequencer alias midifile", 289},
    {"status midifile mode", 0, "stopped"},
    {"play midifile from 0", 0},
    {"status midifile mode", 0, "playing"},
    {"play cdaudio", 263},
    {"seek midifile to start", 261},
    {"stop midifile", 0},
    {"status midifile mode", 0, "stopped"},
    {"play midifile from 0", 0},
    {"close midifile", 0},
    {"status midifile mode", 263},
    {"stop midifile", 263},
    {"open \"SONG\" type sequencer alias midifile", 0},
};

class SongDeviceTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SongDeviceTest, CommandsAreCheckedInOneOrderWithOneSetOfCodes) {
  VirtualClock clock;
  std::unique_ptr<AudioBackend> audio;
  if (std::string(GetParam()) == "virtual") {
    audio = std::make_unique<VirtualAudio>(clock);
  } else {
    const std::string sf = test::TestSoundfont();
    if (sf.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    auto synth = std::make_unique<SynthAudio>(clock, sf);
    ASSERT_TRUE(synth->Ready()) << synth->Error();
    synth->RenderToClock(nullptr);
    audio = std::move(synth);
  }
  test::TempDir dir;
  test::WriteBytes(dir / "song.mid", test::HeldChord(2000));
  test::WriteBytes(dir / "broken.mid", "MThd not a song");
  for (const Step& step : kSteps) {
    std::string command = step.command;
    for (auto [name, file] : {std::pair{"MISSING", "none.mid"}, {"BROKEN", "broken.mid"}, {"SONG", "song.mid"}})
      if (size_t at = command.find(name); at != std::string::npos) command.replace(at, std::string(name).size(), dir / file);
    std::string result = "left over";
    EXPECT_EQ(audio->SendString(command, &result), step.code) << step.command;
    EXPECT_EQ(result, step.result) << step.command;
    clock.Sleep(10);
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, SongDeviceTest, ::testing::Values("virtual", "synthesized"));

}  // namespace
}  // namespace mirel
