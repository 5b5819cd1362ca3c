#include "base/Text.h"

#include <cmath>
#include <cstdlib>

namespace mirel {

std::string Utf8(TextView t) {
  std::string out;
  out.reserve(t.size() * 3);
  for (size_t i = 0; i < t.size(); ++i) {
    uint32_t c = t[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (t[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char b = s[i];
    uint32_t c;
    int extra;
    if (b < 0x80) { c = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
    else { out += u'\uFFFD'; ++i; continue; }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) { ok = false; break; }
      c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    if (!ok) { out += u'\uFFFD'; ++i; continue; }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
  }
  return out;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

namespace {

TextView Trimmed(TextView t) {
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return t.substr(b, e - b);
}

}  // namespace

Text Trim(TextView t) { return Text(Trimmed(t)); }

Text Left(TextView t, size_t n) { return Text(t.substr(0, std::min(n, t.size()))); }

Text Right(TextView t, size_t n) {
  if (n >= t.size()) return Text(t);
  return Text(t.substr(t.size() - n));
}

Text ToUpperAscii(TextView t) {
  Text out(t);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
  return out;
}

Text Decimal(long long v) {
  std::string s = std::to_string(v);
  return Text(s.begin(), s.end());
}

long long ParseNumber(TextView t, long long lo, long long hi) {
  TextView s = Trimmed(t);
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) { neg = s[i] == u'-'; ++i; }
  size_t digitsStart = i;
  long double value = 0;
  while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') { value = value * 10 + (s[i] - u'0'); ++i; }
  size_t intDigits = i - digitsStart;
  long double frac = 0, scale = 1;
  size_t fracDigits = 0;
  if (i < s.size() && s[i] == u'.') {
    ++i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') { scale /= 10; frac += (s[i] - u'0') * scale; ++i; ++fracDigits; }
  }
  if (i != s.size() || intDigits + fracDigits == 0) throw ConversionError{Text(t), false};
  // Whole numbers, nearly every number a story holds, need no rounding, and
  // the long double rounding is the loader's slowest step.
  if (fracDigits == 0 && intDigits <= 18) {
    long long w = 0;
    for (size_t k = digitsStart; k < digitsStart + intDigits; ++k) w = w * 10 + (s[k] - u'0');
    if (neg) w = -w;
    if (w < lo || w > hi) throw ConversionError{Text(t), true};
    return w;
  }
  long double v = value + frac;
  if (neg) v = -v;
  long double r = std::nearbyint(v);  // default rounding mode: half to even
  if (r < lo || r > hi) throw ConversionError{Text(t), true};
  return static_cast<long long>(r);
}

int16_t ToInt16(TextView t) { return static_cast<int16_t>(ParseNumber(t, -32768, 32767)); }
int32_t ToInt32(TextView t) { return static_cast<int32_t>(ParseNumber(t, INT32_MIN, INT32_MAX)); }

double LeadingValue(TextView t) {
  Text s = Trim(t);
  std::string a;
  for (char16_t c : s) {
    if (c > 0x7F) break;
    a += char(c);
  }
  return std::strtod(a.c_str(), nullptr);
}

}  // namespace mirel
