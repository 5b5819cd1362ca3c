// The background transitions: frames, pacing and the pixels of chosen
// frames of every code, on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gfx/Transitions.h"
#include "transition_harness.h"

namespace mirel::test {
namespace {

// Reference colour rules; std::nearbyint rounds ties to even in the default
// rounding mode.
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

uint32_t Dark(uint32_t c) {
  return Rgb(std::max(RedOf(c) - 100, 0), std::max(GreenOf(c) - 100, 0), std::max(BlueOf(c) - 100, 0));
}
uint32_t SepiaOf(uint32_t c) {
  int a = Round((RedOf(c) + GreenOf(c) + BlueOf(c)) / 3.0);
  return Rgb(std::min(a + 100, 255), std::min(a + 20, 255), a);
}
uint32_t GreyOf(uint32_t c) {
  int a = Round((RedOf(c) + GreenOf(c) + BlueOf(c)) / 3.0);
  return Rgb(a, a, a);
}
Image Map(const Image& img, const std::function<uint32_t(uint32_t)>& fn) {
  Image out = img;
  for (auto& p : out.pixels) p = fn(p);
  return out;
}
// One step of the cross-fade: weight and its complement are single precision.
uint32_t Blend(uint32_t screen, uint32_t picture) {
  const float w = 0.1f, w0 = 1.0f - w;
  auto ch = [&](int a, int b) { return Round(b * static_cast<double>(w) + a * static_cast<double>(w0)); };
  return Rgb(ch(RedOf(screen), RedOf(picture)), ch(GreenOf(screen), GreenOf(picture)), ch(BlueOf(screen), BlueOf(picture)));
}

class Transition : public ::testing::Test, public Harness {
 protected:
  Image oldPic = OldPicture(), newPic = NewPicture();

  void Run(const char16_t* code) {
    Show(oldPic);
    Next(newPic);
    f.EffectCode = code;
    f.PlaceEffect();
  }
  // Frame n is presented after n whole periods; each frame pumps once.
  void ExpectPaced(int frames, uint64_t period, int pumpsWanted) {
    ASSERT_EQ(log.Count(), frames);
    for (int n = 0; n < frames; ++n) ASSERT_EQ(log.times[static_cast<size_t>(n)], n * period) << "frame " << n;
    EXPECT_EQ(pumps, pumpsWanted);
  }
  void ExpectFinalIsNew() {
    EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return newPic.At(x, y); }));
  }
};

// The wipes: each frame shows the new picture where its rule says, frames
// come one period apart with one pump each (the horizontal blinds neither
// wait nor pump), and the last frame is the whole new picture.
struct Wipe {
  const char16_t* code;
  int frames;
  uint64_t period, slept;
  int pumps;
  std::vector<int> checked;
  bool (*shown)(int n, int x, int y);
};
class Wipes : public Transition, public ::testing::WithParamInterface<Wipe> {};

TEST_P(Wipes, FramesPacingAndPixels) {
  const Wipe& w = GetParam();
  log.keep = std::set<int>(w.checked.begin(), w.checked.end());
  Run(w.code);
  ExpectPaced(w.frames, w.period, w.pumps);
  EXPECT_EQ(tp.clock.TotalSlept(), w.slept);
  for (int n : w.checked)
    EXPECT_TRUE(ShowsWhere(log.Frame(n), oldPic, newPic, [&](int x, int y) { return w.shown(n, x, y); })) << "frame " << n;
  ExpectFinalIsNew();
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Wipes,
    ::testing::Values(
        // One column per 50-pixel band.
        Wipe{u"DI", 50, 8, 400, 50, {0, 24, 49}, [](int n, int x, int) { return x % 50 <= n; }},
        // Blinds sweeping from both edges.
        Wipe{u"VB", 161, 5, 805, 161, {0, 40, 101}, [](int n, int x, int) { return x % 4 < 2 ? x / 4 <= n : (639 - x) / 4 <= n; }},
        Wipe{u"HB", 121, 0, 0, 0, {0, 33, 100}, [](int n, int, int y) { return y % 4 < 2 ? y / 4 <= n : (479 - y) / 4 <= n; }},
        // Curtain bands opening with one frame lag each.
        Wipe{u"HC", 43, 40, 43 * 40, 43, {0, 10, 30}, [](int n, int x, int) { return x % 15 < 15 - std::max(0, x / 15 - n); }},
        // Boxes growing in every cell.
        Wipe{u"BC", 10, 48, 480, 10, {0, 4, 8}, [](int n, int x, int y) { return x % 20 < 2 * n + 2 && y % 20 < 2 * n + 2; }},
        // Diagonal blocks, then the rest.
        Wipe{u"IC", 2, 100, 100, 2, {0}, [](int, int x, int y) { return (x % 4 < 2) == (y % 4 < 2); }}),
    [](const ::testing::TestParamInfo<Wipe>& i) { return Utf8(i.param.code); });

TEST_F(Transition, MeshDissolveShowsNewWhereThresholdReachedEvery72ms) {
  log.keepAll = true;
  Run(u"MS");
  // Nine mesh frames, then the full copy.
  ExpectPaced(10, 72, 9);
  EXPECT_EQ(tp.clock.TotalSlept(), 9u * 72u);
  for (int k = 0; k <= 8; ++k)
    EXPECT_TRUE(ShowsWhere(log.Frame(k), oldPic, newPic, [k](int x, int y) { return kThreshold[y % 8][x % 8] <= k; }))
        << "frame " << k;
  EXPECT_EQ(f.Mesh2.width, 32);
  EXPECT_EQ(f.Mesh2.height, 32);
  ExpectFinalIsNew();
}

TEST_F(Transition, CrossFadeBlendsATenthPerFrameEvery80ms) {
  log.keep = {0, 9};
  Run(u"BI");
  ExpectPaced(21, 80, 20);
  EXPECT_EQ(tp.clock.TotalSlept(), 1600u);
  Image expect = oldPic;
  for (int n = 0; n < 10; ++n) {
    for (size_t i = 0; i < expect.pixels.size(); ++i) expect.pixels[i] = Blend(expect.pixels[i], newPic.pixels[i]);
    if (n == 0 || n == 9) {
      EXPECT_TRUE(ScreenMatches(log.Frame(n), [&](int x, int y) { return expect.At(x, y); })) << "frame " << n;
    }
  }
  EXPECT_FALSE(f.dib.Active());
  ExpectFinalIsNew();
}

// ---- the colour codes ----

class ColourCode : public Transition {
 protected:
  void SetUp() override { newPic = ColourfulPicture(); }
};

TEST_F(ColourCode, DarkenChangesThePictureInPlaceAndShowsIt) {
  Run(u"DK");
  EXPECT_EQ(log.Count(), 1);
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  Image dark = Map(newPic, Dark);
  EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return dark.At(x, y); }));
  for (int y = 1; y < 479; y += 7)
    for (int x = 1; x < 639; x += 5) ASSERT_EQ(f.Pic_Back.At(x, y), dark.At(x, y));
}

TEST_F(ColourCode, SepiaAndGreyGoToTheScreenAndLeaveThePicture) {
  struct Case {
    const char16_t* code;
    uint32_t (*rule)(uint32_t);
  };
  for (const Case& c : {Case{u"SP", SepiaOf}, Case{u"MC", GreyOf}}) {
    const auto rule = c.rule;
    Harness h;
    h.Show(oldPic);
    h.Next(newPic);
    h.f.EffectCode = c.code;
    h.f.PlaceEffect();
    EXPECT_EQ(h.log.Count(), 1);
    EXPECT_EQ(h.pumps, 1);
    EXPECT_EQ(h.tp.clock.TotalSlept(), 0u);
    Image want = Map(newPic, rule);
    EXPECT_TRUE(ScreenMatches(h.Screen(), [&](int x, int y) { return want.At(x, y); }));
    EXPECT_EQ(h.f.Pic_Back.At(100, 100), newPic.At(100, 100));
    EXPECT_EQ(h.f.PixelCount, 640 * 480);
  }
}

}  // namespace
}  // namespace mirel::test
