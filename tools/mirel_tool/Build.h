#pragma once
// Makes a data folder from a story kept as readable text: the story and its
// choices as comma-separated UTF-8 lines, "story.ini" and "90.txt" in UTF-8,
// plain pictures painted from a one-line description, and every other file
// taken as it is.
#include <string>

namespace mirel::tool {

struct BuildOptions {
  std::string base;        // a data folder to start from (pictures, songs), or empty
  bool unchecked = false;  // keep mistakes the game would stumble over, for trying them
};

// Throws std::runtime_error naming the file (and line) that cannot be made.
void BuildDataFolder(const std::string& src, const std::string& out, const BuildOptions& options);

}  // namespace mirel::tool
