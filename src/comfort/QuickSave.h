#pragma once
// The quick save: one position per story in the player's data folder, any
// click wait of the play, not only a save point. It holds the play as the
// slots hold it at the point it starts from (the same snapshot lines) and
// the points and answers since, so that loading runs the story on from
// there to the position. Written whole or not at all.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/Text.h"

namespace mirel {

struct QuickPosition {
  // The snapshot lines 0 to 3 of the point the play starts from.
  std::array<Text, 4> snapshot;
  // What a slot leaves for the story to draw again but the point had
  // already (the message window's rows, the date tab, the song).
  Text extras;
  // Every point from there on: a choice with its answer, or -1 for a click.
  std::vector<int16_t> points;
  // The point to stand at, counted from the first.
  uint32_t target = 0;
  bool operator==(const QuickPosition&) const = default;
};

class QuickSave {
 public:
  // The file of the story whose scenario file holds `scenario`, in `folder`
  // (ending with a separator).
  static std::string FileFor(const std::string& folder, const Bytes& scenario);
  static std::string Encode(const QuickPosition& p);
  // Nothing for a file that is not a whole quick save.
  static std::optional<QuickPosition> Decode(const std::string& bytes);

  // False with the reason when it could not be written; the old file then
  // stays as it was.
  static bool Write(const std::string& path, const QuickPosition& p, std::string* problem = nullptr);
  static std::optional<QuickPosition> Read(const std::string& path);
  // Removes what a write killed before its rename left beside `path`.
  static void RemoveHalfWritten(const std::string& path);
};

}  // namespace mirel
