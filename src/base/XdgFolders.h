#pragma once
#include <string>

#include "platform/UserFolders.h"

namespace mirel {

// The XDG rules: $XDG_DATA_HOME or ~/.local/share, $XDG_CONFIG_HOME or
// ~/.config, each with a "mirel" sub-folder.
class XdgFolders final : public UserFolders {
 public:
  std::string DataHome() override;
  std::string ConfigHome() override;
};

}  // namespace mirel
