#include "comfort/DisplayComforts.h"

#include <ctime>

#include "comfort/Screenshot.h"
#include "comfort/Words.h"

namespace mirel {

DisplayComforts::DisplayComforts(GameView& game, Platform& sys, ReadingSettings& reading)
    : game_(game), sys_(sys), reading_(reading), host_(sys.display) {
  if (sys.settings) settings = file_.Load(*sys.settings, loadProblem_);
  reading_ = settings.reading;
}

bool DisplayComforts::Ctrl(const InputEvent& e) const { return (e.mods & kModCtrl) != 0; }

bool DisplayComforts::Intercept(const InputEvent& e) {
  if (e.kind == EventKind::Focus) {
    focused_ = e.value != 0;
    Apply();
    return true;
  }
  if (e.kind == EventKind::Pad) {
    if (e.key < 0 || e.key >= kPadButtonCount) return true;
    for (const InputEvent& mapped : pad_.Map(static_cast<PadButton>(e.key), e.value != 0, game_.Reachable())) game_.Dispatch(mapped);
    return true;
  }
  if (e.kind != EventKind::KeyDown) return false;
  if (e.key == kVkF11 || (e.key == kVkEnter && (e.mods & kModAlt))) {
    ToggleFullScreen();
    return true;
  }
  if (e.key == kVkF12 || e.key == kVkPrint) {
    TakeScreenshot();
    return true;
  }
  if (e.key == kVkF1) {
    OpenSettings();
    return true;
  }
  if (Ctrl(e) && e.key >= '1' && e.key <= '0' + kMaxZoom) {
    settings.zoom = e.key - '0';
    Apply();
    Save();
    return true;
  }
  if (Ctrl(e) && e.key == 'M') {
    settings.muted = !settings.muted;
    Apply();
    Save();
    if (host_) host_->Note(settings.muted ? translate("Comfort", "sound muted (Ctrl+M)") : translate("Comfort", "sound on"));
    return true;
  }
  return false;
}

void DisplayComforts::ToggleFullScreen() {
  // The same switch as Esc during play, from any screen and over dialogs.
  if (!game_.CanGoFullScreen()) return;
  if (game_.InFullScreen()) game_.LeaveFullScreen();
  else game_.EnterFullScreen();
  settings.fullScreen = game_.InFullScreen();
  Save();
}

void DisplayComforts::TakeScreenshot() {
  if (!host_) return;
  std::string folder = host_->PicturesFolder();
  if (folder.empty()) {
    host_->Note(translate("Comfort", "screenshot not saved: no pictures folder"));
    return;
  }
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::string path = ScreenshotPath(folder, local, [this](const std::string& p) { return host_->FileExists(p); });
  std::string problem;
  if (host_->SaveScreenshot(path, problem)) host_->Note(WithArg(translate("Comfort", "screenshot saved: %1"), path));
  else host_->Note(WithArg(translate("Comfort", "screenshot not saved: %1"), problem));
}

void DisplayComforts::OpenSettings() {
  if (!host_ || editing_) return;
  editing_ = true;
  host_->EditSettings(
      settings,
      [this](const PlayerSettings& s) {
        // Full screen is switched by its keys, not by the dialog's copy.
        const bool fullScreen = settings.fullScreen;
        settings = s;
        settings.fullScreen = fullScreen;
        reading_ = settings.reading;
        game_.SpeechChanged(settings.speech);
        Apply();
      },
      [this] { ToggleFullScreen(); });
  editing_ = false;
  Save();
}

void DisplayComforts::Apply() {
  if (host_) host_->ApplyDisplay(settings);
  PlayerGains g = Gains();
  if (sys_.audio) sys_.audio->SetPlayerGains(g.music, g.effects);
}

PlayerGains DisplayComforts::Gains() const {
  PlayerGains g = GainsFor(settings, focused_);
  if (ducked_) {
    g.music *= kDuckedGain;
    g.effects *= kDuckedGain;
  }
  return g;
}

void DisplayComforts::SetDucked(bool ducked) {
  if (ducked == ducked_) return;
  ducked_ = ducked;
  Apply();
}

void DisplayComforts::SpeechSwitched(const SpeechSettings& s) {
  settings.speech = s;
  Save();
}

void DisplayComforts::Save() {
  if (!sys_.settings) return;
  std::string problem;
  file_.Save(*sys_.settings, settings, problem);
}

void DisplayComforts::Started() {
  Apply();
  if (settings.hasWindowPos) sys_.window->Move(settings.windowX, settings.windowY);
  if (settings.fullScreen && game_.CanGoFullScreen() && !game_.InFullScreen()) game_.EnterFullScreen();
}

void DisplayComforts::Closing() {
  settings.fullScreen = game_.InFullScreen();
  if (!game_.InFullScreen() && (!host_ || host_->OnDesktop())) {
    Rect r = sys_.window->OuterRect();
    settings.hasWindowPos = true;
    settings.windowX = r.x;
    settings.windowY = r.y;
  }
  Save();
}

}  // namespace mirel
