// Program entry: the single-instance check, then the main window, either on
// the desktop or headless (offscreen, virtual clock, scripted input).
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSocketNotifier>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "audio/WaveResources.h"
#include "platform/DeferredAudio.h"
#include "platform/EndSignals.h"
#include "platform/Files.h"
#include "platform/HeadlessWindow.h"
#include "platform/VirtualAudio.h"
#include "platform/headless/AccessLines.h"
#include "platform/headless/Observation.h"
#include "platform/host/Gamepad.h"
#include "platform/host/HostAudio.h"
#include "platform/SingleInstance.h"
#include "platform/qt/QtAccessible.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtPlayerHost.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtSpeech.h"

using namespace mirel;

namespace {

struct Args {
  std::string dataDir, input, soundfont, trace, record;
  bool warp = false;
  long warpBlock = 0;
  std::vector<std::pair<std::string, int16_t>> counters;
  bool headless = false, lock = false, help = false, version = false, stats = false, a11y = false;
  long maxSeconds = 6 * 3600;
  long clockCost = 0;
  std::string error;
};

const char* kUsage =
    "Usage: mirel [--data DIR] [--soundfont FILE] [--warp BLOCK [--counter NAME=N ...]]\n"
    "       mirel --headless [--data DIR] [--input FILE] [--max-seconds N] [--lock] [--stats]\n"
    "\n"
    "Plays the story in the data folder: by default the \"data\" folder beside the\n"
    "program, else the program's own folder.\n"
    "\n"
    "  --data DIR        play the data folder DIR instead (also --data=DIR)\n"
    "  --soundfont FILE  General MIDI soundfont for the music (also MIREL_SOUNDFONT)\n"
    "  --headless        run without a window on a virtual clock; every message box\n"
    "                    is printed as \"message: <text>\", every copy to the\n"
    "                    clipboard as \"clipboard: <text>\", every note to the\n"
    "                    player (a screenshot saved) as \"note: <text>\"; the\n"
    "                    player settings and screenshots are the window's; exit\n"
    "                    status 0 after a normal end\n"
    "  --input FILE      the player's actions for a headless run (see README); on the\n"
    "                    desktop it plays them in the real window, printing message\n"
    "                    boxes instead of showing them (screenshots grab the screen)\n"
    "  --max-seconds N   end a headless run after N seconds of game time\n"
    "  --warp BLOCK      start play at the block, without the opening and the title,\n"
    "                    for trying one scene; the slots and \"90.dat\" are not written\n"
    "  --counter NAME=N  with --warp: a counter's value at the start (kou, hap, bad,\n"
    "                    mak, end); may be given more than once\n"
    "  --lock            take the single-instance lock in a headless run too\n"
    "  --clock-cost MS   headless: every reading of the clock costs MS milliseconds\n"
    "                    of game time, as on a slow machine\n"
    "  --trace FILE      write the index of every scenario record run, one a line\n"
    "  --record FILE     headless: write what the player would see and hear, one\n"
    "                    event a line on the game's clock: every picture presented\n"
    "                    (with a hash of it), music, sound and volume, message\n"
    "                    boxes, dialogs, menus and files written\n"
    "  --a11y            headless: print what a screen reader is told and what the\n"
    "                    game says aloud, as \"a11y: ...\" and \"speech: ...\" lines\n"
    "  --stats           at the end print the time from start to the title screen\n"
    "                    (without the game's own fixed waits in a headless run) and\n"
    "                    the peak memory\n"
    "  --version         print the version\n"
    "  --help            print this help\n";

// "--name VALUE" or "--name=VALUE". The first fault found is the one told.
Args Parse(int argc, char** argv) {
  Args a;
  auto fail = [&](const std::string& e) {
    if (a.error.empty()) a.error = e;
  };
  for (int i = 1; i < argc; ++i) {
    std::string s = argv[i], inlined;
    bool hasInline = false;
    if (size_t eq = s.find('='); s.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlined = s.substr(eq + 1);
      s.resize(eq);
      hasInline = true;
    }
    auto value = [&](std::string& out) {
      if (hasInline) out = inlined;
      else if (i + 1 >= argc) fail(s + " needs a value");
      // An option where the value should be is a value forgotten.
      else if (std::string next = argv[i + 1]; next.rfind("--", 0) == 0) fail(s + " needs a value, not the option " + next);
      else out = argv[++i];
    };
    auto number = [&](long& out) {
      std::string v;
      value(v);
      long n = 0;
      auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (ec != std::errc() || end != v.data() + v.size() || n < 0) fail(s + " needs a whole number, not \"" + v + "\"");
      else out = n;
    };
    auto flag = [&](bool& out) {
      if (hasInline) fail(s + " takes no value");
      out = true;
    };
    if (s == "--data") value(a.dataDir);
    else if (s == "--input") value(a.input);
    else if (s == "--soundfont") value(a.soundfont);
    else if (s == "--trace") value(a.trace);
    else if (s == "--record") value(a.record);
    else if (s == "--max-seconds") number(a.maxSeconds);
    else if (s == "--warp") {
      number(a.warpBlock);
      a.warp = true;
      if (a.warpBlock > 32767) fail("--warp needs a block number 0 to 32767");
    } else if (s == "--counter") {
      std::string v;
      value(v);
      const size_t eq = v.find('=');
      const std::string name = v.substr(0, eq);
      const char* end = v.data() + v.size();
      long n = 0;
      const bool valid = eq != std::string::npos && [&] {
        auto [at, ec] = std::from_chars(v.data() + eq + 1, end, n);
        return ec == std::errc() && at == end && n >= -32768 && n <= 32767;
      }();
      if ((name != "kou" && name != "hap" && name != "bad" && name != "mak" && name != "end") || !valid)
        fail("--counter needs NAME=N with NAME kou, hap, bad, mak or end and N from -32768 to 32767, not \"" + v + "\"");
      else a.counters.emplace_back(name, static_cast<int16_t>(n));
    }
    else if (s == "--clock-cost") number(a.clockCost);
    else if (s == "--headless") flag(a.headless);
    else if (s == "--lock") flag(a.lock);
    else if (s == "--stats") flag(a.stats);
    else if (s == "--a11y") flag(a.a11y);
    else if (s == "--help" || s == "-h") flag(a.help);
    else if (s == "--version") flag(a.version);
    else fail("unknown option " + s);
  }
  if (!a.counters.empty() && !a.warp) fail("--counter needs --warp");
  return a;
}

StartOptions Options(const Args& a) {
  StartOptions o{a.dataDir, ""};
  o.warp = a.warp;
  o.warpBlock = static_cast<int16_t>(a.warpBlock);
  o.warpCounters = a.counters;
  return o;
}

// Milliseconds since the kernel started this process (to 10 ms).
double SinceProcessStart() {
  std::ifstream in("/proc/self/stat");
  std::string stat;
  std::getline(in, stat);
  const size_t name = stat.rfind(')');
  if (name == std::string::npos) return -1;
  std::istringstream fields(stat.substr(name + 1));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double started = std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
  return (static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - started) * 1000.0;
}

using WallClock = std::chrono::steady_clock;
const WallClock::time_point kStarted = WallClock::now();

// Plays the scripted actions besides the window's own events, and notes
// when the title screen first waits for the player. With `takeSignals` an
// ending signal that came ends the game at this pump.
class StatsEvents final : public EventSource {
 public:
  StatsEvents(EventSource* first, EventSource* second, bool takeSignals = false)
      : first_(first), second_(second), takeSignals_(takeSignals) {}
  void Attach(Main_Form* form) { form_ = form; }
  void Pump(EventQueue& queue) override {
    if (first_) first_->Pump(queue);
    if (second_) second_->Pump(queue);
    if (form_ && takeSignals_ && EndSignals::Take()) form_->QuitRequested = true;
    if (form_ && titleMs_ < 0 && form_->TitleShown)
      titleMs_ = std::chrono::duration<double, std::milli>(WallClock::now() - kStarted).count();
  }
  void Print() const {
    struct rusage u {};
    getrusage(RUSAGE_SELF, &u);
    if (titleMs_ >= 0) std::printf("stats: start to title %.1f ms\n", titleMs_);
    else std::printf("stats: the title screen was not reached\n");
    std::printf("stats: peak memory %ld kB\n", u.ru_maxrss);
  }

 private:
  EventSource* first_;
  EventSource* second_;
  bool takeSignals_;
  Main_Form* form_ = nullptr;
  double titleMs_ = -1;
};

// The message box only names the folder; on the terminal say how to choose one.
void HintAtDataFolder(const Main_Form& form) {
  if (form.DataDir.empty() || FileExists(form.DataPath("90.dat"))) return;
  std::fprintf(stderr, "mirel: no story in %s (\"90.dat\" is missing); --data DIR chooses the data folder\n",
               form.DataDir.c_str());
}

std::string ReadText(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int RunHeadless(const Args& args, QApplication&) {
  VirtualClock clock;
  if (args.clockCost > 0) clock.SetCostPerRead(static_cast<uint32_t>(args.clockCost));
  ScriptedMessageBoxes messages;
  messages.SetEcho(true);
  std::string script;
  if (!args.input.empty()) {
    bool ok;
    script = ReadText(args.input, ok);
    if (!ok) {
      std::fprintf(stderr, "mirel: cannot read %s\n", args.input.c_str());
      return 2;
    }
  }
  std::unique_ptr<ScriptInput> input;
  try {
    input = std::make_unique<ScriptInput>(script, clock, messages);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mirel: %s\n", e.what());
    return 2;
  }
  input->SetTimeLimit(static_cast<uint64_t>(args.maxSeconds) * 1000);
  SingleInstance instance(std::getenv("MIREL_LOCK_DIR") ? std::getenv("MIREL_LOCK_DIR") : "");
  if (args.lock && !instance.Acquire()) {
    messages.Show(u"既に起動しています。", MsgButtons::Ok);
    return 1;
  }
  qt::QtImageCodec images;
  qt::QtFonts fonts;
  // Songs and sounds take their time on the virtual clock; nothing is rendered.
  VirtualAudio audio(clock);
  qt::HostSystemInfo system(audio.Describe(), {fonts.ResolvedFamily(Font{}), fonts.ResolvedFamily(Font{u"Arial", 8, false})});
  HeadlessWindow window;
  NullDialogHost dialogs;
  MemoryClipboard clipboard;
  clipboard.SetEcho(true);
  XdgFolders folders;
  // The same settings file and screenshot folder as the window's.
  qt::QtSettingsStore settings;
  qt::HeadlessPlayerHost player(window);
  Platform p;
  p.settings = &settings;
  p.player = &player;
  StatsEvents events(input.get(), nullptr, true);
  p.clock = &clock;
  p.events = &events;
  p.messages = &messages;
  p.images = &images;
  p.fonts = &fonts;
  p.audio = &audio;
  p.system = &system;
  p.window = &window;
  p.dialogs = &dialogs;
  p.clipboard = &clipboard;
  p.folders = &folders;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> record(nullptr, std::fclose);
  std::unique_ptr<Recording> recording;
  if (!args.record.empty()) {
    record.reset(std::fopen(args.record.c_str(), "w"));
    if (!record) {
      std::fprintf(stderr, "mirel: cannot write %s\n", args.record.c_str());
      return 2;
    }
    recording = std::make_unique<Recording>(p, [f = record.get()](const std::string& line) { std::fputs(line.c_str(), f); });
    recording->Log().SetWaveNamer([](const Bytes& wave) {
      for (int id = 100; id <= 108; ++id)
        if (LoadWaveResource(id) == wave) return std::to_string(id);
      return std::string();
    });
    // The environment log reports the machine and its folders.
    recording->Log().SetUnhashedFiles({"mirel.log"});
  }
  AccessLines access([&recording](const std::string& line) {
    std::printf("%s\n", line.c_str());
    if (recording) recording->Log().Note(line);
  });
  if (args.a11y) {
    p.access = &access;
    p.speech = &access;
  }
  Main_Form form(p, Options(args));
  if (recording) recording->Log().SetDataDir([&form] { return form.DataDir; });
  input->Attach(&form);
  events.Attach(&form);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace(nullptr, std::fclose);
  if (!args.trace.empty()) {
    trace.reset(std::fopen(args.trace.c_str(), "w"));
    if (trace) form.StepHook = [&trace](int32_t seq) { std::fprintf(trace.get(), "%d\n", seq); };
  }
  input->SetScreenshotHandler([&](const std::string& file) {
    // What the window shows: the picture as last presented.
    if (!qt::ToQImage(window.Frame()).save(QString::fromStdString(file), "PNG"))
      std::fprintf(stderr, "mirel: cannot write %s\n", file.c_str());
  });
  int status = RunProgram(form);
  HintAtDataFolder(form);
  if (input->TimedOut()) {
    std::printf("timeout: the run was cut off after %ld seconds of game time\n", args.maxSeconds);
    if (status == 0) status = 3;
  }
  if (recording) recording->Log().Note("exit " + std::to_string(status));
  if (args.stats) events.Print();
  std::fflush(stdout);
  return status;
}

int RunDesktop(const Args& args, QApplication&) {
  if (!qt::LoadJapaneseTranslations())
    std::fprintf(stderr, "mirel: Qt's Japanese translations (qt6-translations-l10n) are missing; standard buttons speak English\n");
  qt::QtMessageBoxes shownMessages;
  ScriptedMessageBoxes printedMessages;
  printedMessages.SetEcho(true);
  // A scripted desktop run answers the questions itself, so nothing may
  // wait for a hand on the mouse.
  MessageBoxes& messages = args.input.empty() ? static_cast<MessageBoxes&>(shownMessages) : printedMessages;
  SingleInstance instance(std::getenv("MIREL_LOCK_DIR") ? std::getenv("MIREL_LOCK_DIR") : "");
  if (!instance.Acquire()) {
    messages.Show(u"既に起動しています。", MsgButtons::Ok);
    return 1;
  }
  RealClock clock;
  qt::EventInbox inbox;
  qt::QtEvents qtEvents(inbox);
  std::unique_ptr<ScriptInput> input;
  if (!args.input.empty()) {
    bool ok;
    std::string script = ReadText(args.input, ok);
    if (!ok) {
      std::fprintf(stderr, "mirel: cannot read %s\n", args.input.c_str());
      return 2;
    }
    try {
      input = std::make_unique<ScriptInput>(script, clock, printedMessages);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "mirel: %s\n", e.what());
      return 2;
    }
    input->SetTimeLimit(static_cast<uint64_t>(args.maxSeconds) * 1000);
    input->SetScreenshotHandler([](const std::string& file) {
      // The whole screen, so open dialogs are in the picture too.
      QCoreApplication::processEvents();
      QScreen* screen = QGuiApplication::primaryScreen();
      if (!screen || !screen->grabWindow(0).save(QString::fromStdString(file), "PNG"))
        std::fprintf(stderr, "mirel: cannot write %s\n", file.c_str());
    });
  }
  SdlGamepads pads(&qtEvents);
  StatsEvents events(&pads, input.get());
  qt::QtImageCodec images;
  qt::QtFonts fonts;
  // The soundfont and the device are opened when the game first sounds,
  // which is after the window is shown.
  const std::string soundfont = FindSoundfont(args.soundfont);
  DeferredAudio audio([&clock, &args] { return OpenHostAudio(clock, args.soundfont); },
                      soundfont.empty() ? "sound off: no soundfont found"
                                        : "not opened yet (soundfont " + soundfont + ")");
  qt::HostSystemInfo system(audio.Describe(), {fonts.ResolvedFamily(Font{}), fonts.ResolvedFamily(Font{u"Arial", 8, false})});
  qt::QtDialogs dialogs(inbox);
  qt::QtClipboard clipboard;
  XdgFolders folders;
  qt::QtWindow window(inbox);
  dialogs.SetOwner(&window);
  dialogs.SetScaleSource([&window] { return window.DialogScale(); });
  shownMessages.SetOwner(&window);
  double firstFrameMs = -1;
  window.OnFirstPaint([&firstFrameMs] { firstFrameMs = SinceProcessStart(); });
  // The player's settings live in the user's config folder.
  qt::QtSettingsStore settings;
  qt::QtPlayerHost player(window, inbox);
  Platform p;
  p.settings = &settings;
  p.player = &player;
  p.clock = &clock;
  p.events = &events;
  p.messages = &messages;
  p.images = &images;
  p.fonts = &fonts;
  p.audio = &audio;
  p.system = &system;
  p.window = &window;
  p.dialogs = &dialogs;
  p.clipboard = &clipboard;
  p.folders = &folders;
  qt::QtAccessibleStory story(window, inbox);
  qt::QtSpeech speech;
  p.access = &story;
  p.speech = &speech;
  Main_Form form(p, Options(args));
  if (input) input->Attach(&form);
  events.Attach(&form);
  // An ending signal is seen by Qt's own loop, also while a message box or
  // the settings dialog runs one of its own: that one is closed so the game
  // gets back to its pump and ends there.
  std::unique_ptr<QSocketNotifier> ended;
  if (EndSignals::Fd() >= 0) {
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
  int status = RunProgram(form);
  HintAtDataFolder(form);
  if (args.stats) {
    events.Print();
    if (firstFrameMs >= 0) std::printf("stats: first frame %.0f ms after the process started\n", firstFrameMs);
  }
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Args args = Parse(argc, argv);
  if (!args.error.empty()) {
    std::fprintf(stderr, "mirel: %s\n\n%s", args.error.c_str(), kUsage);
    return 2;
  }
  if (args.help) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (args.version) {
    std::printf("MIREL %s\n", MIREL_VERSION);
    return 0;
  }
  if (args.headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EndSignals::Install();
  QApplication app(argc, argv);
  QApplication::setApplicationName("MIREL");
  const int status = args.headless ? RunHeadless(args, app) : RunDesktop(args, app);
  // Everything is put away: now end the way the signal asked for.
  EndSignals::EndByReceived();
  return status;
}
