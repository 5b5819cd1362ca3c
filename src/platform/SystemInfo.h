#pragma once
// Facts about the machine, for the environment log and the about box.
#include <cstdint>
#include <string>
#include <vector>

namespace mirel {

struct HostFacts {
  std::string dateTime;        // local date and time, "yyyy/mm/dd hh:mm:ss"
  std::string cpuVendor;       // e.g. "GenuineIntel"
  std::string cpuModel;        // e.g. "Intel(R) Xeon(R) ..."
  std::string cpuArch;         // e.g. "x86_64"
  int cpuCount = 0;
  int screenWidth = 0, screenHeight = 0, screenDepth = 0;
  std::string osName;          // e.g. "Linux"
  std::string osVersion;       // e.g. "6.1.0-18-amd64"
  std::string osDescription;   // e.g. "Debian GNU/Linux 12 (bookworm)"
  std::string systemDir;       // stand-ins for the Windows and system folders
  std::string libDir;
  uint64_t memTotal = 0, memFree = 0, swapTotal = 0, swapFree = 0, virtTotal = 0, virtFree = 0;
  int memoryLoad = 0;          // percent of physical memory in use
  bool fullScreenAvailable = true;
  std::string audio;           // audio back end line
  std::vector<std::string> fonts;  // font names asked for -> family used
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual HostFacts Facts() = 0;
};

}  // namespace mirel
