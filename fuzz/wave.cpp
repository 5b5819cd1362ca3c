// The RIFF reader of wave images: every sample of an image it takes lies
// inside the image and plays at a sane level; the chunk it finds lies
// inside the file.
#include "Fuzz.h"
#include "audio/Riff.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes image(data, data + size);
  for (const char* id : {"fmt ", "data"})
    if (auto span = FindRiffChunk(image, "WAVE", id)) FUZZ_CHECK(span->offset <= size && span->size <= size - span->offset);
  std::optional<WaveInfo> w = ParseWave(image);
  if (!w) return 0;
  FUZZ_CHECK(w->dataOffset <= size && w->dataSize <= size - w->dataOffset && w->Frames() > 0);
  FUZZ_CHECK(w->Milliseconds() >= 1);
  for (uint32_t frame = 0; frame < w->Frames(); ++frame)
    for (int ch = 0; ch < w->channels; ++ch) {
      float v = WaveSample(image, *w, frame, ch);
      FUZZ_CHECK(v >= -1.0f && v < 1.0f);
    }
  return 0;
}
