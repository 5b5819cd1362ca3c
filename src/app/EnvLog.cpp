#include "app/Main_Form.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

namespace mirel {

std::string Main_Form::BuildEnvironmentReport() {
  HostFacts f = sys.system ? sys.system->Facts() : HostFacts{};
  std::string r;
  r += f.dateTime + "\r\n";
  return r;
}

void Main_Form::WriteEnvironmentLog() {
  // The log is for support only: failing to write it never stops the game.
  std::string path = DataPath("mirel.log");
  WriteFileAtomic(path, BuildEnvironmentReport() + "\r\n");
}

}  // namespace mirel
