#include "comfort/QuickSave.h"

#include <filesystem>
#include <sstream>
#include <system_error>

#include "base/Files.h"
#include "comfort/ReadMarks.h"

namespace mirel {

namespace {

constexpr const char* kHeader = "MIREL quick save 1";
constexpr const char* kFooter = "end";
constexpr size_t kMaxPoints = 100000;

bool Number(const std::string& s, long long lo, long long hi, long long& out) {
  try {
    out = ParseNumber(FromUtf8(s), lo, hi);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

std::string QuickSave::FileFor(const std::string& folder, const Bytes& scenario) {
  std::string path = ReadMarks::FileFor(folder, scenario);
  return path.substr(0, path.size() - 4) + "quick";
}

std::string QuickSave::Encode(const QuickPosition& p) {
  std::string out = std::string(kHeader) + "\n";
  std::vector<Text> texts(p.snapshot.begin(), p.snapshot.end());
  texts.push_back(p.extras);
  for (const Text& line : texts) {
    // One line each: a line break inside would shift everything after it.
    std::string s = Utf8(line);
    for (char& c : s)
      if (c == '\n' || c == '\r') c = ' ';
    out += s + "\n";
  }
  out += std::to_string(p.target) + " " + std::to_string(p.points.size()) + "\n";
  for (int16_t a : p.points) out += std::to_string(a) + "\n";
  return out + kFooter + "\n";
}

std::optional<QuickPosition> QuickSave::Decode(const std::string& bytes) {
  if (bytes.empty() || bytes.back() != '\n') return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  // A file cut short lacks its last line.
  if (lines.size() < 8 || lines[0] != kHeader || lines.back() != kFooter) return std::nullopt;
  QuickPosition p;
  for (size_t i = 0; i < 4; ++i) p.snapshot[i] = FromUtf8(lines[1 + i]);
  p.extras = FromUtf8(lines[5]);
  const std::string& counts = lines[6];
  const size_t space = counts.find(' ');
  long long target = 0, n = 0;
  if (space == std::string::npos || !Number(counts.substr(0, space), 0, kMaxPoints, target) ||
      !Number(counts.substr(space + 1), 1, kMaxPoints, n) || target >= n ||
      lines.size() != 8 + static_cast<size_t>(n))
    return std::nullopt;
  for (long long i = 0; i < n; ++i) {
    long long a = 0;
    if (!Number(lines[7 + static_cast<size_t>(i)], -1, 2, a)) return std::nullopt;
    p.points.push_back(static_cast<int16_t>(a));
  }
  p.target = static_cast<uint32_t>(target);
  return p;
}

bool QuickSave::Write(const std::string& path, const QuickPosition& p, std::string* problem) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (auto why = WriteFileAtomic(path, Encode(p))) {
    if (problem) *problem = *why;
    return false;
  }
  return true;
}

std::optional<QuickPosition> QuickSave::Read(const std::string& path) {
  std::optional<Bytes> bytes = ReadFile(path);
  if (!bytes) return std::nullopt;
  return Decode(std::string(bytes->begin(), bytes->end()));
}

void QuickSave::RemoveHalfWritten(const std::string& path) {
  if (!path.empty() && FileExists(path + ".tmp")) RemoveFile(path + ".tmp");
}

}  // namespace mirel
