#pragma once
// Turns the readable story sources (UTF-8 comma-separated lines, "#"
// comments allowed) into the scenario and choice texts the engine reads:
// CP932 with CR LF, checked for the mistakes that would break play.
#include <stdexcept>
#include <string>

namespace mirel::demo {

struct StoryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct StoryTexts {
  std::string scenario;  // "91.dat" before complementing
  std::string choices;   // "92.dat" before complementing
};

// Throws StoryError naming the source line of the first problem found.
StoryTexts CompileStory(const std::string& scenarioCsv, const std::string& choicesCsv);

// UTF-8 -> CP932; throws StoryError when a character has no CP932 form.
std::string ToCp932(const std::string& utf8, const std::string& where);

}  // namespace mirel::demo
