#pragma once
// What an author wants to know before shipping a data folder: everything
// start-up refuses, and what the player would only meet as a broken scene.
#include <string>
#include <vector>

namespace mirel::tool {

// An error: start-up refuses the folder, or play stops or breaks there (a
// message box, a run-time stop, a jump that finds nothing). A warning: play
// goes on, but something is lost or looks wrong.
enum class Severity { Warning, Error };

struct Finding {
  std::string file;  // name inside the data folder, e.g. "91.dat"
  int line = 0;      // 1-based; 0 when the finding is about the whole file
  std::string message;
  Severity severity = Severity::Error;
  std::string Format() const;  // "file:line: error: message"
};

// `dir` need not end with a separator. Reads only; never changes a file.
std::vector<Finding> CheckDataFolder(const std::string& dir);

// The exit status of a check: 1 with any error (or, when strict, any
// finding at all), else 0.
int CheckStatus(const std::vector<Finding>& findings, bool strict);

}  // namespace mirel::tool
