#include "comfort/PlayerComforts.h"

#include <ctime>

#include "app/Main_Form.h"
#include "comfort/Screenshot.h"
#include "comfort/Words.h"

namespace mirel {

PlayerComforts::PlayerComforts(Main_Form& f) : f_(f), host_(f.sys.player) {
  if (f.sys.settings) settings = file_.Load(*f.sys.settings, loadProblem_);
  f.comforts.settings = settings.reading;
}

bool PlayerComforts::Ctrl(const InputEvent& e) const { return (e.mods & kModCtrl) != 0; }

bool PlayerComforts::Intercept(const InputEvent& e) {
  if (e.kind == EventKind::Focus) {
    focused_ = e.value != 0;
    Apply();
    return true;
  }
  if (e.kind == EventKind::Pad) {
    if (e.key < 0 || e.key >= kPadButtonCount) return true;
    for (const InputEvent& mapped : pad_.Map(static_cast<PadButton>(e.key), e.value != 0, Screen())) f_.Dispatch(mapped);
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

void PlayerComforts::ToggleFullScreen() {
  // The same switch as Esc during play, from any screen and over dialogs.
  if (f_.FullScreenUnavailable) return;
  if (f_.FullScreen) f_.LeaveFullScreen();
  else f_.EnterFullScreen();
  settings.fullScreen = f_.FullScreen;
  Save();
}

void PlayerComforts::TakeScreenshot() {
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

void PlayerComforts::OpenSettings() {
  if (!host_ || editing_) return;
  editing_ = true;
  host_->EditSettings(
      settings,
      [this](const PlayerSettings& s) {
        // Full screen is switched by its keys, not by the dialog's copy.
        const bool fullScreen = settings.fullScreen;
        settings = s;
        settings.fullScreen = fullScreen;
        f_.comforts.settings = settings.reading;
        if (f_.access) {
          f_.access->speech = settings.speech;
          f_.access->Apply();
        }
        Apply();
      },
      [this] { ToggleFullScreen(); });
  editing_ = false;
  Save();
}

void PlayerComforts::Apply() {
  if (host_) host_->ApplyDisplay(settings);
  PlayerGains g = Gains();
  if (f_.sys.audio) f_.sys.audio->SetPlayerGains(g.music, g.effects);
}

PlayerGains PlayerComforts::Gains() const {
  PlayerGains g = GainsFor(settings, focused_);
  if (ducked_) {
    g.music *= kDuckedGain;
    g.effects *= kDuckedGain;
  }
  return g;
}

void PlayerComforts::SetDucked(bool ducked) {
  if (ducked == ducked_) return;
  ducked_ = ducked;
  Apply();
}

void PlayerComforts::SpeechSwitched(const SpeechSettings& s) {
  settings.speech = s;
  Save();
}

void PlayerComforts::Save() {
  if (!f_.sys.settings) return;
  std::string problem;
  file_.Save(*f_.sys.settings, settings, problem);
}

void PlayerComforts::Started() {
  Apply();
  if (settings.hasWindowPos) f_.sys.window->Move(settings.windowX, settings.windowY);
  if (settings.fullScreen && !f_.FullScreenUnavailable && !f_.FullScreen) f_.EnterFullScreen();
}

void PlayerComforts::Closing() {
  settings.fullScreen = f_.FullScreen;
  if (!f_.FullScreen && (!host_ || host_->OnDesktop())) {
    Rect r = f_.sys.window->OuterRect();
    settings.hasWindowPos = true;
    settings.windowX = r.x;
    settings.windowY = r.y;
  }
  Save();
}

PadScreen PlayerComforts::Screen() const {
  PadScreen s;
  auto add = [&s](const Surface& c) {
    if (c.Shown()) s.targets.emplace_back(c.ScreenLeft() + c.width / 2, c.ScreenTop() + c.height / 2);
  };
  if (f_.ChoiceOpen && f_.ChoicePick < 0) {
    for (const Surface& c : f_.SelTxt)
      if (c.Shown()) s.targets.emplace_back(c.ScreenLeft() + 4, c.ScreenTop() + c.height / 2);
  } else if (f_.GalleryOpen) {
    if (f_.SCG.Shown()) {
      s.clickX = 320;
      s.clickY = 240;
    } else {
      for (int n = 1; n <= 15; ++n) add(f_.Pic[static_cast<size_t>(n)]);
      add(f_.CG_END);
    }
  } else if (f_.TitleShown) {
    for (const Surface& c : f_.Smenu) add(c);
  }
  if (f_.WakuHidden) {
    s.rightX = 320;
    s.rightY = 100;
  }
  return s;
}

}  // namespace mirel
