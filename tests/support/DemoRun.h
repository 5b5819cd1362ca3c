#pragma once
// The whole program played by a scripted player on a data folder (usually a
// copy of the demo), on the test platform, with a look at the game at every
// pump of events and as every record starts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_Form.h"
#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "support/TestPlatform.h"
#include "text/text_harness.h"

namespace mirel::test {

struct DemoRun : EventSource {
  TestPlatform tp;
  RecordingFont font;
  std::unique_ptr<ScriptInput> input;
  std::unique_ptr<Main_Form> form;
  std::vector<int32_t> trace;                        // every record run, in order
  std::function<void(Main_Form&)> look;              // after every pump
  std::function<void(Main_Form&)> before;            // once made, before it runs
  std::function<void(Main_Form&, int32_t)> onStep;  // as each record starts
  uint64_t timeLimitMs = 0;
  int status = -1;

  // Plays `script` on the data folder `dir`; the program's exit status.
  int Play(const std::string& dir, const std::string& script) {
    tp.platform.fonts = &font;
    tp.platform.events = this;
    input = std::make_unique<ScriptInput>(script, tp.clock, tp.messages);
    if (timeLimitMs) input->SetTimeLimit(timeLimitMs);
    form = std::make_unique<Main_Form>(tp.platform, StartOptions{dir, dir});
    if (before) before(*form);
    input->Attach(form.get());
    form->StepHook = [this](int32_t seq) {
      trace.push_back(seq);
      if (onStep) onStep(*form, seq);
    };
    return status = RunProgram(*form);
  }
  void Pump(EventQueue& q) override {
    input->Pump(q);
    if (look && form) look(*form);
  }
};

}  // namespace mirel::test
