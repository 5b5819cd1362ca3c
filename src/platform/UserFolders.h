#pragma once
// The player's own folders (XDG base directories), where what belongs to the
// player rather than to the story is kept between runs.
#include <string>

namespace mirel {

class UserFolders {
 public:
  virtual ~UserFolders() = default;
  // Folders for data and settings of this program, ending with a separator;
  // empty when none can be found. Not created here.
  virtual std::string DataHome() = 0;
  virtual std::string ConfigHome() = 0;
};

}  // namespace mirel
