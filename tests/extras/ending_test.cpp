#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "extras/Ending.h"
#include "extras/ExtrasFolder.h"

namespace mirel {
namespace {

constexpr uint32_t kStart = Rgb(100, 50, 5);     // the last picture of the story
constexpr uint32_t kDarkened = Rgb(30, 0, 0);    // after 7 steps of -10, not below 0
constexpr uint32_t kVolume = 40000;

// What the ending showed, seen at every pump of events.
struct EndingLog {
  std::map<int, uint32_t> rollTicks;       // roll position -> tick it was first seen
  std::map<int, Surface> rollFrames;       // the roll window at some positions
  std::vector<std::pair<int, uint32_t>> photos;  // roll position, colour of the photo loaded
  Surface pileAtEnd;
  Surface panel;                            // the roll window over the first final picture
  uint32_t musicStart = 0;
  bool sawMusic = false;
};

struct EndingTest : ::testing::Test {
  test::TempDir dir;
  test::TestPlatform tp;
  std::unique_ptr<Main_Form> f;
  EndingLog log;
  int16_t lastPhotos = 0;

  void SetUp() override {
    test::MakeExtrasFolder(dir);
    test::WriteBytes(dir / "song.mid", "MThd");
    f = std::make_unique<Main_Form>(tp.platform, StartOptions{dir.path(), ""});
    f->DataDir = dir.path();  // what start-up sets from the options
    f->Pic_Main.Move(0, 0, 640, 480);
    test::Fill(f->Pic_Main, kStart);
    ASSERT_TRUE(f->mci.OpenMixer());
    ASSERT_TRUE(f->mci.GetVolumeControl(4));
    tp.audio.volume = kVolume;
    f->SavedVolume = kVolume;
    tp.events.onPump = [this](EventQueue&) { Observe(); };
  }

  void Observe() {
    if (tp.audio.playing && !log.sawMusic) {
      log.sawMusic = true;
      log.musicStart = tp.audio.playStart;
    }
    Surface& roll = f->STAFF_Pic[7];
    if (f->RollRunning && f->RollPosition >= extras::kRollStart && roll.Visible) {
      log.rollTicks.emplace(f->RollPosition, tp.clock.GetTickCount());
      if (f->RollPosition == 150 || f->RollPosition == 240 || f->RollPosition == 600)
        log.rollFrames.emplace(f->RollPosition, Picture(roll));
      if (f->RollPosition == 609 && f->STAFF_Pic[0].Visible) log.pileAtEnd = Picture(f->STAFF_Pic[0]);
    }
    if (f->PhotoCounter != lastPhotos) {
      lastPhotos = f->PhotoCounter;
      const Surface& photo = f->STAFF_Pic[1];
      log.photos.emplace_back(f->RollPosition, photo.pixels.empty() ? kBlack : photo.At(0, 0));
    }
    if (!f->RollRunning && roll.Visible && f->Pic_Main.At(0, 0) == test::PictureColour(1)) log.panel = Picture(roll);
  }
  // A copy of the picture alone.
  static Surface Picture(const Surface& s) {
    Surface copy;
    copy.Resize(s.width, s.height);
    copy.pixels = s.pixels;
    return copy;
  }

  // Runs the ending; the elapsed milliseconds.
  uint32_t Run(int16_t endPoints) {
    f->EndPoints = endPoints;
    const uint32_t start = tp.clock.GetTickCount();
    f->RunEnding();
    return tp.clock.GetTickCount() - start;
  }
  std::vector<std::string> Opened() const {
    std::vector<std::string> v;
    for (const auto& c : tp.audio.commands)
      if (c.rfind("open ", 0) == 0) v.push_back(c);
    return v;
  }
  bool AllOf(const Surface& s, uint32_t colour) const {
    return std::all_of(s.pixels.begin(), s.pixels.end(), [&](uint32_t p) { return p == colour; });
  }
  void ExpectSurfacesGone() {
    for (int i = 1; i <= 7; ++i) {
      EXPECT_FALSE(f->StaffCreated[static_cast<size_t>(i)]) << i;
      EXPECT_TRUE(f->STAFF_Pic[static_cast<size_t>(i)].pixels.empty()) << i;
    }
    EXPECT_FALSE(f->STAFF_Pic[0].Visible);
    EXPECT_FALSE(f->RollRunning);
  }
  // The roll saw every position from 150 to 609 once, each step at least
  // `period` after the one before.
  void ExpectRoll(uint32_t period) {
    ASSERT_EQ(log.rollTicks.size(), 460u);
    EXPECT_EQ(log.rollTicks.begin()->first, 150);
    EXPECT_EQ(log.rollTicks.rbegin()->first, 609);
    for (auto it = std::next(log.rollTicks.begin()); it != log.rollTicks.end(); ++it)
      EXPECT_GE(it->second - std::prev(it)->second, period) << "roll position " << it->first;
  }
};

TEST_F(EndingTest, OtherCountersPlayThePlainEndingAndItsSongIsNotTakenForTheStorys) {
  f->mci.PlayMidi(dir / "song.mid");
  f->CurMusic = 3;
  Run(7);
  ASSERT_EQ(Opened().size(), 2u);
  EXPECT_NE(Opened()[1].find("22-1.mid"), std::string::npos);
  EXPECT_TRUE(AllOf(f->Pic_Main, kDarkened));
  ExpectSurfacesGone();
  // Once the ending's song has ended the loop timer leaves it ended, and the
  // story's song 3 is not taken for the one playing.
  EXPECT_EQ(f->CurMusic, 0);
  tp.clock.Sleep(tp.audio.songMs);
  tp.audio.commands.clear();
  f->BGMLoop_Timer();
  EXPECT_EQ(std::count(tp.audio.commands.begin(), tp.audio.commands.end(), "play midifile from 0"), 0);
}

TEST_F(EndingTest, WithMusicSwitchedOffTheEndingStillPlaysItsSongAndWaitsForIt) {
  f->BgmOn = false;
  tp.audio.songMs = 200000;
  Run(2);
  ASSERT_EQ(Opened().size(), 1u);
  EXPECT_NE(Opened()[0].find("34-3.mid"), std::string::npos);
  EXPECT_GE(tp.clock.GetTickCount() - log.musicStart, 200000u);
  EXPECT_TRUE(AllOf(f->Pic_Main, test::PictureColour(2)));
  EXPECT_FALSE(f->BgmOn);  // the setting itself is the player's
}

TEST_F(EndingTest, APhotoFrameTooWideForThePileIsRefusedAndTheEndingGoesOn) {
  // Turned into squares 1.5 times its width, this frame would need 45
  // million pixels a surface.
  test::WriteBmp(dir / "64.dat", test::Plain(4500, 1, test::PhotoFrameColour));
  Run(1);
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_NE(Utf8(tp.messages.Shown()[0]).find("64.dat:481)"), std::string::npos);
  EXPECT_EQ(log.photos.size(), 5u);
  EXPECT_EQ(log.pileAtEnd.width, 0);  // nothing was made for the pile
  EXPECT_TRUE(AllOf(f->Pic_Main, test::PictureColour(2)));
  ExpectSurfacesGone();
}

}  // namespace
}  // namespace mirel
