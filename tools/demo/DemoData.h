#pragma once
// Builds the complete demo data folder from the story sources.
#include <map>
#include <string>

#include <vector>

#include "base/Files.h"
#include "platform/Image.h"

namespace mirel::demo {

// Every file of the data folder by name, in the form it is shipped in.
// `storyDir` holds scenario.csv and choices.csv. Throws std::runtime_error
// (StoryError for mistakes in the story) when something cannot be made.
std::map<std::string, Bytes> BuildDemoFiles(const std::string& storyDir);

// BuildDemoFiles written into `outDir` (created when missing).
void MakeDemoData(const std::string& outDir, const std::string& storyDir);

// The image file table of the data folder, in its fixed order.
const std::vector<std::string>& ImageTableNames();

// JPEG bytes of the picture (Qt's writer; the engine itself stays Qt-free).
Bytes EncodeJpeg(const Image& img, int quality);

}  // namespace mirel::demo
