#include "platform/qt/QtSpeech.h"

#include <QLocale>
#include <QTextToSpeech>

namespace mirel::qt {

QtSpeech::QtSpeech() = default;
QtSpeech::~QtSpeech() = default;

bool QtSpeech::Start() {
  if (tried_) return tts_ != nullptr;
  tried_ = true;
  if (QTextToSpeech::availableEngines().isEmpty()) return false;
  auto tts = std::make_unique<QTextToSpeech>();
  if (tts->state() == QTextToSpeech::Error) return false;
  // The story is Japanese: a Japanese voice where the engine has one.
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  for (const QLocale& l : tts->availableLocales())
    if (l.language() == QLocale::Japanese) {
      tts->setLocale(japanese);
      break;
    }
  tts_ = std::move(tts);
  SetVoice(rate_, volume_);
  return true;
}

bool QtSpeech::Available() { return Start(); }

void QtSpeech::Say(const Text& text) {
  if (!Start()) return;
  tts_->say(QString::fromStdU16String(text));
}

void QtSpeech::Stop() {
  if (tts_) tts_->stop();
}

bool QtSpeech::Speaking() { return tts_ && tts_->state() == QTextToSpeech::Speaking; }

void QtSpeech::SetVoice(int rate, int volume) {
  rate_ = rate;
  volume_ = volume;
  if (!tts_) return;
  tts_->setRate(rate / 10.0);
  tts_->setVolume(volume / 100.0);
}

}  // namespace mirel::qt
