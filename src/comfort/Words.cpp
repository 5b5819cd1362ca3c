#include "comfort/Words.h"

namespace mirel {

namespace {

WordTranslator& Translator() {
  static WordTranslator translator;
  return translator;
}

}  // namespace

void SetWordTranslator(WordTranslator translator) { Translator() = std::move(translator); }

std::string translate(const char* context, const char* text) {
  return Translator() ? Translator()(context, text) : std::string(text);
}

std::string WithArg(std::string words, const std::string& arg) {
  size_t at = words.find("%1");
  if (at != std::string::npos) words.replace(at, 2, arg);
  return words;
}

}  // namespace mirel
