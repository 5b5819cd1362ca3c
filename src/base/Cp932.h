#pragma once
// Conversion between the CP932 (Windows Shift-JIS) bytes of the data files
// and the engine's UTF-16 text.
#include <optional>
#include <string>
#include <string_view>

#include "base/Text.h"

namespace mirel {

// Empty optional when the bytes are not valid CP932.
std::optional<Text> DecodeCp932(std::string_view bytes);
// Characters CP932 cannot hold are written as "?".
std::string EncodeCp932(TextView text);
// Empty optional when a character has no CP932 form.
std::optional<std::string> EncodeCp932Exact(TextView text);

}  // namespace mirel
