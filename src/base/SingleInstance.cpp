#include "base/SingleInstance.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace mirel {

SingleInstance::SingleInstance(std::string dir) {
  if (dir.empty()) {
    const char* run = std::getenv("XDG_RUNTIME_DIR");
    dir = run && *run ? run : "/tmp";
    if (!run || !*run) dir += "/mirel-" + std::to_string(::getuid());
  }
  if (dir.back() != '/') dir += '/';
  ::mkdir(dir.c_str(), 0700);
  path_ = dir + "mirel.lock";
}

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);  // the lock goes with the descriptor
}

bool SingleInstance::Acquire() {
  if (fd_ >= 0) return true;
  int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // A lock that cannot even be made must not keep the player from playing.
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

}  // namespace mirel
