// "staff.txt", the older file of the staff roll's names: six lines. What it
// gives, written out again as such a file, reads the same.
#include "Fuzz.h"
#include "base/Cp932.h"
#include "extras/Credits.h"

using namespace mirel;

namespace {
std::array<Text, 6> Names(const extras::CreditsContent& c) {
  return {c.scenario, c.program, c.graphics, c.music, c.maker, c.year};
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchDir() + "staff.txt";
  fuzz::WriteScratch(path, fuzz::View(data, size));
  std::array<Text, 6> names = Names(extras::ReadCredits(path));
  for (const Text& n : names) FUZZ_CHECK(!Trim(n).empty() && n.find(u'\n') == Text::npos);
  std::string out;
  for (const Text& n : names) out += EncodeCp932(n) + "\r\n";
  fuzz::WriteScratch(path, out);
  FUZZ_CHECK(Names(extras::ReadCredits(path)) == names);
  return 0;
}
