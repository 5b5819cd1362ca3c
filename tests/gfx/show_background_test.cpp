// The background handler: the picture file's name and transition.
#include <gtest/gtest.h>

#include "base/Files.h"
#include "transition_harness.h"

namespace mirel::test {
namespace {

class Background : public ::testing::Test, public Harness {
 protected:
  Image oldPic = OldPicture();
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
