#include <algorithm>

#include "app/Main_Form.h"
#include "base/Cp932.h"
#include "base/Files.h"

namespace mirel {

const std::array<const char*, 58> Main_Form::kImageTable = {
    "11.dat",  "12.dat",  "13.dat",  "15.dat",  "17.dat",  "21.dat",  "22.dat",  "23.dat",  "25.dat",  "26.dat",
    "27.dat",  "31.dat",  "32.dat",  "35.dat",  "36.dat",  "41.dat",  "42.dat",  "45.dat",  "46.dat",  "51.dat",
    "55.dat",  "62.dat",  "63.dat",  "p03.dat", "p04.dat", "p05.dat", "p06.dat", "p07.dat", "p08.dat", "p09.dat",
    "p10.dat", "p11.dat", "p12.dat", "p13.dat", "p14.dat", "p51.dat", "p52.dat", "p53.dat", "p54.dat", "p55.dat",
    "p56.dat", "p57.dat", "p58.dat", "p59.dat", "p60.dat", "p61.dat", "p62.dat", "p63.dat", "p64.dat", "p65.dat",
    "p66.dat", "p67.dat", "60.dat",  "64.dat",  "p01.dat", "p02.dat", "p91.dat", "p92.dat"};

namespace {

// Error numbers shown in the failure message, after the toolkit's own.
constexpr int kErrEmptyFile = 59;
constexpr int kErrPastEnd = 62;
constexpr int kErrAccess = 75;
constexpr int kErrBadText = 13;

struct CheckFailure {
  Text message;
};

[[noreturn]] void Missing(const Text& shown) { throw CheckFailure{u"実行に必要なﾌｧｲﾙがありません. " + shown}; }
[[noreturn]] void Damaged(const Text& shown, int number) {
  throw CheckFailure{u"実行に必要なﾌｧｲﾙが異常です.(" + shown + u":" + Decimal(number) + u")"};
}

// Lines ended by CR LF (a lone LF is taken as a line end too); the text
// after the last line end, if any, is a line of its own.
std::vector<std::string> SplitLines(const std::string& s) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < s.size()) {
    size_t nl = s.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back(s.substr(start));
      break;
    }
    size_t end = nl > start && s[nl - 1] == '\r' ? nl - 1 : nl;
    lines.push_back(s.substr(start, end - start));
    start = nl + 1;
  }
  return lines;
}

// Bytes of the CP932 character that starts with `lead`.
size_t Cp932CharBytes(char lead) {
  const auto c = static_cast<unsigned char>(lead);
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
}

}  // namespace

void Main_Form::CheckDataFiles() {
  try {
    ConfigLineCount = 25;
    for (const char* n : {"90", "91", "92"}) {
      std::string path = DataPath(std::string(n) + ".dat");
      Text shown = FromUtf8(DataDir + n);
      long long size = FileSize(path);
      if (size < 0) Missing(shown);
      if (size == 0) Damaged(shown, kErrEmptyFile);
    }
    ShowLoading(10);
    // The story is decoded in memory when it is loaded; here it only has
    // to be readable.
    for (const char* n : {"91", "92"})
      if (!ReadFile(DataPath(std::string(n) + ".dat"))) Damaged(FromUtf8(DataDir + n), kErrAccess);
    ShowLoading(40);

    for (const char* name : kImageTable) {
      std::string path = DataPath(name);
      Text shown = FromUtf8(path);
      long long size = FileSize(path);
      if (size < 0) Missing(shown);
      // A file too short for its two header bytes is as broken as an empty
      // one, and writing the header would lengthen it.
      if (size < 2) Damaged(shown, kErrEmptyFile);
      if (!RestoreImageHeader(path, name[0] == 'p' ? 'J' : 'B')) Damaged(shown, kErrAccess);
    }
    ShowLoading(55);

    std::string configPath = DataPath("90.dat");
    Text configShown = FromUtf8(DataDir + "90");
    std::optional<Bytes> raw = ReadFile(configPath);
    if (!raw) Damaged(configShown, kErrAccess);
    std::vector<std::string> lines = SplitLines(std::string(raw->begin(), raw->end()));
    if (lines.size() < static_cast<size_t>(ConfigLineCount)) Damaged(configShown, kErrPastEnd);
    ConfigLines.assign(1, std::string());
    ConfigLines.insert(ConfigLines.end(), lines.begin(), lines.end());
    auto text = [&](int n) -> Text {
      std::optional<Text> t = DecodeCp932(ConfigLines[static_cast<size_t>(n)]);
      if (!t) Damaged(configShown, kErrBadText);
      return *t;
    };
    for (int k = 1; k <= 5; ++k) Names[static_cast<size_t>(k)] = text(k);
    Text flags = text(6);
    for (size_t pos = 15; pos <= 33; ++pos)
      if (pos <= flags.size() && flags[pos - 1] == u'0') CgUnlocked[pos - 15] = true;
    for (int k = 1; k <= 9; ++k) {
      MusicFiles[static_cast<size_t>(k)] = text(6 + k);
      MusicFilesB[static_cast<size_t>(k)] = text(15 + k);
      for (const Text* name : {&MusicFiles[static_cast<size_t>(k)], &MusicFilesB[static_cast<size_t>(k)]}) {
        if (name->empty()) continue;
        // Music comes from the data folder only.
        long long size = StaysInFolder(Utf8(*name)) ? FileSize(DataPath(Utf8(*name))) : -1;
        if (size < 0) Missing(*name);
        if (size == 0) Damaged(*name, kErrEmptyFile);
      }
    }
    ShowLoading(60);
  } catch (const CheckFailure& f) {
    MsgBox(f.message);
    throw ProgramEnd{1, true};
  }
}

void Main_Form::RemoveStaleTemporaries() {
  // What a write killed before its rename leaves behind.
  std::vector<std::string> written = {"90.dat", "mirel.log"};
  for (int slot = 0; slot < 5; ++slot) written.push_back("0" + std::to_string(slot) + ".dat");
  for (const std::string& name : written) {
    std::string tmp = DataPath(name) + ".tmp";
    if (FileExists(tmp)) RemoveFile(tmp);
  }
}

bool Main_Form::RestoreImageHeader(const std::string& path, char typeLetter) {
  const uint8_t bmp[2] = {0x42, 0x4D}, jpeg[2] = {0xFF, 0xD8};
  const uint8_t* bytes = typeLetter == 'j' || typeLetter == 'J' ? jpeg : bmp;
  return PatchFile(path, 0, bytes, 2);
}

bool Main_Form::StoreImageHeader(const std::string& path) {
  // Only files that exist and hold a header; a missing one is not created.
  if (FileSize(path) < 2) return false;
  const uint8_t stored[2] = {'J', 'F'};
  return PatchFile(path, 0, stored, 2);
}

void Main_Form::RebuildGalleryLine() {
  if (ConfigLines.size() <= 6) return;
  // Only the flags change: the bytes around them are written back as read,
  // since CP932 has two codes for some characters and encoding the decoded
  // line again could swap one for the other.
  const std::string& line = ConfigLines[6];
  size_t head = 0, chars = 0;
  for (; chars < 14 && head < line.size(); ++chars) head += Cp932CharBytes(line[head]);
  size_t tail = head;
  for (size_t c = chars; c < 33 && tail < line.size(); ++c) tail += Cp932CharBytes(line[tail]);
  // A short line is padded so the flags always stand at characters 15 to 33.
  std::string rebuilt = line.substr(0, std::min(head, line.size()));
  rebuilt.append(14 - chars, ' ');
  for (int k = 0; k < 19; ++k) {
    if (CgUnlocked[static_cast<size_t>(k)]) {
      rebuilt += '0';
    } else {
      int digit = (k + 2) % 10;
      rebuilt += digit == 0 ? '1' : static_cast<char>('0' + digit);
    }
  }
  if (tail < line.size()) rebuilt += line.substr(tail);
  ConfigLines[6] = rebuilt;
}

bool Main_Form::WriteConfig(std::string* error) {
  std::string out;
  int last = std::max(ConfigLineCount, static_cast<int>(ConfigLines.size()) - 1);
  for (int n = 1; n <= last && n < static_cast<int>(ConfigLines.size()); ++n) out += ConfigLines[static_cast<size_t>(n)] + "\r\n";
  if (auto err = WriteFileAtomic(DataPath("90.dat"), out)) {
    if (error) *error = *err;
    return false;
  }
  return true;
}

}  // namespace mirel
