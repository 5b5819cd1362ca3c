// The opening: the first picture faded in, the tall picture dissolved in
// from its last screenful and scrolled down, and a missing picture.
#include <gtest/gtest.h>

#include "transition_harness.h"

namespace mirel::test {
namespace {

Image TallPicture(int h) {
  return Painted(640, h, [](int x, int y) { return Rgb((x + 2 * y) & 255, y & 255, 0x40 + (x & 0x1F)); });
}

class Opening : public ::testing::Test, public Harness {
 protected:
  Image startPic = OldPicture();
  Image first = NewPicture();
  Image tall = TallPicture(490);
  static constexpr int kFade = 21;  // cross-fade presents

  void SetUp() override { Ready(*this); }
  // Music and sounds off: the audio command then takes no time.
  void Ready(Harness& h) {
    h.f.BgmOn = h.f.SeOn = false;
    h.f.OpeningUnskipped = true;
    h.f.EffectCode = u"BI";
    h.Show(startPic);
  }
  auto TallAt(int top) {
    return [this, top](int x, int y) { return tall.At(x, top + y); };
  }
};

TEST_F(Opening, FadesDissolvesAndScrollsTheTallPicture) {
  for (int height : {490, 485, 480}) {
    Harness h;
    Ready(h);
    tall = TallPicture(height);
    WriteBmp(h.dir / "P98.dat", first);
    WriteBmp(h.dir / "p51.dat", tall);
    h.log.keepAll = true;
    h.f.PlayOpening();

    const int top = height - 480;
    const int scrolls = top / 2 + 1;  // y = top, top - 2, ... while y >= 0
    ASSERT_EQ(h.log.Count(), kFade + 9 + 2 + scrolls) << height;
    EXPECT_TRUE(ScreenMatches(h.log.Frame(kFade - 1), [&](int x, int y) { return first.At(x, y); }));
    // Fade 1.6 s, one second's wait, then the dissolve paced 200 ms.
    for (int k = 0; k <= 8; ++k) {
      EXPECT_EQ(h.log.times[static_cast<size_t>(kFade + k)], 2600u + 200u * k);
      EXPECT_TRUE(ScreenMatches(h.log.Frame(kFade + k), [&](int x, int y) {
        return kThreshold[y % 8][x % 8] <= k ? tall.At(x, top + y) : first.At(x, y);
      })) << height << " mesh frame " << k;
    }
    EXPECT_TRUE(ScreenMatches(h.log.Frame(kFade + 9), TallAt(top)));
    EXPECT_TRUE(ScreenMatches(h.log.Frame(kFade + 10), TallAt(top)));
    for (int j = 0; j < scrolls; ++j) {
      EXPECT_EQ(h.log.times[static_cast<size_t>(kFade + 11 + j)], 4400u + 50u * j);
      EXPECT_TRUE(ScreenMatches(h.log.Frame(kFade + 11 + j), TallAt(top - 2 * j))) << height << " scroll " << j;
    }
    EXPECT_EQ(h.tp.clock.TotalSlept(), 4400u + 50u * scrolls);
    EXPECT_TRUE(h.f.CgUnlocked[0]);
    EXPECT_EQ(h.f.CmdText, Text(u"aa"));
    EXPECT_TRUE(h.tp.messages.Shown().empty());
  }
}

TEST_F(Opening, MissingFirstPictureIsReportedAndTheOpeningLeftOut) {
  WriteBmp(dir / "p51.dat", tall);
  f.PlayOpening();
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_NE(Utf8(tp.messages.Shown()[0]).find("P98.dat"), std::string::npos);
  EXPECT_EQ(log.Count(), 0);
  EXPECT_FALSE(f.CgUnlocked[0]);
  EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return startPic.At(x, y); }));
}

}  // namespace
}  // namespace mirel::test
