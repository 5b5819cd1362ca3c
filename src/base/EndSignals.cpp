#include "base/EndSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace mirel {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
int pipeFds[2] = {-1, -1};
volatile sig_atomic_t received = 0;

// Nothing here but what a signal handler may do.
void OnSignal(int sig) {
  const int saved = errno;
  if (received == 0) {
    received = sig;
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int s : kSignals) sigaction(s, &dfl, nullptr);
  }
  const char b = 1;
  ssize_t n = write(pipeFds[1], &b, 1);
  (void)n;  // a full pipe already says so
  errno = saved;
}

}  // namespace

void EndSignals::Install() {
  if (pipeFds[0] >= 0 || pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction on {};
  on.sa_handler = OnSignal;
  sigemptyset(&on.sa_mask);
  on.sa_flags = SA_RESTART;
  for (int s : kSignals) {
    struct sigaction old {};
    if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(s, &on, nullptr);
  }
}

int EndSignals::Fd() { return pipeFds[0]; }

bool EndSignals::Take() {
  char buf[16];
  bool any = false;
  while (pipeFds[0] >= 0 && read(pipeFds[0], buf, sizeof buf) > 0) any = true;
  return any;
}

int EndSignals::Received() { return received; }

void EndSignals::EndByReceived() {
  if (received == 0) return;
  std::signal(received, SIG_DFL);
  std::raise(received);
}

}  // namespace mirel
