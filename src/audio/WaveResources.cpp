#include "audio/WaveResources.h"

#include <cstddef>

namespace mirel::waves {
struct Entry {
  int32_t id;
  const char* bytes;
  size_t size;
};
extern const Entry kTable[];
extern const size_t kCount;
}  // namespace mirel::waves

namespace mirel {

Bytes LoadWaveResource(int32_t id) {
  for (size_t i = 0; i < waves::kCount; ++i) {
    const waves::Entry& e = waves::kTable[i];
    if (e.id == id) {
      auto* p = reinterpret_cast<const uint8_t*>(e.bytes);
      return Bytes(p, p + e.size);
    }
  }
  return {};
}

}  // namespace mirel
