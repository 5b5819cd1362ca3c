#include "mirel_tool/Codec.h"

#include "app/Main_Form.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "base/Text.h"
#include "scenario/ScenarioData.h"

namespace mirel::tool {

std::optional<std::string> DecodeShipped(const std::string& shipped, bool raw, std::string* error) {
  std::string plain = Complement(shipped);
  if (raw) return plain;
  std::optional<Text> t = DecodeCp932(plain);
  if (!t) {
    if (error) *error = "the decoded text is not Shift-JIS (CP932); use --raw to keep its bytes";
    return std::nullopt;
  }
  return Utf8(*t);
}

std::optional<std::string> EncodeShipped(const std::string& text, bool raw, std::string* error) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
    crlf += text[i];
  }
  if (raw) return Complement(crlf);
  std::string out;
  size_t start = 0;
  int line = 1;
  while (start < crlf.size()) {
    size_t nl = crlf.find('\n', start);
    size_t end = nl == std::string::npos ? crlf.size() : nl + 1;
    std::string piece = crlf.substr(start, end - start);
    Text t = FromUtf8(piece);
    if (Utf8(t) != piece) {
      if (error) *error = "line " + std::to_string(line) + ": not UTF-8 text; use --raw for Shift-JIS bytes";
      return std::nullopt;
    }
    std::optional<std::string> bytes = EncodeCp932Exact(t);
    if (!bytes) {
      if (error) *error = "line " + std::to_string(line) + ": a character has no Shift-JIS (CP932) form";
      return std::nullopt;
    }
    out += *bytes;
    start = end;
    ++line;
  }
  return Complement(out);
}

int ChangeHeaders(const std::string& dirArg, bool store, std::string* errors) {
  std::string dir = dirArg;
  if (!dir.empty() && dir.back() != kPathSep) dir += kPathSep;
  int failures = 0;
  for (const char* name : Main_Form::kImageTable) {
    std::string path = ResolveInDir(dir, name);
    if (FileSize(path) < 2) continue;
    const uint8_t stored[2] = {'J', 'F'}, bmp[2] = {'B', 'M'}, jpeg[2] = {0xFF, 0xD8};
    const uint8_t* header = store ? stored : (name[0] == 'p' ? jpeg : bmp);
    if (!PatchFile(path, 0, header, 2)) {
      if (errors) *errors += "cannot change " + path + ": " + LastErrorText() + "\n";
      ++failures;
    }
  }
  return failures;
}

}  // namespace mirel::tool
