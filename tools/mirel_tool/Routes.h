#pragma once
// Every route of a story walked with the game's own interpreter, headless
// and silent: at each choice every answer is taken, branches follow the
// counters of their route, and routes that meet in the same state merge.
#include <cstdint>
#include <string>
#include <vector>

#include "mirel_tool/Check.h"

namespace mirel::tool {

struct RouteStep {
  int line = 0;    // of "92.dat"; 0 for the title screen's new game
  int answer = 0;  // 1 to 3; 0 for the title screen
  std::string text;
};

struct RouteEnding {
  std::string kind;  // "plain", "ending 1", "ending 2", "quit", "stop"
  int line = 0;      // of "91.dat"
  int16_t kou = 0, hap = 0, bad = 0, mak = 0, end = 0;
  std::vector<RouteStep> answers;  // one shortest list that leads there
};

struct RouteReport {
  std::vector<RouteEnding> endings;
  std::vector<Finding> findings;  // unreached records, equal answers, loops, stops
  size_t states = 0, choices = 0;
  int shortestMessages = 0, longestMessages = 0;
  bool cut = false;  // more states than the walk keeps
  std::string dot;   // the graph of blocks and choices
};

// Reads `dir` without changing it. Throws std::runtime_error for a folder
// whose story cannot be loaded.
RouteReport WalkRoutes(const std::string& dir);
std::string RoutesText(const RouteReport& r);
std::string RoutesJson(const RouteReport& r);

}  // namespace mirel::tool
