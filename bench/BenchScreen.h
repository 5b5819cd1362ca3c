#pragma once
// A main window on null and headless parts for benchmarks: nothing is
// shown, but every refresh composes the whole screen as a real paint does.
#include <memory>

#include "app/Main_Form.h"
#include "platform/HeadlessWindow.h"
#include "platform/NullAudio.h"

namespace mirel::bench {

// A headless window whose refresh composes the whole screen, as a real
// window's paint does, so the blink costs what it costs on a desktop.
class ComposingWindow final : public WindowHost {
 public:
  explicit ComposingWindow(FontRasterizer& fonts) : fonts_(fonts) {}
  Controls* controls = nullptr;
  void Show() override { w_.Show(); }
  void Refresh() override {
    if (controls) Compose(*controls, fonts_, frame_);
  }
  void Sync(const FormState& s) override { w_.Sync(s); }
  Rect OuterRect() override { return w_.OuterRect(); }
  Rect ClientRect() override { return w_.ClientRect(); }
  void SetOuterSize(int w, int h) override { w_.SetOuterSize(w, h); }
  void Move(int x, int y) override { w_.Move(x, y); }
  int ScreenWidth() override { return w_.ScreenWidth(); }
  int ScreenHeight() override { return w_.ScreenHeight(); }
  bool HasCaption() override { return w_.HasCaption(); }
  void SetCaption(bool on) override { w_.SetCaption(on); }
  bool ChangeDisplayMode(bool f) override { return w_.ChangeDisplayMode(f); }
  bool InFullScreenMode() override { return w_.InFullScreenMode(); }
  void SetImeOpen(bool open) override { w_.SetImeOpen(open); }

 private:
  HeadlessWindow w_;
  FontRasterizer& fonts_;
  Image frame_;
};

class NoFacts final : public SystemInfo {
 public:
  HostFacts Facts() override { return {}; }
};

// The form laid out, with its picture shown. The events are the caller's.
struct Screen {
  Screen(Clock& clock, EventSource& events) : window(fonts) {
    p.clock = &clock;
    p.events = &events;
    p.messages = &messages;
    p.images = &images;
    p.fonts = &fonts;
    p.audio = &audio;
    p.system = &facts;
    p.window = &window;
    p.dialogs = &dialogs;
    f = std::make_unique<Main_Form>(p, StartOptions{});
    window.controls = f.get();
    f->LayOutMainWindow();
    f->Pic_Main.Visible = true;
  }
  ScriptedMessageBoxes messages;
  BmpCodec images;
  BoxFont fonts;
  NullAudio audio;
  NoFacts facts;
  ComposingWindow window;
  NullDialogHost dialogs;
  Platform p;
  std::unique_ptr<Main_Form> f;
};

}  // namespace mirel::bench
