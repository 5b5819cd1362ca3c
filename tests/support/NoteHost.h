#pragma once
// A desktop for the display comforts that only keeps the notes they give
// the player, for tests of what the player is told.
#include <string>
#include <vector>

#include "comfort/DisplayHost.h"

namespace mirel::test {

struct NoteHost final : DisplayHost {
  std::vector<std::string> notes;
  void ApplyDisplay(const PlayerSettings&) override {}
  void EditSettings(const PlayerSettings&, const std::function<void(const PlayerSettings&)>&,
                    const std::function<void()>&) override {}
  std::string PicturesFolder() override { return ""; }
  bool FileExists(const std::string&) override { return false; }
  bool SaveScreenshot(const std::string&, std::string&) override { return false; }
  void Note(const std::string& text) override { notes.push_back(text); }
  bool OnDesktop() const override { return false; }
};

}  // namespace mirel::test
