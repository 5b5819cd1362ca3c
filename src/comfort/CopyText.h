#pragma once
// Copying the story's text to the desktop's clipboard: the current message
// on request, or every new message as it appears.
#include "base/Text.h"
#include "platform/Clipboard.h"

namespace mirel {

// A message as it goes to the clipboard: its speaker tag, then its text.
Text ClipboardText(const Text& tag, const Text& text);

class CopyText {
 public:
  explicit CopyText(Clipboard* clipboard) : clipboard_(clipboard) {}
  // A new message appears; copied at once when `copyEvery`.
  void Shown(const Text& tag, const Text& text, bool copyEvery);
  void CopyCurrent();
  const Text& Current() const { return current_; }

 private:
  Clipboard* clipboard_;
  Text current_;
};

}  // namespace mirel
