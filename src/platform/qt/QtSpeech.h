#pragma once
// The game's own voice through Qt's speech synthesis (speech-dispatcher on
// Linux). The engine is started the first time it is needed; a machine
// without one says so through Available().
#include <memory>

#include "comfort/Accessibility.h"

class QTextToSpeech;

namespace mirel::qt {

class QtSpeech final : public SpeechEngine {
 public:
  QtSpeech();
  ~QtSpeech() override;
  bool Available() override;
  void Say(const Text& text) override;
  void Stop() override;
  bool Speaking() override;
  void SetVoice(int rate, int volume) override;

 private:
  bool Start();
  std::unique_ptr<QTextToSpeech> tts_;
  bool tried_ = false;
  int rate_ = 0, volume_ = 100;
};

}  // namespace mirel::qt
