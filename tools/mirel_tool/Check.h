#pragma once
// What an author wants to know before shipping a data folder: everything
// start-up refuses, and what the player would only meet as a broken scene.
#include <string>
#include <vector>

namespace mirel::tool {

struct Finding {
  std::string file;  // name inside the data folder, e.g. "91.dat"
  int line = 0;      // 1-based; 0 when the finding is about the whole file
  std::string message;
  std::string Format() const;  // "file:line: message"
};

// `dir` need not end with a separator. Reads only; never changes a file.
std::vector<Finding> CheckDataFolder(const std::string& dir);

}  // namespace mirel::tool
