#pragma once
// The scenario and choice files and the tables they are loaded into.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Text.h"

namespace mirel {

// Field types are written mirel::Text because one field is named Text.
struct ScenarioRecord {
  int16_t Num = 0;
  mirel::Text Cmd;
  int16_t Jump = 0;
  mirel::Text Bg, Doll, Anim, Spare, Speaker, Text, Param1, Param2, NameSubst;
  int line = 0;  // line of "91.dat" the record starts on, for messages
};

struct BlockIndexEntry {
  int16_t Num = 0;
  int32_t Seq = 0;
};

struct ChoiceRow {
  int16_t Sct = 0;
  Text ChoiceText;
  int16_t Target = 0;  // a record index once loaded (a block number when unresolved)
  bool resolved = false;
  int line = 0;
};

constexpr int kMaxRecords = 5001;
constexpr int kMaxBlocks = 501;
constexpr int kMaxChoiceRows = 201;

struct ScenarioData {
  std::vector<ScenarioRecord> ScenarioTable;
  int32_t LastSeq = -1;
  std::vector<BlockIndexEntry> BlockIndex;
  int32_t BlockCount = 0;
  std::vector<ChoiceRow> ChoiceTable;
  int32_t LastSct = -1;
};

// A scenario or choice file that cannot be used: the file, the line and why.
struct DamagedData {
  std::string file;  // e.g. "91.dat"
  int line = 0;      // 1-based, 0 when not tied to a line
  Text reason;
  Text Message() const;
};

// A save point is any counter command whose variant (last character) is
// "8", "p08" as well as "p8": the interpreter's rule, which loading keeps.
inline bool IsSavePoint(TextView cmd) { return !cmd.empty() && cmd.front() == u'p' && cmd.back() == u'8'; }

// Complements every byte: the shipped form <-> the readable text.
std::string Complement(std::string bytes);
// The number field rule: first character plus the last three, read as a
// 16-bit decimal number. Throws ConversionError.
int16_t NumberField(TextView field);

// Reads "91.dat" and "92.dat" of the data folder (decoded in memory) into
// the tables. Reports 70, 80, 90 and 95 through `progress`. Throws
// DamagedData for files that cannot be read as the format says.
void LoadScenario(const std::string& dataDir, ScenarioData& out, const std::function<void(int)>& progress);
// The same from the decoded texts (CP932 bytes), for tools and tests.
void LoadScenarioTexts(const std::string& scenario, const std::string& choices, ScenarioData& out,
                       const std::function<void(int)>& progress);

}  // namespace mirel
