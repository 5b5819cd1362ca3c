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

// The XDG rules: $XDG_DATA_HOME or ~/.local/share, $XDG_CONFIG_HOME or
// ~/.config, each with a "mirel" sub-folder.
class XdgFolders final : public UserFolders {
 public:
  std::string DataHome() override;
  std::string ConfigHome() override;
};

// Fixed folders, for tests.
class FixedFolders final : public UserFolders {
 public:
  explicit FixedFolders(std::string data, std::string config = {})
      : data_(std::move(data)), config_(std::move(config)) {}
  std::string DataHome() override { return data_; }
  std::string ConfigHome() override { return config_; }

 private:
  std::string data_, config_;
};

}  // namespace mirel
