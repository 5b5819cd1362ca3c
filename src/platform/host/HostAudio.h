#pragma once
// Choosing the desktop's sound: the synthesizer on the default audio device,
// or silence with the reason when there is no soundfont or no device.
#include <memory>
#include <string>

#include "platform/AudioBackend.h"
#include "platform/Clock.h"

namespace mirel {

// The General MIDI soundfont to use: `option` when given, else the file
// named by MIREL_SOUNDFONT, else the first of the usual places (under
// `root`) that exists: a fuller soundfont before the small one the program
// requires. Empty when there is none.
std::string FindSoundfont(const std::string& option, const std::string& root = "");

// Never fails: with no soundfont or no device the result is a silent back
// end whose mixer does not open (so music and sound effects go off) and
// whose description says why; the reason is printed to stderr as well.
std::unique_ptr<AudioBackend> OpenHostAudio(Clock& clock, const std::string& soundfontOption);

}  // namespace mirel
