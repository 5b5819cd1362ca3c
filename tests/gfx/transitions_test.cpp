// The background transitions: frames, pacing and the pixels of chosen
// frames of every code, on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gfx/Transitions.h"
#include "transition_harness.h"

namespace mirel::test {
namespace {

// The dither thresholds, as the mesh strip must realise them.
const int kT[8][8] = {
    {0, 4, 1, 5, 0, 4, 1, 5}, {6, 2, 7, 3, 6, 2, 8, 4}, {1, 5, 0, 4, 2, 6, 1, 4}, {8, 4, 7, 3, 9, 4, 7, 3},
    {0, 4, 1, 5, 0, 4, 1, 5}, {6, 3, 8, 4, 6, 3, 7, 3}, {2, 6, 1, 5, 2, 6, 0, 4}, {9, 4, 7, 3, 9, 4, 7, 3},
};

// Reference colour rules; std::nearbyint rounds ties to even in the default
// rounding mode.
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }
int Clamp(int v) { return std::clamp(v, 0, 255); }

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
uint32_t WarmOf(uint32_t c, double f) {
  double r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  return Rgb(Clamp(Round((g * f + b * f) / 1.5 + (r - r * f))), Clamp(Round((r * f + b * f) / 2 + (g - g * f))),
             Clamp(Round((g * f + r * f) / 2.2 + (b - b * f))));
}
uint32_t GreyFadeOf(uint32_t c, double f) {
  double r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  return Rgb(std::min(Round((g * f + b * f) / 2 + (r - r * f)), 255), std::min(Round((r * f + b * f) / 2 + (g - g * f)), 255),
             std::min(Round((g * f + r * f) / 2 + (b - b * f)), 255));
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

TEST_F(Transition, MeshStripHasTenFramesOfKeepAndShowMasks) {
  f.BuildMesh1();
  ASSERT_EQ(f.Mesh1.width, 320);
  ASSERT_EQ(f.Mesh1.height, 64);
  const int whiteCounts[10] = {928, 816, 736, 608, 400, 304, 192, 96, 48, 0};
  for (int k = 0; k < 10; ++k) {
    int white = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        uint32_t keep = f.Mesh1.At(32 * k + x, y), show = f.Mesh1.At(32 * k + x, 32 + y);
        ASSERT_TRUE(keep == kWhite || keep == kBlack);
        ASSERT_EQ(show, keep ^ kWhite) << "show-new mask is the complement";
        ASSERT_EQ(keep == kWhite, kT[y % 8][x % 8] > k) << "frame " << k << " at " << x << "," << y;
        white += keep == kWhite;
      }
    EXPECT_EQ(white, whiteCounts[k]) << "frame " << k;
  }
}

TEST_F(Transition, DissolveOpensOneColumnPerBandEvery8ms) {
  log.keep = {0, 24, 49};
  Run(u"DI");
  ExpectPaced(50, 8, 50);
  EXPECT_EQ(tp.clock.TotalSlept(), 400u);
  for (int i : {0, 24})
    EXPECT_TRUE(ShowsWhere(log.Frame(i), oldPic, newPic, [i](int x, int) { return x % 50 <= i; })) << "frame " << i;
  EXPECT_TRUE(ShowsWhere(log.Frame(49), oldPic, newPic, [](int, int) { return true; }));
  ExpectFinalIsNew();
}

TEST_F(Transition, VerticalBlindsSweepFromBothEdgesEvery5ms) {
  log.keep = {0, 40, 101, 160};
  Run(u"VB");
  ExpectPaced(161, 5, 161);
  EXPECT_EQ(tp.clock.TotalSlept(), 805u);
  for (int n : {0, 40, 101}) {
    auto rule = [n](int x, int) { return x % 4 < 2 ? x / 4 <= n : (639 - x) / 4 <= n; };
    EXPECT_TRUE(ShowsWhere(log.Frame(n), oldPic, newPic, rule)) << "frame " << n;
  }
  ExpectFinalIsNew();
}

TEST_F(Transition, HorizontalBlindsNeitherWaitNorPumpEvents) {
  log.keep = {0, 33, 100};
  Run(u"HB");
  ASSERT_EQ(log.Count(), 121);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  EXPECT_EQ(pumps, 0);
  for (int n : {0, 33, 100}) {
    auto rule = [n](int, int y) { return y % 4 < 2 ? y / 4 <= n : (479 - y) / 4 <= n; };
    EXPECT_TRUE(ShowsWhere(log.Frame(n), oldPic, newPic, rule)) << "frame " << n;
  }
  ExpectFinalIsNew();
}

TEST_F(Transition, CurtainWipeOpensBandsWithOneFrameLagEach) {
  log.keep = {0, 10, 30};
  Run(u"HC");
  ExpectPaced(43, 40, 43);
  EXPECT_EQ(tp.clock.TotalSlept(), 43u * 40u);
  for (int n : {0, 10, 30}) {
    auto rule = [n](int x, int) { return x % 15 < 15 - std::max(0, x / 15 - n); };
    EXPECT_TRUE(ShowsWhere(log.Frame(n), oldPic, newPic, rule)) << "frame " << n;
  }
  ExpectFinalIsNew();
}

TEST_F(Transition, BoxesGrowInEveryCellEvery48ms) {
  log.keep = {0, 4, 8};
  Run(u"BC");
  ExpectPaced(10, 48, 10);
  EXPECT_EQ(tp.clock.TotalSlept(), 480u);
  for (int n : {0, 4, 8}) {
    int side = 2 * n + 2;
    auto rule = [side](int x, int y) { return x % 20 < side && y % 20 < side; };
    EXPECT_TRUE(ShowsWhere(log.Frame(n), oldPic, newPic, rule)) << "frame " << n;
  }
  ExpectFinalIsNew();
}

TEST_F(Transition, CheckerShowsDiagonalBlocksThenTheRestAfter100ms) {
  log.keep = {0};
  Run(u"IC");
  ASSERT_EQ(log.Count(), 2);
  EXPECT_EQ(log.times[0], 0u);
  EXPECT_EQ(log.times[1], 100u);
  EXPECT_EQ(tp.clock.TotalSlept(), 100u);
  EXPECT_EQ(pumps, 2);
  EXPECT_TRUE(ShowsWhere(log.Frame(0), oldPic, newPic, [](int x, int y) { return (x % 4 < 2) == (y % 4 < 2); }));
  ExpectFinalIsNew();
}

TEST_F(Transition, MeshDissolveShowsNewWhereThresholdReachedEvery72ms) {
  log.keepAll = true;
  Run(u"MS");
  // Nine mesh frames, then the full copy.
  ExpectPaced(10, 72, 9);
  EXPECT_EQ(tp.clock.TotalSlept(), 9u * 72u);
  for (int k = 0; k <= 8; ++k)
    EXPECT_TRUE(ShowsWhere(log.Frame(k), oldPic, newPic, [k](int x, int y) { return kT[y % 8][x % 8] <= k; }))
        << "frame " << k;
  EXPECT_EQ(f.Mesh2.width, 32);
  EXPECT_EQ(f.Mesh2.height, 32);
  ExpectFinalIsNew();
}

TEST_F(Transition, MeshDissolveDrawsAStripThatWasOnlySized) {
  // A blank strip of the right size would show the new picture at once.
  f.Mesh1.BackColor = kWhite;
  f.Mesh1.Resize(320, 64);
  log.keep = {2};
  Run(u"MS");
  ASSERT_EQ(log.Count(), 10);
  EXPECT_TRUE(ShowsWhere(log.Frame(2), oldPic, newPic, [](int x, int y) { return kT[y % 8][x % 8] <= 2; }));
}

TEST_F(Transition, MeshDissolveOfSmallPictureKeepsTheOldScreenAroundIt) {
  // Cells reaching past the picture must not pick up the cell drawn before.
  Image small = NewPicture(100, 70);
  Show(oldPic);
  Next(small);
  log.keepAll = true;
  f.EffectCode = u"MS";
  f.PlaceEffect();
  ASSERT_EQ(log.Count(), 10);
  for (int k : {0, 4, 8, 9}) {
    auto want = [&](int x, int y) {
      bool onPicture = x < 100 && y < 70;
      bool shown = k == 9 || kT[y % 8][x % 8] <= k;
      return onPicture && shown ? small.At(x, y) : oldPic.At(x, y);
    };
    EXPECT_TRUE(ScreenMatches(log.Frame(k), want)) << "frame " << k;
  }
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

TEST_F(Transition, CrossFadeCentresPicturesOfOddAndOversizedSizes) {
  struct Case {
    int w, h;
  };
  for (Case c : {Case{201, 121}, Case{33, 7}, Case{701, 501}}) {
    Harness h;
    Image picture = NewPicture(c.w, c.h);
    h.Show(oldPic);
    h.Next(picture);
    h.log.keep = {0, 20};
    h.f.EffectCode = u"BI";
    h.f.PlaceEffect();
    ASSERT_EQ(h.log.Count(), 21);
    const int x0 = 320 - c.w / 2, y0 = 240 - c.h / 2;
    auto on = [&](int x, int y) { return x >= x0 && y >= y0 && x < x0 + c.w && y < y0 + c.h; };
    EXPECT_TRUE(ScreenMatches(h.log.Frame(0), [&](int x, int y) {
      return on(x, y) ? Blend(oldPic.At(x, y), picture.At(x - x0, y - y0)) : oldPic.At(x, y);
    })) << c.w << "x" << c.h << " first frame";
    EXPECT_TRUE(ScreenMatches(h.log.Frame(20), [&](int x, int y) {
      return on(x, y) ? picture.At(x - x0, y - y0) : oldPic.At(x, y);
    })) << c.w << "x" << c.h << " final frame";
  }
}

TEST_F(Transition, CrossFadeOfEmptyPictureLeavesTheScreen) {
  Show(oldPic);
  f.Pic_Back.Resize(0, 0);
  f.EffectCode = u"BI";
  f.PlaceEffect();
  EXPECT_EQ(log.Count(), 21);
  EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return oldPic.At(x, y); }));
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

TEST_F(ColourCode, WarmFadeCompoundsOverFourFrames) {
  log.keepAll = true;
  Run(u"SO");
  ASSERT_EQ(log.Count(), 4);
  EXPECT_EQ(pumps, 4);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  // The weights as a double counter stepping by 0.1 reaches them.
  const double weights[4] = {0.1, 0.1 + 0.1, 0.1 + 0.1 + 0.1, 0.1 + 0.1 + 0.1 + 0.1};
  Image step = newPic;
  for (int n = 0; n < 4; ++n) {
    step = Map(step, [&](uint32_t c) { return WarmOf(c, weights[n]); });
    EXPECT_TRUE(ScreenMatches(log.Frame(n), [&](int x, int y) { return step.At(x, y); })) << "frame " << n;
  }
  for (int y = 1; y < 479; y += 3)
    for (int x = 1; x < 639; x += 3) ASSERT_EQ(f.Pic_Back.At(x, y), step.At(x, y));
}

TEST_F(ColourCode, GreyFadeCompoundsOverSevenFramesAndASecondStartsFromGrey) {
  log.keepAll = true;
  Run(u"MO");
  ASSERT_EQ(log.Count(), 7);
  EXPECT_EQ(pumps, 7);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  double f0 = 0.1;
  Image step = newPic;
  for (int n = 0; n < 7; ++n, f0 += 0.1) {
    step = Map(step, [&](uint32_t c) { return GreyFadeOf(c, f0); });
    EXPECT_TRUE(ScreenMatches(log.Frame(n), [&](int x, int y) { return step.At(x, y); })) << "frame " << n;
  }
  // The picture is left greyed; a second fade works on that.
  for (int y = 1; y < 479; y += 3)
    for (int x = 1; x < 639; x += 3) ASSERT_EQ(f.Pic_Back.At(x, y), step.At(x, y));
  Image greyed = f.Pic_Back.ToImage();
  f.PlaceEffect();
  ASSERT_EQ(log.Count(), 14);
  EXPECT_TRUE(ScreenMatches(log.Frame(7), [&](int x, int y) { return GreyFadeOf(greyed.At(x, y), 0.1); }));
}

TEST_F(ColourCode, FadeFromGreyEndsWithThePicturesOwnColours) {
  // Channels whose halves are ties: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 1.25 -> 1.
  newPic.pixels[10 * 640 + 10] = Rgb(1, 0, 0);
  newPic.pixels[10 * 640 + 11] = Rgb(3, 0, 0);
  newPic.pixels[10 * 640 + 12] = Rgb(5, 0, 0);
  log.keepAll = true;
  Run(u"MI");
  ASSERT_EQ(log.Count(), 8);
  EXPECT_EQ(pumps, 8);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  double w = 0.7;
  for (int n = 0; n < 8; ++n, w -= 0.1)
    EXPECT_TRUE(ScreenMatches(log.Frame(n), [&](int x, int y) { return GreyFadeOf(newPic.At(x, y), w); }))
        << "frame " << n;
  // Third frame: weight one half exactly.
  const auto& half = log.Frame(2);
  EXPECT_EQ(half[10 * 640 + 10], Rgb(0, 0, 0));
  EXPECT_EQ(half[10 * 640 + 11], Rgb(2, 1, 1));
  EXPECT_EQ(half[10 * 640 + 12], Rgb(2, 1, 1));
  ExpectFinalIsNew();
  for (int y = 1; y < 479; y += 3)
    for (int x = 1; x < 639; x += 3) ASSERT_EQ(f.Pic_Back.At(x, y), newPic.At(x, y));
}

TEST_F(ColourCode, ScreenCodesPlaceOtherSizedPicturesAtTheCorner) {
  // The array is laid out for the picture, not for the screen.
  struct Case {
    const char16_t* code;
    uint32_t (*rule)(uint32_t);
  };
  const Case cases[] = {{u"SP", SepiaOf}, {u"MC", GreyOf}, {u"MI", [](uint32_t c) { return c; }}};
  for (const Case& c : cases)
    for (auto [w, h] : {std::pair{320, 200}, std::pair{700, 500}, std::pair{641, 480}}) {
      Harness hs;
      Image picture = ColourfulPicture(w, h);
      hs.Show(oldPic);
      hs.Next(picture);
      hs.f.EffectCode = c.code;
      hs.f.PlaceEffect();
      EXPECT_TRUE(ScreenMatches(hs.Screen(), [&](int x, int y) {
        return x < w && y < h ? c.rule(picture.At(x, y)) : oldPic.At(x, y);
      })) << std::string(c.code, c.code + 2) << " " << w << "x" << h;
    }
}

TEST_F(ColourCode, UnreadablePictureChangesNothingOnScreen) {
  for (const char16_t* code : {u"SP", u"MC", u"MI", u"DK", u"SO", u"MO"}) {
    Harness h;
    h.Show(oldPic);
    h.f.Pic_Back.Resize(0, 0);
    h.f.EffectCode = code;
    h.f.PlaceEffect();
    EXPECT_EQ(h.f.PixelCount, -1);
    EXPECT_GE(h.log.Count(), 1);
    EXPECT_TRUE(ScreenMatches(h.Screen(), [&](int x, int y) { return oldPic.At(x, y); }));
  }
}

TEST(RoundEven, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(effects::RoundEven(0.5), 0.0);
  EXPECT_EQ(effects::RoundEven(1.5), 2.0);
  EXPECT_EQ(effects::RoundEven(2.5), 2.0);
  EXPECT_EQ(effects::RoundEven(254.5), 254.0);
  EXPECT_EQ(effects::RoundEven(255.5), 256.0);
  EXPECT_EQ(effects::RoundEven(-1.5), -2.0);
  EXPECT_EQ(effects::RoundEven(0.49999999999999994), 0.0);
  EXPECT_EQ(effects::RoundEven(2.5000000000000004), 3.0);
  EXPECT_EQ(effects::RoundEven(1e300), 1e300);
}

// ---- the fallback and the final rectangle ----

TEST_F(Transition, UnknownCodesShowThePictureAtOnce) {
  for (const char16_t* code : {u"", u"di", u"DIx", u"D", u"ZZ", u" DI", u"ms"}) {
    Harness h;
    h.Show(oldPic);
    h.Next(newPic);
    h.f.EffectCode = code;
    h.f.PlaceEffect();
    EXPECT_EQ(h.log.Count(), 1) << "code '" << Utf8(code) << "'";
    EXPECT_EQ(h.pumps, 0);
    EXPECT_EQ(h.tp.clock.TotalSlept(), 0u);
    EXPECT_TRUE(ScreenMatches(h.Screen(), [&](int x, int y) { return newPic.At(x, y); })) << Utf8(code);
  }
}

TEST_F(Transition, EveryCodeEndsWithTheRectangleOnThePicture) {
  for (const char16_t* code : {u"DI", u"HB", u"MS", u"BI", u"SP", u"XX"}) {
    Harness h;
    h.Show(oldPic);
    h.Next(newPic);
    h.f.Pic_Back.ForeColor = Rgb(1, 2, 3);
    h.f.EffectCode = code;
    h.f.PlaceEffect();
    const Surface& b = h.f.Pic_Back;
    for (int x = 0; x < 640; x += 13) {
      EXPECT_EQ(b.At(x, 0), Rgb(1, 2, 3)) << Utf8(code);
      EXPECT_EQ(b.At(x, 479), Rgb(1, 2, 3)) << Utf8(code);
    }
    for (int y = 0; y < 480; y += 13) {
      EXPECT_EQ(b.At(0, y), Rgb(1, 2, 3)) << Utf8(code);
      EXPECT_EQ(b.At(639, y), Rgb(1, 2, 3)) << Utf8(code);
    }
    // Not filled.
    EXPECT_EQ(b.At(1, 1), newPic.At(1, 1)) << Utf8(code);
    EXPECT_EQ(b.At(320, 240), newPic.At(320, 240)) << Utf8(code);
  }
}

TEST_F(Transition, PacedCodesLetTheAnimationSeeClicks) {
  // A handler run between frames sees the screen of the frame before.
  int framesAtFirstPump = -1;
  onPump = [&] {
    if (framesAtFirstPump < 0) framesAtFirstPump = log.Count();
  };
  Run(u"BC");
  EXPECT_EQ(framesAtFirstPump, 1);
}

}  // namespace
}  // namespace mirel::test
