#include "mirel_tool/Check.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>

#include "app/Main_Form.h"
#include "app/StoryFile.h"
#include "audio/MidiFile.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "base/Text.h"
#include "extras/Credits.h"
#include "extras/Ending.h"
#include "platform/FontRaster.h"
#include "platform/Image.h"
#include "platform/headless/BoxFont.h"
#include "platform/qt/QtHost.h"
#include "scenario/ScenarioData.h"

namespace mirel::tool {

std::string Finding::Format() const {
  const std::string kind = severity == Severity::Error ? "error: " : "warning: ";
  return (line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ") + kind + message;
}

int CheckStatus(const std::vector<Finding>& findings, bool strict) {
  for (const Finding& f : findings)
    if (strict || f.severity == Severity::Error) return 1;
  return 0;
}

namespace {

const std::set<Text> kTransitions = {u"DI", u"VB", u"HB", u"HC", u"BC", u"IC", u"DK",
                                     u"MS", u"BI", u"SP", u"SO", u"MC", u"MO", u"MI"};
constexpr size_t kRowChars = 30;
constexpr size_t kLongestName = 7;  // the name entry takes up to 7 characters

// The ending's songs: by the end counter, the one it plays.
const std::pair<const char*, const char*> kEndingSongs[] = {
    {"22-1.mid", "the plain ending"}, {"03-1.mid", "ending 1"}, {"34-3.mid", "ending 2"}};

std::vector<std::string> SplitLines(const std::string& s) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < s.size()) {
    size_t nl = s.find('\n', start);
    size_t end = nl == std::string::npos ? s.size() : nl;
    std::string l = s.substr(start, end - start);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return lines;
}

// What a picture is drawn as, and the sizes that fill that place.
struct PictureRole {
  const char* what;
  int minW, minH, maxW, maxH;
  const char* tooSmall;  // what the player sees then
};

const PictureRole* RoleOf(const std::string& name) {
  static const PictureRole kScreen{"a full-screen picture", 640, 480, 640, 480, "the old screen shows around it"};
  // The opening scrolls it, the gallery shows it from a 640x930 surface.
  static const PictureRole kTall{"the tall opening picture", 640, 930, 640, 930, "the opening and the gallery show black parts"};
  static const PictureRole kSheet{"a gallery thumbnail sheet", 480, 216, 480, 216, "thumbnails come out black"};
  // The photo is laid 213x160 at 8, 7 of the frame.
  static const PictureRole kFrame{"the ending's photo frame", 221, 167, 640, 480, "the photos stand over its edge"};
  // The title buttons' highlighted pieces end at 345, 336.
  static const PictureRole kTexture{"the window texture", 345, 336, 4096, 4096, "title buttons come out black"};
  static const PictureRole kSprite{"a sprite", 1, 1, 640, 480, ""};
  if (name == "p51.dat") return &kTall;
  if (name[0] == 'p' || name[0] == 'P') return &kScreen;
  if (name == "62.dat" || name == "63.dat") return &kSheet;
  if (name == "64.dat") return &kFrame;
  if (name == "61.dat") return &kTexture;
  if (name == "60.dat") return nullptr;  // the face sheet: its expressions are checked with the story
  return &kSprite;
}

class Checker {
 public:
  explicit Checker(std::string dir) : dir_(std::move(dir)) {
    if (!dir_.empty() && dir_.back() != kPathSep) dir_ += kPathSep;
  }

  std::vector<Finding> Run() {
    if (!DirExists(dir_)) {
      Add(dir_, 0, "no such folder");
      return findings_;
    }
    CheckStartFiles();
    CheckConfig();
    CheckEndingSongs();
    CheckSongFormats();
    CheckPictures();
    CheckStory();
    CheckStoryFile();
    CheckStaffRoll();
    CheckPhotoFrame();
    return findings_;
  }

 private:
  std::string Path(const std::string& name) const { return ResolveInDir(dir_, name); }
  void Add(const std::string& file, int line, std::string message) {
    findings_.push_back(Finding{file, line, std::move(message), Severity::Error});
  }
  void Warn(const std::string& file, int line, std::string message) {
    findings_.push_back(Finding{file, line, std::move(message), Severity::Warning});
  }

  // Present, and long enough for the two header bytes start-up rewrites.
  bool NeedFile(const std::string& name, long long minSize) {
    long long size = FileSize(Path(name));
    if (size < 0) {
      Add(name, 0, "missing: the game refuses to start without it");
      return false;
    }
    if (size < minSize) {
      Add(name, 0, size == 0 ? "empty: the game refuses to start" : "too short to be a picture");
      return false;
    }
    return true;
  }

  void CheckStartFiles() {
    for (const char* n : {"90.dat", "91.dat", "92.dat"}) NeedFile(n, 1);
    for (const char* name : Main_Form::kImageTable) {
      if (!NeedFile(name, 2)) continue;
      auto bytes = ReadFile(Path(name));
      if (!bytes) {
        Add(name, 0, "cannot be read");
        continue;
      }
      uint8_t a = (*bytes)[0], b = (*bytes)[1];
      bool jpeg = name[0] == 'p';
      bool ok = (a == 'J' && b == 'F') || (jpeg ? (a == 0xFF && b == 0xD8) : (a == 'B' && b == 'M'));
      if (!ok) Add(name, 0, jpeg ? "neither a stored nor a plain JPEG picture" : "neither a stored nor a plain BMP picture");
    }
    for (const char* n : {"P98.dat", "P99.dat", "61.dat"}) NeedFile(n, 2);
  }

  void CheckConfig() {
    auto raw = ReadFile(Path("90.dat"));
    if (!raw || raw->empty()) return;  // reported above
    std::vector<std::string> lines = SplitLines(std::string(raw->begin(), raw->end()));
    if (lines.size() < 25)
      Add("90.dat", static_cast<int>(lines.size()), "holds " + std::to_string(lines.size()) + " lines, the game needs 25");
    for (size_t i = 0; i < lines.size() && i < 25; ++i) {
      int n = static_cast<int>(i) + 1;
      std::optional<Text> t = DecodeCp932(lines[i]);
      if (!t) {
        Add("90.dat", n, "not Shift-JIS (CP932) text");
        continue;
      }
      if (n >= 7 && n <= 24) {
        Text name = Trim(*t);
        if (name.empty()) continue;
        std::string file = Utf8(name);
        if (name.find(u'"') != Text::npos)
          Warn("90.dat", n, "the music file name \"" + file + "\" holds a double quote");
        else if (!StaysInFolder(file))
          Add("90.dat", n, "music file " + file + " lies outside the data folder: the game refuses it");
        else if (FileSize(Path(file)) < 0)
          Add("90.dat", n, "music file " + file + " is missing");
        else if (FileSize(Path(file)) == 0)
          Add("90.dat", n, "music file " + file + " is empty");
      }
    }
  }

  // The ending plays its song whatever "90.dat" names.
  void CheckEndingSongs() {
    for (const auto& [name, ending] : kEndingSongs) {
      long long size = FileSize(Path(name));
      if (size < 0) Warn(name, 0, std::string("missing: ") + ending + " plays it, and stays silent without it");
      else if (size == 0) Warn(name, 0, std::string("empty: ") + ending + " plays it, and stays silent");
    }
  }

  // A standard MIDI file, or one inside a RIFF MIDI ("RMID") file's data chunk.
  static bool IsMidiSong(const Bytes& b) {
    Bytes smf = StandardMidiFile(b);
    return smf.size() >= 4 && std::equal(smf.begin(), smf.begin() + 4, "MThd");
  }

  void CheckSongFormats() {
    std::vector<std::pair<std::string, int>> songs;  // name, line of "90.dat" (0: the ending's)
    if (auto raw = ReadFile(Path("90.dat"))) {
      std::vector<std::string> lines = SplitLines(std::string(raw->begin(), raw->end()));
      for (size_t i = 6; i < lines.size() && i < 15; ++i)
        if (auto t = DecodeCp932(lines[i]); t && !Trim(*t).empty()) songs.emplace_back(Utf8(Trim(*t)), static_cast<int>(i) + 1);
    }
    for (const auto& song : kEndingSongs) songs.emplace_back(song.first, 0);
    for (const auto& [name, line] : songs) {
      auto bytes = ReadFile(Path(name));
      if (!bytes || bytes->empty() || IsMidiSong(*bytes)) continue;  // missing and empty ones are told above
      if (line > 0) Warn("90.dat", line, "music file " + name + " is not a MIDI song: nothing would play");
      else Warn(name, 0, "not a MIDI song: nothing would play");
    }
  }

  // Every picture decoded as the game decodes it, and measured against
  // the place it is drawn in.
  void CheckPictures() {
    std::vector<std::string> names(Main_Form::kImageTable.begin(), Main_Form::kImageTable.end());
    const size_t stored = names.size();  // the plain pictures follow, read as they are
    for (const char* plain : {"P98.dat", "P99.dat", "61.dat"}) names.push_back(plain);
    for (size_t i = 0; i < names.size(); ++i) {
      const std::string& name = names[i];
      auto bytes = ReadFile(Path(name));
      if (!bytes || bytes->size() < 2) continue;  // told above
      Bytes b = *bytes;
      const bool jpeg = name[0] == 'p';
      if (i < stored && b[0] == 'J' && b[1] == 'F') {
        b[0] = jpeg ? 0xFF : 'B';
        b[1] = jpeg ? 0xD8 : 'M';
      } else if (i < stored && (jpeg ? b[0] != 0xFF || b[1] != 0xD8 : b[0] != 'B' || b[1] != 'M')) {
        continue;  // a header of neither form is told above
      }
      Image img;
      if (!codec_.Decode(b, img)) {
        Add(name, 0, std::string("the game cannot decode this picture (it must be a ") +
                         (jpeg ? "JPEG" : i < stored ? "BMP" : "BMP or JPEG") + " file); it would stop with an error when shown");
        continue;
      }
      const PictureRole* role = RoleOf(name);
      if (!role) continue;
      const std::string size = std::to_string(img.width) + "x" + std::to_string(img.height);
      if (img.width < role->minW || img.height < role->minH)
        Warn(name, 0, "is " + size + ", too small for " + role->what + " (" + std::to_string(role->minW) + "x" +
                         std::to_string(role->minH) + "): " + role->tooSmall);
      else if (img.width > role->maxW || img.height > role->maxH)
        Warn(name, 0, "is " + size + ", larger than " + role->what + " (" + std::to_string(role->maxW) + "x" +
                         std::to_string(role->maxH) + "): only its top-left part is shown");
    }
  }

  // The roll centres each line by its count of characters, not by its
  // width; a line that starts left of the strip or runs past it is cut.
  void CheckStaffRoll() {
    // The names as the game takes them: from the story file, else from the
    // older staff file.
    StoryContent story = ReadStory(dir_);
    if (story.creditsFrom.empty()) return;
    auto rows = extras::CreditsTable(story.credits);
    auto places = extras::CreditPlaces(rows);
    // Credits rows of the names, the maker line and the year line.
    const int kRows[] = {2, 4, 6, 8, 10, 11};
    BoxFont measure;
    for (size_t k = 0; k < 6; ++k) {
      const int row = kRows[k];
      const extras::CreditPlace& p = places[static_cast<size_t>(row)];
      const Text& text = rows[static_cast<size_t>(row)].text;
      if (p.y < 0 || story.staffLines[k] == 0) continue;
      int right = p.x + measure.TextWidth(text, Font{u"Arial", p.size, true});
      if (p.x < 0 || right > extras::kStripWidth)
        Warn(story.creditsFrom, story.staffLines[k],
            "\"" + Utf8(text) + "\" is cut in the staff roll (drawn from x " + std::to_string(p.x) + " to " +
                std::to_string(right) + " of " + std::to_string(extras::kStripWidth) + "): shorten it");
    }
  }

  // The speaker tags and the staff roll.
  void CheckStoryFile() {
    StoryContent story = ReadStory(dir_);
    for (const StoryProblem& p : story.problems) Warn(kStoryFile, p.line, p.message);
    if (story.found && FileExists(Path(extras::kCreditsFile)))
      Warn(extras::kCreditsFile, 0, std::string("not read: the staff roll comes from ") + kStoryFile);
    for (size_t k = 0; k < story.tags.size(); ++k)
      if (story.tags[k].size() > kRowChars)
        Warn(kStoryFile, 0, "the tag of speaker " + std::to_string(k + 2) + " runs past the window's right edge");
  }

  void CheckStory() {
    auto sc = ReadFile(Path("91.dat")), ch = ReadFile(Path("92.dat"));
    if (!sc || !ch || sc->empty() || ch->empty()) return;  // reported above
    ScenarioData d;
    try {
      LoadScenarioTexts(Complement(std::string(sc->begin(), sc->end())),
                        Complement(std::string(ch->begin(), ch->end())), d, nullptr);
    } catch (const DamagedData& e) {
      Add(e.file, e.line, Utf8(e.reason));
      return;
    }
    if (d.LastSeq < 1) {
      Add("91.dat", 0, "no records besides the terminator");
      return;
    }
    CheckBlocks(d);
    for (int32_t i = 0; i < d.LastSeq; ++i) CheckRecord(d, d.ScenarioTable[static_cast<size_t>(i)]);
    CheckChoiceRows(d);
    CheckOverflow(d);
    CheckEndlessLoops(d);
  }

  void CheckBlocks(const ScenarioData& d) {
    std::set<int16_t> seen;
    int prev = -1;
    for (const BlockIndexEntry& b : d.BlockIndex) {
      const ScenarioRecord& r = d.ScenarioTable[static_cast<size_t>(b.Seq)];
      if (seen.count(b.Num))
        Add("91.dat", r.line, "block " + std::to_string(b.Num) + " appears a second time; jumps may not find it");
      else if (b.Num < prev)
        Add("91.dat", r.line, "block " + std::to_string(b.Num) + " comes after block " + std::to_string(prev) +
                                  "; blocks must ascend for jumps to find them");
      seen.insert(b.Num);
      prev = std::max<int>(prev, b.Num);
    }
  }

  bool BlockExists(const ScenarioData& d, int16_t num) const {
    return std::any_of(d.BlockIndex.begin(), d.BlockIndex.end(), [num](const BlockIndexEntry& b) { return b.Num == num; });
  }

  void CheckRecord(const ScenarioData& d, const ScenarioRecord& r) {
    Text cmd = Trim(r.Cmd), text = Trim(r.Text);
    const int line = r.line;
    auto say = [&](const std::string& m) { Add("91.dat", line, m); };
    auto warn = [&](const std::string& m) { Warn("91.dat", line, m); };
    if (!cmd.empty()) {
      char16_t c = cmd[0];
      static const Text kLetters = u"gaspicteqrw";
      if (kLetters.find(c) == Text::npos) warn("unknown command \"" + Utf8(cmd) + "\"");
      bool jumps = cmd == u"g0" || c == u'c' || c == u'i';
      if (jumps && !BlockExists(d, r.Jump))
        say("\"" + Utf8(cmd) + "\" jumps to block " + std::to_string(r.Jump) + ", which does not exist");
      if (c == u'a' && cmd.size() < 2) warn("audio command without its variant");
      if (c == u's') CheckChoice(d, r, text);
      if ((c == u'c' || c == u'i' || (c == u'p' && cmd.size() >= 2 && cmd.back() == u'2')) && !Param(r.Param1))
        say("\"" + Utf8(cmd) + "\" needs a number in parameter 1, found \"" + Utf8(Trim(r.Param1)) + "\"");
      // An empty wait is one second.
      if (c == u'w' && !text.empty() && !Param(r.Text)) say("the wait needs a number of milliseconds, found \"" + Utf8(text) + "\"");
    }
    Text speaker = Trim(r.Speaker);
    if (!speaker.empty() && (speaker.size() != 1 || speaker[0] < u'0' || speaker[0] > u'9'))
      say("speaker \"" + Utf8(speaker) + "\" is not a number 0 to 9");
    Text bg = Trim(r.Bg);
    if (!bg.empty()) CheckBackground(line, bg, text);
    Text doll = Trim(r.Doll);
    Text anim = Trim(r.Anim);
    // With an expression the record's text is the line spoken, and the
    // sprite field only names whose face changes.
    if (!doll.empty() && anim.empty()) CheckDoll(line, doll, text);
    if (!anim.empty()) CheckFace(line, doll, anim);
    if (Trim(r.NameSubst) == u"1")
      for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == u'&' && (i + 1 >= text.size() || text[i + 1] < u'0' || text[i + 1] > u'5'))
          warn("\"&\" not followed by a digit 0 to 5 is shown as it stands");
  }

  static bool Param(const Text& t) {
    try {
      ToInt16(Trim(t));
      return true;
    } catch (const ConversionError&) {
      return false;
    }
  }

  void CheckChoice(const ScenarioData& d, const ScenarioRecord& r, const Text& text) {
    auto say = [&](const std::string& m) { Add("91.dat", r.line, m); };
    if (text != u"1" && text != u"2" && text != u"3") {
      say("a choice offers 1 to 3 answers, found \"" + Utf8(text) + "\"");
      return;
    }
    int count = text[0] - u'0';
    choicePoints_.insert(r.Num);
    auto first = std::find_if(d.ChoiceTable.begin(), d.ChoiceTable.end(), [&](const ChoiceRow& c) { return c.Sct == r.Num; });
    int found = 0;
    for (auto it = first; it != d.ChoiceTable.end() && it->Sct == r.Num && found < count; ++it) ++found;
    if (found < count)
      say("the choice asks for " + std::to_string(count) + " answers but \"92.dat\" has " + std::to_string(found) +
          " rows for block " + std::to_string(r.Num) + " standing together");
  }

  void CheckChoiceRows(const ScenarioData& d) {
    for (const ChoiceRow& row : d.ChoiceTable) {
      if (!row.resolved)
        Add("92.dat", row.line, "target block " + std::to_string(row.Target) + " does not exist");
      if (!choicePoints_.count(row.Sct))
        Warn("92.dat", row.line, "block " + std::to_string(row.Sct) + " has no choice command to use this row");
      if (Trim(row.ChoiceText).empty()) Warn("92.dat", row.line, "empty answer text");
    }
  }

  void CheckBackground(int line, const Text& bg, const Text& text) {
    int16_t n = 0;
    try {
      n = ToInt16(bg);
    } catch (const ConversionError&) {
      Add("91.dat", line, "background \"" + Utf8(bg) + "\" is not a number");
      return;
    }
    std::string digits = "0" + std::to_string(n);
    std::string file = "p" + digits.substr(digits.size() >= 2 ? digits.size() - 2 : 0) + ".dat";
    if (n < 0 || FileSize(Path(file)) < 0) Add("91.dat", line, "background " + std::to_string(n) + " needs " + file + ", which is missing");
    if (!kTransitions.count(Left(text, 2)))
      Warn("91.dat", line, "unknown transition \"" + Utf8(Left(text, 2)) + "\": the picture would appear without one");
  }

  void CheckDoll(int line, const Text& doll, const Text& text) {
    char16_t c = doll.front(), f = doll.back();
    if (c < u'1' || c > u'8' || f < u'0' || f > u'9') {
      Add("91.dat", line, "sprite \"" + Utf8(doll) + "\": the character is 1 to 8 and the picture 0 to 9");
      return;
    }
    if (f == u'0') {
      if (text != u"DH" && !kTransitions.count(text))
        Warn("91.dat", line, "unknown transition \"" + Utf8(text) + "\" for taking the sprite away");
      return;
    }
    if (text != u"L" && text != u"R" && text != u"C")
      Warn("91.dat", line, "sprite place \"" + Utf8(text) + "\" is none of L, R, C: the record changes nothing");
    std::string file = Utf8(Text{c, f}) + ".dat";
    if (FileSize(Path(file)) < 0) Add("91.dat", line, "sprite picture " + file + " is missing");
  }

  static int FaceHeight(int key) {
    static const std::map<int, int> heights = {{21, 108}, {22, 108}, {23, 108}, {31, 120}, {32, 120}, {41, 110},
                                               {42, 110}, {15, 85},  {17, 85},  {25, 80},  {26, 80},  {27, 80},
                                               {35, 90},  {36, 90},  {45, 85},  {46, 85}};
    auto it = heights.find(key);
    return it == heights.end() ? 120 : it->second;
  }

  void CheckFace(int line, const Text& doll, const Text& anim) {
    int16_t n = 0;
    try {
      n = ToInt16(anim);
    } catch (const ConversionError&) {
      n = -1;
    }
    if (n < 1 || n > 255) {
      Add("91.dat", line, "expression \"" + Utf8(anim) + "\" is not a number 1 to 255");
      return;
    }
    if (!doll.empty() && doll.front() >= u'1' && doll.front() <= u'8' && doll.back() == u'0') {
      Warn("91.dat", line, "face change of picture 0 (a character being taken away): the record changes no face");
      return;
    }
    if (doll.empty() || doll.front() < u'1' || doll.front() > u'8' || doll.back() < u'1' || doll.back() > u'9') {
      Add("91.dat", line, "a face change needs the sprite it changes in the sprite field");
      return;
    }
    int key = (doll.front() - u'0') * 10 + (doll.back() - u'0');
    int h = FaceHeight(key);
    if (sheetHeight_ < 0) sheetHeight_ = SheetHeight();
    if (sheetHeight_ > 0 && h * n > sheetHeight_)
      Add("91.dat", line, "expression " + std::to_string(n) + " lies below the face sheet (60.dat is " +
                              std::to_string(sheetHeight_) + " pixels high)");
  }

  // A record that runs without waiting, showing anything or changing a
  // counter, and where play can go from it (-1: on past the jump, which
  // a missing block makes it do).
  struct QuietStep {
    bool quiet = false;
    int32_t jump = -1;
    bool falls = false;
  };
  static QuietStep Quiet(const ScenarioData& d, const ScenarioRecord& r) {
    QuietStep q;
    const Text cmd = Trim(r.Cmd);
    if (!Trim(r.Bg).empty() || !Trim(r.Doll).empty() || !Trim(r.Anim).empty() || cmd.empty()) return q;
    auto target = [&](int16_t num) -> int32_t {
      for (const BlockIndexEntry& b : d.BlockIndex)
        if (b.Num == num) return b.Seq;
      return -1;
    };
    const char16_t c = cmd[0], v = cmd.back();
    const bool counter = [&] {
      const Text name = Left(Trim(r.Text), 3);
      return name == u"kou" || name == u"hap" || name == u"bad" || name == u"mak";
    }();
    switch (c) {
      case u'g':
        if (cmd == u"g4" || cmd == u"g9") return q;
        q.jump = cmd == u"g0" ? target(r.Jump) : -1;
        q.falls = q.jump < 0;
        break;
      case u'a':
        q.falls = true;
        break;
      case u'p':
        if (v == u'7' || v == u'8' || v == u'9' || ((v == u'0' || v == u'1' || v == u'2') && !counter)) q.falls = true;
        else return q;  // a counter changes, or a message is shown
        break;
      case u'i':
      case u'c':
        if (!(v == u'1' || v == u'2' || (c == u'c' && v == u'0'))) return q;
        q.jump = counter ? target(r.Jump) : -1;  // another name never jumps
        q.falls = true;
        break;
      default:
        return q;  // text, waits, menus, the ending
    }
    q.quiet = true;
    return q;
  }

  // What lets play out of a loop of quiet records: the branches on a
  // counter with one way inside and one outside, as "kou is 5 or more".
  static std::string LoopExits(const ScenarioData& d, const std::vector<QuietStep>& steps, const std::vector<int32_t>& part) {
    std::string exits;
    const std::set<int32_t> inside(part.begin(), part.end());
    for (int32_t i : part) {
      const QuietStep& q = steps[static_cast<size_t>(i)];
      const ScenarioRecord& r = d.ScenarioTable[static_cast<size_t>(i)];
      const Text cmd = Trim(r.Cmd);
      if (q.jump < 0 || (cmd[0] != u'c' && cmd[0] != u'i')) continue;
      const bool jumpLeaves = !inside.count(q.jump), fallLeaves = !inside.count(i + 1);
      if (jumpLeaves == fallLeaves) continue;
      // The jump's condition on the counter C against the number v.
      const char16_t v = cmd.back();
      enum { Above, AtLeast, Below, AtMost, Equal, Other } when =
          cmd[0] == u'i' ? (v == u'1' ? Equal : Other) : v == u'0' ? Above : v == u'1' ? AtLeast : Below;
      if (fallLeaves) {
        static const decltype(when) kNot[] = {AtMost, Below, AtLeast, Above, Other, Equal};
        when = kNot[when];
      }
      static const char* const kWords[] = {" is above ", " is ", " is below ", " is ", " is ", " is not "};
      static const char* const kAfter[] = {"", " or more", "", " or less", "", ""};
      if (!exits.empty()) exits += " or ";
      exits += Utf8(Left(Trim(r.Text), 3)) + kWords[when] + Utf8(Trim(r.Param1)) + kAfter[when];
    }
    return exits;
  }

  // Records that run in a circle without a wait, a text or a counter change
  // keep the same state every time round: once play enters, it never leaves.
  void CheckEndlessLoops(const ScenarioData& d) {
    const int32_t n = d.LastSeq;
    std::vector<QuietStep> steps(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) steps[static_cast<size_t>(i)] = Quiet(d, d.ScenarioTable[static_cast<size_t>(i)]);
    auto next = [&](int32_t i) {
      std::vector<int32_t> to;
      const QuietStep& q = steps[static_cast<size_t>(i)];
      if (!q.quiet) return to;
      if (q.jump >= 0 && q.jump < n && steps[static_cast<size_t>(q.jump)].quiet) to.push_back(q.jump);
      if (q.falls && i + 1 < n && steps[static_cast<size_t>(i + 1)].quiet) to.push_back(i + 1);
      return to;
    };
    // Strongly connected parts of the quiet records (Tarjan).
    std::vector<int32_t> index(static_cast<size_t>(n), -1), low(static_cast<size_t>(n), 0), stack;
    std::vector<bool> onStack(static_cast<size_t>(n), false);
    int32_t counter = 0;
    std::function<void(int32_t)> visit = [&](int32_t v) {
      const size_t sv = static_cast<size_t>(v);
      index[sv] = low[sv] = counter++;
      stack.push_back(v);
      onStack[sv] = true;
      bool selfLoop = false;
      for (int32_t w : next(v)) {
        const size_t sw = static_cast<size_t>(w);
        if (w == v) selfLoop = true;
        if (index[sw] < 0) {
          visit(w);
          low[sv] = std::min(low[sv], low[sw]);
        } else if (onStack[sw]) {
          low[sv] = std::min(low[sv], index[sw]);
        }
      }
      if (low[sv] != index[sv]) return;
      std::vector<int32_t> part;
      int32_t w;
      do {
        w = stack.back();
        stack.pop_back();
        onStack[static_cast<size_t>(w)] = false;
        part.push_back(w);
      } while (w != v);
      if (part.size() < 2 && !selfLoop) return;
      const int32_t first = *std::min_element(part.begin(), part.end());
      const ScenarioRecord& r = d.ScenarioTable[static_cast<size_t>(first)];
      const std::string exits = LoopExits(d, steps, part);
      const std::string what = "block " + std::to_string(r.Num) + " loops without a wait, a text or a counter change";
      if (exits.empty()) Add("91.dat", r.line, what + ": play would never leave it");
      else Warn("91.dat", r.line, what + ": play may never leave it, it leaves only when " + exits);
    };
    for (int32_t i = 0; i < n; ++i)
      if (steps[static_cast<size_t>(i)].quiet && index[static_cast<size_t>(i)] < 0) visit(i);
  }

  // The ending turns the photo frame into surfaces three times its size and
  // squares of one and a half times its width; it refuses one too big.
  void CheckPhotoFrame() {
    auto bytes = ReadFile(Path("64.dat"));
    if (!bytes || bytes->size() < 26) return;  // reported above
    const Bytes& b = *bytes;
    auto u16 = [&](size_t at) { return static_cast<long long>(b[at] | (b[at + 1] << 8)); };
    auto i32 = [&](size_t at) {
      return static_cast<long long>(
          static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24)));
    };
    const bool core = u16(14) == 12;  // the old 12-byte header has 16-bit sizes
    const long long w = core ? u16(18) : i32(18), h = core ? u16(20) : std::llabs(i32(22));
    if (!extras::PhotoFrameFits(w, h))
      Add("64.dat", 0, "the photo frame, " + std::to_string(w) + " x " + std::to_string(h) +
                           " pixels, is too big for the ending's photo pile (surfaces of more than " +
                           std::to_string(extras::kMaxPhotoSurfacePixels) + " pixels); the ending refuses it");
  }

  int SheetHeight() {
    auto bytes = ReadFile(Path("60.dat"));
    if (!bytes || bytes->size() < 26) return 0;
    Bytes b = *bytes;
    b[0] = 'B';
    b[1] = 'M';
    int32_t h = static_cast<int32_t>(b[22] | (b[23] << 8) | (b[24] << 16) | (static_cast<uint32_t>(b[25]) << 24));
    return h < 0 ? -h : h;
  }

  // Rows a message takes, counting each name at the longest a player may type.
  static size_t Rows(const ScenarioRecord& r) {
    Text t = Trim(r.Text);
    bool names = Trim(r.NameSubst) == u"1";
    size_t n = 0;
    for (size_t i = 0; i < t.size(); ++i) {
      if (names && t[i] == u'&' && i + 1 < t.size() && t[i + 1] >= u'0' && t[i + 1] <= u'5') {
        n += kLongestName;
        ++i;
      } else {
        ++n;
      }
    }
    return n == 0 ? 0 : (n + kRowChars - 1) / kRowChars;
  }

  // Walks straight runs of text lines the way the window fills: a speaker
  // change starts a page with its tag row, four rows make a page. Anything
  // else (a command, a picture, a block others jump to) starts afresh,
  // so only certain overflows are reported.
  void CheckOverflow(const ScenarioData& d) {
    std::set<int32_t> blockStarts;
    for (const BlockIndexEntry& b : d.BlockIndex) blockStarts.insert(b.Seq);
    int row = 0, speaker = -1;
    for (int32_t i = 0; i < d.LastSeq; ++i) {
      const ScenarioRecord& r = d.ScenarioTable[static_cast<size_t>(i)];
      bool plain = Trim(r.Cmd).empty() && Trim(r.Bg).empty() && Trim(r.Doll).empty();
      if (!plain || blockStarts.count(i)) {
        row = 0;
        speaker = -1;
      }
      if (!plain || Trim(r.Text).empty()) continue;
      int sp = Trim(r.Speaker).empty() ? 0 : Trim(r.Speaker)[0] - u'0';
      if (sp != speaker) {
        speaker = sp;
        row = 1;
      }
      size_t rows = Rows(r);
      if (row + static_cast<int>(rows) > 4)
        Warn("91.dat", r.line, "the message runs past the window's last row (" + std::to_string(rows) +
                                  " rows from row " + std::to_string(row) + ")");
      row += static_cast<int>(rows);
      if (row >= 4) {
        row = 0;
        speaker = -1;
      }
    }
  }

  std::string dir_;
  qt::QtImageCodec codec_;
  std::vector<Finding> findings_;
  std::set<int16_t> choicePoints_;
  int sheetHeight_ = -1;
};

}  // namespace

std::vector<Finding> CheckDataFolder(const std::string& dir) { return Checker(dir).Run(); }

}  // namespace mirel::tool
