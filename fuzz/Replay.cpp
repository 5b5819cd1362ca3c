// Runs a fuzz target once on every file of the folders it is given, in name
// order: the inputs the fuzzer once failed on and the seeds, replayed by
// ctest in every build without libFuzzer. A folder that does not exist is
// skipped; no input at all is a failure, so the test always tries something.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Fuzz.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(argv[i], ec))
      if (e.is_regular_file() && e.path().filename().string()[0] != '.') inputs.push_back(e.path());
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& p : inputs) {
    std::ifstream in(p, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s\n", p.string().c_str());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
