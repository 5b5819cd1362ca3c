// "90.dat": read by the data-file check at start-up and written back at
// shutdown with the gallery flags. The input is the file; it sits in a data
// folder whose other files are there (the pictures two bytes long, the songs
// the seeds name).
#include <filesystem>
#include <memory>

#include "Fuzz.h"
#include "base/Cp932.h"
#include "base/Files.h"

using namespace mirel;

namespace {

const char* const kSongs[] = {"bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid", "bgm05.mid"};

const std::string& DataDir() {
  static const std::string dir = [] {
    std::string d = fuzz::ScratchDir() + "data/";
    std::filesystem::create_directories(d);
    for (const char* name : Main_Form::kImageTable) fuzz::WriteScratch(d + name, "JF");
    for (const char* name : {"91.dat", "92.dat"}) fuzz::WriteScratch(d + name, "\xff");
    for (const char* name : kSongs) fuzz::WriteScratch(d + name, "MThd");
    return d;
  }();
  return dir;
}

std::vector<std::string> Lines(std::string_view s) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < s.size();) {
    size_t nl = s.find('\n', at);
    std::string_view l = s.substr(at, nl == std::string_view::npos ? std::string_view::npos : nl - at);
    if (nl != std::string_view::npos && !l.empty() && l.back() == '\r') l.remove_suffix(1);
    lines.emplace_back(l);
    at = nl == std::string_view::npos ? s.size() : nl + 1;
  }
  return lines;
}

// Byte offset of character `n` (from 0) of CP932 text, or its length.
size_t CharOffset(const std::string& s, size_t n) {
  size_t at = 0;
  for (size_t k = 0; k < n && at < s.size(); ++k) {
    auto c = static_cast<unsigned char>(s[at]);
    at += (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
  }
  return std::min(at, s.size());
}

struct Form {
  fuzz::FuzzPlatform p;
  Main_Form f{p.platform, StartOptions{DataDir(), ""}};
  Form() { f.DataDir = DataDir(); }
  // False when the check refused the folder, which it says in a message.
  bool Check() {
    try {
      f.CheckDataFiles();
      return true;
    } catch (const ProgramEnd&) {
      FUZZ_CHECK(!p.messages.Shown().empty());
      return false;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = DataDir() + "90.dat";
  const std::string original(fuzz::View(data, size));
  fuzz::WriteScratch(path, original);
  auto first = std::make_unique<Form>();
  if (!first->Check()) return 0;
  Main_Form& f = first->f;

  // A run that saw some more pictures, then shutdown's write.
  std::array<bool, 19> seen = f.CgUnlocked;
  for (size_t k = 0; k < seen.size(); ++k) seen[k] = seen[k] || (size + k) % 3 == 0;
  f.CgUnlocked = seen;
  f.RebuildGalleryLine();
  FUZZ_CHECK(f.WriteConfig());
  std::optional<Bytes> written = ReadFile(path);
  FUZZ_CHECK(written);

  // Every byte but the flags' stays as it was; lines end in CR LF.
  std::vector<std::string> before = Lines(original), after = Lines(fuzz::View(*written));
  FUZZ_CHECK(after.size() == before.size() && after.size() >= 25);
  for (size_t n = 0; n < before.size(); ++n) {
    if (n == 5) continue;
    FUZZ_CHECK(after[n] == before[n]);
  }
  const std::string& was = before[5];
  const std::string& now = after[5];
  const size_t head = CharOffset(was, 14), tail = CharOffset(was, 33);
  FUZZ_CHECK(now.compare(0, head, was, 0, head) == 0);
  FUZZ_CHECK(now.size() >= was.size() - tail && now.compare(now.size() - (was.size() - tail), std::string::npos, was, tail) == 0);

  // The next start reads what this one had.
  auto second = std::make_unique<Form>();
  FUZZ_CHECK(second->Check());
  FUZZ_CHECK(second->f.CgUnlocked == seen);
  FUZZ_CHECK(second->f.Names == f.Names && second->f.MusicFiles == f.MusicFiles && second->f.MusicFilesB == f.MusicFilesB);
  return 0;
}
