// The input scripts of headless runs: read, then delivered by the pump as
// the game shows one screen after another. A line is refused when the
// script is read, with its number, or never: the pump delivers every line it
// took, each as a bounded number of events, and the script runs out.
#include <memory>
#include <stdexcept>

#include "Fuzz.h"
#include "app/ScriptInput.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "ui/frmAbout.h"

using namespace mirel;

namespace {

void Show(Main_Form& f, PlayerWait wait) {
  f.ClickWait = wait == PlayerWait::Click;
  f.ChoiceOpen = wait == PlayerWait::Choice;
  f.ChoicePick = -1;
  f.GalleryOpen = wait == PlayerWait::Gallery;
  f.TitleShown = wait == PlayerWait::Title;
  f.aboutBox->model.visible = wait == PlayerWait::Dialog;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::FuzzPlatform p;
  static Main_Form& f = [] () -> Main_Form& {
    static Main_Form form(p.platform, StartOptions{});
    form.LayOutMainWindow();
    return form;
  }();
  const std::string script(fuzz::View(data, size));
  size_t lines = 1;
  for (char c : script) lines += c == '\n';
  ScriptedMessageBoxes messages;
  std::unique_ptr<ScriptInput> in;
  try {
    in = std::make_unique<ScriptInput>(script, p.clock, messages);
  } catch (const std::runtime_error& e) {
    const std::string what = e.what();
    FUZZ_CHECK(what.rfind("input line ", 0) == 0);
    FUZZ_CHECK(std::stoul(what.substr(11)) >= 1 && std::stoul(what.substr(11)) <= lines);
    return 0;
  }
  std::vector<std::string> shots;
  in->SetScreenshotHandler([&](const std::string& file) { shots.push_back(file); });
  in->Attach(&f);
  in->SetTimeLimit(UINT64_MAX);
  const PlayerWait screens[] = {PlayerWait::Click, PlayerWait::None,   PlayerWait::Choice,
                                PlayerWait::Title, PlayerWait::Dialog, PlayerWait::Gallery};
  // Each screen in turn, long enough for any wait the script asks for.
  size_t pumps = 0;
  for (; !in->Exhausted() && pumps < 8 * lines + 8; ++pumps) {
    Show(f, screens[pumps % std::size(screens)]);
    EventQueue q;
    in->Pump(q);
    FUZZ_CHECK(q.size() <= 1000);
    p.clock.Advance(INT32_MAX);
  }
  FUZZ_CHECK(in->Exhausted());
  Show(f, PlayerWait::None);
  return 0;
}
