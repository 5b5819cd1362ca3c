#pragma once
// Message boxes with the program's title as caption.
#include <string>

#include "base/Text.h"

namespace mirel {

enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MsgAnswer Show(const Text& text, MsgButtons buttons) = 0;
};

}  // namespace mirel
