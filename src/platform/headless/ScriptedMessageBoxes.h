#pragma once
#include <cstddef>
#include <vector>

#include "platform/MessageBox.h"

namespace mirel {

// For tests and headless runs: records every message; questions are
// answered from a queue, then with the default, Yes.
class ScriptedMessageBoxes final : public MessageBoxes {
 public:
  MsgAnswer Show(const Text& text, MsgButtons buttons) override;
  void QueueAnswer(MsgAnswer a) { answers_.push_back(a); }
  size_t PendingAnswers() const { return answers_.size() - next_; }
  const std::vector<Text>& Shown() const { return shown_; }
  // Also print each message as "message: <text>" on standard output.
  void SetEcho(bool echo) { echo_ = echo; }

 private:
  std::vector<Text> shown_;
  std::vector<MsgAnswer> answers_;
  size_t next_ = 0;
  bool echo_ = false;
};

}  // namespace mirel
