#include "comfort/Rollback.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "comfort/RollbackWords.h"
#include "comfort/Words.h"

namespace mirel {

bool Rollback::Waits() const {
  const RollbackHost::Wait w = host_.Waiting();
  return !replaying_ && host_.InStory() && (w == RollbackHost::Wait::Click || w == RollbackHost::Wait::Choice);
}

bool Rollback::Intercept(const InputEvent& e) {
  // The menu's commands may change the play beside the story (skipping,
  // the options): what follows is a history of its own unless they did not.
  if (e.kind == EventKind::Menu && !replaying_) StepAside();
  if (e.kind != EventKind::KeyDown || e.mods != 0) return false;
  if (e.key == kVkF9 && !replaying_ && host_.OnTitle()) {
    QuickLoad(false);
    return true;
  }
  if (e.key != kVkBack && e.key != kVkLeft && e.key != kVkRight && e.key != kVkF5 && e.key != kVkF9) return false;
  if (!Waits()) return false;
  switch (e.key) {
    case kVkRight: Forward(); break;
    case kVkF5: QuickSaveHere(); break;
    case kVkF9: QuickLoad(true); break;
    default: Back(); break;
  }
  return true;
}

std::optional<QuickPosition> Rollback::Here() const {
  if (!pos_ || *pos_ < first_ || *pos_ >= End()) return std::nullopt;
  const Segment* from = nullptr;
  for (const Segment& s : segments_)
    if (s.first <= *pos_ && s.portable) from = &s;
  if (!from) return std::nullopt;
  QuickPosition p;
  p.snapshot = from->snapshot;
  p.extras = from->extras;
  for (uint64_t i = from->first; i <= *pos_; ++i) p.points.push_back(At(i).choice ? At(i).answer : -1);
  p.target = static_cast<uint32_t>(*pos_ - from->first);
  return p;
}

bool Rollback::QuickSaveHere(bool tell) {
  const bool waits = Waits();
  const std::optional<QuickPosition> p = waits ? Here() : std::nullopt;
  const std::string path = host_.QuickSavePath();
  if (!p || path.empty()) {
    // After a change beside the story only a save point can be resumed at:
    // the player is told so rather than left guessing.
    if (tell)
      host_.Note(waits && !path.empty()
                     ? translate("Comfort", "quick save: possible again from the story's next save point")
                     : translate("Comfort", "quick save: nothing to keep here"));
    return false;
  }
  std::string problem;
  const bool ok = QuickSave::Write(path, *p, &problem);
  if (tell) host_.Note(ok ? translate("Comfort", "quick save kept (F9 loads it)")
                     : WithArg(translate("Comfort", "quick save not kept: %1"), problem));
  return ok;
}

bool Rollback::QuickLoad(bool ask) {
  const std::string path = host_.QuickSavePath();
  const std::optional<QuickPosition> p = path.empty() ? std::nullopt : QuickSave::Read(path);
  if (!p) {
    host_.Note(translate("Comfort", "no quick save to load"));
    return false;
  }
  // The question's own pumps are no new play.
  const bool fresh = fresh_;
  const bool yes = !ask || host_.Confirm(words::kQuickLoadQuestion);
  fresh_ = fresh;
  if (!yes) return false;
  ResumeAt(*p);
  return true;
}

void Rollback::ResumeAt(const QuickPosition& p) {
  resume_ = p;
  host_.Load(p.snapshot);
}

uint64_t Rollback::Earliest() const {
  if (!pos_) return End();
  uint64_t earliest = segments_.empty() ? End() : std::max(first_, segments_.front().first);
  const uint64_t newest = End() - 1;
  if (newest + 1 >= kDepth) earliest = std::max(earliest, newest + 1 - kDepth);
  return earliest;
}

bool Rollback::GoTo(uint64_t index) {
  if (!pos_ || index < Earliest() || index >= End()) return false;
  const Segment* from = nullptr;
  for (const Segment& s : segments_)
    if (s.first <= index) from = &s;
  if (!from) return false;
  pending_ = *from;
  target_ = index;
  host_.Unwind();
  return true;  // not reached: the story starts over
}

bool Rollback::Forward() {
  if (!CanGoForward()) return false;
  const RollbackHost::Wait w = host_.Waiting();
  if (w == RollbackHost::Wait::Choice && At(*pos_).choice) host_.Pick(At(*pos_).answer);
  else if (w == RollbackHost::Wait::Click) host_.Advance();
  else return false;
  return true;
}

bool Rollback::Asked() {
  // The question's own pumps are no new play.
  const bool fresh = fresh_;
  const bool yes = host_.Confirm(words::kBacklogPickQuestion);
  fresh_ = fresh;
  return yes;
}

std::optional<uint64_t> Rollback::PointOfBacklogEntry(size_t fromNewest) const {
  if (!pos_ || backlog_.Added() < fromNewest + 1) return std::nullopt;
  // The entry's number among all added; the point that showed it is the
  // one whose count first reaches past it.
  const uint64_t entry = backlog_.Added() - 1 - fromNewest;
  // A choice's own entry is its answer, added just after it.
  for (uint64_t i = Earliest(); i <= *pos_ && i < End(); ++i)
    if (At(i).choice ? At(i).backlog == entry : At(i).backlog > entry) return i;
  return std::nullopt;
}

void Rollback::StepBegins() {
  aside_.reset();
  if (resume_) {
    // A loaded quick save: a history of its own, run on to its point.
    Forget();
    first_ = pos_ ? *pos_ + 1 : End();
    for (int16_t a : resume_->points) points_.push_back(Point{a >= 0, a, 0});
    host_.RestoreExtras(resume_->extras);
    segments_.push_back(Segment{first_, host_.Capture(nullptr), host_.Portable(), host_.PortableExtras(), true});
    next_ = first_;
    target_ = first_ + resume_->target;
    resume_.reset();
    fresh_ = false;
    resuming_ = true;
    replaying_ = true;
    choiceSeen_ = false;
    host_.Quiet(true);
    return;
  }
  if (pending_) {
    // The game's loop has started again: from the kept state, out of
    // sight, on to the target.
    host_.Quiet(true);
    host_.Restore(*pending_->state);
    next_ = pending_->first;
    pending_.reset();
    replaying_ = true;
    choiceSeen_ = false;
    return;
  }
  if (replaying_ || !host_.InStory()) return;
  const uint64_t next = pos_ ? *pos_ + 1 : End();
  bool portable = true;
  if (fresh_) {
    Forget();
    first_ = next;
    fresh_ = false;
    // After a menu the play may stand anywhere: going back can start here,
    // a quick save only from where a slot could resume.
    portable = host_.AtSavePoint();
  } else if (!host_.AtSavePoint()) {
    // Far from a save point a state is kept now and then all the same, so
    // that going back never runs more than that much story again; a quick
    // save still starts from a save point.
    const Segment* last = nullptr;
    for (const Segment& s : segments_)
      if (s.first <= next) last = &s;
    if (!last || next - last->first < kEvery) return;
    portable = false;
  }
  auto at = segments_.begin();
  while (at != segments_.end() && at->first < next) ++at;
  if (at != segments_.end() && at->first == next) {
    if (!portable || at->portable) return;
    at = segments_.erase(at);
  }
  const RollbackHost::State* before = at == segments_.begin() ? nullptr : std::prev(at)->state.get();
  segments_.insert(at, Segment{next, host_.Capture(before), host_.Portable(), host_.PortableExtras(), portable});
  Trim();
}

void Rollback::WaitBegins() {
  if (!host_.InStory()) return;
  if (replaying_) {
    const uint64_t i = next_++;
    if (resuming_ && i < End()) At(i).backlog = backlog_.Added();
    if (i >= target_) Finish(i, false);
    return;
  }
  Arrive(false);
}

void Rollback::StepAside() {
  if (!fresh_ && Waits() && pos_) aside_ = Aside{*pos_, host_.Portable(), host_.PortableExtras()};
  fresh_ = true;
}

void Rollback::StepBack() {
  if (!aside_ || !fresh_ || !Waits()) return;
  // Saving, the version box, an end not confirmed: the story goes on as if
  // they had not been; changed options or names make a new history.
  if (pos_ == aside_->point && host_.Portable() == aside_->snapshot && host_.PortableExtras() == aside_->extras)
    fresh_ = false;
  aside_.reset();
}

void Rollback::Pumped() {
  const RollbackHost::Wait w = host_.Waiting();
  if (w == RollbackHost::Wait::Other || (!host_.InStory() && w != RollbackHost::Wait::None)) {
    // The title, a dialog, the gallery: what comes next is a new history.
    if (!replaying_) StepAside();
    return;
  }
  if (!replaying_) StepBack();
  if (w != RollbackHost::Wait::Choice || choiceSeen_) return;
  choiceSeen_ = true;
  if (!replaying_) {
    Arrive(true);
    return;
  }
  const uint64_t i = next_++;
  if (resuming_ && i < End()) At(i).backlog = backlog_.Added();
  if (i >= target_) Finish(i, true);
  else host_.Pick(At(i).answer);
}

void Rollback::ChoicePicked() {
  // Picked at the very pump that opened it: counted here.
  const bool seen = choiceSeen_;
  choiceSeen_ = false;
  if (replaying_ || !host_.InStory()) return;
  if (!seen) Arrive(true);
  if (!pos_ || *pos_ < first_ || *pos_ >= End()) return;
  Point& p = At(*pos_);
  if (!p.choice) return;
  const int16_t answer = static_cast<int16_t>(host_.Picked());
  // Another answer than before: the old future is gone.
  if (p.answer != answer) DropAfter(*pos_);
  p.answer = answer;
}

void Rollback::Arrive(bool choice) {
  const uint64_t i = pos_ ? *pos_ + 1 : End();
  if (i < first_) return;
  if (i < End() && At(i).choice != choice) DropAfter(i - 1);
  if (i >= End()) {
    if (i != End()) return;  // history lost its start: wait for a new one
    points_.push_back(Point{choice, -1, 0});
  }
  At(i).backlog = backlog_.Added();
  pos_ = i;
  Trim();
}

void Rollback::Finish(uint64_t index, bool choice) {
  replaying_ = false;
  resuming_ = false;
  pos_ = index;
  if (index < End()) {
    At(index).choice = choice;
    backlog_.Rewind(At(index).backlog);
  }
  host_.Quiet(false);
}

void Rollback::Forget() {
  points_.clear();
  segments_.clear();
  first_ = pos_ ? *pos_ + 1 : first_;
}

void Rollback::DropAfter(uint64_t index) {
  while (End() > index + 1 && !points_.empty()) points_.pop_back();
  while (!segments_.empty() && segments_.back().first > index + 1) segments_.pop_back();
}

void Rollback::Trim() {
  // States that no kept point needs any more go, with the points before them.
  if (!pos_) return;
  const uint64_t earliest = End() > kDepth ? End() - kDepth : 0;
  // Going back needs the last state at or before the earliest point and
  // those after it; the quick save the last one a slot could hold.
  size_t restore = 0, portable = segments_.size();
  for (size_t i = 0; i < segments_.size(); ++i) {
    if (segments_[i].first <= earliest) restore = i;
    if (segments_[i].portable && segments_[i].first <= *pos_) portable = i;
  }
  std::deque<Segment> kept;
  for (size_t i = 0; i < segments_.size(); ++i)
    if (i >= restore || i == portable) kept.push_back(std::move(segments_[i]));
  segments_.swap(kept);
  if (!segments_.empty())
    while (!points_.empty() && first_ < segments_.front().first) {
      points_.pop_front();
      ++first_;
    }
}

size_t Rollback::MemoryBytes() const {
  std::vector<std::pair<const void*, size_t>> blocks;
  for (const Segment& s : segments_) s.state->Blocks(blocks);
  std::set<const void*> seen;
  size_t total = points_.size() * sizeof(Point) + segments_.size() * sizeof(Segment);
  for (const auto& [p, n] : blocks)
    if (seen.insert(p).second) total += n;
  return total;
}

}  // namespace mirel
