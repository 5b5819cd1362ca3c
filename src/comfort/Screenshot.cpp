#include "comfort/Screenshot.h"

#include <cstdio>

namespace mirel {

std::string ScreenshotName(const std::tm& t, int n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "MIREL %04d-%02d-%02d %02d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  std::string name = buf;
  if (n > 1) name += " (" + std::to_string(n) + ")";
  return name + ".png";
}

std::string ScreenshotPath(const std::string& folder, const std::tm& when,
                           const std::function<bool(const std::string&)>& exists) {
  for (int n = 1;; ++n) {
    std::string path = folder + ScreenshotName(when, n);
    if (!exists(path) || n >= 1000) return path;
  }
}

}  // namespace mirel
