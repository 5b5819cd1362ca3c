#pragma once
// For tests and headless runs: keeps the text in memory, optionally
// printing every copy as "clipboard: <text>" on standard output.
#include "platform/Clipboard.h"

namespace mirel {

class MemoryClipboard final : public Clipboard {
 public:
  void SetText(const Text& text) override;
  Text GetText() override { return text_; }
  void SetEcho(bool echo) { echo_ = echo; }
  int Copies() const { return copies_; }

 private:
  Text text_;
  bool echo_ = false;
  int copies_ = 0;
};

}  // namespace mirel
