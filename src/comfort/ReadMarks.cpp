#include "comfort/ReadMarks.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace mirel {

namespace {

// The first line of the file, so that a file of something else is not read.
constexpr const char* kHeader = "MIREL read records 1";
// Records of a story (the scenario's record table holds 0 to 5000).
constexpr int32_t kRecords = 5001;

}  // namespace

std::string ReadMarks::FileFor(const std::string& folder, const Bytes& scenario) {
  // 64-bit FNV-1a: stable across runs and machines.
  uint64_t h = 1469598103934665603ull;
  for (uint8_t b : scenario) {
    h ^= b;
    h *= 1099511628211ull;
  }
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.read", static_cast<unsigned long long>(h));
  return folder + name;
}

void ReadMarks::Load(const std::string& path) {
  path_ = path;
  read_.assign(kRecords, false);
  dirty_ = false;
  if (path.empty()) return;
  // What a write killed before its rename leaves behind.
  if (FileExists(path + ".tmp")) RemoveFile(path + ".tmp");
  std::optional<Bytes> bytes = ReadFile(path);
  if (!bytes) return;
  std::istringstream in(std::string(bytes->begin(), bytes->end()));
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return;
  // Ranges "first-last" or single records, one a line.
  while (std::getline(in, line)) {
    long first = -1, last = -1;
    if (std::sscanf(line.c_str(), "%ld-%ld", &first, &last) < 2) last = first;
    for (long r = std::max(0L, first); r <= last && r < kRecords; ++r) read_[static_cast<size_t>(r)] = true;
  }
}

bool ReadMarks::IsRead(int32_t record) const {
  return record >= 0 && static_cast<size_t>(record) < read_.size() && read_[static_cast<size_t>(record)];
}

void ReadMarks::Mark(int32_t record) {
  if (record < 0 || record >= kRecords || IsRead(record)) return;
  if (read_.empty()) read_.assign(kRecords, false);
  read_[static_cast<size_t>(record)] = true;
  dirty_ = true;
}

void ReadMarks::Save() {
  if (!dirty_ || path_.empty()) return;
  dirty_ = false;
  std::string out = std::string(kHeader) + "\n";
  for (size_t r = 0; r < read_.size(); ++r) {
    if (!read_[r]) continue;
    size_t last = r;
    while (last + 1 < read_.size() && read_[last + 1]) ++last;
    out += last == r ? std::to_string(r) + "\n" : std::to_string(r) + "-" + std::to_string(last) + "\n";
    r = last;
  }
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
  // Losing the marks costs the player only some fast-forwarding.
  (void)WriteFileAtomic(path_, out);
}

}  // namespace mirel
