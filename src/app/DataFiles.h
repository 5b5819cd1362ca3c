#pragma once
// The data folder's files as the main window keeps them (app/DataFiles.cpp).
#include <string>
#include <vector>

#include "app/StoryFile.h"

namespace mirel {

struct DataFilesState {
  // Raw CP932 bytes of "90.dat" lines 1..n (index 0 unused).
  std::vector<std::string> ConfigLines;
  int ConfigLineCount = 25;
  // Speaker tags and staff roll, read from the story file at start-up.
  StoryContent Story;
};

}  // namespace mirel
