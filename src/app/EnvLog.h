#pragma once
// The environment log as last written (app/EnvLog.cpp).
#include <string>

namespace mirel {

struct EnvLogState {
  std::string LogReport, LoggedSound;  // as last written
  std::string ColorDepthText = "32", MemoryLoadText = "0";
};

}  // namespace mirel
