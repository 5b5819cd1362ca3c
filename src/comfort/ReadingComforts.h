#pragma once
// The player's reading comforts beside the game: the backlog, auto mode,
// fast-forward through text already read, and copying text. The main window
// gives this hub every input event first and consults it at its waits.
// Nothing here changes the play state, the saved games or "90.dat", and
// nothing runs unless the player asks for it.
//
// Input it answers (Windows virtual-key codes, as the hosts report them; a
// gamepad maps its buttons onto the same events):
//   wheel up, Page Up (33)   open the backlog while the game waits; there the
//                            wheel, Up, Down, Page Up and Page Down scroll,
//                            and wheel down past the end, a right click, Esc
//                            or Enter close it
//   A (65)                   auto mode on and off; any other click, key or
//                            menu turns it off
//   Ctrl (17) held           fast-forward through text already read
//   Ctrl+C (67)              copy the current message
//   Backspace, Left, Right   back and forth through the story (Rollback)
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/Text.h"
#include "comfort/AutoMode.h"
#include "comfort/Backlog.h"
#include "comfort/CopyText.h"
#include "comfort/GameView.h"
#include "comfort/ReadMarks.h"
#include "comfort/ReadingSettings.h"
#include "comfort/Rollback.h"
#include "gfx/Surface.h"
#include "platform/Events.h"
#include "platform/Platform.h"

namespace mirel {

class ReadingComforts {
 public:
  ReadingComforts(GameView& game, Platform& sys);
  ~ReadingComforts();
  ReadingComforts(const ReadingComforts&) = delete;
  ReadingComforts& operator=(const ReadingComforts&) = delete;

  ReadingSettings settings;

  // ---- hooks of the main window ----
  // Sees every input event before the game; true when it was taken here.
  bool Intercept(const InputEvent& e);
  // Every event pump, after the events have run.
  void Pumped();
  // A message is about to be drawn; true when it is to be drawn whole
  // (fast-forward through read text).
  bool MessageShown(const Text& tag, const Text& text, uint32_t colour, bool caption);
  // The message has been shown and, where the game waits, advanced past.
  void MessageDone();
  void ChoicePicked(const Text& answer);
  // A record is about to run.
  void StepBegins();
  // The game starts waiting for the player to advance; while it waits,
  // true when the wait is to end by itself.
  void WaitBegins();
  bool EndsWait();
  // Fast-forward is running: animations need not take their time.
  bool Rushing() const;
  // The comforts' own labels on the message window pass clicks to it.
  bool OwnsLabel(const Surface* s) const { return s == &autoMark_; }

  // ---- state, for the player settings and tests ----
  bool AutoOn() const { return auto_.On(); }
  bool CtrlHeld() const { return ctrlHeld_; }
  const Backlog& History() const { return backlog_; }
  const ReadMarks& Marks() const { return marks_; }
  Rollback& Going() { return rollback_; }
  const Surface& AutoMark() const { return autoMark_; }

 private:
  bool BacklogInput(const InputEvent& e);
  bool CanOpenBacklog() const;
  void OpenBacklog();
  void CloseBacklog();
  // Asks, then goes back to the point that showed the entry.
  void PickFromBacklog(size_t fromNewest);
  void SetAuto(bool on);
  bool InStory() const;
  // The current message may be passed without waiting.
  bool Passable() const;
  // The read marks, and the quick save tidied, at the first message.
  void LoadPlayerFiles();

  GameView& game_;
  Platform& sys_;
  Backlog backlog_;
  std::unique_ptr<RollbackHost> rollbackHost_;
  Rollback rollback_;
  AutoMode auto_;
  ReadMarks marks_;
  CopyText copy_;
  Surface autoMark_;
  bool ctrlHeld_ = false;
  bool playerFilesLoaded_ = false;
  int32_t record_ = -1;  // the current message's record
  size_t chars_ = 0;     // its length
  bool whole_ = false;   // it was drawn whole by fast-forward
  uint32_t lastSave_ = 0;
};

}  // namespace mirel
