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
