#include "base/ThreadsAtExit.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define MIREL_LEAK_CHECK_AT_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIREL_LEAK_CHECK_AT_EXIT 1
#endif
#endif

namespace mirel {
namespace {

[[maybe_unused]] int ThreadCount() {
  std::error_code e;
  int n = 0;
  for (std::filesystem::directory_iterator it("/proc/self/task", e), end; !e && it != end; it.increment(e)) ++n;
  return e ? 1 : n;
}

[[maybe_unused]] void AwaitAlone() {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (ThreadCount() > 1 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

void AwaitHelperThreadsAtExit() {
#ifdef MIREL_LEAK_CHECK_AT_EXIT
  std::atexit(AwaitAlone);
#endif
}

}  // namespace mirel
