// mirel-tool: the author's companion to the game. It reads and writes the
// data folder with the game's own readers and writers.
#include <QLoggingCategory>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/Main_Form.h"
#include "base/Files.h"
#include "mirel_tool/Build.h"
#include "mirel_tool/Check.h"
#include "mirel_tool/Codec.h"
#include "mirel_tool/Routes.h"

namespace {

using namespace mirel;

const char* kUsage =
    "usage: mirel-tool COMMAND ...\n"
    "\n"
    "  decode IN.dat OUT.txt [--raw]   shipped scenario/choice file -> readable text (UTF-8;\n"
    "                                  --raw keeps the Shift-JIS bytes)\n"
    "  encode IN.txt OUT.dat [--raw]   readable text -> shipped file (\"91.dat\", \"92.dat\")\n"
    "  store DIR                       put the picture files of DIR into their stored form\n"
    "  restore DIR                     make the picture files of DIR plain BMP/JPEG again\n"
    "  build SRC OUT [--base DIR]      make a data folder from a story kept as readable text\n"
    "  check DIR [--strict]            report everything that would stop or spoil play, as\n"
    "                                  file:line: error|warning: message; exit status 1 with\n"
    "                                  any error (with --strict any warning too)\n"
    "  routes DIR [--json] [--dot FILE] [--svg FILE]\n"
    "                                  walk every route with the game's interpreter: endings\n"
    "                                  with their answers, records no route reaches, answers\n"
    "                                  that change nothing, loops, totals; the route graph\n"
    "\n"
    "COMMAND --help tells more about one command.\n";

const char* Help(const std::string& cmd) {
  if (cmd == "decode")
    return "mirel-tool decode IN.dat OUT.txt [--raw]\n"
           "Undoes the byte complement of a shipped scenario (\"91.dat\") or choice file (\"92.dat\")\n"
           "and writes the text as UTF-8, or with --raw as the Shift-JIS bytes themselves.\n";
  if (cmd == "encode")
    return "mirel-tool encode IN.txt OUT.dat [--raw]\n"
           "Turns UTF-8 text (or with --raw Shift-JIS bytes) into the shipped form: Shift-JIS,\n"
           "CR LF line ends, every byte complemented. Refuses characters Shift-JIS lacks.\n"
           "OUT is replaced only when the whole file is written.\n";
  if (cmd == "store")
    return "mirel-tool store DIR\n"
           "Writes the stored header \"JF\" into each picture file of the game's table that exists\n"
           "in DIR. Running it twice changes nothing more; missing files are not created.\n";
  if (cmd == "restore")
    return "mirel-tool restore DIR\n"
           "Gives each picture file of the game's table in DIR its BMP or JPEG header back, so\n"
           "image editors can open it. Idempotent; missing files are not created.\n";
  if (cmd == "build")
    return "mirel-tool build SRC OUT [--base DIR] [--unchecked]\n"
           "Makes the data folder OUT from the folder SRC: \"scenario.csv\" and \"choices.csv\"\n"
           "(UTF-8, comma-separated, \"#\" comments) become \"91.dat\" and \"92.dat\", checked for\n"
           "mistakes that break play unless --unchecked; \"story.ini\" and \"90.txt\" (UTF-8) become\n"
           "\"story.ini\" and \"90.dat\" in Shift-JIS; each line \"NAME WIDTHxHEIGHT [RRGGBB]\" of\n"
           "\"pictures.txt\" paints a shaded picture; each line \"TARGET SOURCE\" of \"copies.txt\"\n"
           "copies a file of OUT to another name; every other file is copied. With --base, OUT\n"
           "starts as a copy of DIR (its pictures and songs). Pictures of the game's table are\n"
           "left in their stored form.\n";
  if (cmd == "check")
    return "mirel-tool check DIR [--strict]\n"
           "Reads DIR without changing it and prints every finding as file:line: KIND: message:\n"
           "files the game needs, \"90.dat\" lines and music files, scenario and choice files\n"
           "(block order, jump and choice targets, answer rows, capacities, transitions,\n"
           "sprites, faces, speakers, messages running past the window), the ending's songs,\n"
           "songs that are not MIDI, pictures the game cannot decode or whose size does not\n"
           "fit their place, the story file \"story.ini\" (speaker tags 2 to 9, staff roll)\n"
           "and staff-roll names too long for the roll.\n"
           "Each finding is an error (start-up refuses the folder, or play stops or breaks\n"
           "there) or a warning (play goes on, but something is lost or looks wrong).\n"
           "Exit status 0 with warnings only, 1 with any error, 2 on bad usage; --strict\n"
           "counts warnings as errors.\n";
  if (cmd == "routes")
    return "mirel-tool routes DIR [--json] [--dot FILE] [--svg FILE] [--strict]\n"
           "Plays every route of the story in DIR headless and silent with the game's own\n"
           "interpreter: at every choice each answer is taken, branches follow the counters\n"
           "of their route, and routes that reach the same record with the same counters,\n"
           "end counter and title-screen counters merge. Prints each ending reached (plain,\n"
           "ending 1, ending 2, quit, or stop where the records run out) with its counters\n"
           "and one shortest list of answers, then the records no route reaches, answers that\n"
           "lead to the same state as another of their choice, loops no route leaves, where\n"
           "play stops or shows a message, and the totals. --json prints the same as one JSON\n"
           "document; --dot FILE writes the graph of blocks and choices in Graphviz's DOT,\n"
           "--svg FILE draws it with Graphviz's \"dot\" when that is installed.\n"
           "Exit status 0 with warnings only, 1 with any error, 2 on bad usage.\n";
  return nullptr;
}

int Fail(const std::string& what) {
  std::fprintf(stderr, "mirel-tool: %s\n", what.c_str());
  return 1;
}

int Convert(bool encode, const std::vector<std::string>& args) {
  bool raw = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--raw") raw = true;
    else files.push_back(a);
  }
  if (files.size() != 2) {
    std::fputs(Help(encode ? "encode" : "decode"), stderr);
    return 2;
  }
  auto in = ReadFile(files[0]);
  if (!in) return Fail("cannot read " + files[0] + ": " + LastErrorText());
  std::string bytes(in->begin(), in->end()), error;
  auto out = encode ? tool::EncodeShipped(bytes, raw, &error) : tool::DecodeShipped(bytes, raw, &error);
  if (!out) return Fail(files[0] + ": " + error);
  if (auto err = WriteFileAtomic(files[1], *out)) return Fail("cannot write " + files[1] + ": " + *err);
  return 0;
}

int Headers(bool store, const std::string& dir) {
  if (!DirExists(dir)) return Fail("no such folder: " + dir);
  std::string errors;
  int failures = tool::ChangeHeaders(dir, store, &errors);
  std::fputs(errors.c_str(), stderr);
  return failures ? 1 : 0;
}

int Build(const std::vector<std::string>& args) {
  tool::BuildOptions options;
  std::vector<std::string> dirs;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--unchecked") options.unchecked = true;
    else if (args[i] == "--base" && i + 1 < args.size()) options.base = args[++i];
    else dirs.push_back(args[i]);
  }
  if (dirs.size() != 2) {
    std::fputs(Help("build"), stderr);
    return 2;
  }
  try {
    tool::BuildDataFolder(dirs[0], dirs[1], options);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return 0;
}

int Check(const std::vector<std::string>& args) {
  bool strict = false;
  std::vector<std::string> dirs;
  for (const std::string& a : args) {
    if (a == "--strict") strict = true;
    else dirs.push_back(a);
  }
  if (dirs.size() != 1) {
    std::fputs(Help("check"), stderr);
    return 2;
  }
  // A picture the decoder refuses is one finding; the decoder's own
  // complaints would only repeat it.
  QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
  auto findings = tool::CheckDataFolder(dirs[0]);
  for (const auto& f : findings) std::printf("%s\n", f.Format().c_str());
  return tool::CheckStatus(findings, strict);
}

int Routes(const std::vector<std::string>& args) {
  bool json = false, strict = false;
  std::string dot, svg;
  std::vector<std::string> dirs;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") json = true;
    else if (args[i] == "--strict") strict = true;
    else if (args[i] == "--dot" && i + 1 < args.size()) dot = args[++i];
    else if (args[i] == "--svg" && i + 1 < args.size()) svg = args[++i];
    else if (args[i].rfind("--", 0) == 0) dirs.clear(), dirs.resize(2);
    else dirs.push_back(args[i]);
  }
  if (dirs.size() != 1) {
    std::fputs(Help("routes"), stderr);
    return 2;
  }
  tool::RouteReport report;
  try {
    report = tool::WalkRoutes(dirs[0]);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  std::fputs((json ? tool::RoutesJson(report) : tool::RoutesText(report)).c_str(), stdout);
  if (!dot.empty())
    if (auto err = WriteFileAtomic(dot, Bytes(report.dot.begin(), report.dot.end()))) return Fail("cannot write " + dot + ": " + *err);
  if (!svg.empty()) {
    // The names go to the shell inside single quotes.
    if (svg.find('\'') != std::string::npos) return Fail("--svg: a file name with a single quote is refused");
    const std::string dotFile = svg + ".dot";
    if (auto err = WriteFileAtomic(dotFile, Bytes(report.dot.begin(), report.dot.end())))
      return Fail("cannot write " + dotFile + ": " + *err);
    const std::string command = "dot -Tsvg -o '" + svg + "' '" + dotFile + "'";
    if (std::system(command.c_str()) != 0)
      std::fprintf(stderr, "mirel-tool: Graphviz's \"dot\" could not draw %s (is graphviz installed?); the graph is in %s\n",
                   svg.c_str(), dotFile.c_str());
  }
  return tool::CheckStatus(report.findings, strict);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::fputs(kUsage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  std::string cmd = args[0];
  args.erase(args.begin());
  if (!Help(cmd)) {
    std::fprintf(stderr, "mirel-tool: unknown command \"%s\"\n\n%s", cmd.c_str(), kUsage);
    return 2;
  }
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") {
      std::fputs(Help(cmd), stdout);
      return 0;
    }
  if (cmd == "decode" || cmd == "encode") return Convert(cmd == "encode", args);
  if (cmd == "build") return Build(args);
  if (cmd == "check") return Check(args);
  if (cmd == "routes") return Routes(args);
  if (args.size() != 1) {
    std::fputs(Help(cmd), stderr);
    return 2;
  }
  return Headers(cmd == "store", args[0]);
}
