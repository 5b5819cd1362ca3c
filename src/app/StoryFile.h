#pragma once
// The story's own words that the scenario does not carry: the speaker tags
// of speakers 2 to 9 and the staff roll's names. They live in one text file
// of the data folder, "story.ini", Shift-JIS like the folder's other texts:
//
//   [tags]
//   2=【Mio】
//   ...
//   9=【Clerk】
//   [staff]
//   scenario=...   (also program, graphics, music, maker, year)
//
// Lines starting with ";" or "#" and empty lines are comments.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "extras/Credits.h"

namespace mirel {

inline constexpr const char* kStoryFile = "story.ini";

struct StoryProblem {
  int line = 0;  // 1-based; 0 for the whole file
  std::string message;
};

struct StoryContent {
  bool found = false;         // the data folder has the file
  std::array<Text, 8> tags;   // speakers 2 to 9; empty when not given
  extras::CreditsContent credits;
  std::string creditsFrom;    // the file the names came from, empty for the defaults
  // Line of that file giving the scenario, program, graphics, music, maker
  // and year names; 0 where not given.
  std::array<int, 6> staffLines{};
  std::vector<StoryProblem> problems;
  // One line for the environment log.
  std::string Summary() const;
};

// Reads the file's bytes; whatever is missing or wrong is in `problems`.
StoryContent ParseStory(std::string_view bytes);
// Reads the data folder's story file. A folder without one has no tags;
// its staff roll then comes from the older "staff.txt", if present.
StoryContent ReadStory(const std::string& dataDir);

}  // namespace mirel
