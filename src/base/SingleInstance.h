#pragma once
// One running game per user: a lock file in the user's runtime folder.
#include <string>

namespace mirel {

class SingleInstance {
 public:
  // `dir` empty: $XDG_RUNTIME_DIR, else the temporary folder.
  explicit SingleInstance(std::string dir = "");
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  // False when another instance holds the lock.
  bool Acquire();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace mirel
