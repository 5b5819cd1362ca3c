#include <cstdio>

#include "app/Main_Form.h"
#include "base/Cp932.h"
#include "base/Files.h"

namespace mirel {

namespace {

std::string Num(uint64_t v) { return std::to_string(v); }

// "6.1.0-18-amd64" -> major 6, minor 1, build 0.
void SplitVersion(const std::string& v, std::string& major, std::string& minor, std::string& build) {
  size_t a = v.find('.');
  size_t b = a == std::string::npos ? std::string::npos : v.find('.', a + 1);
  major = v.substr(0, a);
  minor = a == std::string::npos ? "0" : v.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
  std::string rest = b == std::string::npos ? "0" : v.substr(b + 1);
  size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  build = digits ? rest.substr(0, digits) : "0";
}

}  // namespace

std::string Main_Form::BuildEnvironmentReport() {
  HostFacts f = sys.system ? sys.system->Facts() : HostFacts{};
  ColorDepthText = std::to_string(f.screenDepth);
  MemoryLoadText = std::to_string(f.memoryLoad);
  // Full screen here is a borderless window over the screen: it is only
  // impossible where there is no screen to cover.
  FullScreenUnavailable = !f.fullScreenAvailable;

  std::string major, minor, build;
  SplitVersion(f.osVersion, major, minor, build);
  std::u16string r;
  auto line = [&r](const std::string& utf8) { r += FromUtf8(utf8) + u"\r\n"; };
  line(f.dateTime);
  std::string cpu = "CPU = " + f.cpuVendor + "/" + f.cpuArch + "/(" + f.cpuModel + ")";
  if (f.cpuCount != 0) cpu += "×" + std::to_string(f.cpuCount);
  line(cpu);
  line("CRT = " + std::to_string(f.screenWidth) + "*" + std::to_string(f.screenHeight) + "(" +
       std::to_string(f.screenDepth) + "bits)");
  std::string name = f.osDescription.empty() ? f.osName : f.osName + " " + f.osDescription;
  line("OS = " + name + " ver:" + major + "." + minor + "(" + Utf8(Left(FromUtf8(f.osVersion), 20)) + ") build:" + build);
  line("WINﾌｫﾙﾀﾞ = " + f.systemDir);
  line("ｼｽﾃﾑﾌｫﾙﾀﾞ = " + f.libDir);
  line("app = " + BaseDir);
  line("data= " + DataDir);
  line("総物理ﾒﾓﾘ      = " + Num(f.memTotal) + "Bytes");
  line("空物理ﾒﾓﾘ      = " + Num(f.memFree) + "Bytes");
  line("総ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = " + Num(f.swapTotal) + "Bytes");
  line("空ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = " + Num(f.swapFree) + "Bytes");
  line("総仮想ﾕｰｻﾞｰﾒﾓﾘ = " + Num(f.virtTotal) + "Bytes");
  line("空仮想ﾕｰｻﾞｰﾒﾓﾘ = " + Num(f.virtFree) + "Bytes");
  line("ﾒﾓﾘ使用量      = " + std::to_string(f.memoryLoad) + "%");
  // What stands in for the machine's own sound and fonts.
  LoggedSound = sys.audio ? sys.audio->Describe() : f.audio;
  line("sound = " + LoggedSound);
  for (const std::string& font : f.fonts) line("font = " + font);
  line("story = " + Story.Summary());
  return EncodeCp932(r);
}

void Main_Form::WriteEnvironmentLog() {
  // The log is for support only: a folder that cannot take it never stops
  // the game.
  std::string path = DataPath("mirel.log");
  std::string report = BuildEnvironmentReport() + "\r\n";
  // The player's settings are no part of the game; only a problem with them is noted.
  if (!display.LoadProblem().empty()) report += display.LoadProblem() + "\r\n";
  LogReport = report;
  if (auto err = WriteFileAtomic(path, report))
    std::fprintf(stderr, "mirel: cannot write %s: %s\n", path.c_str(), err->c_str());
}

void Main_Form::NoteSoundInLog() {
  // The sound is opened after the log is written (opening it would hold
  // back the first picture): the log is written again to say what was
  // opened, or why the sound is off.
  if (!sys.audio || LogReport.empty()) return;
  const std::string now = sys.audio->Describe();
  const std::string was = EncodeCp932(FromUtf8("sound = " + LoggedSound + "\r\n"));
  const size_t at = LogReport.find(was);
  if (now == LoggedSound || at == std::string::npos) return;
  LogReport.replace(at, was.size(), EncodeCp932(FromUtf8("sound = " + now + "\r\n")));
  LoggedSound = now;
  std::string path = DataPath("mirel.log");
  if (auto err = WriteFileAtomic(path, LogReport))
    std::fprintf(stderr, "mirel: cannot write %s: %s\n", path.c_str(), err->c_str());
}

}  // namespace mirel
