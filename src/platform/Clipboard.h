#pragma once
// The desktop's clipboard, for copying the story's text out of the game.
#include "platform/Text.h"

namespace mirel {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void SetText(const Text& text) = 0;
  virtual Text GetText() = 0;
};

// For tests and headless runs: keeps the text in memory, optionally
// printing every copy as "clipboard: <text>" on standard output.
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
