#include "platform/host/HostAudio.h"

#include <cstdio>
#include <cstdlib>

#include "base/Files.h"
#include "platform/headless/NullAudio.h"
#include "platform/host/SynthAudio.h"

namespace mirel {

std::string FindSoundfont(const std::string& option, const std::string& root) {
  if (!option.empty()) return option;
  if (const char* env = std::getenv("MIREL_SOUNDFONT"); env && *env) return env;
  // The fuller General MIDI set where it is installed, then the system's
  // chosen one, then the small one we require.
  for (const char* p : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/FluidR3_GM.sf2",
                        "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                        "/usr/share/soundfonts/default.sf2"})
    if (FileExists(root + p)) return root + p;
  return "";
}

std::unique_ptr<AudioBackend> OpenHostAudio(Clock& clock, const std::string& soundfontOption) {
  std::string why;
  auto synth = std::make_unique<SynthAudio>(clock, FindSoundfont(soundfontOption));
  if (synth->OpenDevice(&why)) return synth;
  std::fprintf(stderr, "mirel: sound off: %s\n", why.c_str());
  return std::make_unique<NullAudio>(why);
}

}  // namespace mirel
