// The player settings as the game validates them: the input is the stored
// values, one "key=value" a line. Whatever is taken stays in range, and the
// settings written back read the same, without a problem.
#include "Fuzz.h"
#include "comfort/PlayerSettings.h"
#include "platform/headless/MemorySettingsStore.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemorySettingsStore store;
  std::string_view in = fuzz::View(data, size);
  for (size_t at = 0; at < in.size();) {
    size_t nl = in.find('\n', at);
    std::string_view line = in.substr(at, nl == std::string_view::npos ? std::string_view::npos : nl - at);
    at = nl == std::string_view::npos ? in.size() : nl + 1;
    size_t eq = line.find('=');
    if (eq != std::string_view::npos) store.values[std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
  }
  std::string problem;
  PlayerSettings s = LoadPlayerSettings(store, problem);
  FUZZ_CHECK(s.zoom >= 1 && s.zoom <= kMaxZoom);
  FUZZ_CHECK(s.musicVolume >= 0 && s.musicVolume <= 100 && s.effectsVolume >= 0 && s.effectsVolume <= 100);
  FUZZ_CHECK(s.reading.autoBaseMs <= kMaxAutoMs && s.reading.autoPerCharMs <= kMaxAutoMs);
  MemorySettingsStore back;
  FUZZ_CHECK(SavePlayerSettings(back, s, problem));
  PlayerSettings again = LoadPlayerSettings(back, problem);
  FUZZ_CHECK(problem.empty() && again == s);
  return 0;
}
