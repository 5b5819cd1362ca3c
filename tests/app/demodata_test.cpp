// The demo data folder made by make-demo-data: every file the game needs,
// in the form the game expects, and a story that plays through to each of
// its three endings without breaking the message window.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "demo/DemoData.h"
#include "extras/Credits.h"
#include "demo/Story.h"
#include "platform/Cp932.h"
#include "platform/Image.h"
#include "scenario/ScenarioData.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

using test::TempDir;

// The image file table as the game lists it.
std::vector<std::string> ImageTable() {
  std::vector<std::string> n = {"11", "12", "13", "15", "17", "21", "22", "23", "25", "26", "27", "31",
                                "32", "35", "36", "41", "42", "45", "46", "51", "55", "62", "63"};
  for (int i = 3; i <= 14; ++i) n.push_back(i < 10 ? "p0" + std::to_string(i) : "p" + std::to_string(i));
  for (int i = 51; i <= 67; ++i) n.push_back("p" + std::to_string(i));
  for (const char* s : {"60", "64", "p01", "p02", "p91", "p92"}) n.push_back(s);
  for (auto& s : n) s += ".dat";
  return n;
}

class DemoData : public ::testing::Test {
 protected:
  // The folder is made once and kept until the program ends.
  static void SetUpTestSuite() {
    if (dir) return;
    dir = std::make_unique<TempDir>();
    demo::MakeDemoData(dir->path(), MIREL_DEMO_STORY_DIR);
    for (const auto& e : std::filesystem::directory_iterator(dir->path()))
      files[e.path().filename().string()] = ReadBytes(e.path().string());
  }
  static std::string ReadBytes(const std::string& path) { return test::ReadBytes(path); }
  static const std::string& File(const std::string& name) {
    static const std::string none;
    auto it = files.find(name);
    return it == files.end() ? none : it->second;
  }
  // A picture file with its readable first two bytes given back.
  static Bytes Restored(const std::string& name) {
    std::string s = File(name);
    Bytes b(s.begin(), s.end());
    if (b.size() >= 2) {
      bool jpeg = name[0] == 'p';
      b[0] = jpeg ? 0xFF : 'B';
      b[1] = jpeg ? 0xD8 : 'M';
    }
    return b;
  }
  static Image Bitmap(const std::string& name, bool stored = true) {
    Image img;
    std::string s = File(name);
    Bytes b = stored ? Restored(name) : Bytes(s.begin(), s.end());
    EXPECT_TRUE(BmpCodec().Decode(b, img)) << name;
    return img;
  }
  static std::unique_ptr<TempDir> dir;
  static std::map<std::string, std::string> files;
};
std::unique_ptr<TempDir> DemoData::dir;
std::map<std::string, std::string> DemoData::files;

// Walks the JPEG segments; returns the frame size, or {0, 0} when the
// stream is not a complete baseline or progressive JPEG.
std::pair<int, int> JpegSize(const Bytes& b) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return {0, 0};
  size_t i = 2;
  std::pair<int, int> size{0, 0};
  bool tables = false, scan = false;
  while (i + 2 <= b.size()) {
    if (b[i] != 0xFF) return {0, 0};
    uint8_t m = b[i + 1];
    if (m == 0xD9) return i + 2 == b.size() && tables && scan ? size : std::pair<int, int>{0, 0};
    if (i + 4 > b.size()) break;
    size_t len = (b[i + 2] << 8) | b[i + 3];
    if (m == 0xC0 || m == 0xC2) size = {(b[i + 7] << 8) | b[i + 8], (b[i + 5] << 8) | b[i + 6]};
    if (m == 0xDB) tables = true;
    i += 2 + len;
    if (m == 0xDA) {
      scan = true;
      // Entropy-coded data runs to the next marker that is not a stuffed
      // byte or a restart marker.
      while (i + 1 < b.size() && !(b[i] == 0xFF && b[i + 1] != 0 && (b[i + 1] < 0xD0 || b[i + 1] > 0xD7))) ++i;
    }
  }
  return {0, 0};
}

TEST_F(DemoData, StaffRollNamesAreShiftJisLinesOfTheProject) {
  extras::CreditsContent c = extras::ReadCredits(dir->path() + "staff.txt");
  EXPECT_EQ(c.scenario, u"MIREL 物語班");
  EXPECT_EQ(c.music, u"MIREL 音楽ツール");
  EXPECT_EQ(c.maker, u"MIREL 制作班");
  EXPECT_EQ(c.year, u"2026");
  EXPECT_NE(File("staff.txt").find("\r\n"), std::string::npos);
}

TEST_F(DemoData, EveryImageFileIsStoredAndDecodesOnceRestored) {
  for (const std::string& name : ImageTable()) {
    SCOPED_TRACE(name);
    const std::string& s = File(name);
    ASSERT_GT(s.size(), 2u) << "missing or empty";
    EXPECT_EQ(s[0], 'J');
    EXPECT_EQ(s[1], 'F');
    if (name[0] == 'p') {
      auto [w, h] = JpegSize(Restored(name));
      EXPECT_EQ(w, 640);
      EXPECT_EQ(h, name == "p51.dat" ? 930 : 480);
    } else {
      Image img = Bitmap(name);
      EXPECT_GT(img.width, 0);
    }
  }
}

TEST_F(DemoData, PlainPicturesAreBitmapsOutsideTheTable) {
  for (const char* name : {"P98.dat", "P99.dat", "61.dat"}) {
    SCOPED_TRACE(name);
    ASSERT_GE(File(name).size(), 2u);
    EXPECT_EQ(File(name).substr(0, 2), "BM");
    Image img = Bitmap(name, false);
    if (std::string(name) != "61.dat") {
      EXPECT_EQ(img.width, 640);
      EXPECT_EQ(img.height, 480);
    }
  }
}

// The start-up picture stands under the "Loading now" strip (224, 292,
// 200x30) while the story loads: nothing but its plain backdrop may be there.
TEST_F(DemoData, NothingOfTheStartupPictureHidesUnderTheLoadingStrip) {
  Image img = Bitmap("P99.dat", false);
  ASSERT_EQ(img.width, 640);
  for (int y = 292; y < 322; ++y)
    for (int x = 224; x < 424; ++x) ASSERT_EQ(img.At(x, y), img.At(0, y)) << x << "," << y;
}

TEST_F(DemoData, TextureAtlasHoldsFrameTabAndButtons) {
  Image t = Bitmap("61.dat", false);
  ASSERT_GE(t.width, 179 + 166);
  ASSERT_GE(t.height, 148 + 150 + 38);
  EXPECT_NE(t.At(24, 24), 0u) << "fill colour";
  // The frame ring: the outer four pixels of every tile are drawn.
  for (int d = 0; d < 4; ++d) {
    EXPECT_NE(t.At(20, d), 0u);
    EXPECT_NE(t.At(d, 20), 0u);
    EXPECT_NE(t.At(47 - d, 20), 0u);
    EXPECT_NE(t.At(20, 47 - d), 0u);
  }
  // The date tab has see-through (black) corners and a drawn body.
  EXPECT_EQ(t.At(48, 26), 0u);
  EXPECT_NE(t.At(48 + 60, 26 + 15), 0u);
  auto differs = [&](int ax, int ay, int bx, int by, int w, int h, int least) {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) n += t.At(ax + x, ay + y) != t.At(bx + x, by + y);
    return n >= least;
  };
  for (int i = 0; i < 4; ++i) {
    EXPECT_NE(t.At(4 + 83, 148 + 50 * i + 2), 0u) << "button " << i;
    EXPECT_TRUE(differs(4, 148 + 50 * i, 179, 148 + 50 * i, 166, 38, 166 * 38 / 2)) << "highlight of button " << i;
    if (i > 0) {
      EXPECT_TRUE(differs(4, 148, 4, 148 + 50 * i, 166, 38, 40)) << "label of button " << i;
    }
  }
  EXPECT_TRUE(differs(3, 53, 3, 93, 95, 30, 95 * 30 / 2)) << "gallery button and its pressed face";
}

TEST_F(DemoData, GallerySheetsShowEveryEntry) {
  Image normal = Bitmap("63.dat"), lit = Bitmap("62.dat");
  ASSERT_EQ(normal.width, 480);
  ASSERT_EQ(normal.height, 216);
  ASSERT_EQ(lit.width, 480);
  ASSERT_EQ(lit.height, 216);
  for (int n = 0; n < 15; ++n) {
    int x0 = n % 5 * 96, y0 = n / 5 * 72;
    std::set<uint32_t> colours;
    int changed = 0;
    for (int y = 0; y < 72; ++y)
      for (int x = 0; x < 96; ++x) {
        colours.insert(normal.At(x0 + x, y0 + y));
        changed += normal.At(x0 + x, y0 + y) != lit.At(x0 + x, y0 + y);
      }
    EXPECT_GT(colours.size(), 50u) << "entry " << n + 1 << " holds a picture";
    EXPECT_GT(changed, 96 * 72 / 2) << "entry " << n + 1 << " is highlighted";
  }
}

TEST_F(DemoData, PhotoFrameHasRoomForThePhoto) {
  Image f = Bitmap("64.dat");
  EXPECT_GE(f.width, 8 + 213);
  EXPECT_GE(f.height, 7 + 160);
  EXPECT_NE(f.At(2, 2), 0u) << "the frame itself must not be see-through";
}

struct Box {
  int keys[3];
  int x1, y1, w, h, column;
};
// The engine's face table: boxes on the sprites and columns of the sheet.
const Box kFaceBoxes[] = {
    {{11}, 130, 90, 135, 120, 0},          {{12}, 130, 90, 135, 120, 135},      {{13}, 130, 90, 135, 120, 270},
    {{21, 22, 23}, 115, 100, 145, 108, 405}, {{31, 32}, 120, 100, 140, 120, 550}, {{41, 42}, 125, 100, 140, 110, 690},
    {{15}, 65, 75, 105, 85, 830},          {{17}, 65, 75, 105, 85, 1040},       {{25, 26, 27}, 55, 80, 110, 80, 1145},
    {{35, 36}, 95, 75, 105, 90, 1255},     {{45, 46}, 95, 75, 105, 85, 1360},
};

TEST_F(DemoData, SpritesAreFiguresOnBlackWithTheirFaceInTheBox) {
  for (const Box& b : kFaceBoxes)
    for (int key : b.keys) {
      if (!key) continue;
      SCOPED_TRACE(key);
      Image s = Bitmap(std::to_string(key) + ".dat");
      ASSERT_GE(s.width, b.x1 + b.w);
      ASSERT_GE(s.height, b.y1 + b.h);
      EXPECT_LE(s.height, 480);
      EXPECT_EQ(s.At(0, 0), 0u) << "the background is black";
      EXPECT_NE(s.At(b.x1 + b.w / 2, b.y1 + b.h / 2), 0u) << "the face fills its box";
    }
}

TEST_F(DemoData, CalmFaceOnTheSheetMatchesEverySpriteOfItsBox) {
  // A face change lays the sheet's face over the sprite; the first
  // expression must give back the sprite's own face, whichever picture of
  // the box's keys stands there.
  Image sheet = Bitmap("60.dat");
  for (const Box& b : kFaceBoxes)
    for (int key : b.keys) {
      if (!key) continue;
      Image s = Bitmap(std::to_string(key) + ".dat");
      int drawn = 0, differ = 0;
      for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x) {
          uint32_t face = sheet.At(b.column + x, y);
          if (!face) continue;
          ++drawn;
          differ += face != s.At(b.x1 + x, b.y1 + y);
        }
      EXPECT_GT(drawn, b.w * b.h / 3) << key;
      EXPECT_EQ(differ, 0) << key;
    }
}

// ---- the story, read back through the engine's loader ----

struct Story {
  ScenarioData data;
  std::vector<ScenarioRecord> recs;  // 0..LastSeq
  std::map<int, int> blockStart;
  std::string Field(const Text& t) const { return Utf8(Trim(t)); }
};

class DemoStory : public DemoData {
 protected:
  static void SetUpTestSuite() {
    DemoData::SetUpTestSuite();
    story = std::make_unique<Story>();
    LoadScenarioTexts(Complement(File("91.dat")), Complement(File("92.dat")), story->data, [](int) {});
    for (int32_t i = 0; i <= story->data.LastSeq; ++i) story->recs.push_back(story->data.ScenarioTable[i]);
    for (int32_t k = 0; k < story->data.BlockCount; ++k)
      story->blockStart[story->data.BlockIndex[k].Num] = story->data.BlockIndex[k].Seq;
  }
  void SetUp() override {
    if (story->recs.empty()) GTEST_SKIP() << "the scenario loader read no records";
  }
  static std::unique_ptr<Story> story;
};
std::unique_ptr<Story> DemoStory::story;

TEST_F(DemoStory, LoadsWithAscendingBlocksAndResolvedTargets) {
  const ScenarioData& d = story->data;
  EXPECT_GT(d.LastSeq, 100);
  for (int32_t k = 1; k < d.BlockCount; ++k) EXPECT_LT(d.BlockIndex[k - 1].Num, d.BlockIndex[k].Num);
  // Each block's records stand in one run.
  std::set<int> seen;
  for (size_t i = 0; i < story->recs.size(); ++i)
    if (i == 0 || story->recs[i].Num != story->recs[i - 1].Num) {
      EXPECT_TRUE(seen.insert(story->recs[i].Num).second) << "block " << story->recs[i].Num;
    }
  for (const ScenarioRecord& r : story->recs) {
    std::string cmd = story->Field(r.Cmd);
    if (cmd == "g0" || (!cmd.empty() && (cmd[0] == 'c' || cmd[0] == 'i'))) {
      EXPECT_TRUE(story->blockStart.count(r.Jump)) << "record line " << r.line << " jumps to " << r.Jump;
    }
    if (cmd == "s") {
      int n = std::stoi(story->Field(r.Text));
      EXPECT_GE(n, 1);
      EXPECT_LE(n, 3);
      int rows = 0, first = -1;
      for (int32_t k = 0; k <= d.LastSct; ++k)
        if (d.ChoiceTable[k].Sct == r.Num) {
          if (first < 0) first = k;
          EXPECT_EQ(k, first + rows) << "rows of choice point " << r.Num << " stand together";
          ++rows;
        }
      EXPECT_EQ(rows, n) << "choice point " << r.Num;
    }
    std::string spk = story->Field(r.Speaker);
    EXPECT_TRUE(spk.empty() || (spk.size() == 1 && spk[0] >= '0' && spk[0] <= '9'));
  }
  ASSERT_GE(d.LastSct, 0);
  for (int32_t k = 0; k <= d.LastSct; ++k) {
    const ChoiceRow& row = d.ChoiceTable[k];
    ASSERT_TRUE(row.Target >= 0 && row.Target <= d.LastSeq) << "choice row " << k;
    const ScenarioRecord& target = story->recs[row.Target];
    EXPECT_EQ(story->blockStart.at(target.Num), row.Target) << "a choice lands on the first record of its block";
  }
}

TEST_F(DemoStory, PrologueLeadsToTheTitleAtRecordTen) {
  ASSERT_GT(story->recs.size(), 11u);
  EXPECT_EQ(story->Field(story->recs[10].Cmd), "g9");
  int texts = 0;
  for (int i = 0; i < 10; ++i) {
    EXPECT_NE(story->Field(story->recs[i].Cmd), "g9");
    texts += !story->Field(story->recs[i].Text).empty() && story->Field(story->recs[i].Cmd).empty() &&
             story->Field(story->recs[i].Bg).empty();
  }
  EXPECT_GE(texts, 2);
  // The new game starts with a save point.
  EXPECT_EQ(story->Field(story->recs[11].Cmd), "p8");
}

TEST_F(DemoStory, UsesEveryCommandTransitionAndPosition) {
  std::set<std::string> cmds, codes, positions, removals, anims;
  std::set<int> bgs;
  bool names1 = false, names2 = false, endAdd1 = false, endAdd2 = false, longLine = false;
  std::set<int> speakers;
  for (const ScenarioRecord& r : story->recs) {
    std::string cmd = story->Field(r.Cmd), text = story->Field(r.Text), bg = story->Field(r.Bg);
    std::string doll = story->Field(r.Doll);
    if (!cmd.empty()) cmds.insert(cmd);
    if (!bg.empty()) {
      bgs.insert(std::stoi(bg));
      codes.insert(text.substr(0, 2));
    }
    if (!doll.empty()) {
      if (doll.back() == '0') removals.insert(text);
      else if (story->Field(r.Anim).empty()) positions.insert(text);
    }
    if (!story->Field(r.Anim).empty()) anims.insert(story->Field(r.Anim));
    if (story->Field(r.NameSubst) == "1") {
      names1 |= text.find("&1") != std::string::npos;
      names2 |= text.find("&2") != std::string::npos;
    }
    if (cmd == "p2" && text == "end") (std::stoi(story->Field(r.Param1)) == 1 ? endAdd1 : endAdd2) = true;
    if (cmd.empty() && bg.empty() && doll.empty()) {
      longLine |= Trim(r.Text).size() > 60;
      if (!text.empty()) speakers.insert(story->Field(r.Speaker).empty() ? 0 : std::stoi(story->Field(r.Speaker)));
    }
  }
  for (const char* c : {"g0", "g4", "g9", "s", "p0", "p1", "p2", "p8", "p9", "c0", "c1", "c2", "i1", "i2", "t0", "ts",
                        "tp", "w", "r", "e", "q", "a0", "aJ", "aK"})
    EXPECT_TRUE(cmds.count(c)) << c;
  for (char d = '1'; d <= '9'; ++d) EXPECT_TRUE(cmds.count(std::string("a") + d)) << "sound " << d;
  int music = 0;
  for (const std::string& c : cmds)
    music += c.size() == 2 && c[0] == 'a' && std::isalpha(static_cast<unsigned char>(c[1])) && c != "aJ" && c != "aK";
  EXPECT_GE(music, 3);
  for (const char* code : {"DI", "VB", "HB", "HC", "BC", "IC", "DK", "MS", "BI", "SP", "SO", "MC", "MO", "MI"})
    EXPECT_TRUE(codes.count(code)) << code;
  for (int n = 51; n <= 67; ++n) EXPECT_TRUE(bgs.count(n)) << "background " << n;
  for (const char* p : {"L", "R", "C"}) EXPECT_TRUE(positions.count(p)) << p;
  EXPECT_TRUE(removals.count("DH"));
  EXPECT_TRUE(std::any_of(removals.begin(), removals.end(), [](const std::string& s) { return s != "DH"; }));
  EXPECT_GE(anims.size(), 3u);
  EXPECT_TRUE(names1 && names2);
  EXPECT_TRUE(endAdd1 && endAdd2);
  EXPECT_TRUE(longLine);
  for (int s = 0; s <= 9; ++s) EXPECT_TRUE(speakers.count(s)) << "speaker " << s;
}

TEST_F(DemoStory, EveryPictureAndSpriteItNamesExists) {
  int maxAnim = 0;
  for (const ScenarioRecord& r : story->recs) {
    std::string bg = story->Field(r.Bg), doll = story->Field(r.Doll);
    if (!bg.empty()) {
      std::string n = "0" + std::to_string(std::stoi(bg));
      EXPECT_FALSE(File("p" + n.substr(n.size() - 2) + ".dat").empty()) << "background " << bg;
    }
    if (!doll.empty() && doll.back() != '0') {
      EXPECT_FALSE(File(std::string(1, doll.front()) + doll.back() + ".dat").empty()) << "sprite " << doll;
    }
    if (!story->Field(r.Anim).empty()) maxAnim = std::max(maxAnim, std::stoi(story->Field(r.Anim)));
  }
  // Every expression used lies on the face sheet, in every column.
  Image sheet = Bitmap("60.dat");
  EXPECT_GE(sheet.width, 1465);
  for (const Box& b : kFaceBoxes) {
    ASSERT_GE(sheet.height, b.h * maxAnim) << "column " << b.column;
    for (int r = 1; r <= maxAnim; ++r)
      EXPECT_NE(sheet.At(b.column + b.w / 2, (r - 1) * b.h + b.h / 2), 0u) << "column " << b.column << " expression " << r;
  }
}

// A model of play over the loaded tables: follows jumps, choices and
// counters, and lays out the message window as the renderer does.
struct Play {
  Play(const Story& story, Text family, Text given) : s(story), names{u"", family, given, u"", u"", u""} {}
  const Story& s;
  std::array<Text, 6> names;
  std::map<std::string, int> counters{{"kou", 0}, {"hap", 0}, {"bad", 0}, {"mak", 0}};
  int endPoints = -1, endAdd = 0;
  std::vector<std::string> problems;

  void Problem(const ScenarioRecord& r, const std::string& what) {
    problems.push_back("line " + std::to_string(r.line) + ": " + what);
  }

  // Runs a new game from the title; `picks` answers the choices in turn.
  // Returns false when the picks run out before the end.
  bool Run(std::vector<int> picks) {
    size_t cur = 11, pick = 0;
    int line = 0, last = -1;
    bool hidden = true, caption = false;
    int big = 0;
    std::map<int, int> pose;  // character -> picture shown
    for (int steps = 0; cur + 1 < s.recs.size() && steps < 5000; ++steps) {
      const ScenarioRecord& r = s.recs[cur];
      std::string cmd = s.Field(r.Cmd), bg = s.Field(r.Bg), doll = s.Field(r.Doll), anim = s.Field(r.Anim);
      Text text = Trim(r.Text);
      if (s.Field(r.NameSubst) == "1") {
        for (size_t p = text.find(u'&'); p != Text::npos; p = text.find(u'&', p)) {
          Text name = names.at(text.at(p + 1) - u'0');
          text = text.substr(0, p) + name + text.substr(p + 2);
          p += name.size();
        }
      }
      int speaker = s.Field(r.Speaker).empty() ? 0 : std::stoi(s.Field(r.Speaker));
      bool show = true;
      if (!bg.empty()) {
        hidden = true, line = 0, last = -1, show = false;
        pose.clear();
      }
      if (!doll.empty()) {
        int c = doll.front() - '0', f = doll.back() - '0';
        show = false;
        std::string pos = Utf8(text);
        if (f == 0) {
          if (pose.erase(c)) hidden = true;
        } else if (pos == "L" || pos == "R" || pos == "C") {
          pose[c] = f;
          hidden = true;
        }
      }
      if (!anim.empty()) {
        int c = doll.empty() ? -1 : doll.front() - '0', f = doll.empty() ? -1 : doll.back() - '0';
        if (!pose.count(c) || pose[c] != f) Problem(r, "face change of a sprite that is not shown");
        show = true;
      }
      std::string name3 = Utf8(Left(text, 3));
      if (cmd == "g0") {
        cur = s.blockStart.at(r.Jump);
        continue;
      } else if (cmd == "s") {
        if (hidden) Problem(r, "choice on a hidden message window");
        if (pick == picks.size()) return false;
        int base = -1;
        for (int32_t k = 0; k <= s.data.LastSct; ++k)
          if (s.data.ChoiceTable[k].Sct == r.Num) {
            base = k;
            break;
          }
        cur = s.data.ChoiceTable[base + picks[pick++]].Target;
        line = 0, last = 0;
        continue;
      } else if (!cmd.empty() && (cmd[0] == 'c' || cmd[0] == 'i')) {
        int v = std::stoi(s.Field(r.Param1)), c = counters.at(name3);
        bool jump = cmd == "c0" ? v < c : cmd == "c1" ? v <= c : cmd == "c2" ? v > c : cmd == "i1" ? v == c : v != c;
        if (jump) {
          cur = s.blockStart.at(r.Jump);
          continue;
        }
        show = false;
      } else if (!cmd.empty() && cmd[0] == 'p') {
        if (name3 == "end") {
          if (cmd == "p2") endAdd += std::stoi(s.Field(r.Param1));
        } else if (cmd == "p0" || cmd == "p1" || cmd == "p2") {
          int& c = counters.at(name3);
          c += cmd == "p0" ? -1 : cmd == "p1" ? 1 : std::stoi(s.Field(r.Param1));
          if (c < 0) Problem(r, "a counter below 0 cannot be saved");
        }
        show = false;
      } else if (cmd == "e") {
        endPoints = endAdd;
        hidden = true;
      } else if (cmd == "q") {
        return true;
      } else if (cmd == "r") {
        line = 0, last = -1;
      } else if (cmd == "ts" || cmd == "tp") {
        line = 0, last = -1;
        big = cmd == "ts" ? std::stoi(s.Field(r.Param1)) : 0;
        caption = cmd == "tp";
      } else if (!cmd.empty() && cmd != "t0") {
        show = false;
      }
      if (show && !text.empty()) {
        if (caption) {
          caption = false, hidden = true;
          if (text.size() > 20) Problem(r, "caption too wide");
        } else {
          if (hidden) hidden = false, last = -1;
          if (speaker != last) line = 1, last = speaker;
          int rows = static_cast<int>((text.size() + 29) / 30);
          int top = line;
          line += rows - 1 + (big > 12 ? 1 : 0);
          if (big && text.size() * (big + 5) + 30 > 560) Problem(r, "large text too wide");
          if (line > 3) Problem(r, "rows " + std::to_string(top) + " to " + std::to_string(line) + " overflow the window");
          big = 0;
          if (++line == 4) line = 0, last = -1;
        }
      }
      ++cur;
    }
    return false;
  }
};

std::vector<std::vector<int>> AllPicks(const Story& s) {
  std::vector<int> sizes;
  for (const ScenarioRecord& r : s.recs)
    if (s.Field(r.Cmd) == "s") sizes.push_back(std::stoi(s.Field(r.Text)));
  std::vector<std::vector<int>> all = {{}};
  for (int n : sizes) {
    std::vector<std::vector<int>> next;
    for (const auto& p : all)
      for (int i = 0; i < n; ++i) {
        next.push_back(p);
        next.back().push_back(i);
      }
    all = next;
  }
  return all;
}

TEST_F(DemoStory, EveryRouteEndsCleanlyAndAllThreeEndingsAreReachable) {
  // The names of "90.dat", and the longest names the name entry accepts.
  Text config = *DecodeCp932(File("90.dat"));
  Text family = config.substr(0, config.find(u"\r\n"));
  Text rest = config.substr(family.size() + 2);
  Text given = rest.substr(0, rest.find(u"\r\n"));
  std::set<int> endings;
  for (const auto& picks : AllPicks(*story))
    for (const auto& [f, g] : {std::pair<Text, Text>{family, given}, {u"", u"ああああああ"}, {u"あああ", u"いいい"}}) {
      Play p(*story, f, g);
      ASSERT_TRUE(p.Run(picks)) << "a route does not reach the end";
      EXPECT_TRUE(p.problems.empty()) << p.problems.front();
      EXPECT_GE(p.endPoints, 0);
      EXPECT_LE(p.endPoints, 2);
      endings.insert(p.endPoints);
    }
  EXPECT_EQ(endings, (std::set<int>{0, 1, 2}));
}

TEST_F(DemoStory, TheDocumentedRoutesReachTheirEndings) {
  // Always the first answer: the lighthouse with Mio. Always the second:
  // the festival with Chihiro. Napping and staying in bed: the plain one.
  struct Route {
    std::vector<int> picks;
    int ending;
  } routes[] = {{{0, 0, 0, 0}, 1}, {{1, 1, 1, 1}, 2}, {{2, 0, 2, 0}, 0}, {{2, 1, 2, 1}, 0}};
  for (const Route& route : routes) {
    Play p(*story, u"水野", u"晴");
    ASSERT_TRUE(p.Run(route.picks));
    EXPECT_EQ(p.endPoints, route.ending);
  }
}

// ---- "90.dat" and the music ----

std::vector<Text> ConfigLines(const std::string& bytes) {
  Text t = *DecodeCp932(bytes);
  std::vector<Text> lines;
  for (size_t at = 0; at < t.size();) {
    size_t end = t.find(u"\r\n", at);
    if (end == Text::npos) {
      lines.push_back(t.substr(at));
      break;
    }
    lines.push_back(t.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

TEST_F(DemoData, ConfigHasNamesUnseenGalleryAndExistingMusic) {
  const std::string& raw = File("90.dat");
  ASSERT_TRUE(DecodeCp932(raw).has_value());
  std::vector<Text> lines = ConfigLines(raw);
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
  EXPECT_FALSE(lines[0].empty());
  EXPECT_FALSE(lines[1].empty());
  EXPECT_LE(lines[0].size() + 1 + lines[1].size(), 7u) << "the name entry could not hold the default name";
  ASSERT_GE(lines[5].size(), 33u);
  for (int k = 0; k < 19; ++k) {
    int digit = (k + 2) % 10;
    EXPECT_EQ(lines[5][14 + k], char16_t(u'0' + (digit ? digit : 1))) << "flag " << k;
  }
  int songs = 0;
  for (int k = 6; k < 24; ++k) {
    if (lines[k].empty()) continue;
    EXPECT_FALSE(File(Utf8(lines[k])).empty()) << Utf8(lines[k]);
    songs += k < 15;
  }
  EXPECT_GE(songs, 4);
  EXPECT_FALSE(lines[6].empty()) << "music 1 plays on the title screen";
}

struct MidiInfo {
  int format = -1, tracks = 0, parsedTracks = 0;
  double seconds = 0;
  int notes = 0;
  bool ok = false;
};

MidiInfo ParseMidi(const std::string& f) {
  MidiInfo info;
  auto u32 = [&](size_t i) { return uint32_t(uint8_t(f[i])) << 24 | uint8_t(f[i + 1]) << 16 | uint8_t(f[i + 2]) << 8 | uint8_t(f[i + 3]); };
  auto u16 = [&](size_t i) { return uint8_t(f[i]) << 8 | uint8_t(f[i + 1]); };
  if (f.size() < 14 || f.compare(0, 4, "MThd") != 0 || u32(4) != 6) return info;
  info.format = u16(8);
  info.tracks = u16(10);
  int division = u16(12);
  std::map<uint32_t, uint32_t> tempo{{0, 500000}};
  uint32_t lastTick = 0;
  size_t at = 14;
  while (at + 8 <= f.size()) {
    if (f.compare(at, 4, "MTrk") != 0) return info;
    size_t end = at + 8 + u32(at + 4);
    if (end > f.size()) return info;
    size_t i = at + 8;
    uint32_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    auto varlen = [&]() {
      uint32_t v = 0;
      for (int n = 0; n < 4 && i < end; ++n) {
        uint8_t b = f[i++];
        v = v << 7 | (b & 0x7F);
        if (!(b & 0x80)) break;
      }
      return v;
    };
    while (i < end && !ended) {
      tick += varlen();
      uint8_t b = f[i];
      if (b & 0x80) status = b, ++i;
      if (status == 0xFF) {
        uint8_t type = f[i++];
        uint32_t len = varlen();
        if (type == 0x51 && len == 3) tempo[tick] = uint8_t(f[i]) << 16 | uint8_t(f[i + 1]) << 8 | uint8_t(f[i + 2]);
        ended = type == 0x2F;
        i += len;
      } else if (status == 0xF0 || status == 0xF7) {
        i += varlen();
      } else {
        int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if ((status & 0xF0) == 0x90 && data == 2 && uint8_t(f[i + 1]) > 0) ++info.notes;
        i += data;
      }
    }
    if (!ended || i != end) return info;
    lastTick = std::max(lastTick, tick);
    ++info.parsedTracks;
    at = end;
  }
  if (at != f.size()) return info;
  double us = 0;
  uint32_t prevTick = 0, prevTempo = 500000;
  for (const auto& [t, v] : tempo) {
    if (t > lastTick) break;
    us += double(t - prevTick) * prevTempo / division;
    prevTick = t, prevTempo = v;
  }
  us += double(lastTick - prevTick) * prevTempo / division;
  info.seconds = us / 1e6;
  info.ok = true;
  return info;
}

TEST_F(DemoData, SongsAreWholeMidiFilesOfTheRightLength) {
  std::vector<Text> lines = ConfigLines(File("90.dat"));
  std::vector<std::string> scene;
  for (int k = 6; k < 15; ++k)
    if (!lines[k].empty()) scene.push_back(Utf8(lines[k]));
  for (const std::string& name : scene) {
    MidiInfo m = ParseMidi(File(name));
    ASSERT_TRUE(m.ok) << name;
    EXPECT_EQ(m.tracks, m.parsedTracks) << name;
    EXPECT_GT(m.notes, 50) << name;
    EXPECT_GT(m.seconds, 15) << name;
    EXPECT_LT(m.seconds, 60) << name;
  }
  // The endings' songs must outlast the staff roll (about 45 seconds).
  for (const char* name : {"22-1.mid", "03-1.mid", "34-3.mid"}) {
    MidiInfo m = ParseMidi(File(name));
    ASSERT_TRUE(m.ok) << name;
    EXPECT_EQ(m.tracks, m.parsedTracks) << name;
    EXPECT_GE(m.seconds, 50) << name;
    EXPECT_LE(m.seconds, 65) << name;
  }
}

TEST_F(DemoData, ScenarioFilesAreComplementedShiftJis) {
  for (const char* name : {"91.dat", "92.dat"}) {
    std::string plain = Complement(File(name));
    ASSERT_FALSE(plain.empty()) << name;
    auto text = DecodeCp932(plain);
    ASSERT_TRUE(text.has_value()) << name;
    EXPECT_EQ(plain.substr(plain.size() - 2), "\r\n");
    EXPECT_EQ(text->find(u'\n'), text->find(u"\r\n") + 1) << "lines end in CR LF";
    EXPECT_TRUE(std::any_of(text->begin(), text->end(), [](char16_t c) { return c >= 0x3040 && c < 0x30FF; }))
        << "the story is in Japanese";
  }
}

TEST_F(DemoData, SameSourcesGiveTheSameBytes) {
  std::map<std::string, Bytes> again = demo::BuildDemoFiles(MIREL_DEMO_STORY_DIR);
  ASSERT_EQ(again.size(), files.size());
  for (const auto& [name, bytes] : again) {
    EXPECT_TRUE(File(name) == std::string(bytes.begin(), bytes.end())) << name;
  }
}

// ---- the story compiler's checks ----

std::string Rec(const std::string& num, const std::string& cmd, const std::string& jump, const std::string& text) {
  return num + "," + cmd + "," + jump + ",,,,,," + text + ",,,,\n";
}

TEST(DemoStoryCompiler, RejectsStoriesThatWouldBreakPlay) {
  const std::string end = Rec("9000", "q", "", "") + Rec("9999", "", "", "");
  struct Case {
    std::string scenario, choices, expect;
  } cases[] = {
      {Rec("1000", "g0", "2000", "") + end, "", "missing block"},
      {Rec("2000", "", "", "あ") + Rec("1000", "", "", "い") + end, "", "go down"},
      {Rec("1000", "", "", "あ") + Rec("2000", "", "", "い") + Rec("1000", "", "", "う") + end, "", "go down"},
      {Rec("1000", "s", "", "2") + end, "1000,はい,9000\n", "needs 2 rows"},
      {Rec("1000", "s", "", "4") + end, "", "1 to 3"},
      {Rec("1000", "s", "", "1") + end, "1000,はい,1234\n", "does not exist"},
      {Rec("1000", "", "", std::string(91, 'x')) + end, "", "three rows"},
      {Rec("1000", "", "", "\xF0\x9F\x8C\x8A") + end, "", "Shift-JIS"},
      {"1000,,,,\n" + end, "", "13 fields"},
      {Rec("100", "", "", "あ") + end, "", "four digits"},
  };
  for (const Case& c : cases) {
    try {
      demo::CompileStory(c.scenario, c.choices);
      ADD_FAILURE() << "accepted: " << c.scenario;
    } catch (const demo::StoryError& e) {
      EXPECT_NE(std::string(e.what()).find(c.expect), std::string::npos) << e.what();
    }
  }
}

TEST(DemoStoryCompiler, WritesCrLfShiftJisWithoutComments) {
  std::string src = "# a comment\n" + Rec("1000", "", "", "こんにちは") + "\n" + Rec("9999", "", "", "");
  demo::StoryTexts t = demo::CompileStory(src, "");
  EXPECT_EQ(t.scenario, EncodeCp932(u"1000,,,,,,,,こんにちは,,,,\r\n9999,,,,,,,,,,,,\r\n"));
}

}  // namespace
}  // namespace mirel
