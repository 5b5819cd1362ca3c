#include "save/SlotFile.h"

#include <algorithm>
#include <cmath>

#include "base/Cp932.h"
#include "base/Files.h"

namespace mirel {

namespace {

// Slot files are a few hundred bytes; anything far larger is not one.
constexpr long long kMaxSlotFileSize = 1 << 20;

bool FieldBlank(char16_t c) { return c == u' ' || c == u'\t'; }

Text TrimFieldBlanks(TextView t) {
  size_t b = 0, e = t.size();
  while (b < e && FieldBlank(t[b])) ++b;
  while (e > b && FieldBlank(t[e - 1])) --e;
  return Text(t.substr(b, e - b));
}

std::vector<TextView> SplitLines(TextView content) {
  std::vector<TextView> lines;
  size_t start = 0;
  for (size_t i = 0; i < content.size(); ++i) {
    char16_t c = content[i];
    if (c != u'\r' && c != u'\n') continue;
    lines.push_back(content.substr(start, i - start));
    if (c == u'\r' && i + 1 < content.size() && content[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < content.size()) lines.push_back(content.substr(start));
  return lines;
}

Text Padded(long long magnitude, size_t width) {
  Text digits = Decimal(magnitude);
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return Right(digits, width);
}

// Layout of the state line: offset, width.
struct FieldPos {
  size_t at, width;
};
constexpr FieldPos kKou{0, 3}, kHap{3, 3}, kBad{6, 3}, kMak{9, 3}, kReserved{12, 12}, kBgRequest{24, 3},
    kCurNum{27, 4}, kOpacity{31, 4}, kOpacityRead{32, 3}, kBgmOn{35, 2}, kSeOn{37, 2}, kSpeed{39, 2}, kCurSeq{41, 4}, kMusic{45, 2},
    kResume{47, 4};

Text Damaged(const Text& what) { return u"状態の行が壊れています: " + what; }

}  // namespace

std::string SlotFileName(int slot) { return "0" + std::to_string(slot) + ".dat"; }

Text StateField(long long value, size_t width) {
  if (width == 0) return Text();
  if (value >= 0) return Padded(value, width);
  if (width == 1) return u"0";  // no room for a sign
  long long most = 1;
  for (size_t i = 1; i < width; ++i) most *= 10;
  long long magnitude = value < -(most - 1) ? most - 1 : -value;
  return u"-" + Padded(magnitude, width - 1);
}

std::optional<long long> ReadStateField(TextView field) {
  size_t i = 0;
  while (i < field.size() && field[i] == u'0') ++i;
  bool negative = false;
  if (i < field.size() && field[i] == u'-') {
    negative = true;
    ++i;
    if (i == field.size()) return std::nullopt;
  } else if (i == field.size()) {
    return field.empty() ? std::nullopt : std::optional<long long>(0);
  }
  long long v = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < u'0' || field[i] > u'9') return std::nullopt;
    if (v > 100000000000000LL) return std::nullopt;  // far wider than any field
    v = v * 10 + (field[i] - u'0');
  }
  return negative ? -v : v;
}

Text BuildStateLine(const PlayState& ps) {
  // Whole percent: the options slider only makes whole percentages, and a
  // fraction would spill a decimal point into the field.
  float percent = ps.WakuOpacity * 100.0f;
  long long opacity = std::isfinite(percent) ? std::lround(percent) : 0;
  opacity = std::clamp(opacity, 0LL, 100LL);
  long long speed = std::clamp<long long>(ps.MessageSpeed, 0, 3);
  long long resume = 0;
  if (auto r = ReadStateField(Trim(ps.SavePoint[0])); r && *r >= 0) resume = *r;

  Text line;
  line += StateField(ps.kou, kKou.width);
  line += StateField(ps.hap, kHap.width);
  line += StateField(ps.bad, kBad.width);
  line += StateField(ps.mak, kMak.width);
  line += Text(kReserved.width, u'0');
  line += StateField(ps.BgRequest, kBgRequest.width);
  line += StateField(ps.CurNum, kCurNum.width);
  line += StateField(opacity, kOpacity.width);
  line += StateField(ps.BgmOn ? -1 : 0, kBgmOn.width);
  line += StateField(ps.SeOn ? -1 : 0, kSeOn.width);
  line += StateField(speed, kSpeed.width);
  line += StateField(ps.CurSeq, kCurSeq.width);
  line += StateField(ps.CurMusic, kMusic.width);
  line += StateField(resume, kResume.width);
  return line;
}

std::optional<SavedState> ParseStateLine(TextView line, int32_t lastSeq, Text* why) {
  auto fail = [why](const Text& reason) -> std::optional<SavedState> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (line.size() != kStateLineLength)
    return fail(Damaged(u"長さが " + Decimal(static_cast<long long>(line.size())) + u" 文字です (51 文字のはず)"));

  bool bad = false;
  Text badWhat;
  auto field = [&](FieldPos p, long long lo, long long hi) -> long long {
    if (bad) return 0;
    TextView f = line.substr(p.at, p.width);
    auto v = ReadStateField(f);
    if (!v || *v < lo || *v > hi) {
      bad = true;
      badWhat = Decimal(static_cast<long long>(p.at + 1)) + u" 文字目からの「" + Text(f) + u"」" +
                (v ? u"は範囲外です" : u"は数ではありません");
      return 0;
    }
    return *v;
  };

  SavedState s;
  s.kou = static_cast<int16_t>(field(kKou, -99, 999));
  s.hap = static_cast<int16_t>(field(kHap, -99, 999));
  s.bad = static_cast<int16_t>(field(kBad, -99, 999));
  s.mak = static_cast<int16_t>(field(kMak, -99, 999));
  field(kReserved, -99999999999LL, 999999999999LL);  // unused: any number that fits
  s.bgRequest = static_cast<int16_t>(field(kBgRequest, -99, 999));
  s.curNum = static_cast<int16_t>(field(kCurNum, -999, 9999));
  // The opacity is written in four places and read from the last three:
  // the first may hold anything.
  s.opacityPercent = static_cast<int16_t>(field(kOpacityRead, 0, 100));
  s.bgmOn = field(kBgmOn, -9, 99) != 0;
  s.seOn = field(kSeOn, -9, 99) != 0;
  s.messageSpeed = static_cast<int16_t>(field(kSpeed, 0, 3));
  s.curSeq = static_cast<int32_t>(field(kCurSeq, -999, 9999));
  s.curMusic = static_cast<int16_t>(field(kMusic, -9, 99));
  s.resume = static_cast<int32_t>(field(kResume, 0, 9999));
  if (bad) return fail(Damaged(badWhat));
  // The terminator never runs, so a save point can only stand before it.
  if (s.resume >= lastSeq)
    return fail(u"再開するレコード " + Decimal(s.resume) + u" はシナリオにありません");
  return s;
}

std::optional<Text> ResumeProblem(const ScenarioData& scenario, int32_t resume) {
  const bool inTable = resume >= 0 && resume < scenario.LastSeq &&
                       static_cast<size_t>(resume) < scenario.ScenarioTable.size();
  if (!inTable) return u"再開するレコード " + Decimal(resume) + u" はシナリオにありません";
  if (resume == 0 || IsSavePoint(Trim(scenario.ScenarioTable[static_cast<size_t>(resume)].Cmd))) return std::nullopt;
  return u"再開するレコード " + Decimal(resume) + u" はセーブポイントではありません";
}

Text SlotField(TextView text) {
  Text t(text);
  for (auto& c : t)
    if (c == u'\r' || c == u'\n') c = u' ';
  bool quote = t.find(u',') != Text::npos ||
               (!t.empty() && (FieldBlank(t.front()) || FieldBlank(t.back()) || t.front() == u'"'));
  if (!quote) return t;
  // A quoted field ends at the next quote, so none may stand inside it.
  for (auto& c : t)
    if (c == u'"') c = u'\u201D';
  return u"\"" + t + u"\"";
}

std::vector<Text> ReadFields(TextView content) {
  std::vector<Text> fields;
  for (TextView line : SplitLines(content)) {
    size_t p = 0;
    for (;;) {
      while (p < line.size() && FieldBlank(line[p])) ++p;
      if (p < line.size() && line[p] == u'"') {
        size_t close = line.find(u'"', p + 1);
        if (close == TextView::npos) {
          fields.emplace_back(line.substr(p + 1));
          p = line.size();
        } else {
          fields.emplace_back(line.substr(p + 1, close - p - 1));
          p = line.find(u',', close + 1);
          if (p == TextView::npos) p = line.size();
        }
      } else {
        size_t comma = line.find(u',', p);
        if (comma == TextView::npos) comma = line.size();
        fields.push_back(TrimFieldBlanks(line.substr(p, comma - p)));
        p = comma;
      }
      if (p < line.size() && line[p] == u',') {
        ++p;
        continue;
      }
      break;
    }
  }
  return fields;
}

std::string SaveDate(const std::string& hostDateTime) {
  std::string d = hostDateTime.substr(0, 16);
  // The date is never read back, but a comma or line break in it would
  // shift every field after it.
  for (auto& c : d)
    if (c == ',' || c == '\r' || c == '\n' || c == '"') c = ' ';
  return d;
}

std::string SlotFileBytes(const std::string& date, const std::array<Text, 4>& snapshot) {
  std::string out = SaveDate(date) + "\r\n";
  for (const Text& line : snapshot) out += EncodeCp932(line) + "\r\n";
  out += "\\\r\n";
  return out;
}

SlotCaptions ReadSlotCaptions(const std::string& path) {
  SlotCaptions c;
  if (FileSize(path) > kMaxSlotFileSize) return c;
  auto bytes = ReadFile(path);
  if (!bytes) return c;
  auto text = DecodeCp932(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!text) return c;
  std::vector<Text> fields = ReadFields(*text);
  if (fields.size() > 1) c.part1 = fields[1];
  if (fields.size() > 2) c.part2 = fields[2];
  return c;
}

SlotRead ParseSlotText(std::string_view bytes, int32_t lastSeq) {
  SlotRead r;
  auto text = DecodeCp932(bytes);
  if (!text) {
    r.error = u"文字コードが正しくありません";
    return r;
  }
  std::vector<TextView> lines = SplitLines(*text);
  std::vector<Text> fields = ReadFields(*text);
  // Every complete file ends with its "\" line: without it the file was cut
  // short and its last field may be cut too.
  if (lines.size() < 6 || Trim(lines[5]) != u"\\" || fields.size() < 6) {
    r.error = u"ファイルが途中で切れています";
    return r;
  }
  Text why;
  auto state = ParseStateLine(fields[3], lastSeq, &why);
  if (!state) {
    r.error = why;
    return r;
  }
  SlotContents c;
  c.caption1 = fields[1];
  c.caption2 = fields[2];
  c.lines = {fields[3], fields[4], fields[5]};
  c.state = *state;
  r.contents = std::move(c);
  return r;
}

SlotRead ReadSlotForLoad(const std::string& path, int32_t lastSeq) {
  SlotRead r;
  long long size = FileSize(path);
  if (size < 0) {
    r.error = u"ファイルがありません";
    return r;
  }
  if (size > kMaxSlotFileSize) {
    r.error = u"セーブデータではありません";
    return r;
  }
  auto bytes = ReadFile(path);
  if (!bytes) {
    r.error = u"読み込めません (" + FromUtf8(LastErrorText()) + u")";
    return r;
  }
  return ParseSlotText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), lastSeq);
}

}  // namespace mirel
