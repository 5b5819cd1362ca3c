// The BMP reader: a picture it takes is written out again and reads back the
// same, pixel for pixel.
#include "Fuzz.h"
#include "base/BmpCodec.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes file(data, data + size);
  Image img;
  if (!BmpCodec().Decode(file, img)) return 0;
  FUZZ_CHECK(img.width > 0 && img.height > 0 && img.pixels.size() == static_cast<size_t>(img.width) * img.height);
  for (uint32_t p : img.pixels) FUZZ_CHECK(p <= 0xFFFFFF);
  Image again;
  FUZZ_CHECK(BmpCodec().Decode(BmpCodec::Encode(img), again));
  FUZZ_CHECK(again.width == img.width && again.height == img.height && again.pixels == img.pixels);
  return 0;
}
