// The MIDI reader: a standard MIDI file or one inside a RIFF "RMID" file.
// A file and the same file wrapped in RIFF play equally long.
#include "Fuzz.h"
#include "audio/MidiFile.h"
#include "audio/Riff.h"

using namespace mirel;

namespace {
void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes file(data, data + size);
  std::optional<uint32_t> ms = MidiLengthMs(file);
  Bytes smf = StandardMidiFile(file);
  FUZZ_CHECK(smf.size() <= file.size());
  if (smf.size() != file.size()) FUZZ_CHECK(MidiLengthMs(smf) == ms);
  if (size > 0xFFFF'FFF0u) return 0;
  Bytes riff = {'R', 'I', 'F', 'F'};
  Put32(riff, static_cast<uint32_t>(12 + smf.size() + (smf.size() & 1)));
  riff.insert(riff.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
  Put32(riff, static_cast<uint32_t>(smf.size()));
  riff.insert(riff.end(), smf.begin(), smf.end());
  if (smf.size() & 1) riff.push_back(0);
  FUZZ_CHECK(StandardMidiFile(riff) == smf);
  FUZZ_CHECK(MidiLengthMs(riff) == MidiLengthMs(smf));
  return 0;
}
