#include <algorithm>

#include "base/Cp932.h"
#include "base/Files.h"
#include "scenario/ScenarioData.h"

namespace mirel {

Text DamagedData::Message() const {
  Text where = FromUtf8(file);
  if (line > 0) where += u" " + Decimal(line) + u" 行目";
  return u"シナリオファイルが壊れています.(" + where + u": " + reason + u")";
}

std::string Complement(std::string bytes) {
  for (char& b : bytes) b = static_cast<char>(~static_cast<unsigned char>(b));
  return bytes;
}

int16_t NumberField(TextView field) {
  Text f = Trim(field);
  if (f.empty()) throw ConversionError{Text(field), false};
  Text formed = f.substr(0, 1) + Right(f, 3);
  return ToInt16(formed);
}

namespace {

// Reads comma-delimited fields as the data files are written: a field ends
// at a comma or a line end, blanks around it are dropped, and a field that
// starts with a double quote runs to the next double quote.
class FieldReader {
 public:
  explicit FieldReader(const Text& text) : t_(text) {}

  bool AtEnd() const { return i_ >= t_.size(); }
  int Line() const { return line_; }

  // Skips empty lines between records; false at the end of the text.
  bool NextRecord() {
    for (;;) {
      size_t j = i_;
      while (j < t_.size() && (t_[j] == u' ' || t_[j] == u'\t')) ++j;
      if (j >= t_.size()) {
        i_ = j;
        return false;
      }
      if (t_[j] == u'\r' || t_[j] == u'\n') {
        i_ = j;
        EatLineEnd();
        continue;
      }
      return true;
    }
  }

  Text Field() {
    while (i_ < t_.size() && (t_[i_] == u' ' || t_[i_] == u'\t')) ++i_;
    if (i_ >= t_.size()) return Text();
    if (t_[i_] == u'"') {
      size_t close = t_.find(u'"', i_ + 1);
      size_t end = close == Text::npos ? t_.size() : close;
      Text f = t_.substr(i_ + 1, end - i_ - 1);
      for (char16_t c : f)
        if (c == u'\n') ++line_;
      i_ = close == Text::npos ? t_.size() : close + 1;
      // Whatever stands between the closing quote and the delimiter is dropped.
      while (i_ < t_.size() && t_[i_] != u',' && t_[i_] != u'\r' && t_[i_] != u'\n') ++i_;
      EatDelimiter();
      return f;
    }
    size_t start = i_;
    while (i_ < t_.size() && t_[i_] != u',' && t_[i_] != u'\r' && t_[i_] != u'\n') ++i_;
    Text f = Trim(TextView(t_).substr(start, i_ - start));
    EatDelimiter();
    return f;
  }

  void SkipRestOfLine() {
    while (i_ < t_.size() && t_[i_] != u'\r' && t_[i_] != u'\n') ++i_;
    EatLineEnd();
  }

 private:
  void EatDelimiter() {
    if (i_ < t_.size() && t_[i_] == u',') ++i_;
    else EatLineEnd();
  }
  void EatLineEnd() {
    if (i_ < t_.size() && t_[i_] == u'\r') ++i_;
    if (i_ < t_.size() && t_[i_] == u'\n') ++i_;
    ++line_;
  }

  const Text& t_;
  size_t i_ = 0;
  int line_ = 1;
};

Text DecodeOrDie(const std::string& bytes, const char* file) {
  if (auto t = DecodeCp932(bytes)) return *t;
  // Find the line with the bytes that are not CP932.
  int line = 1;
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t nl = bytes.find('\n', start);
    std::string piece = bytes.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    if (!DecodeCp932(piece)) break;
    if (nl == std::string::npos) break;
    start = nl + 1;
    ++line;
  }
  throw DamagedData{file, line, u"文字コードが正しくありません"};
}

int16_t Number(const Text& field, const char* file, int line, const char16_t* what) {
  try {
    return NumberField(field);
  } catch (const ConversionError& e) {
    throw DamagedData{file, line, Text(what) + u"「" + field + (e.overflow ? u"」が範囲外です" : u"」が数ではありません")};
  }
}

}  // namespace

void LoadScenarioTexts(const std::string& scenario, const std::string& choices, ScenarioData& out,
                       const std::function<void(int)>& progress) {
  auto report = [&](int p) {
    if (progress) progress(p);
  };
  out = ScenarioData{};
  Text sc = DecodeOrDie(scenario, "91.dat");
  FieldReader r(sc);
  // A record a line, as nearly every story is written: no regrowing on the way.
  out.ScenarioTable.reserve(std::min<size_t>(kMaxRecords, std::count(sc.begin(), sc.end(), u'\n') + 1));
  while (r.NextRecord()) {
    int line = r.Line();
    Text f1 = r.Field();
    if (f1 == u"num") {
      r.SkipRestOfLine();
      continue;
    }
    if (out.ScenarioTable.size() >= static_cast<size_t>(kMaxRecords))
      throw DamagedData{"91.dat", line, u"レコードが " + Decimal(kMaxRecords) + u" を超えています"};
    ScenarioRecord rec;
    rec.line = line;
    rec.Num = Number(f1, "91.dat", line, u"ブロック番号");
    rec.Cmd = r.Field();
    Text jump = r.Field();
    if (!jump.empty()) rec.Jump = Number(jump, "91.dat", line, u"飛び先");
    rec.Bg = r.Field();
    rec.Doll = r.Field();
    rec.Anim = r.Field();
    rec.Spare = r.Field();
    rec.Speaker = r.Field();
    rec.Text = r.Field();
    rec.Param1 = r.Field();
    rec.Param2 = r.Field();
    rec.NameSubst = r.Field();
    r.Field();  // field 13 is not used
    out.ScenarioTable.push_back(std::move(rec));
  }
  out.LastSeq = static_cast<int32_t>(out.ScenarioTable.size()) - 1;
  report(70);

  int previous = -1;
  for (int32_t i = 0; i <= out.LastSeq; ++i) {
    const ScenarioRecord& rec = out.ScenarioTable[static_cast<size_t>(i)];
    if (rec.Num != previous) {
      if (out.BlockIndex.size() >= static_cast<size_t>(kMaxBlocks))
        throw DamagedData{"91.dat", rec.line, u"ブロックが " + Decimal(kMaxBlocks) + u" を超えています"};
      out.BlockIndex.push_back(BlockIndexEntry{rec.Num, i});
      previous = rec.Num;
    }
  }
  out.BlockCount = static_cast<int32_t>(out.BlockIndex.size());
  report(80);

  Text ch = DecodeOrDie(choices, "92.dat");
  FieldReader c(ch);
  while (c.NextRecord()) {
    int line = c.Line();
    if (out.ChoiceTable.size() >= static_cast<size_t>(kMaxChoiceRows))
      throw DamagedData{"92.dat", line, u"選択肢が " + Decimal(kMaxChoiceRows) + u" 行を超えています"};
    ChoiceRow row;
    row.line = line;
    Text f1 = c.Field();
    row.ChoiceText = c.Field();
    Text f3 = c.Field();
    row.Sct = Number(f1, "92.dat", line, u"選択の番号");
    row.Target = Number(f3, "92.dat", line, u"飛び先");
    out.ChoiceTable.push_back(std::move(row));
  }
  out.LastSct = static_cast<int32_t>(out.ChoiceTable.size()) - 1;
  report(90);

  for (ChoiceRow& row : out.ChoiceTable) {
    for (const BlockIndexEntry& b : out.BlockIndex)
      if (b.Num == row.Target) {
        // Record indices stay below 5001, so they fit where block numbers were.
        row.Target = static_cast<int16_t>(b.Seq);
        row.resolved = true;
        break;
      }
  }
  report(95);
}

void LoadScenario(const std::string& dataDir, ScenarioData& out, const std::function<void(int)>& progress) {
  // Decoded in memory: no readable copy of the story is ever left on disk.
  auto read = [&](const char* name) {
    std::optional<Bytes> b = ReadFile(ResolveInDir(dataDir, name));
    if (!b) throw DamagedData{name, 0, u"読み込めません"};
    return Complement(std::string(b->begin(), b->end()));
  };
  std::string scenario = read("91.dat");
  std::string choices = read("92.dat");
  LoadScenarioTexts(scenario, choices, out, progress);
}

}  // namespace mirel
