#pragma once
// Where the player's own settings are kept between runs: a flat set of
// named text values. The desktop keeps them in the user's config folder;
// headless runs and tests keep them in memory.
#include <map>
#include <string>

namespace mirel {

using SettingsValues = std::map<std::string, std::string>;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // A store that has never been written reads as empty and fine. False with
  // the reason when what is stored cannot be read or is damaged.
  virtual bool Read(SettingsValues& out, std::string& problem) = 0;
  virtual bool Write(const SettingsValues& values, std::string& problem) = 0;
  // Where the values are kept, for the log.
  virtual std::string Name() const { return "in memory"; }
};

}  // namespace mirel
