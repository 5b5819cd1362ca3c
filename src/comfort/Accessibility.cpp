#include "comfort/Accessibility.h"

#include <algorithm>

#include "comfort/Words.h"

namespace mirel {

namespace words {
// The words the demo's own buttons show.
std::string TitleButton(int i) {
  switch (i) {
    case 0: return translate("Comfort", "Start");
    case 1: return translate("Comfort", "Load");
    case 2: return translate("Comfort", "Gallery");
    default: return translate("Comfort", "Exit");
  }
}
std::string GalleryExit() { return translate("Comfort", "Back"); }
std::string Locked() { return translate("Comfort", "locked"); }
std::string Picture() { return translate("Comfort", "Picture"); }
std::string SpeechOn() { return translate("Comfort", "Speech on"); }
std::string SpeechOff() { return translate("Comfort", "Speech off"); }
std::string NoSpeechEngine() { return translate("Comfort", "No speech engine: the game cannot speak"); }
}  // namespace words

namespace {

constexpr int kKeyV = 'V';
// The gallery's grid: five entries a row, then the way out.
constexpr int kGalleryColumns = 5, kGalleryEntries = 15;
constexpr uint32_t kMarkColour = Rgb(255, 216, 0);
constexpr int kMarkWidth = 2;
constexpr int kMarkZ = 95;  // above the game's screens, below the loading strip's front

bool Plain(const InputEvent& e) { return (e.mods & (kModCtrl | kModAlt)) == 0; }

}  // namespace

const char* ScreenName(AccessScreen s) {
  switch (s) {
    case AccessScreen::None: return "none";
    case AccessScreen::Story: return "story";
    case AccessScreen::Choice: return "choice";
    case AccessScreen::Title: return "title";
    case AccessScreen::Gallery: return "gallery";
    case AccessScreen::FullView: return "picture";
    case AccessScreen::Backlog: return "backlog";
    case AccessScreen::Dialog: return "dialog";
  }
  return "?";
}

const char* RoleName(AccessRole r) {
  switch (r) {
    case AccessRole::Tag: return "label";
    case AccessRole::Message: return "text";
    case AccessRole::Caption: return "caption";
    case AccessRole::Button: return "button";
    case AccessRole::Picture: return "picture";
    case AccessRole::Dialog: return "dialog";
  }
  return "?";
}

bool AccessScene::SameThings(const AccessScene& o) const {
  if (screen != o.screen || items.size() != o.items.size()) return false;
  for (size_t i = 0; i < items.size(); ++i)
    if (!items[i].SameThing(o.items[i])) return false;
  return true;
}

Accessibility::Accessibility(GameReader& reader, AccessibleOutput* output, SpeechEngine* speech, NoteSink note)
    : reader_(reader), output_(output), engine_(speech), note_(std::move(note)) {
  mark_.name = "FocusMark";
  mark_.kind = SurfaceKind::Shape;
  mark_.zOrder = kMarkZ;
  mark_.BorderColor = kMarkColour;
  mark_.BorderWidth = kMarkWidth;
}

void Accessibility::Apply() {
  if (engine_ && engine_->Available()) engine_->SetVoice(speech.rate, speech.volume);
  if (!speech.speak && engine_) engine_->Stop();
}

bool Accessibility::Ducking() { return speech.speak && speech.duck && engine_ && engine_->Speaking(); }

int Accessibility::FirstFocusable() const {
  for (size_t i = 0; i < scene_.items.size(); ++i)
    if (scene_.items[i].Focusable()) return static_cast<int>(i);
  return -1;
}

void Accessibility::Pumped() {
  // Nobody listens and the keyboard has not been used: nothing to keep up.
  if (!output_ && !engine_ && !keyboard_) return;
  Update();
}

void Accessibility::Update() {
  AccessScene now = reader_.Scene();
  if (now == scene_) return;
  Told(now);
}

void Accessibility::Told(const AccessScene& now) {
  const AccessScene before = std::move(scene_);
  scene_ = now;
  if (now.SameThings(before)) {
    if (output_) output_->StatesChanged(before, scene_, focus_);
    return;
  }
  // Back from a full view the focus is where it was in the grid.
  const bool backToGrid = before.screen == AccessScreen::FullView && now.screen == AccessScreen::Gallery;
  if (now.screen == AccessScreen::Gallery && before.screen != AccessScreen::FullView) gridFocus_ = -1;
  if (before.screen == AccessScreen::Gallery) gridFocus_ = focus_;
  focus_ = backToGrid && gridFocus_ >= 0 && gridFocus_ < static_cast<int>(now.items.size()) ? gridFocus_
                                                                                           : FirstFocusable();
  // The same screen with other things on it (a dialog's notice): the focus
  // stays on what it was on.
  if (now.screen == before.screen && now.screen == AccessScreen::Dialog && keptFocus_.role == AccessRole::Button)
    for (size_t i = 0; i < now.items.size(); ++i)
      if (now.items[i].SameThing(keptFocus_)) focus_ = static_cast<int>(i);
  ShowMark();
  if (output_) output_->SceneChanged(scene_, focus_);
  // Messages and answers are read whole; elsewhere the focused control.
  Text said;
  if (now.screen == AccessScreen::Story || now.screen == AccessScreen::Choice) {
    for (const AccessItem& i : now.items) {
      if (!said.empty()) said += i.role == AccessRole::Message ? u" " : u"、";
      said += i.name;
    }
  } else if (focus_ >= 0) {
    said = now.items[static_cast<size_t>(focus_)].name;
  } else if (!now.items.empty()) {
    said = now.items.back().name;
  }
  if (!said.empty()) Say(said);
  Keep();
}

void Accessibility::Keep() {
  keptFocus_ = focus_ >= 0 && focus_ < static_cast<int>(scene_.items.size()) ? scene_.items[static_cast<size_t>(focus_)]
                                                                              : AccessItem{};
}

void Accessibility::Say(const Text& text) {
  if (!speech.speak || !engine_ || !engine_->Available()) return;
  engine_->Say(text);
}

void Accessibility::ShowMark() {
  Rect box;
  if (keyboard_ && focus_ >= 0 && focus_ < static_cast<int>(scene_.items.size()))
    box = scene_.items[static_cast<size_t>(focus_)].box;
  if (box.Empty()) {
    mark_.Visible = false;
    return;
  }
  mark_.Move(box.x - kMarkWidth - 1, box.y - kMarkWidth - 1, box.w + 2 * (kMarkWidth + 1), box.h + 2 * (kMarkWidth + 1));
  mark_.Visible = true;
}

void Accessibility::Move(int step, bool grid) {
  std::vector<int> order;
  // A dialog's greyed buttons are passed over, as its window does.
  const bool dialog = scene_.screen == AccessScreen::Dialog;
  for (size_t i = 0; i < scene_.items.size(); ++i)
    if (scene_.items[i].Focusable() && (!dialog || scene_.items[i].enabled)) order.push_back(static_cast<int>(i));
  if (order.empty()) return;
  const int n = static_cast<int>(order.size());
  int at = static_cast<int>(std::find(order.begin(), order.end(), focus_) - order.begin());
  if (at >= n) at = 0;
  else if (grid && (step == kGalleryColumns || step == -kGalleryColumns))
    // Up and down by rows; past the last row is the way out, and back up
    // from it the last row's middle.
    at = at >= kGalleryEntries ? (step < 0 ? kGalleryEntries - 3 : at)
                               : std::clamp(at + step, 0, std::min(n - 1, kGalleryEntries));
  else at = ((at + step) % n + n) % n;
  focus_ = order[static_cast<size_t>(std::clamp(at, 0, n - 1))];
  keyboard_ = true;
  Keep();
  ShowMark();
  const AccessItem item = scene_.items[static_cast<size_t>(focus_)];
  if (output_) output_->FocusChanged(scene_, focus_);
  Say(item.name);
  reader_.Point(item);
}

bool Accessibility::Intercept(const InputEvent& e, bool dialogOpen) {
  if (e.kind == EventKind::MouseDown || e.kind == EventKind::MouseMove) {
    // The mouse is back: the mark is for the keyboard only.
    if (keyboard_) {
      keyboard_ = false;
      ShowMark();
    }
    return false;
  }
  if (e.kind != EventKind::KeyDown || (e.mods & (kModCtrl | kModAlt))) return false;
  if (e.key == kKeyV) {
    if (!engine_ || !engine_->Available()) {
      if (!toldMissing_ && note_) note_(words::NoSpeechEngine());
      toldMissing_ = true;
      return true;
    }
    speech.speak = !speech.speak;
    Apply();
    if (note_) note_(speech.speak ? words::SpeechOn() : words::SpeechOff());
    Say(FromUtf8(words::SpeechOn()));
    if (changed_) changed_(speech);
    return true;
  }
  // The description as the game is now, not as last pumped.
  Update();
  if (dialogOpen) {
    if (scene_.screen != AccessScreen::Dialog) return false;
    // The desktop's dialogs take their keys themselves; these are the same
    // keys for a dialog without a window.
    const bool back = (e.mods & kModShift) != 0;
    switch (e.key) {
      case kVkTab: Move(back ? -1 : 1, false); return true;
      case kVkDown:
      case kVkRight: Move(1, false); return true;
      case kVkUp:
      case kVkLeft: Move(-1, false); return true;
      case kVkEnter:
      case kVkSpace:
        if (focus_ >= 0 && focus_ < static_cast<int>(scene_.items.size())) {
          const AccessItem item = scene_.items[static_cast<size_t>(focus_)];
          reader_.Use(item);
        }
        return true;
      default: return false;
    }
  }
  if (!Plain(e)) return false;
  const AccessScreen screen = scene_.screen;
  const bool grid = screen == AccessScreen::Gallery;
  const bool lists = screen == AccessScreen::Choice || screen == AccessScreen::Title || grid;
  if (lists) {
    switch (e.key) {
      case kVkUp: Move(grid ? -kGalleryColumns : -1, grid); return true;
      case kVkDown: Move(grid ? kGalleryColumns : 1, grid); return true;
      case kVkLeft: Move(-1, grid); return true;
      case kVkRight: Move(1, grid); return true;
      default: break;
    }
  }
  if (e.key == kVkEnter && (lists || screen == AccessScreen::FullView)) {
    const int at = screen == AccessScreen::FullView ? 0 : focus_;
    if (at < 0 || at >= static_cast<int>(scene_.items.size())) return true;
    const AccessItem item = scene_.items[static_cast<size_t>(at)];
    reader_.Use(item);
    return true;
  }
  if (screen == AccessScreen::Choice && e.key >= '1' && e.key <= '3') {
    for (const AccessItem& i : scene_.items)
      if (i.role == AccessRole::Button && i.target == e.key - '1') {
        const AccessItem item = i;
        reader_.Use(item);
        break;
      }
    return true;
  }
  if (e.key == kVkEscape && (grid || screen == AccessScreen::FullView)) {
    reader_.Back(screen);
    return true;
  }
  return false;
}

}  // namespace mirel
