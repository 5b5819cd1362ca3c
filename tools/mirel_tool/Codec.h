#pragma once
// The shipped scenario form and the readable text authors edit.
#include <optional>
#include <string>

namespace mirel::tool {

// Shipped bytes -> UTF-8 text (or the CP932 bytes themselves when raw).
// Empty optional with `error` set when the text is not CP932.
std::optional<std::string> DecodeShipped(const std::string& shipped, bool raw, std::string* error);
// UTF-8 text (or CP932 bytes when raw) -> shipped bytes. Lone LF line ends
// become CR LF, as the files are read on every system. Refuses characters
// that have no CP932 form, naming the line.
std::optional<std::string> EncodeShipped(const std::string& text, bool raw, std::string* error);

// Puts the picture files of the game's table in `dir` into their stored
// form (store) or gives them their BMP/JPEG headers back. Files that are
// missing or too short are left alone, never created or lengthened.
// Returns the number of files that could not be changed, naming each in
// `errors`.
int ChangeHeaders(const std::string& dir, bool store, std::string* errors);

}  // namespace mirel::tool
