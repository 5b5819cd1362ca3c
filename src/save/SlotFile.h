#pragma once
// Saved games: the 51-character state line of the snapshot and the six-line
// slot files "00.dat" to "04.dat" of the data folder.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "scenario/PlayState.h"
#include "scenario/ScenarioData.h"

namespace mirel {

constexpr int kSlotCount = 5;
constexpr size_t kStateLineLength = 51;

// "00.dat" .. "04.dat".
std::string SlotFileName(int slot);

// A number as a state-line field of `width` characters: decimal, padded
// with "0" in front and cut to its rightmost characters when longer.
// Negative numbers keep their sign in front ("-01"), the digits padded
// behind it, and are held at the most negative value the width can show, so
// that every field reads back as the number it was.
Text StateField(long long value, size_t width);
// The number in a state-line field: digits with an optional minus sign, and
// leading zeros also before the sign ("0-1", as older files wrote -1).
// Nothing else is a number here.
std::optional<long long> ReadStateField(TextView field);

// The state line of the snapshot for the play state as it is now.
Text BuildStateLine(const PlayState& ps);

// What a state line holds, as read back.
struct SavedState {
  int16_t kou = 0, hap = 0, bad = 0, mak = 0;
  int16_t bgRequest = 0;
  int16_t curNum = 0;
  int16_t opacityPercent = 0;  // 0..100
  bool bgmOn = false, seOn = false;
  int16_t messageSpeed = 0;    // 0..3
  int32_t curSeq = 0;          // when captured; not used to resume
  int16_t curMusic = 0;
  int32_t resume = 0;          // the save point's record
};

// Refuses (with the reason in `why`) a line that is not 51 characters of
// numeric fields in range, or whose resume record lies outside the records
// that can run, 0 to lastSeq - 1 (lastSeq is the terminator).
std::optional<SavedState> ParseStateLine(TextView line, int32_t lastSeq, Text* why);

// Why a saved game cannot resume at record `resume` of this scenario, or
// nothing. The record must be one of the scenario's save points (a game
// saved before any was passed resumes at record 0): any other record means
// the file belongs to another version of the story or was altered.
std::optional<Text> ResumeProblem(const ScenarioData& scenario, int32_t resume);

// A caption or name as it is written into the file so that the field
// reader gives it back whole: put in double quotes when it holds a comma or
// blanks at its ends, or begins with a double quote. Line breaks become
// spaces.
Text SlotField(TextView text);

// The field-delimited reading of a slot file's text: a comma or a line end
// ends a field, blanks (space, tab) around a field are dropped, and a field
// that begins with a double quote runs to the next double quote on its
// line (what follows it up to the comma or line end is dropped). An empty
// line is one empty field.
std::vector<Text> ReadFields(TextView content);

// The date line: "yyyy/mm/dd hh:mm" from the host's "yyyy/mm/dd hh:mm:ss".
std::string SaveDate(const std::string& hostDateTime);

// The file's bytes: the date, snapshot lines 0 to 3 and "\", each ended by
// CR LF, in CP932.
std::string SlotFileBytes(const std::string& date, const std::array<Text, 4>& snapshot);

// The two caption fields of a slot file, for the dialog's list. A file that
// cannot be read or decoded gives what could be read (empty texts at worst).
struct SlotCaptions {
  Text part1, part2;
};
SlotCaptions ReadSlotCaptions(const std::string& path);

// A whole slot file, read for loading.
struct SlotContents {
  Text caption1, caption2;
  std::array<Text, 3> lines;  // snapshot lines 1 (state), 2 and 3 (names)
  SavedState state;
};
struct SlotRead {
  std::optional<SlotContents> contents;
  Text error;  // why the file was refused when there are no contents
};
// Refuses a file that cannot be read, is not CP932, is cut short (fewer
// than six fields, or no closing "\" line) or holds a state line that
// ParseStateLine refuses.
SlotRead ReadSlotForLoad(const std::string& path, int32_t lastSeq);
SlotRead ParseSlotText(std::string_view bytes, int32_t lastSeq);

}  // namespace mirel
