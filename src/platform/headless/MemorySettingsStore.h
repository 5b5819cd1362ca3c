#pragma once
// For tests and headless runs: the settings kept in memory only.
#include <string>

#include "platform/SettingsStore.h"

namespace mirel {

class MemorySettingsStore final : public SettingsStore {
 public:
  bool Read(SettingsValues& out, std::string&) override {
    out = values;
    return true;
  }
  bool Write(const SettingsValues& v, std::string&) override {
    values = v;
    ++writes;
    return true;
  }
  SettingsValues values;
  int writes = 0;
};

}  // namespace mirel
