#include "platform/headless/ScriptedMessageBoxes.h"

#include <cstdio>

namespace mirel {

MsgAnswer ScriptedMessageBoxes::Show(const Text& text, MsgButtons buttons) {
  shown_.push_back(text);
  if (echo_) {
    std::string line = "message: " + Utf8(text);
    for (char& c : line)
      if (c == '\r' || c == '\n') c = ' ';
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  // Only questions take the queued answers.
  if (next_ < answers_.size()) return answers_[next_++];
  return MsgAnswer::Yes;
}

}  // namespace mirel
