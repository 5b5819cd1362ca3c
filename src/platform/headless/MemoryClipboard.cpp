#include "platform/headless/MemoryClipboard.h"

#include <cstdio>

namespace mirel {

void MemoryClipboard::SetText(const Text& text) {
  text_ = text;
  ++copies_;
  if (echo_) {
    std::printf("clipboard: %s\n", Utf8(text).c_str());
    std::fflush(stdout);
  }
}

}  // namespace mirel
