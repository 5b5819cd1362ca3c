#include "app/PlatformBuilder.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "app/Main_Form.h"
#include "app/ScriptInput.h"
#include "audio/WaveResources.h"
#include "base/EndSignals.h"
#include "base/RealClock.h"
#include "base/SingleInstance.h"
#include "base/XdgFolders.h"
#include "platform/headless/AccessLines.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/MemoryClipboard.h"
#include "platform/headless/NullDialogHost.h"
#include "platform/headless/Observation.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "platform/headless/VirtualAudio.h"
#include "platform/headless/VirtualClock.h"
#include "platform/host/DeferredAudio.h"
#include "platform/host/SdlGamepads.h"
#include "platform/host/HostAudio.h"
#include "platform/qt/QtAccessible.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtDisplayHost.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtSpeech.h"

namespace mirel {

namespace {

// What the game pumps: the host's events, then the scripted actions. With
// `takeSignals` an ending signal that came ends the game at this pump.
class MergedEvents final : public EventSource {
 public:
  MergedEvents(EventSource* first, EventSource* second, bool takeSignals, TimingStats& stats)
      : first_(first), second_(second), takeSignals_(takeSignals), stats_(stats) {}
  void Attach(Main_Form* form) { form_ = form; }
  void Pump(EventQueue& queue) override {
    if (first_) first_->Pump(queue);
    if (second_) second_->Pump(queue);
    if (form_ && takeSignals_ && EndSignals::Take()) form_->QuitRequested = true;
    if (form_) stats_.Pumped(form_->TitleShown);
  }

 private:
  EventSource* first_;
  EventSource* second_;
  bool takeSignals_;
  TimingStats& stats_;
  Main_Form* form_ = nullptr;
};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

class Built final : public BuiltPlatform {
 public:
  explicit Built(PlatformPlan plan) : plan(std::move(plan)) {}
  // The parts go in the reverse of the order they were made in.
  ~Built() override {
    while (!parts_.empty()) parts_.pop_back();
  }
  Platform& Get() override { return p; }
  TimingStats& Stats() override { return stats; }
  void Attach(Main_Form& form) override;
  int Finish(int status) override;

  template <class T, class... A>
  T& Make(A&&... args) {
    T* part = new T(std::forward<A>(args)...);
    parts_.emplace_back(part, [](void* q) { delete static_cast<T*>(q); });
    return *part;
  }

  const PlatformPlan plan;
  Platform p;
  TimingStats stats;
  ScriptInput* input = nullptr;
  MergedEvents* events = nullptr;
  Recording* recording = nullptr;
  File trace{nullptr, std::fclose};
  std::unique_ptr<QSocketNotifier> ended;

 private:
  std::vector<std::unique_ptr<void, void (*)(void*)>> parts_;
};

void Built::Attach(Main_Form& form) {
  if (recording) recording->Log().SetDataDir([&form] { return form.DataDir; });
  if (input) input->Attach(&form);
  events->Attach(&form);
  if (plan.headless && !plan.traceFile.empty()) {
    trace.reset(std::fopen(plan.traceFile.c_str(), "w"));
    if (trace) form.StepHook = [f = trace.get()](int32_t seq) { std::fprintf(f, "%d\n", seq); };
  }
  // An ending signal is seen by Qt's own loop, also while a message box or
  // the settings dialog runs one of its own: that one is closed so the game
  // gets back to its pump and ends there.
  if (!plan.headless && EndSignals::Fd() >= 0) {
    ended = std::make_unique<QSocketNotifier>(EndSignals::Fd(), QSocketNotifier::Read);
    QObject::connect(ended.get(), &QSocketNotifier::activated, [&form] {
      if (!EndSignals::Take()) return;
      form.QuitRequested = true;
      for (int i = 0; i < 8; ++i) {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal) break;
        modal->done(QDialog::Rejected);
      }
    });
  }
}

int Built::Finish(int status) {
  ended.reset();
  if (plan.headless && input->TimedOut()) {
    std::printf("timeout: the run was cut off after %ld seconds of game time\n", plan.maxSeconds);
    if (status == 0) status = 3;
  }
  if (recording) recording->Log().Note("exit " + std::to_string(status));
  return status;
}

std::string ReadText(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::unique_ptr<BuiltPlatform> BuildPlatform(const PlatformPlan& plan, int& status) {
  auto b = std::make_unique<Built>(plan);
  const bool headless = plan.headless;
  Clock* clock = nullptr;
  MessageBoxes* messages = nullptr;
  ScriptedMessageBoxes* printed = nullptr;
  qt::QtMessageBoxes* shown = nullptr;
  if (headless) {
    auto& virtualClock = b->Make<VirtualClock>();
    if (plan.clockCost > 0) virtualClock.SetCostPerRead(static_cast<uint32_t>(plan.clockCost));
    clock = &virtualClock;
    messages = printed = &b->Make<ScriptedMessageBoxes>();
    printed->SetEcho(true);
  } else {
    if (!qt::LoadJapaneseTranslations())
      std::fprintf(stderr, "mirel: Qt's Japanese translations (qt6-translations-l10n) are missing; standard buttons speak English\n");
    qt::LoadComfortTranslations();
    shown = &b->Make<qt::QtMessageBoxes>();
    printed = &b->Make<ScriptedMessageBoxes>();
    printed->SetEcho(true);
    // A scripted desktop run answers the questions itself, so nothing may
    // wait for a hand on the mouse.
    messages = plan.inputFile.empty() ? static_cast<MessageBoxes*>(shown) : printed;
  }
  // The desktop refuses a second game before anything else; a headless run
  // takes the lock only when asked, once its script is known to be good.
  auto lockedOut = [&](bool take) {
    const char* dir = std::getenv("MIREL_LOCK_DIR");
    auto& instance = b->Make<SingleInstance>(dir ? dir : "");
    if (!take || instance.Acquire()) return false;
    messages->Show(u"既に起動しています。", MsgButtons::Ok);
    status = 1;
    return true;
  };
  qt::EventInbox* inbox = nullptr;
  EventSource* hostEvents = nullptr;
  if (!headless) {
    if (lockedOut(plan.lock)) return nullptr;
    clock = &b->Make<RealClock>();
    inbox = &b->Make<qt::EventInbox>();
    hostEvents = &b->Make<qt::QtEvents>(*inbox);
  }

  // The player's actions: a headless run always has a script, if empty.
  if (headless || !plan.inputFile.empty()) {
    std::string script;
    if (!plan.inputFile.empty()) {
      bool ok;
      script = ReadText(plan.inputFile, ok);
      if (!ok) {
        std::fprintf(stderr, "mirel: cannot read %s\n", plan.inputFile.c_str());
        status = 2;
        return nullptr;
      }
    }
    try {
      b->input = &b->Make<ScriptInput>(script, *clock, *printed);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "mirel: %s\n", e.what());
      status = 2;
      return nullptr;
    }
    b->input->SetTimeLimit(static_cast<uint64_t>(plan.maxSeconds) * 1000);
  }
  if (headless && lockedOut(plan.lock)) return nullptr;
  if (!headless && b->input) {
    b->input->SetScreenshotHandler([](const std::string& file) {
      // The whole screen, so open dialogs are in the picture too.
      QCoreApplication::processEvents();
      QScreen* screen = QGuiApplication::primaryScreen();
      if (!screen || !screen->grabWindow(0).save(QString::fromStdString(file), "PNG"))
        std::fprintf(stderr, "mirel: cannot write %s\n", file.c_str());
    });
  }
  if (!headless) hostEvents = &b->Make<SdlGamepads>(hostEvents);
  b->events = &b->Make<MergedEvents>(hostEvents, b->input, headless, b->stats);

  auto& images = b->Make<qt::QtImageCodec>();
  auto& fonts = b->Make<qt::QtFonts>();
  AudioBackend* audio = nullptr;
  if (headless) {
    // Songs and sounds take their time on the virtual clock; nothing is rendered.
    audio = &b->Make<VirtualAudio>(*clock);
  } else {
    // The soundfont and the device are opened when the game first sounds,
    // which is after the window is shown.
    const std::string soundfont = FindSoundfont(plan.soundfont);
    audio = &b->Make<DeferredAudio>([clock, option = plan.soundfont] { return OpenHostAudio(*clock, option); },
                                    soundfont.empty() ? "sound off: no soundfont found"
                                                      : "not opened yet (soundfont " + soundfont + ")");
  }
  auto& system = b->Make<qt::HostSystemInfo>(
      audio->Describe(), std::vector<std::string>{fonts.ResolvedFamily(Font{}), fonts.ResolvedFamily(Font{u"Arial", 8, false})});

  WindowHost* window = nullptr;
  DialogHost* dialogs = nullptr;
  Clipboard* clipboard = nullptr;
  DisplayHost* display = nullptr;
  HeadlessWindow* offscreen = nullptr;
  qt::QtWindow* desktop = nullptr;
  if (headless) {
    window = offscreen = &b->Make<HeadlessWindow>();
    dialogs = &b->Make<NullDialogHost>();
    auto& memory = b->Make<MemoryClipboard>();
    memory.SetEcho(true);
    clipboard = &memory;
  } else {
    auto& qtDialogs = b->Make<qt::QtDialogs>(*inbox);
    dialogs = &qtDialogs;
    clipboard = &b->Make<qt::QtClipboard>();
    window = desktop = &b->Make<qt::QtWindow>(*inbox);
    qtDialogs.SetOwner(desktop);
    qtDialogs.SetScaleSource([desktop] { return desktop->DialogScale(); });
    shown->SetOwner(desktop);
    desktop->OnFirstPaint([stats = &b->stats] { stats->FirstFrame(); });
  }
  auto& folders = b->Make<XdgFolders>();
  // The player's settings and screenshot folder are the window's, headless too.
  auto& settings = b->Make<qt::QtSettingsStore>();
  if (headless) display = &b->Make<qt::HeadlessDisplayHost>(*offscreen);
  else display = &b->Make<qt::QtDisplayHost>(*desktop, *inbox);

  Platform& p = b->p;
  p.settings = &settings;
  p.display = display;
  p.clock = clock;
  p.events = b->events;
  p.messages = messages;
  p.images = &images;
  p.fonts = &fonts;
  p.audio = audio;
  p.system = &system;
  p.window = window;
  p.dialogs = dialogs;
  p.clipboard = clipboard;
  p.folders = &folders;
  // What a screen reader is told and what the game says aloud.
  if (!headless) {
    p.access = &b->Make<qt::QtAccessibleStory>(*desktop, *inbox);
    p.speech = &b->Make<qt::QtSpeech>();
  }

  if (headless) {
    b->input->SetScreenshotHandler([offscreen](const std::string& file) {
      // What the window shows: the picture as last presented.
      if (!qt::ToQImage(offscreen->Frame()).save(QString::fromStdString(file), "PNG"))
        std::fprintf(stderr, "mirel: cannot write %s\n", file.c_str());
    });
  }
  if (headless && !plan.recordFile.empty()) {
    auto& record = b->Make<File>(std::fopen(plan.recordFile.c_str(), "w"), std::fclose);
    if (!record) {
      std::fprintf(stderr, "mirel: cannot write %s\n", plan.recordFile.c_str());
      status = 2;
      return nullptr;
    }
    b->recording = &b->Make<Recording>(p, [f = record.get()](const std::string& line) { std::fputs(line.c_str(), f); });
    b->recording->Log().SetWaveNamer([](const Bytes& wave) {
      for (int id = 100; id <= 108; ++id)
        if (LoadWaveResource(id) == wave) return std::to_string(id);
      return std::string();
    });
    // The environment log reports the machine and its folders.
    b->recording->Log().SetUnhashedFiles({"mirel.log"});
  }
  if (headless && plan.a11y) {
    Built* built = b.get();
    auto& lines = b->Make<AccessLines>([built](const std::string& line) {
      std::printf("%s\n", line.c_str());
      if (built->recording) built->recording->Log().Note(line);
    });
    p.access = &lines;
    p.speech = &lines;
  }
  return b;
}

}  // namespace mirel
