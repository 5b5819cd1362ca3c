#pragma once
// The program's command line.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mirel {

struct StartOptions;

struct ProgramOptions {
  std::string dataDir, input, soundfont, trace, record;
  bool warp = false;
  long warpBlock = 0;
  std::vector<std::pair<std::string, int16_t>> counters;
  bool headless = false, lock = false, help = false, version = false, stats = false, a11y = false;
  long maxSeconds = 6 * 3600;
  long clockCost = 0;
  std::string error;  // the first fault found, empty for none
};

extern const char* const kUsage;

// "--name VALUE" or "--name=VALUE".
ProgramOptions ParseOptions(int argc, char** argv);

// What the main window is told of them.
StartOptions StartOptionsOf(const ProgramOptions& o);

}  // namespace mirel
