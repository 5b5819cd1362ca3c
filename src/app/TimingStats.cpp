#include "app/TimingStats.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace mirel {

namespace {

using WallClock = std::chrono::steady_clock;
const WallClock::time_point kStarted = WallClock::now();

// Milliseconds since the kernel started this process (to 10 ms).
double SinceProcessStart() {
  std::ifstream in("/proc/self/stat");
  std::string stat;
  std::getline(in, stat);
  const size_t name = stat.rfind(')');
  if (name == std::string::npos) return -1;
  std::istringstream fields(stat.substr(name + 1));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double started = std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
  return (static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - started) * 1000.0;
}

}  // namespace

void TimingStats::Pumped(bool titleShown) {
  if (titleMs_ < 0 && titleShown)
    titleMs_ = std::chrono::duration<double, std::milli>(WallClock::now() - kStarted).count();
}

void TimingStats::FirstFrame() { firstFrameMs_ = SinceProcessStart(); }

void TimingStats::Print() const {
  struct rusage u {};
  getrusage(RUSAGE_SELF, &u);
  if (titleMs_ >= 0) std::printf("stats: start to title %.1f ms\n", titleMs_);
  else std::printf("stats: the title screen was not reached\n");
  std::printf("stats: peak memory %ld kB\n", u.ru_maxrss);
  if (firstFrameMs_ >= 0) std::printf("stats: first frame %.0f ms after the process started\n", firstFrameMs_);
}

}  // namespace mirel
