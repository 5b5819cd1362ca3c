#include "app/Options.h"

#include <charconv>
#include <system_error>

#include "app/Main_Form.h"

namespace mirel {

const char* const kUsage =
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

// The first fault found is the one told.
ProgramOptions ParseOptions(int argc, char** argv) {
  ProgramOptions a;
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

StartOptions StartOptionsOf(const ProgramOptions& a) {
  StartOptions o{a.dataDir, ""};
  o.warp = a.warp;
  o.warpBlock = static_cast<int16_t>(a.warpBlock);
  o.warpCounters = a.counters;
  return o;
}

}  // namespace mirel
