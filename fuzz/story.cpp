// "story.ini": the speaker tags and the staff roll's names, written by hand.
// What it gives, written out again as such a file, reads the same and
// without a problem.
#include "Fuzz.h"
#include "app/StoryFile.h"
#include "base/Cp932.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StoryContent story = ParseStory(fuzz::View(data, size));
  size_t lines = 1;
  for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  for (const StoryProblem& p : story.problems)
    FUZZ_CHECK(p.line >= 0 && static_cast<size_t>(p.line) <= lines && !p.message.empty());
  FUZZ_CHECK(!story.Summary().empty());

  const char* const staff[] = {"scenario", "program", "graphics", "music", "maker", "year"};
  const Text* names[] = {&story.credits.scenario, &story.credits.program, &story.credits.graphics,
                         &story.credits.music,    &story.credits.maker,   &story.credits.year};
  std::string out = "[tags]\r\n";
  for (size_t k = 0; k < story.tags.size(); ++k) out += std::to_string(k + 2) + "=" + EncodeCp932(story.tags[k]) + "\r\n";
  out += "[staff]\r\n";
  for (size_t k = 0; k < 6; ++k) out += std::string(staff[k]) + "=" + EncodeCp932(*names[k]) + "\r\n";
  StoryContent again = ParseStory(out);
  FUZZ_CHECK(again.problems.empty());
  FUZZ_CHECK(again.tags == story.tags);
  for (size_t k = 0; k < 6; ++k) {
    const Text* back[] = {&again.credits.scenario, &again.credits.program, &again.credits.graphics,
                          &again.credits.music,    &again.credits.maker,   &again.credits.year};
    FUZZ_CHECK(*back[k] == *names[k]);
  }
  return 0;
}
