// Whole plays of the demo story on the virtual clock, through the title,
// the choices, the ending and shutdown, then a second start that opens the
// gallery from the title and leaves it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "extras/Ending.h"
#include "platform/Files.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

// The scripted player, and a look at the game every time it lets events run.
class Watched final : public EventSource {
 public:
  Watched(ScriptInput& in, std::function<void()> look) : in_(in), look_(std::move(look)) {}
  void Pump(EventQueue& q) override {
    in_.Pump(q);
    look_();
  }

 private:
  ScriptInput& in_;
  std::function<void()> look_;
};

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
};

// The picture file as the game reads it while it runs: its first two bytes
// repaired.
Bytes Restored(const std::string& path, bool jpeg) {
  std::string s = test::ReadBytes(path);
  Bytes b(s.begin(), s.end());
  if (b.size() >= 2) {
    b[0] = jpeg ? 0xFF : 'B';
    b[1] = jpeg ? 0xD8 : 'M';
  }
  return b;
}

uint32_t Darkened(uint32_t c, int by) {
  return Rgb(std::max(RedOf(c) - by, 0), std::max(GreenOf(c) - by, 0), std::max(BlueOf(c) - by, 0));
}

struct DemoPlay : ::testing::Test {
  test::TempDir dir;
  void SetUp() override {
    ASSERT_TRUE(test::CopyDemoData(dir.path())) << "the demo data folder is built by the demo_data target";
  }

  int Play(const std::string& script, Seen& seen, std::vector<std::string>* commands = nullptr) {
    test::TestPlatform tp;
    ScriptInput input(script, tp.clock, tp.messages);
    Main_Form* form = nullptr;
    Watched watched(input, [&] {
      if (!form) return;
      Main_Form& f = *form;
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
        Compose(f, tp.fonts, screen);
        for (int n = 1; n <= 15; ++n) {
          seen.galleryCreated.push_back(f.PicCreated[static_cast<size_t>(n)]);
          int c = (n - 1) % 5, r = (n - 1) / 5;
          const int x = 40 + 116 * c + 30, y = 130 + 97 * r + 20;
          seen.cells.push_back({screen.At(x, y), f.Pic[16].At(96 * c + 30, 72 * r + 20),
                                f.FormPicture.width == 640 ? f.FormPicture.At(x, y) : 0});
        }
      }
      if (wait == PlayerWait::Title && seen.sawGallery) seen.titleAfterGallery = true;
    });
    tp.platform.events = &watched;
    Main_Form f(tp.platform, StartOptions{dir.path(), ""});
    form = &f;
    input.Attach(&f);
    int status = RunProgram(f);
    form = nullptr;
    if (commands) *commands = tp.audio.commands;
    return status;
  }

  // Flags 0..18 of the gallery line of "90.dat", true where the character
  // is "0".
  std::vector<bool> SavedFlags() {
    std::string config = test::ReadBytes(dir / "90.dat");
    std::vector<std::string> lines;
    for (size_t at = 0; at <= config.size();) {
      size_t end = config.find("\r\n", at);
      if (end == std::string::npos) end = config.size();
      lines.push_back(config.substr(at, end - at));
      at = end + 2;
    }
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

  static std::string Route(std::initializer_list<int> answers) {
    std::string s = "title new\n";
    for (int a : answers) s += "choose " + std::to_string(a) + "\n";
    return s;
  }
  static bool Opened(const std::vector<std::string>& commands, const std::string& song) {
    return std::any_of(commands.begin(), commands.end(), [&](const std::string& c) {
      return c.rfind("open ", 0) == 0 && c.find("/" + song + "\"") != std::string::npos;
    });
  }
  void ExpectRoll(const Seen& seen) {
    // The whole roll ran: every strip row from 150 to 609 at the window's top.
    ASSERT_EQ(seen.rollPositions.size(), 460u);
    EXPECT_EQ(*seen.rollPositions.begin(), 150);
    EXPECT_EQ(*seen.rollPositions.rbegin(), 609);
  }
};

// Pictures 51 to 55 on every route; 56 to 60, 62 and 64 with Mio; 61, 65
// and 66 at the festival; 67 on the plain route. Flag of picture n: 51..54
// give 0..3, 55 gives 3, 56 and 57 give 4, 58..67 give 5..14.
const std::set<int> kEveryRoute = {0, 1, 2, 3};
const std::set<int> kMio = {4, 5, 6, 7, 9, 11};
const std::set<int> kFestival = {8, 12, 13};
const std::set<int> kPlain = {14};

void ExpectFlags(const std::vector<bool>& flags, const std::set<int>& on, const std::set<int>& off) {
  ASSERT_EQ(flags.size(), 19u);
  for (int k : on) EXPECT_TRUE(flags[static_cast<size_t>(k)]) << "flag " << k;
  for (int k : off) EXPECT_FALSE(flags[static_cast<size_t>(k)]) << "flag " << k;
  for (int k = 15; k < 19; ++k) EXPECT_FALSE(flags[static_cast<size_t>(k)]) << "flag " << k;
}

std::set<int> Union(std::initializer_list<std::set<int>> sets) {
  std::set<int> u;
  for (const auto& s : sets) u.insert(s.begin(), s.end());
  return u;
}

TEST_F(DemoPlay, AfterAnOpeningThatRanToItsEndARightClickHidesTheMessageWindow) {
  Seen seen;
  ASSERT_EQ(Play("rclick\n", seen), 0);
  EXPECT_TRUE(seen.windowHidden);
}

TEST_F(DemoPlay, LighthouseRouteReachesEndingOneAndTheGalleryShowsItsPicturesNextTime) {
  Seen seen;
  std::vector<std::string> commands;
  ASSERT_EQ(Play(Route({1, 1, 1, 1}), seen, &commands), 0);
  EXPECT_EQ(seen.endPoints, 1);
  EXPECT_TRUE(Opened(commands, "03-1.mid"));
  EXPECT_FALSE(Opened(commands, "34-3.mid"));
  EXPECT_FALSE(Opened(commands, "22-1.mid"));
  ExpectRoll(seen);
  EXPECT_EQ(seen.photos, 5);
  // The final screen ends on the second closing picture.
  EXPECT_EQ(seen.lastPicture, test::TestImageCodec::JpegColour(Restored(dir / "p02.dat", true)));
  ExpectFlags(SavedFlags(), Union({kEveryRoute, kMio}), Union({kFestival, kPlain}));

  // The next start: the gallery from the title, then back to the title.
  std::vector<bool> flags = SavedFlags();
  Seen next;
  ASSERT_EQ(Play("title gallery\n", next), 0);
  ASSERT_TRUE(next.sawGallery);
  EXPECT_TRUE(next.titleAfterGallery);
  ASSERT_EQ(next.galleryCreated.size(), 15u);
  Image sheet;
  ASSERT_TRUE(BmpCodec().Decode(Restored(dir / "63.dat", false), sheet));
  for (int n = 1; n <= 15; ++n) {
    const size_t i = static_cast<size_t>(n - 1);
    EXPECT_EQ(next.galleryCreated[i], flags[i]) << "entry " << n;
    const Seen::Cell& cell = next.cells[i];
    int c = (n - 1) % 5, r = (n - 1) / 5;
    EXPECT_EQ(cell.sheet, sheet.At(96 * c + 30, 72 * r + 20)) << n;
    // An unlocked entry shows its thumbnail, a locked one the gallery's
    // background picture through its empty frame.
    EXPECT_EQ(cell.screen, flags[i] ? cell.sheet : cell.backdrop) << "entry " << n;
    EXPECT_NE(cell.sheet, cell.backdrop) << n;
  }
  // Entry 1 is unlocked on every route, entry 9 (picture 61) only at the
  // festival.
  EXPECT_TRUE(next.galleryCreated[0]);
  EXPECT_FALSE(next.galleryCreated[8]);
  // Opening the gallery clears nothing.
  EXPECT_EQ(SavedFlags(), flags);
}

TEST_F(DemoPlay, FestivalRouteReachesEndingTwo) {
  Seen seen;
  std::vector<std::string> commands;
  ASSERT_EQ(Play(Route({2, 2, 2, 2}), seen, &commands), 0);
  EXPECT_EQ(seen.endPoints, 2);
  EXPECT_TRUE(Opened(commands, "34-3.mid"));
  EXPECT_FALSE(Opened(commands, "03-1.mid"));
  EXPECT_FALSE(Opened(commands, "22-1.mid"));
  ExpectRoll(seen);
  EXPECT_EQ(seen.photos, 5);
  EXPECT_EQ(seen.lastPicture, test::TestImageCodec::JpegColour(Restored(dir / "p02.dat", true)));
  ExpectFlags(SavedFlags(), Union({kEveryRoute, kFestival}), Union({kMio, kPlain}));
}

TEST_F(DemoPlay, NappingRouteReachesThePlainEndingOverTheDarkenedLastPicture) {
  Seen seen;
  std::vector<std::string> commands;
  ASSERT_EQ(Play(Route({3, 1, 3, 1}), seen, &commands), 0);
  EXPECT_EQ(seen.endPoints, 0);
  EXPECT_TRUE(Opened(commands, "22-1.mid"));
  EXPECT_FALSE(Opened(commands, "03-1.mid"));
  EXPECT_FALSE(Opened(commands, "34-3.mid"));
  ExpectRoll(seen);
  EXPECT_EQ(seen.photos, 0);
  // No final screen: the last picture of the story (67), 7 x 10 darker.
  EXPECT_EQ(seen.lastPicture, Darkened(test::TestImageCodec::JpegColour(Restored(dir / "p67.dat", true)), 70));
  // Its second and fourth answers are the lighthouse route's, so some of
  // Mio's pictures may come up too; the festival's never do.
  ExpectFlags(SavedFlags(), Union({kEveryRoute, kPlain}), kFestival);
}

}  // namespace
}  // namespace mirel
