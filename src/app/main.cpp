// Program entry: the command line, then the main window on the platform
// made for the mode asked for, the desktop or headless.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Main_Form.h"
#include "app/Options.h"
#include "app/PlatformBuilder.h"
#include "app/Startup.h"
#include "base/EndSignals.h"
#include "base/Files.h"
#include "base/ThreadsAtExit.h"

using namespace mirel;

namespace {

// The message box only names the folder; on the terminal say how to choose one.
void HintAtDataFolder(const Main_Form& form) {
  if (form.DataDir.empty() || FileExists(form.DataPath("90.dat"))) return;
  std::fprintf(stderr, "mirel: no story in %s (\"90.dat\" is missing); --data DIR chooses the data folder\n",
               form.DataDir.c_str());
}

int Play(const ProgramOptions& o) {
  PlatformPlan plan;
  plan.headless = o.headless;
  plan.inputFile = o.input;
  plan.maxSeconds = o.maxSeconds;
  // On the desktop always; headless only when asked.
  plan.lock = !o.headless || o.lock;
  plan.soundfont = o.soundfont;
  plan.clockCost = o.clockCost;
  plan.recordFile = o.record;
  plan.traceFile = o.trace;
  plan.a11y = o.a11y;
  int status = 0;
  std::unique_ptr<BuiltPlatform> built = BuildPlatform(plan, status);
  if (!built) return status;
  Main_Form form(built->Get(), StartOptionsOf(o));
  built->Attach(form);
  status = RunProgram(form);
  HintAtDataFolder(form);
  status = built->Finish(status);
  if (o.stats) built->Stats().Print();
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const ProgramOptions options = ParseOptions(argc, argv);
  if (!options.error.empty()) {
    std::fprintf(stderr, "mirel: %s\n\n%s", options.error.c_str(), kUsage);
    return 2;
  }
  if (options.help) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (options.version) {
    std::printf("MIREL %s\n", MIREL_VERSION);
    return 0;
  }
  if (options.headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EndSignals::Install();
  AwaitHelperThreadsAtExit();
  QApplication app(argc, argv);
  QApplication::setApplicationName("MIREL");
  const int status = Play(options);
  // Everything is put away: now end the way the signal asked for.
  EndSignals::EndByReceived();
  return status;
}
