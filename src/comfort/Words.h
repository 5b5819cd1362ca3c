#pragma once
// The comforts' own words. Each is written in English where it is used, as
// translate("Comfort", "...") so that Qt's lupdate finds it, and comes back
// in the language the desktop chose at start. Headless runs keep the words
// as written, so a recorded run does not depend on the machine's language.
// The game's own texts never pass through here.
#include <functional>
#include <string>

namespace mirel {

using WordTranslator = std::function<std::string(const char* context, const char* text)>;

// Installed once by the desktop, before the comforts are made.
void SetWordTranslator(WordTranslator translator);

// `text` (UTF-8) in the chosen language.
std::string translate(const char* context, const char* text);

// `words` with "%1" replaced by `arg`.
std::string WithArg(std::string words, const std::string& arg);

}  // namespace mirel
