#pragma once
// A main window on null and headless parts for benchmarks: nothing is
// shown, but every present composes what changed and the headless window
// copies it into its picture, as a real window's backing store does.
#include <memory>

#include "app/Main_Form.h"
#include "base/BmpCodec.h"
#include "platform/headless/BoxFont.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/NullAudio.h"
#include "platform/headless/NullDialogHost.h"
#include "platform/headless/ScriptedMessageBoxes.h"

namespace mirel::bench {

class NoFacts final : public SystemInfo {
 public:
  HostFacts Facts() override { return {}; }
};

// The form laid out, with its picture shown. The events are the caller's;
// so, when given, are the window and the fonts (the real ones).
struct Screen {
  Screen(Clock& clock, EventSource& events, WindowHost* realWindow = nullptr, FontRasterizer* realFonts = nullptr) {
    p.clock = &clock;
    p.events = &events;
    p.messages = &messages;
    p.images = &images;
    p.fonts = realFonts ? realFonts : &fonts;
    p.audio = &audio;
    p.system = &facts;
    p.window = realWindow ? realWindow : &window;
    p.dialogs = &dialogs;
    f = std::make_unique<Main_Form>(p, StartOptions{});
    f->LayOutMainWindow();
    f->Pic_Main.Visible = true;
  }
  ScriptedMessageBoxes messages;
  BmpCodec images;
  BoxFont fonts;
  NullAudio audio;
  NoFacts facts;
  HeadlessWindow window;
  NullDialogHost dialogs;
  Platform p;
  std::unique_ptr<Main_Form> f;
};

}  // namespace mirel::bench
