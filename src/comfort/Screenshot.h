#pragma once
// Screenshots of the picture: where they go and what they are called.
#include <ctime>
#include <functional>
#include <string>

namespace mirel {

// "MIREL 2026-12-07 14-05-09.png": sorts by time, and no character a
// desktop file system refuses.
std::string ScreenshotName(const std::tm& when, int n = 1);

// The file in `folder` (ending with a separator) for a screenshot taken
// `when`; a second one in the same second gets " (2)" and so on.
std::string ScreenshotPath(const std::string& folder, const std::tm& when,
                           const std::function<bool(const std::string&)>& exists);

}  // namespace mirel
