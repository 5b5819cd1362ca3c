#include "comfort/ReadingComforts.h"

#include "base/Files.h"
#include "comfort/Words.h"

namespace mirel {

namespace {

constexpr int kKeyA = 'A', kKeyC = 'C';
constexpr int kWheelRows = 3;
// Read marks reach the disk at most this often, and at the end.
constexpr uint32_t kSaveEveryMs = 5000;

}  // namespace

ReadingComforts::ReadingComforts(GameView& game, Platform& sys)
    : game_(game), sys_(sys), rollbackHost_(game.RollbackSide()), rollback_(*rollbackHost_, backlog_), copy_(sys.clipboard) {
  autoMark_.name = "AutoMark";
  autoMark_.kind = SurfaceKind::Label;
  autoMark_.parent = &game.MessageWindow();
  autoMark_.zOrder = 2;
  autoMark_.Caption = FromUtf8(translate("Comfort", "AUTO"));
  autoMark_.font = Font{u"Arial", 8, true};
  autoMark_.ForeColor = Rgb(192, 192, 255);
  game.AddOverlay(&backlog_.page);
  game.AddOverlay(&autoMark_);
}

ReadingComforts::~ReadingComforts() { marks_.Save(); }

bool ReadingComforts::Intercept(const InputEvent& e) {
  if (e.kind == EventKind::KeyUp) {
    if (e.key == kVkControl) ctrlHeld_ = false;
    return true;  // the game knows no key releases
  }
  if (e.kind == EventKind::Close) {
    // Closed in the story: the position is kept for the next run.
    if (settings.resumeOnClose) rollback_.QuickSaveHere(false);
    return false;
  }
  if (e.kind == EventKind::DialogControl) {
    if (e.form != "Backlog") return false;
    // The script's way of clicking an entry (1 the newest).
    if (e.control == "Pick" && e.value >= 1 && !game_.DialogUp()) PickFromBacklog(static_cast<size_t>(e.value - 1));
    return true;
  }
  // A dialog is open: the game's own, nothing to add.
  if (game_.DialogUp()) return e.kind == EventKind::Wheel;
  if (backlog_.IsOpen()) return BacklogInput(e);
  if (rollback_.Intercept(e)) {
    SetAuto(false);
    return true;
  }
  switch (e.kind) {
    case EventKind::Wheel:
      if (e.value > 0 && CanOpenBacklog()) OpenBacklog();
      return true;
    case EventKind::KeyDown:
      if (e.key == kVkControl) {
        ctrlHeld_ = true;
        SetAuto(false);
        return true;
      }
      if (e.key == kKeyC && ctrlHeld_) {
        copy_.CopyCurrent();
        return true;
      }
      if (e.key == kKeyA) {
        if (InStory()) SetAuto(!auto_.On());
        return true;
      }
      if (e.key == kVkPageUp) {
        if (CanOpenBacklog()) OpenBacklog();
        return true;
      }
      SetAuto(false);
      return false;
    case EventKind::MouseDown:
    case EventKind::Menu:
      SetAuto(false);
      return false;
    default:
      return false;
  }
}

bool ReadingComforts::BacklogInput(const InputEvent& e) {
  switch (e.kind) {
    case EventKind::Wheel:
      if (!backlog_.Scroll(e.value * kWheelRows)) CloseBacklog();
      return true;
    case EventKind::KeyDown:
      switch (e.key) {
        case kVkUp: backlog_.Scroll(1); break;
        case kVkDown: backlog_.Scroll(-1); break;
        case kVkPageUp: backlog_.ScrollPage(1); break;
        case kVkPageDown: backlog_.ScrollPage(-1); break;
        case kVkEscape: CloseBacklog(); break;
        case kVkEnter:
          // Scrolled back: the entry at the foot of the page is returned to.
          if (auto at = backlog_.ScrollRows() > 0 ? backlog_.EntryAtFoot() : std::nullopt) PickFromBacklog(*at);
          else CloseBacklog();
          break;
        case kVkControl: ctrlHeld_ = true; break;
        case kKeyC:
          if (ctrlHeld_) copy_.CopyCurrent();
          break;
        default: break;
      }
      return true;
    case EventKind::MouseDown:
      if (e.button == 2) CloseBacklog();
      else if (auto at = backlog_.EntryAt(e.y)) PickFromBacklog(*at);
      return true;
    case EventKind::Menu:
      // The menu acts on the game as it stands under the page.
      CloseBacklog();
      return false;
    default:
      return true;
  }
}

bool ReadingComforts::CanOpenBacklog() const {
  PlayerWait w = game_.CurrentWait();
  return w == PlayerWait::Click || w == PlayerWait::Choice;
}

void ReadingComforts::OpenBacklog() {
  SetAuto(false);
  Image under;
  game_.ComposeScreen(under);
  const Surface& w = game_.MessageWindow();
  const Rect window = w.Visible ? Rect{w.ScreenLeft(), w.ScreenTop(), w.width, w.height} : Rect{};
  backlog_.Open(under, *sys_.fonts, window);
}

void ReadingComforts::CloseBacklog() { backlog_.Close(); }

void ReadingComforts::PickFromBacklog(size_t fromNewest) {
  if (!CanOpenBacklog() || !InStory()) return;
  const std::optional<uint64_t> point = rollback_.PointOfBacklogEntry(fromNewest);
  if (!point || !rollback_.Asked()) return;
  if (backlog_.IsOpen()) CloseBacklog();
  rollback_.GoTo(*point);
}

void ReadingComforts::SetAuto(bool on) {
  if (on == auto_.On()) return;
  auto_.Set(on, game_.GetTickCount());
  const Surface& w = game_.MessageWindow();
  autoMark_.Move(w.width - 40, 3, 36, 14);
  autoMark_.Visible = on;
  if (w.Shown()) game_.RefreshForm();
}

bool ReadingComforts::InStory() const {
  if (!game_.InStory()) return false;
  PlayerWait w = game_.CurrentWait();
  return w == PlayerWait::Click || w == PlayerWait::None;
}

bool ReadingComforts::Passable() const { return settings.fastForwardUnread || marks_.IsRead(record_); }

void ReadingComforts::Pumped() {
  rollback_.Pumped();
  if (auto_.On()) {
    PlayerWait w = game_.CurrentWait();
    if (w != PlayerWait::Click && w != PlayerWait::None) SetAuto(false);
  }
  const uint32_t now = game_.GetTickCount();
  if (marks_.Dirty() && TicksSince(lastSave_, now) >= kSaveEveryMs) {
    marks_.Save();
    lastSave_ = now;
  }
}

void ReadingComforts::LoadPlayerFiles() {
  playerFilesLoaded_ = true;
  std::string path;
  if (sys_.folders) {
    std::string home = sys_.folders->DataHome();
    std::optional<Bytes> scenario = ReadFile(game_.DataPath("91.dat"));
    if (!home.empty() && scenario) path = ReadMarks::FileFor(home + "read/", *scenario);
  }
  marks_.Load(path);
  rollback_.TidyQuickSave();
}

bool ReadingComforts::MessageShown(const Text& tag, const Text& text, uint32_t colour, bool caption) {
  if (!playerFilesLoaded_) LoadPlayerFiles();
  record_ = game_.CurrentRecord();
  chars_ = text.size();
  // Run again on the way back: already in the backlog.
  if (rollback_.Replaying()) {
    copy_.Shown(caption ? Text{} : tag, text, false);
    whole_ = false;
    return false;
  }
  BacklogEntry entry;
  entry.kind = caption ? BacklogEntry::Kind::Caption : BacklogEntry::Kind::Message;
  if (!caption) entry.tag = tag;
  entry.text = text;
  entry.colour = colour;
  backlog_.Add(std::move(entry));
  copy_.Shown(caption ? Text{} : tag, text, settings.copyEveryMessage);
  whole_ = !caption && ctrlHeld_ && Passable();
  return whole_;
}

void ReadingComforts::MessageDone() {
  // Read is what was shown at reading pace: not skipped, not rushed past.
  if (!whole_ && game_.TypesText()) marks_.Mark(record_);
}

void ReadingComforts::ChoicePicked(const Text& answer) {
  const bool again = rollback_.Replaying();
  rollback_.ChoicePicked();
  if (again) return;
  BacklogEntry entry;
  entry.kind = BacklogEntry::Kind::Choice;
  entry.text = answer;
  backlog_.Add(std::move(entry));
}

void ReadingComforts::StepBegins() { rollback_.StepBegins(); }

void ReadingComforts::WaitBegins() {
  rollback_.WaitBegins();
  auto_.WaitBegins(game_.GetTickCount(), chars_, settings);
}

bool ReadingComforts::EndsWait() {
  if (rollback_.EndsWait()) return true;
  // Only the story's own wait: not under a dialog or the backlog.
  if (backlog_.IsOpen() || game_.CurrentWait() != PlayerWait::Click) return false;
  if (ctrlHeld_ && Passable()) return true;
  return auto_.Due(game_.GetTickCount());
}

bool ReadingComforts::Rushing() const {
  return ctrlHeld_ && whole_ && !game_.OnTitle() && !game_.InGallery();
}

}  // namespace mirel
