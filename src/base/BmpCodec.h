#pragma once
// Uncompressed BMP (1, 4, 8, 24 and 32 bits), no toolkit needed.
#include "base/Files.h"
#include "platform/Image.h"

namespace mirel {

class BmpCodec final : public ImageCodec {
 public:
  bool Decode(const Bytes& bytes, Image& out) override;
  // 24-bit bottom-up BMP with padded rows.
  static Bytes Encode(const Image& img);
};

}  // namespace mirel
