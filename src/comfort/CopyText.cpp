#include "comfort/CopyText.h"

namespace mirel {

Text ClipboardText(const Text& tag, const Text& text) { return tag + text; }

void CopyText::Shown(const Text& tag, const Text& text, bool copyEvery) {
  current_ = ClipboardText(tag, text);
  if (copyEvery) CopyCurrent();
}

void CopyText::CopyCurrent() {
  if (clipboard_ && !current_.empty()) clipboard_->SetText(current_);
}

}  // namespace mirel
