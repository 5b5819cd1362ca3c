#include "demo/Story.h"

#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "base/Cp932.h"
#include "base/Text.h"

namespace mirel::demo {
namespace {

struct Line {
  int source;  // 1-based line in the source file
  std::string text;
  std::vector<std::string> fields;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& why) {
  throw StoryError(file + ":" + std::to_string(line) + ": " + why);
}

std::string Trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<Line> ReadLines(const std::string& csv, const std::string& file, size_t fieldCount) {
  std::vector<Line> out;
  std::istringstream in(csv);
  std::string raw;
  int n = 0;
  while (std::getline(in, raw)) {
    ++n;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string t = Trimmed(raw);
    if (t.empty() || t[0] == '#') continue;
    if (raw.find('"') != std::string::npos) Fail(file, n, "double quotes are not used in the story");
    Line l{n, raw, {}};
    std::string field;
    std::istringstream fs(raw);
    while (std::getline(fs, field, ',')) l.fields.push_back(Trimmed(field));
    if (!raw.empty() && raw.back() == ',') l.fields.push_back("");
    if (l.fields.size() != fieldCount)
      Fail(file, n, "expected " + std::to_string(fieldCount) + " fields, found " + std::to_string(l.fields.size()));
    out.push_back(std::move(l));
  }
  return out;
}

int BlockNumber(const std::string& f, const std::string& file, int line) {
  if (f.size() != 4 || f.find_first_not_of("0123456789") != std::string::npos)
    Fail(file, line, "block numbers are written with four digits: \"" + f + "\"");
  return std::stoi(f);
}

// Characters of a message as shown, with every name placeholder counted
// at the longest name the name entry accepts (6 characters).
size_t ShownLength(const Text& t, bool names) {
  size_t n = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (names && t[i] == u'&' && i + 1 < t.size()) {
      n += 6;
      ++i;
    } else {
      ++n;
    }
  }
  return n;
}

}  // namespace

std::string ToCp932(const std::string& utf8, const std::string& where) {
  std::optional<std::string> bytes = EncodeCp932Exact(FromUtf8(utf8));
  if (!bytes) throw StoryError(where + ": a character has no Shift-JIS form");
  return *bytes;
}

StoryTexts CompileStory(const std::string& scenarioCsv, const std::string& choicesCsv) {
  const std::string sf = "scenario.csv", cf = "choices.csv";
  std::vector<Line> scen = ReadLines(scenarioCsv, sf, 13);
  std::vector<Line> choi = ReadLines(choicesCsv, cf, 3);

  // Blocks: ascending, each in one run.
  std::set<int> blocks;
  std::map<int, int> choiceCount;  // block -> number of choices its "s" asks for
  int prev = -1;
  std::vector<const Line*> records;
  for (const Line& l : scen) {
    if (l.fields[0] == "num") continue;
    int num = BlockNumber(l.fields[0], sf, l.source);
    if (num < prev) Fail(sf, l.source, "block numbers must not go down");
    if (num != prev && blocks.count(num)) Fail(sf, l.source, "block appears twice");
    blocks.insert(num);
    prev = num;
    records.push_back(&l);
  }
  if (records.size() < 2) throw StoryError("scenario.csv: no records");
  for (const Line* l : records) {
    const auto& f = l->fields;
    const std::string& cmd = f[1];
    int num = std::stoi(f[0]);
    bool jumps = cmd == "g0" || (!cmd.empty() && (cmd[0] == 'c' || cmd[0] == 'i'));
    if (jumps && !blocks.count(BlockNumber(f[2], sf, l->source))) Fail(sf, l->source, "jump to a missing block");
    if (!f[7].empty() && (f[7].size() != 1 || f[7][0] < '0' || f[7][0] > '9'))
      Fail(sf, l->source, "speaker numbers are 0 to 9");
    if (cmd == "s") {
      if (f[8] != "1" && f[8] != "2" && f[8] != "3") Fail(sf, l->source, "a choice offers 1 to 3 answers");
      if (choiceCount.count(num)) Fail(sf, l->source, "two choices in one block");
      choiceCount[num] = f[8][0] - '0';
    }
    bool plainText = f[3].empty() && f[4].empty() && (cmd.empty() || cmd == "r" || cmd[0] == 't');
    Text text = FromUtf8(f[8]);
    if (plainText && ShownLength(text, f[11] == "1") > 90)
      Fail(sf, l->source, "the message does not fit in three rows");
    if (f[11] == "1")
      for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'&' && (i + 1 >= text.size() || text[i + 1] < u'0' || text[i + 1] > u'5'))
          Fail(sf, l->source, "\"&\" must be followed by a digit 0 to 5");
  }

  // Choice rows: consecutive per choice point, as many as its "s" asks for.
  std::map<int, int> rows;
  int last = -1;
  for (const Line& l : choi) {
    int sct = BlockNumber(l.fields[0], cf, l.source);
    int target = BlockNumber(l.fields[2], cf, l.source);
    if (!choiceCount.count(sct)) Fail(cf, l.source, "no choice command in block " + l.fields[0]);
    if (sct != last && rows.count(sct)) Fail(cf, l.source, "the rows of a choice point must stand together");
    if (!blocks.count(target)) Fail(cf, l.source, "target block " + l.fields[2] + " does not exist");
    if (l.fields[1].empty()) Fail(cf, l.source, "empty choice text");
    ++rows[sct];
    last = sct;
  }
  for (const auto& [sct, n] : choiceCount)
    if (rows[sct] != n) throw StoryError("choices.csv: block " + std::to_string(sct) + " needs " + std::to_string(n) + " rows");

  StoryTexts out;
  for (const Line& l : scen) out.scenario += ToCp932(l.text, sf + ":" + std::to_string(l.source)) + "\r\n";
  for (const Line& l : choi) out.choices += ToCp932(l.text, cf + ":" + std::to_string(l.source)) + "\r\n";
  return out;
}

}  // namespace mirel::demo
