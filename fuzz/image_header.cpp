// The picture files' stored headers: made readable at start-up and stored
// again at shutdown, in place. Only the first two bytes ever change; a file
// too short for them is left alone.
#include "Fuzz.h"
#include "base/Files.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::FuzzPlatform p;
  static Main_Form f(p.platform, StartOptions{});
  const std::string path = fuzz::ScratchDir() + "picture.dat";
  const std::string original(fuzz::View(data, size));
  fuzz::WriteScratch(path, original);
  auto expect = [&](const char* head) {
    std::optional<Bytes> now = ReadFile(path);
    FUZZ_CHECK(now && now->size() == size);
    std::string s(fuzz::View(*now));
    FUZZ_CHECK(size < 2 ? s == original : s.compare(0, 2, head, 2) == 0 && s.compare(2, std::string::npos, original, 2) == 0);
  };
  for (char letter : {'B', 'j'}) {
    FUZZ_CHECK(f.RestoreImageHeader(path, letter) == (size >= 2));
    expect(letter == 'B' ? "BM" : "\xFF\xD8");
    FUZZ_CHECK(f.StoreImageHeader(path) == (size >= 2));
    expect("JF");
  }
  return 0;
}
