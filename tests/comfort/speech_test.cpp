// The game's own voice: V switches it and the setting is kept, a machine
// without a speech engine is told so once and nothing else changes, and
// music and effects are lowered only while the game speaks.
#include <gtest/gtest.h>

#include "app/Main_Form.h"
#include "support/NoteHost.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct FakeSpeech final : SpeechEngine {
  bool available = true, speaking = false;
  std::vector<Text> said;
  int stops = 0;
  bool Available() override { return available; }
  void Say(const Text& t) override { said.push_back(t); }
  void Stop() override { ++stops; }
  bool Speaking() override { return speaking; }
  void SetVoice(int, int) override {}
};

struct Speech : ::testing::Test {
  test::TestPlatform tp;
  FakeSpeech engine;
  test::NoteHost host;
  std::unique_ptr<Main_Form> f;
  void Make() {
    tp.platform.speech = &engine;
    tp.platform.display = &host;
    f = std::make_unique<Main_Form>(tp.platform, StartOptions{});
  }
  void V() { f->Dispatch(KeyEvent('V')); }
};

TEST_F(Speech, WithoutAnEngineVSaysSoOnceAndChangesNothing) {
  engine.available = false;
  Make();
  V();
  V();
  EXPECT_EQ(host.notes, std::vector<std::string>{words::NoSpeechEngine()});
  EXPECT_FALSE(f->access->speech.speak);
  EXPECT_FALSE(f->display.settings.speech.speak);
  EXPECT_TRUE(engine.said.empty());
}

TEST_F(Speech, VSwitchesSpeakingAndTheSettingIsKept) {
  Make();
  V();
  EXPECT_TRUE(f->access->speech.speak);
  EXPECT_TRUE(f->display.settings.speech.speak);
  EXPECT_EQ(engine.said, std::vector<Text>{FromUtf8(words::SpeechOn())});
  V();
  EXPECT_FALSE(f->display.settings.speech.speak);
  EXPECT_GE(engine.stops, 1);
  EXPECT_EQ(engine.said.size(), 1u) << "nothing is said once speaking is off";
  EXPECT_EQ(host.notes, (std::vector<std::string>{words::SpeechOn(), words::SpeechOff()}));
}

TEST_F(Speech, MusicAndEffectsAreLoweredOnlyWhileTheGameSpeaks) {
  Make();
  const PlayerGains full = f->display.Gains();
  const struct {
    bool speak, duck, speaking, lowered;
  } cases[] = {{true, true, true, true},
               {true, true, false, false},
               {true, false, true, false},
               {false, true, true, false}};
  for (const auto& c : cases) {
    f->access->speech.speak = c.speak;
    f->access->speech.duck = c.duck;
    engine.speaking = c.speaking;
    f->DoEvents();
    const PlayerGains g = f->display.Gains();
    EXPECT_FLOAT_EQ(g.music, c.lowered ? full.music * kDuckedGain : full.music) << c.speak << c.duck << c.speaking;
    EXPECT_FLOAT_EQ(g.effects, c.lowered ? full.effects * kDuckedGain : full.effects);
  }
}

}  // namespace
}  // namespace mirel
