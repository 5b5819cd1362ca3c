#pragma once
// What the fuzz targets share: the entry point, the property check, scratch
// files for readers that take a path, and a headless platform for the parts
// that need the main window. Each target is one file defining
// LLVMFuzzerTestOneInput; the same file builds into a replay program for
// ctest when the compiler has no libFuzzer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Main_Form.h"
#include "base/BmpCodec.h"
#include "platform/FontRaster.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/headless/BoxFont.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/NullDialogHost.h"
#include "platform/headless/ScriptedMessageBoxes.h"
#include "platform/headless/VirtualAudio.h"
#include "platform/headless/VirtualClock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A broken property aborts, so the fuzzer keeps the input and the replay fails.
#define FUZZ_CHECK(cond)                                                                   \
  do {                                                                                     \
    if (!(cond)) {                                                                         \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond);    \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)

namespace mirel::fuzz {

inline std::string_view View(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
inline std::string_view View(const Bytes& b) { return {reinterpret_cast<const char*>(b.data()), b.size()}; }

// A folder of this process's own, in memory where the machine has one (the
// writers flush every file), removed at exit. Ends with a separator.
const std::string& ScratchDir();
void WriteScratch(const std::string& path, std::string_view bytes);

class FixedSystem final : public SystemInfo {
 public:
  HostFacts Facts() override {
    HostFacts f;
    f.dateTime = "2026/01/02 03:04:05";
    return f;
  }
};

// Everything a Main_Form needs, headless, on a virtual clock.
struct FuzzPlatform {
  FuzzPlatform();
  VirtualClock clock;
  ScriptedMessageBoxes messages;
  BmpCodec images;
  BoxFont fonts;
  VirtualAudio audio{clock};
  FixedSystem system;
  HeadlessWindow window;
  NullDialogHost dialogs;
  Platform platform;
};

}  // namespace mirel::fuzz
