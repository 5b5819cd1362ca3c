#include "base/XdgFolders.h"

#include <cstdlib>

namespace mirel {

namespace {

// Relative values are ignored, as the XDG rules ask.
std::string Base(const char* variable, const char* fallback) {
  const char* v = std::getenv(variable);
  if (v && v[0] == '/') return v;
  const char* home = std::getenv("HOME");
  if (!home || !home[0]) return "";
  return std::string(home) + "/" + fallback;
}

std::string Ours(std::string base) {
  if (base.empty()) return base;
  if (base.back() != '/') base += '/';
  return base + "mirel/";
}

}  // namespace

std::string XdgFolders::DataHome() { return Ours(Base("XDG_DATA_HOME", ".local/share")); }
std::string XdgFolders::ConfigHome() { return Ours(Base("XDG_CONFIG_HOME", ".config")); }

}  // namespace mirel
