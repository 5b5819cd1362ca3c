#pragma once
// Going back through the story: every click wait and choice of this play is
// a point to return to (the last kDepth of them). Returning restores the
// state kept at the last save point (or the start of the play) before the
// point and runs the story from there out of sight, with the answers given
// before, until the point is reached; then it is shown once. Going forward
// again follows the same answers; another answer at a choice drops what
// came after it.
//
// Keys, while the story waits for a click or a choice:
//   Backspace (8), Left (37)   one point back (the gamepad's Back button)
//   Right (39)                 one point forward along the same answers
//   F5 (116)                   quick save here
//   F9 (120)                   quick load (asked first in the story; also
//                              from the title screen)
// Closing the window in the story keeps the position as the quick save
// too, when the player's settings ask for it.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "comfort/Backlog.h"
#include "comfort/QuickSave.h"
#include "comfort/RollbackHost.h"
#include "platform/Events.h"

namespace mirel {

class Rollback {
 public:
  static constexpr size_t kDepth = 100;
  // Points between kept states away from save points.
  static constexpr uint64_t kEvery = 50;
  static constexpr int kVkBack = 8, kVkLeft = 37, kVkRight = 39, kVkF5 = 116, kVkF9 = 120;

  Rollback(RollbackHost& host, Backlog& backlog) : host_(host), backlog_(backlog) {}

  // ---- hooks ----
  bool Intercept(const InputEvent& e);
  void StepBegins();
  void WaitBegins();
  bool EndsWait() const { return replaying_; }
  void Pumped();
  void ChoicePicked();
  bool Replaying() const { return replaying_; }

  // ---- going back and forth ----
  bool CanGoBack() const { return pos_ && *pos_ > Earliest(); }
  bool CanGoForward() const { return pos_ && *pos_ + 1 < End(); }
  // Returns to point `index` (see First/Position); false when it is not
  // kept. Does not return when it goes: the story starts over from there.
  bool GoTo(uint64_t index);
  bool Back() { return CanGoBack() && GoTo(*pos_ - 1); }
  bool Forward();
  // The player's yes to going back to a backlog entry.
  bool Asked();
  // The point of the backlog entry that was `fromNewest` entries before
  // the newest, when it is one to go back to.
  std::optional<uint64_t> PointOfBacklogEntry(size_t fromNewest) const;

  // ---- quick save ----
  // The position the story waits at, as a quick save keeps it.
  std::optional<QuickPosition> Here() const;
  // Writes it; false (and a note) when there is nothing to keep or the
  // file could not be written.
  bool QuickSaveHere(bool tell = true);
  // Loads the quick save (asking first in the story); false when there is
  // none. Does not return inside a game when it loads.
  bool QuickLoad(bool ask);
  // Starts the play at `p`: loads its snapshot and runs on to its point.
  void ResumeAt(const QuickPosition& p);
  // Once a play is under way: a quick save half written when the game was
  // killed is removed (the whole one before it stays).
  void TidyQuickSave() { QuickSave::RemoveHalfWritten(host_.QuickSavePath()); }

  // ---- for tests and measuring ----
  uint64_t Earliest() const;
  uint64_t End() const { return first_ + points_.size(); }
  std::optional<uint64_t> Position() const { return pos_; }
  size_t KeptStates() const { return segments_.size(); }
  // Memory the history holds (pictures shared between states once).
  size_t MemoryBytes() const;

 private:
  struct Point {
    bool choice = false;
    int16_t answer = -1;
    uint64_t backlog = 0;  // backlog entries added up to it
  };
  struct Segment {
    uint64_t first = 0;  // the first point after the state
    std::shared_ptr<const RollbackHost::State> state;
    std::array<Text, 4> snapshot;  // the same as a slot keeps it
    Text extras;
    bool portable = true;  // at a save point or the start of the play
  };
  void Arrive(bool choice);
  void Forget();
  void DropAfter(uint64_t index);
  void Trim();
  void Finish(uint64_t index, bool choice);
  bool Waits() const;
  // Play is taken aside from the story (a menu, a dialog, the title).
  void StepAside();
  // Back at the story's wait: a new history unless nothing changed.
  void StepBack();
  Point& At(uint64_t index) { return points_[static_cast<size_t>(index - first_)]; }
  const Point& At(uint64_t index) const { return points_[static_cast<size_t>(index - first_)]; }

  RollbackHost& host_;
  Backlog& backlog_;
  std::deque<Point> points_;
  uint64_t first_ = 0;          // index of points_[0]
  std::optional<uint64_t> pos_;  // the point the story is at or last was at
  std::deque<Segment> segments_;
  bool fresh_ = true;        // a new play: the history starts at its next record
  // The play as it stood at a wait when a menu or a dialog came up: back at
  // the same wait with nothing changed, the history goes on.
  struct Aside {
    uint64_t point = 0;
    std::array<Text, 4> snapshot;
    Text extras;
  };
  std::optional<Aside> aside_;
  bool choiceSeen_ = false;  // the open choice is counted
  // Running out of sight towards `target_`, from `pending_` once the game's
  // loop has started again.
  bool replaying_ = false;
  std::optional<Segment> pending_;
  uint64_t next_ = 0, target_ = 0;
  std::optional<QuickPosition> resume_;  // loaded, to be run on to its point
  bool resuming_ = false;
};

}  // namespace mirel
