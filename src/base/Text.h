#pragma once
// Text inside the engine is UTF-16, one unit per character of the CP932
// files it comes from, so character counts match what authors count.
#include <cstdint>
#include <string>
#include <string_view>

namespace mirel {

using Text = std::u16string;
using TextView = std::u16string_view;

std::string Utf8(TextView t);
Text FromUtf8(std::string_view s);

// Leading and trailing blanks (space, full-width space, tab) removed.
Text Trim(TextView t);
bool IsBlank(char16_t c);

// First n / last n characters (fewer if the text is shorter).
Text Left(TextView t, size_t n);
Text Right(TextView t, size_t n);

Text ToUpperAscii(TextView t);
Text Decimal(long long v);

// Parses a whole number as the scenario's numeric fields are read: blanks
// around it ignored, optional sign, digits, an optional fraction rounded
// half to even. Throws ConversionError on anything else or when the value
// does not fit in [lo, hi].
long long ParseNumber(TextView t, long long lo, long long hi);
int16_t ToInt16(TextView t);
int32_t ToInt32(TextView t);
// The leading number of the text, 0 when there is none (never throws).
double LeadingValue(TextView t);

struct ConversionError {
  Text text;      // the text that could not be converted
  bool overflow;  // true: a number outside the range; false: not a number
};

}  // namespace mirel
