#pragma once
// Reading RIFF files: wave images in the PCM formats the program's sounds
// use, and the chunks of any other RIFF form.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/Files.h"

namespace mirel {

struct WaveInfo {
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t bitsPerSample = 0;
  size_t dataOffset = 0;  // of the first sample in the image
  size_t dataSize = 0;    // bytes of samples
  uint32_t Frames() const { return static_cast<uint32_t>(dataSize / (channels * (bitsPerSample / 8u))); }
  // Playing time, rounded up to a whole millisecond.
  uint32_t Milliseconds() const {
    return static_cast<uint32_t>((static_cast<uint64_t>(Frames()) * 1000 + sampleRate - 1) / sampleRate);
  }
};

// Integer PCM, 8 or 16 bit, one or two channels; nullopt for anything else
// or a damaged image (chunks running past the end, no samples).
std::optional<WaveInfo> ParseWave(const Bytes& image);

// Offset and size of the body of the first chunk `id` of a RIFF file of
// form `form` ("RMID", "WAVE"); nullopt when it is not that form, has no
// such chunk, or a chunk before it runs past the end.
struct RiffSpan {
  size_t offset = 0, size = 0;
};
std::optional<RiffSpan> FindRiffChunk(const Bytes& file, const char* form, const char* id);

// Sample `i` of channel `ch` as -1..1.
float WaveSample(const Bytes& image, const WaveInfo& w, uint32_t frame, int ch);

}  // namespace mirel
