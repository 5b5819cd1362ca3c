#include "base/Cp932.h"

#include <iconv.h>

#include <bit>
#include <cerrno>

namespace mirel {
namespace {

// One converter per direction and thread; iconv_open is slow enough to matter
// when many short strings are converted.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return cd_; }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

 private:
  iconv_t cd_;
};

// Characters that Linux and macOS input methods type where Windows has its
// own form: Windows writes both to the same code, and decodes that code to
// its own form.
char16_t WindowsForm(char16_t c) {
  switch (c) {
    case u'\u301C': return u'\uFF5E';  // wave dash
    case u'\u2212': return u'\uFF0D';  // minus sign
    case u'\u2014': return u'\u2015';  // em dash
    case u'\u2016': return u'\u2225';  // double vertical line
    case u'\u00A2': return u'\uFFE0';  // cent sign
    case u'\u00A3': return u'\uFFE1';  // pound sign
    case u'\u00AC': return u'\uFFE2';  // not sign
    default: return c;
  }
}

// Appends the CP932 bytes of `text`, "?" for a character without a form;
// false when there was such a character.
bool Encode(TextView text, std::string& result) {
  thread_local Converter conv("CP932", "UTF-16LE");
  if (!conv.ok()) return false;
  iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  bool exact = true;
  for (char16_t c : text) {
    if (c < 0x80) {
      result += char(c);
      continue;
    }
    c = WindowsForm(c);
    char inBuf[2] = {char(c & 0xFF), char(c >> 8)};
    char outBuf[8];
    char* in = inBuf;
    size_t inLeft = 2;
    char* outp = outBuf;
    size_t outLeft = sizeof outBuf;
    if (iconv(conv.get(), &in, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) {
      iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
      result += '?';
      exact = false;
    } else {
      // "¥" and "‾" become "\" and "~": not a form of their own.
      if (static_cast<unsigned char>(outBuf[0]) < 0x80) exact = false;
      result.append(outBuf, sizeof outBuf - outLeft);
    }
  }
  return exact;
}

}  // namespace

std::optional<Text> DecodeCp932(std::string_view bytes) {
  thread_local Converter conv("UTF-16LE", "CP932");
  if (!conv.ok()) return std::nullopt;
  iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  // At most one UTF-16 unit per byte; converted straight into the result.
  Text t(bytes.size() + 2, u'\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outp = reinterpret_cast<char*>(t.data());
  size_t outLeft = t.size() * 2;
  while (inLeft > 0) {
    size_t r = iconv(conv.get(), &in, &inLeft, &outp, &outLeft);
    if (r == static_cast<size_t>(-1)) return std::nullopt;
  }
  t.resize(t.size() - outLeft / 2);
  if constexpr (std::endian::native == std::endian::big)
    for (char16_t& c : t) c = char16_t((c >> 8) | (c << 8));
  return t;
}

std::string EncodeCp932(TextView text) {
  std::string result;
  Encode(text, result);
  return result;
}

std::optional<std::string> EncodeCp932Exact(TextView text) {
  std::string result;
  if (!Encode(text, result)) return std::nullopt;
  return result;
}

}  // namespace mirel
