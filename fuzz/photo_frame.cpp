// The ending's photo frame "64.dat": a picture whose work surfaces fit is
// taken, any other is refused before they are made; the tilted photo is
// turned inside its square, and a photo turned by nothing is itself.
#include "Fuzz.h"
#include "base/BmpCodec.h"
#include "extras/Ending.h"
#include "extras/Rotate.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes file(data, data + size);
  Image img;
  if (size < 2 || !BmpCodec().Decode(file, img)) return 0;
  if (!extras::PhotoFrameFits(img.width, img.height)) return 0;
  const int w = img.width, h = img.height, side = extras::PhotoSide(w);
  FUZZ_CHECK(9LL * w * h <= extras::kMaxPhotoSurfacePixels && 1LL * side * side <= extras::kMaxPhotoSurfacePixels);
  Surface frame, spread, turned;
  frame.SetPicture(img);
  spread.BackColor = kBlack;
  spread.Move(0, 0, 3 * w, 3 * h);
  spread.Cls();
  BitBlt(spread, w + data[0] % 30, h + data[1] % 30, w, h, frame, 0, 0, Rop::SrcCopy);
  PixelGrid source, result;
  FUZZ_CHECK(GetPixelGrid(spread, source) == 0);
  const double angle = static_cast<int8_t>(data[size - 1]) * 0.7;
  extras::RotateGrid(source, spread.width, spread.height, result, side, side, angle);
  turned.Move(0, 0, side, side);
  FUZZ_CHECK(SetPixelGrid(turned, result) == 0);

  PixelGrid same;
  FUZZ_CHECK(GetPixelGrid(frame, source) == 0);
  extras::RotateGrid(source, w, h, same, w, h, 0);
  Surface back;
  back.Move(0, 0, w, h);
  FUZZ_CHECK(SetPixelGrid(back, same) == 0);
  FUZZ_CHECK(back.pixels == frame.pixels);
  return 0;
}
