// The background handler: the picture file's name and transition.
#include <gtest/gtest.h>

#include <map>

#include "platform/Files.h"
#include "transition_harness.h"

namespace mirel::test {
namespace {

class Background : public ::testing::Test, public Harness {
 protected:
  Image oldPic = OldPicture();

  // Two sprites standing, one put away: only the shown ones are frozen.
  void StandSprites() {
    auto stand = [&](int p, int x, int y, int w, int h, uint32_t colour, bool shown) {
      f.Doll_Disp[p].Resize(w, h);
      std::fill(f.Doll_Disp[p].pixels.begin(), f.Doll_Disp[p].pixels.end(), colour);
      f.Doll_Disp[p].Move(x, y);
      f.Doll_Disp[p].Visible = shown;
      f.DollX[p] = static_cast<int16_t>(x);
      f.DollY[p] = static_cast<int16_t>(y);
      f.DollW[p] = static_cast<int16_t>(w);
      f.DollH[p] = static_cast<int16_t>(h);
    };
    stand(0, 40, 420, 50, 60, Rgb(200, 0, 0), true);
    stand(1, 350, 400, 70, 80, Rgb(0, 0, 200), false);
    stand(2, 130, 440, 30, 40, Rgb(0, 200, 0), true);
    f.DollPose[0][0] = 3;
    f.DollPose[2][2] = 1;
    f.DollPose[7][1] = 2;  // the eighth character
    f.PosUsed = {true, true, true};
  }
  uint32_t Frozen(int x, int y) const {
    if (x >= 40 && x < 90 && y >= 420) return Rgb(200, 0, 0);
    if (x >= 130 && x < 160 && y >= 440) return Rgb(0, 200, 0);
    return oldPic.At(x, y);
  }
  void ExpectBookkeepingCleared() {
    for (size_t c = 0; c < f.DollPose.size(); ++c)
      for (size_t p = 0; p < f.DollPose[c].size(); ++p) EXPECT_EQ(f.DollPose[c][p], 0) << c << "," << p;
    for (bool used : f.PosUsed) EXPECT_FALSE(used);
    for (const Surface& d : f.Doll_Disp) EXPECT_FALSE(d.Visible);
    EXPECT_EQ(f.LineNo, 0);
    EXPECT_EQ(f.LastSpeaker, -1);
  }
};

TEST_F(Background, LoadsTheFileOfTheLastTwoDigitsWithTheCodeFromTheText) {
  WriteBmp(dir / "p05.dat", Plain(640, 480, Rgb(10, 20, 30)));
  WriteBmp(dir / "p51.dat", Plain(640, 480, Rgb(40, 50, 60)));
  WriteBmp(dir / "p00.dat", Plain(640, 480, Rgb(70, 80, 90)));
  struct Case {
    int16_t bg;
    const char16_t* text;
    uint32_t colour;
    const char16_t* code;
  };
  const Case cases[] = {{5, u"MS and the rest", Rgb(10, 20, 30), u"MS"},
                        {105, u"DI", Rgb(10, 20, 30), u"DI"},
                        {51, u"B", Rgb(40, 50, 60), u"B"},
                        {151, u"", Rgb(40, 50, 60), u""},
                        {0, u"SPx", Rgb(70, 80, 90), u"SP"},
                        {100, u"HB", Rgb(70, 80, 90), u"HB"}};
  for (const Case& c : cases) {
    Harness h;
    h.f.DataDir = dir.path();
    h.Show(oldPic);
    h.f.BgRequest = c.bg;
    h.f.MsgText = c.text;
    EXPECT_EQ(h.f.ShowBackground(), 2);
    EXPECT_EQ(h.f.EffectCode, Text(c.code)) << c.bg;
    EXPECT_TRUE(h.tp.messages.Shown().empty()) << c.bg;
    uint32_t want = c.code == Text(u"SP") ? Rgb(std::min(80 + 100, 255), 100, 80) : c.colour;
    EXPECT_TRUE(ScreenMatches(h.Screen(), [&](int, int) { return want; })) << "background " << c.bg;
  }
}

}  // namespace
}  // namespace mirel::test
