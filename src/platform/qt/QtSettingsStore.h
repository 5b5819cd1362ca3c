#pragma once
// The player's settings in an INI file under the user's config folder
// ($XDG_CONFIG_HOME/mirel/settings.ini, by default ~/.config).
#include <string>

#include "platform/SettingsStore.h"

namespace mirel::qt {

class QtSettingsStore final : public SettingsStore {
 public:
  QtSettingsStore();
  explicit QtSettingsStore(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  bool Read(SettingsValues& out, std::string& problem) override;
  bool Write(const SettingsValues& values, std::string& problem) override;
  std::string Name() const override { return path_; }

 private:
  std::string path_;
};

}  // namespace mirel::qt
