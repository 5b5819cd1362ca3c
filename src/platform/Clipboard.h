#pragma once
// The desktop's clipboard, for copying the story's text out of the game.
#include "base/Text.h"

namespace mirel {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void SetText(const Text& text) = 0;
  virtual Text GetText() = 0;
};

}  // namespace mirel
