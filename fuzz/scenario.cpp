// The scenario and choice files: decoded and loaded into the tables, as the
// game does at start-up. The input is the readable text of "91.dat", then a
// NUL byte, then that of "92.dat" (the shipped files are their complement).
#include <algorithm>

#include "Fuzz.h"
#include "mirel_tool/Codec.h"
#include "scenario/ScenarioData.h"

using namespace mirel;

namespace {

// Loads the shipped pair; false with the refusal's message checked.
bool Load(const std::string& shipped91, const std::string& shipped92, ScenarioData& out) {
  try {
    LoadScenarioTexts(Complement(shipped91), Complement(shipped92), out, nullptr);
    return true;
  } catch (const DamagedData& d) {
    FUZZ_CHECK(d.file == "91.dat" || d.file == "92.dat");
    FUZZ_CHECK(d.line >= 0 && !d.Message().empty());
    return false;
  }
}

bool SameRecords(const ScenarioData& a, const ScenarioData& b) {
  auto rec = [](const ScenarioRecord& r) {
    return std::tie(r.Num, r.Cmd, r.Jump, r.Bg, r.Doll, r.Anim, r.Spare, r.Speaker, r.Text, r.Param1, r.Param2,
                    r.NameSubst, r.line);
  };
  auto row = [](const ChoiceRow& r) { return std::tie(r.Sct, r.ChoiceText, r.Target, r.resolved, r.line); };
  return a.LastSeq == b.LastSeq && a.LastSct == b.LastSct && a.BlockCount == b.BlockCount &&
         std::equal(a.ScenarioTable.begin(), a.ScenarioTable.end(), b.ScenarioTable.begin(), b.ScenarioTable.end(),
                    [&](auto& x, auto& y) { return rec(x) == rec(y); }) &&
         std::equal(a.ChoiceTable.begin(), a.ChoiceTable.end(), b.ChoiceTable.begin(), b.ChoiceTable.end(),
                    [&](auto& x, auto& y) { return row(x) == row(y); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in = fuzz::View(data, size);
  size_t nul = in.find('\0');
  std::string sc(in.substr(0, nul)), ch(nul == std::string_view::npos ? "" : in.substr(nul + 1));
  const std::string shipped91 = Complement(sc), shipped92 = Complement(ch);
  FUZZ_CHECK(Complement(shipped91) == sc);

  ScenarioData t;
  if (!Load(shipped91, shipped92, t)) return 0;
  // The tables keep their capacities and every block entry starts its run.
  FUZZ_CHECK(t.LastSeq + 1 == static_cast<int32_t>(t.ScenarioTable.size()) && t.LastSeq < kMaxRecords);
  FUZZ_CHECK(t.BlockCount == static_cast<int32_t>(t.BlockIndex.size()) && t.BlockCount <= kMaxBlocks);
  FUZZ_CHECK(t.LastSct + 1 == static_cast<int32_t>(t.ChoiceTable.size()) && t.LastSct < kMaxChoiceRows);
  for (size_t k = 0; k < t.BlockIndex.size(); ++k) {
    const BlockIndexEntry& b = t.BlockIndex[k];
    FUZZ_CHECK(b.Seq >= 0 && b.Seq <= t.LastSeq && t.ScenarioTable[static_cast<size_t>(b.Seq)].Num == b.Num);
    // The walk starts with -1 as the number before the first record, so
    // leading records of block -1 have no entry.
    if (k == 0)
      for (int32_t s = 0; s < b.Seq; ++s) FUZZ_CHECK(t.ScenarioTable[static_cast<size_t>(s)].Num == -1);
    else
      FUZZ_CHECK(b.Seq > t.BlockIndex[k - 1].Seq && b.Num != t.BlockIndex[k - 1].Num);
    const int32_t end = k + 1 < t.BlockIndex.size() ? t.BlockIndex[k + 1].Seq : t.LastSeq + 1;
    for (int32_t s = b.Seq; s < end; ++s) FUZZ_CHECK(t.ScenarioTable[static_cast<size_t>(s)].Num == b.Num);
  }
  for (const ChoiceRow& r : t.ChoiceTable)
    FUZZ_CHECK(!r.resolved || std::any_of(t.BlockIndex.begin(), t.BlockIndex.end(),
                                          [&](const BlockIndexEntry& b) { return b.Seq == r.Target; }));

  // What the author's tool decodes, it encodes back into files that load the
  // same, but for the CR it puts before every lone LF (also in quoted fields).
  auto crlf = [](const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) out += s[i] == '\n' && (i == 0 || s[i - 1] != '\r') ? "\r\n" : s.substr(i, 1);
    return out;
  };
  ScenarioData expected;
  FUZZ_CHECK(Load(Complement(crlf(sc)), Complement(crlf(ch)), expected));
  for (bool raw : {true, false}) {
    std::optional<std::string> text91 = tool::DecodeShipped(shipped91, raw, nullptr);
    std::optional<std::string> text92 = tool::DecodeShipped(shipped92, raw, nullptr);
    FUZZ_CHECK(text91 && text92);  // they loaded, so they are CP932
    std::string error;
    std::optional<std::string> again91 = tool::EncodeShipped(*text91, raw, &error);
    std::optional<std::string> again92 = tool::EncodeShipped(*text92, raw, &error);
    if (!again91 || !again92) std::fprintf(stderr, "encode refused: %s\n", error.c_str());
    FUZZ_CHECK(again91 && again92);
    ScenarioData u;
    FUZZ_CHECK(Load(*again91, *again92, u));
    FUZZ_CHECK(SameRecords(expected, u));
  }
  return 0;
}
