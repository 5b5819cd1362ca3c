#pragma once
// Makes the platform the game runs on, for either mode: the desktop (a Qt
// window, real clock and sound) or headless (offscreen, virtual clock,
// scripted input, optionally recorded).
#include <memory>
#include <string>

#include "app/TimingStats.h"
#include "platform/Platform.h"

namespace mirel {

class Main_Form;

struct PlatformPlan {
  bool headless = false;
  std::string inputFile;   // the player's scripted actions; empty for none
  long maxSeconds = 0;     // of game time, for a scripted run
  bool lock = true;        // refuse to run beside another game
  std::string soundfont;   // desktop: the soundfont asked for
  long clockCost = 0;      // headless: milliseconds every reading of the clock costs
  std::string recordFile;  // headless: what is seen and heard, one event a line
  std::string traceFile;   // headless: every scenario record run
  bool a11y = false;       // headless: "a11y:" and "speech:" lines
};

// The platform and all it is made of; it outlives the game's window.
class BuiltPlatform {
 public:
  virtual ~BuiltPlatform() = default;
  virtual Platform& Get() = 0;
  virtual TimingStats& Stats() = 0;
  // Ties what follows the game to its window: the scripted actions, the
  // ending signals, the recording and the trace.
  virtual void Attach(Main_Form& form) = 0;
  // After the game has ended: the exit status to report.
  virtual int Finish(int status) = 0;
};

// Null when the plan cannot be carried out: `status` is then the exit
// status, and why has been told.
std::unique_ptr<BuiltPlatform> BuildPlatform(const PlatformPlan& plan, int& status);

}  // namespace mirel
