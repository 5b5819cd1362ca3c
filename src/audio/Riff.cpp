#include "audio/Riff.h"

namespace mirel {

namespace {
uint32_t U16(const Bytes& b, size_t i) { return b[i] | (b[i + 1] << 8); }
uint32_t U32(const Bytes& b, size_t i) { return U16(b, i) | (U16(b, i + 2) << 16); }
bool Tag(const Bytes& b, size_t i, const char* t) {
  return b[i] == t[0] && b[i + 1] == t[1] && b[i + 2] == t[2] && b[i + 3] == t[3];
}
}  // namespace

std::optional<WaveInfo> ParseWave(const Bytes& b) {
  if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE")) return std::nullopt;
  WaveInfo w;
  bool haveFmt = false, haveData = false;
  size_t i = 12;
  while (i + 8 <= b.size()) {
    uint32_t size = U32(b, i + 4);
    size_t body = i + 8;
    if (size > b.size() - body) return std::nullopt;
    if (Tag(b, i, "fmt ")) {
      if (size < 16) return std::nullopt;
      if (U16(b, body) != 1) return std::nullopt;  // integer PCM only
      w.channels = static_cast<uint16_t>(U16(b, body + 2));
      w.sampleRate = U32(b, body + 4);
      w.bitsPerSample = static_cast<uint16_t>(U16(b, body + 14));
      haveFmt = true;
    } else if (Tag(b, i, "data")) {
      w.dataOffset = body;
      w.dataSize = size;
      haveData = true;
    }
    i = body + size + (size & 1);
  }
  if (!haveFmt || !haveData) return std::nullopt;
  if (w.channels < 1 || w.channels > 2 || (w.bitsPerSample != 8 && w.bitsPerSample != 16)) return std::nullopt;
  if (w.sampleRate < 1000 || w.sampleRate > 192000) return std::nullopt;
  w.dataSize -= w.dataSize % (w.channels * (w.bitsPerSample / 8u));
  if (w.dataSize == 0) return std::nullopt;
  return w;
}

std::optional<RiffSpan> FindRiffChunk(const Bytes& b, const char* form, const char* id) {
  if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, form)) return std::nullopt;
  size_t i = 12;
  while (i + 8 <= b.size()) {
    uint32_t size = U32(b, i + 4);
    size_t body = i + 8;
    if (size > b.size() - body) return std::nullopt;
    if (Tag(b, i, id)) return RiffSpan{body, size};
    i = body + size + (size & 1);
  }
  return std::nullopt;
}

float WaveSample(const Bytes& b, const WaveInfo& w, uint32_t frame, int ch) {
  size_t bytes = w.bitsPerSample / 8u;
  size_t at = w.dataOffset + (static_cast<size_t>(frame) * w.channels + ch) * bytes;
  if (bytes == 1) return (static_cast<int>(b[at]) - 128) / 128.0f;
  auto v = static_cast<int16_t>(U16(b, at));
  return v / 32768.0f;
}

}  // namespace mirel
