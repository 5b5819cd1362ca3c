#pragma once
// A decoded picture and the decoders the engine uses to load picture files.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Files.h"

namespace mirel {

// Pixels top-down, each 0x00RRGGBB.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class ImageCodec {
 public:
  virtual ~ImageCodec() = default;
  // False when the bytes are not a picture this codec can read.
  virtual bool Decode(const Bytes& bytes, Image& out) = 0;
};

}  // namespace mirel
