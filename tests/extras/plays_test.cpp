// Whole plays of the demo story on the virtual clock, one per route: the
// title, the name entry, the choices, the ending with its roll, shutdown,
// and after the first ending a second start that opens the gallery.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <map>
#include <set>

#include "base/BmpCodec.h"
#include "extras/Ending.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

struct Counters {
  int16_t kou, hap, bad, mak;
};

// What a play showed, noted as it went.
struct Seen {
  std::set<int> rollPositions;
  int16_t endPoints = -1;
  int photos = 0;
  bool rollStarted = false;
  uint32_t lastPicture = 0;  // Pic_Main's pixel at 10, 10 after the roll
  bool sawGallery = false, titleAfterGallery = false;
  bool windowHidden = false;
  std::vector<bool> galleryCreated;
  struct Cell {
    uint32_t screen, sheet, backdrop;  // a pixel of the entry's cell on each
  };
  std::vector<Cell> cells;
  std::map<int32_t, Counters> countersAt;       // as each record starts (first time)
};

int32_t FirstOf(const Main_Form& f, int16_t block) {
  for (const BlockIndexEntry& b : f.BlockIndex)
    if (b.Num == block) return b.Seq;
  return -1;
}

// Position in the draw log of the first or the last text holding `s`.
long Draw(const test::RecordingFont& font, const Text& s, bool last) {
  long found = -1;
  for (size_t i = 0; i < font.drawn.size() && (last || found < 0); ++i)
    if (font.drawn[i].text.find(s) != Text::npos) found = static_cast<long>(i);
  return found;
}

uint32_t Darkened(uint32_t c, int by) {
  return Rgb(std::max(RedOf(c) - by, 0), std::max(GreenOf(c) - by, 0), std::max(BlueOf(c) - by, 0));
}

// Pictures 51 to 55 on every route; 56 to 60, 62 and 64 with Mio; 61, 65
// and 66 at the festival; 67 on the plain route. Flag of picture n: 51..54
// give 0..3, 55 gives 3, 56 and 57 give 4, 58..67 give 5..14.
const std::set<int> kEveryRoute = {0, 1, 2, 3}, kMio = {4, 5, 6, 7, 9, 11}, kFestival = {8, 12, 13}, kPlain = {14};

struct Route {
  const char* name;
  std::vector<int> answers;
  int16_t ending, branch;  // the ending, and the block the first answer leads to
  const char* song;
  int photos;
  const char* lastPicture;  // the final screen's picture, or the story's last darkened
  std::set<int> flagsOn, flagsOff;
};
void PrintTo(const Route& r, std::ostream* os) { *os << r.name; }

const char* const kEndingSongs[] = {"22-1.mid", "03-1.mid", "34-3.mid"};
std::set<int> Union(std::initializer_list<std::set<int>> sets) {
  std::set<int> u;
  for (const auto& s : sets) u.insert(s.begin(), s.end());
  return u;
}
const Route kRoutes[] = {
    {"lighthouse", {1, 1, 1, 1}, 1, 1210, "03-1.mid", 5, "p02.dat", Union({kEveryRoute, kMio}), Union({kFestival, kPlain})},
    {"festival", {2, 2, 2, 2}, 2, 1220, "34-3.mid", 5, "p02.dat", Union({kEveryRoute, kFestival}), Union({kMio, kPlain})},
    // Its second and fourth answers are the lighthouse route's, so some of
    // Mio's pictures may come up too; the festival's never do.
    {"napping", {3, 1, 3, 1}, 0, 1230, "22-1.mid", 0, "p67.dat", Union({kEveryRoute, kPlain}), kFestival},
};

struct DemoPlay : ::testing::TestWithParam<Route> {
  test::TempDir dir;
  void SetUp() override {
    ASSERT_TRUE(test::CopyDemoData(dir.path())) << "the demo data folder is built by the demo_data target";
  }

  // Plays the script on the folder, noting what the player saw.
  std::unique_ptr<test::DemoRun> Play(const std::string& script, Seen& seen) {
    auto run = std::make_unique<test::DemoRun>();
    test::DemoRun& r = *run;
    r.look = [&](Main_Form& f) {
      if (f.RollRunning && f.RollPosition >= extras::kRollStart && f.STAFF_Pic[7].Visible) {
        seen.rollStarted = true;
        seen.endPoints = f.EndPoints;
        seen.rollPositions.insert(f.RollPosition);
      }
      if (seen.rollStarted && !f.RollRunning && f.Pic_Main.width == 640) seen.lastPicture = f.Pic_Main.At(10, 10);
      seen.photos = std::max<int>(seen.photos, f.PhotoCounter);
      if (f.WakuHidden) seen.windowHidden = true;
      PlayerWait wait = f.CurrentWait();
      if (wait == PlayerWait::Gallery && !seen.sawGallery) {
        seen.sawGallery = true;
        Image screen;
        Compose(f, r.font, screen);
        for (int n = 1; n <= 15; ++n) {
          seen.galleryCreated.push_back(f.PicCreated[static_cast<size_t>(n)]);
          int c = (n - 1) % 5, row = (n - 1) / 5;
          const int x = 40 + 116 * c + 30, y = 130 + 97 * row + 20;
          seen.cells.push_back({screen.At(x, y), f.Pic[16].At(96 * c + 30, 72 * row + 20),
                                f.FormPicture.width == 640 ? f.FormPicture.At(x, y) : 0});
        }
      }
      if (wait == PlayerWait::Title && seen.sawGallery) seen.titleAfterGallery = true;
    };
    r.onStep = [&seen](Main_Form& f, int32_t seq) { seen.countersAt.emplace(seq, Counters{f.kou, f.hap, f.bad, f.mak}); };
    r.Play(dir.path(), script);
    EXPECT_FALSE(r.input->TimedOut());
    return run;
  }

  // Flags 0..18 of the gallery line of "90.dat", true where the character
  // is "0".
  std::vector<bool> SavedFlags() {
    std::vector<std::string> lines = test::Lines(test::ReadBytes(dir / "90.dat"));
    EXPECT_GE(lines.size(), 6u);
    std::string line = lines.size() >= 6 ? lines[5] : "";
    std::vector<bool> flags;
    // The flags take the line's characters 15 to 33.
    for (size_t k = 0; k < 19 && 14 + k < line.size(); ++k) {
      char ch = line[14 + k];
      flags.push_back(ch == '0');
      if (ch != '0') {
        // A false flag k is written as the last digit of k + 2, "1" for "0".
        char want = static_cast<char>('0' + (k + 2) % 10);
        EXPECT_EQ(ch, want == '0' ? '1' : want) << "flag " << k;
      }
    }
    EXPECT_EQ(flags.size(), 19u);
    return flags;
  }
  static bool Opened(const std::vector<std::string>& commands, const std::string& song) {
    return std::any_of(commands.begin(), commands.end(), [&](const std::string& c) {
      return c.rfind("open ", 0) == 0 && c.find("/" + song + "\"") != std::string::npos;
    });
  }
};

TEST_F(DemoPlay, AfterAnOpeningThatRanToItsEndARightClickHidesTheMessageWindow) {
  Seen seen;
  ASSERT_EQ(Play("rclick\n", seen)->status, 0);
  EXPECT_TRUE(seen.windowHidden);
}

TEST_P(DemoPlay, ReachesItsEndingWithItsSongRollPicturesAndGalleryFlags) {
  const Route& route = GetParam();
  // The name entry needs family name, separator, given name.
  std::string script = "title new\nchoose " + std::to_string(route.answers[0]) +
                       "\ndialog NameEnt Text1 水野　テスト\ndialog NameEnt Command1\n";
  for (size_t i = 1; i < route.answers.size(); ++i) script += "choose " + std::to_string(route.answers[i]) + "\n";
  Seen seen;
  auto run = Play(script, seen);
  const Main_Form& f = *run->form;
  const std::vector<int32_t>& trace = run->trace;
  ASSERT_EQ(run->status, 0);
  EXPECT_TRUE(run->tp.messages.Shown().empty()) << Utf8(run->tp.messages.Shown().front());
  EXPECT_EQ(seen.endPoints, route.ending);
  for (const char* song : kEndingSongs) EXPECT_EQ(Opened(run->tp.audio.commands, song), song == std::string(route.song)) << song;
  // The whole roll ran: every strip row from 150 to 609 at the window's top.
  ASSERT_EQ(seen.rollPositions.size(), 460u);
  EXPECT_EQ(*seen.rollPositions.begin(), 150);
  EXPECT_EQ(*seen.rollPositions.rbegin(), 609);
  EXPECT_EQ(seen.photos, route.photos);
  // Ending one and two end on their final screen; the plain one on the last
  // picture of the story, 7 x 10 darker.
  uint32_t picture = test::TestImageCodec::JpegColour(test::Restored(test::ReadBytes(dir / route.lastPicture), true));
  EXPECT_EQ(seen.lastPicture, route.ending ? picture : Darkened(picture, 70));
  std::vector<bool> flags = SavedFlags();
  ASSERT_EQ(flags.size(), 19u);
  for (int k : route.flagsOn) EXPECT_TRUE(flags[static_cast<size_t>(k)]) << "flag " << k;
  for (int k : route.flagsOff) EXPECT_FALSE(flags[static_cast<size_t>(k)]) << "flag " << k;
  for (int k = 15; k < 19; ++k) EXPECT_FALSE(flags[static_cast<size_t>(k)]) << "flag " << k;

  // The choice record of block 1200 is followed by the answer's block, and
  // chapter 2 begins with one point on the route the answer chose.
  int32_t choice = -1;
  for (size_t i = 0; i < f.ScenarioTable.size(); ++i)
    if (f.ScenarioTable[i].Num == 1200 && Trim(f.ScenarioTable[i].Cmd) == u"s") choice = static_cast<int32_t>(i);
  auto at = std::find(trace.begin(), trace.end(), choice);
  ASSERT_TRUE(at != trace.end() && at + 1 != trace.end());
  EXPECT_EQ(*(at + 1), FirstOf(f, route.branch));
  for (int16_t other : {1210, 1220, 1230}) {
    if (other != route.branch) {
      EXPECT_EQ(std::count(trace.begin(), trace.end(), FirstOf(f, other)), 0) << other;
    }
  }
  auto c = seen.countersAt.find(FirstOf(f, 2000));
  ASSERT_NE(c, seen.countersAt.end());
  EXPECT_EQ(c->second.kou, route.answers[0] == 1);
  EXPECT_EQ(c->second.hap, route.answers[0] == 2);
  EXPECT_EQ(c->second.bad, route.answers[0] == 3);

  // The hero's tag shows the new given name after the name entry, the old
  // one only before it.
  int32_t entry = -1;
  for (size_t i = 0; i < f.ScenarioTable.size() && entry < 0; ++i)
    if (Trim(f.ScenarioTable[i].Cmd) == u"g4") entry = static_cast<int32_t>(i);
  ASSERT_NE(std::find(trace.begin(), trace.end(), entry), trace.end());
  EXPECT_EQ(f.Names[2], u"テスト");
  long lastOld = Draw(run->font, u"【晴】", true), firstNew = Draw(run->font, u"【テスト】", false);
  ASSERT_GE(lastOld, 0);
  ASSERT_GE(firstNew, 0);
  EXPECT_LT(lastOld, firstNew);
  if (route.ending != 1) return;

  // The next start: the gallery from the title, then back to the title.
  Seen next;
  Play("title gallery\n", next);
  ASSERT_TRUE(next.sawGallery);
  EXPECT_TRUE(next.titleAfterGallery);
  ASSERT_EQ(next.galleryCreated.size(), 15u);
  Image sheet;
  ASSERT_TRUE(BmpCodec().Decode(test::Restored(test::ReadBytes(dir / "63.dat"), false), sheet));
  for (int n = 1; n <= 15; ++n) {
    const size_t i = static_cast<size_t>(n - 1);
    EXPECT_EQ(next.galleryCreated[i], flags[i]) << "entry " << n;
    const Seen::Cell& cell = next.cells[i];
    EXPECT_EQ(cell.sheet, sheet.At(96 * ((n - 1) % 5) + 30, 72 * ((n - 1) / 5) + 20)) << n;
    // An unlocked entry shows its thumbnail, a locked one the gallery's
    // background picture through its empty frame.
    EXPECT_EQ(cell.screen, flags[i] ? cell.sheet : cell.backdrop) << "entry " << n;
    EXPECT_NE(cell.sheet, cell.backdrop) << n;
  }
  // Entry 1 is unlocked on every route, entry 9 (picture 61) only at the
  // festival; opening the gallery clears nothing.
  EXPECT_TRUE(next.galleryCreated[0]);
  EXPECT_FALSE(next.galleryCreated[8]);
  EXPECT_EQ(SavedFlags(), flags);
}

INSTANTIATE_TEST_SUITE_P(Routes, DemoPlay, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<Route>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace mirel
