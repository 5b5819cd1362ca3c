#pragma once
// Ways out of the nested waits. They unwind to the program's top level (or
// to the game loop that owns the interrupted play) so that nothing is torn
// down while a loop deeper in the stack still uses it.
#include <string>
#include <utility>

#include "base/Text.h"

namespace mirel {

// Ends the program. With runUnload the main window's unload sequence runs
// once the stack has unwound.
struct ProgramEnd {
  int status = 0;
  bool runUnload = true;
};

// A loaded game replaces the one being played: the game loop restarts the
// interpreter at CurSeq.
struct ResumeGame {};

// A fault in the data found while playing: the message names the file and
// the record, or, where the player is shown a fixed text, `where` does on
// standard error; the program then ends through the unload sequence.
struct PlayError {
  explicit PlayError(Text m, Text w = {}) : message(std::move(m)), where(std::move(w)) {}
  Text message;
  Text where;
};

}  // namespace mirel
