// The background handler: gallery unlocks, the picture file's name, the
// sprites frozen into the old screen, and pictures that cannot be loaded.
#include <gtest/gtest.h>

#include <map>

#include "platform/Files.h"
#include "transition_harness.h"

namespace mirel::test {
namespace {

bool Mentions(const std::vector<Text>& shown, const std::string& name) {
  for (const Text& t : shown)
    if (Utf8(t).find(name) != std::string::npos) return true;
  return false;
}

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

TEST_F(Background, UnlocksTheGalleryEntryOfTheBackground) {
  std::map<int, int> table = {{51, 0}, {52, 1}, {53, 2}, {54, 3}, {55, 3}, {56, 4}, {57, 4}};
  for (int n = 58; n <= 67; ++n) table[n] = n - 53;
  for (int n : {0, 5, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 60, 66, 67, 68, 69, 99, 155, 255}) {
    Harness h;
    h.f.BgRequest = static_cast<int16_t>(n);
    h.f.MsgText = u"XX";
    EXPECT_EQ(h.f.ShowBackground(), 2);
    EXPECT_EQ(h.f.BgNumber, n);
    for (int e = 0; e < 19; ++e) {
      bool want = table.count(n) && table[n] == e;
      EXPECT_EQ(h.f.CgUnlocked[static_cast<size_t>(e)], want) << "background " << n << ", entry " << e;
    }
  }
}

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

TEST_F(Background, SpritesAreFrozenIntoTheOldScreenAndLeaveWithIt) {
  Image next = NewPicture();
  WriteBmp(dir / "p10.dat", next);
  Show(oldPic);
  StandSprites();
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  f.LineNo = 4;
  f.LastSpeaker = 2;
  f.BgRequest = 10;
  f.MsgText = u"MS";
  log.keep = {0, 1, 2, 11};
  EXPECT_EQ(f.ShowBackground(), 2);
  // One present per frozen sprite, then the nine mesh frames and the copy.
  ASSERT_EQ(log.Count(), 2 + 10);
  EXPECT_TRUE(ScreenMatches(log.Frame(0), [&](int x, int y) {
    return x >= 40 && x < 90 && y >= 420 ? Rgb(200, 0, 0) : oldPic.At(x, y);
  }));
  EXPECT_TRUE(ScreenMatches(log.Frame(1), [&](int x, int y) { return Frozen(x, y); }));
  // The first mesh frame keeps the frozen sprites wherever it keeps the old.
  const int t0[8][8] = {{1, 0, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0, 0, 0},
                        {0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0},
                        {0, 0, 0, 0, 0, 0, 1, 0}, {0, 0, 0, 0, 0, 0, 0, 0}};  // threshold 0 cells
  EXPECT_TRUE(ScreenMatches(log.Frame(2), [&](int x, int y) { return t0[y % 8][x % 8] ? next.At(x, y) : Frozen(x, y); }));
  EXPECT_TRUE(ScreenMatches(log.Frame(11), [&](int x, int y) { return next.At(x, y); }));
  EXPECT_FALSE(f.Waku[0].Visible);
  EXPECT_FALSE(f.Waku[3].Visible);
  ExpectBookkeepingCleared();
}

TEST_F(Background, APictureThatCannotBeLoadedKeepsTheOldScreen) {
  WriteBytes(dir / "p34.dat", "not a picture at all");
  for (int n : {33, 34}) {
    Harness h;
    h.f.DataDir = dir.path();
    h.Show(oldPic);
    h.f.Pic_Back.SetPicture(Plain(640, 480, Rgb(1, 1, 1)));
    h.f.BgRequest = static_cast<int16_t>(n);
    h.f.MsgText = u"DI";
    for (int p : {0, 2}) {
      h.f.Doll_Disp[p].Resize(20, 20);
      std::fill(h.f.Doll_Disp[p].pixels.begin(), h.f.Doll_Disp[p].pixels.end(), Rgb(9, 9, 9));
      h.f.Doll_Disp[p].Visible = true;
      h.f.DollX[p] = static_cast<int16_t>(100 * p);
      h.f.DollY[p] = 460;
      h.f.DollW[p] = h.f.DollH[p] = 20;
    }
    h.f.DollPose[5][2] = 4;
    h.f.PosUsed[2] = true;
    EXPECT_EQ(h.f.ShowBackground(), 2);
    ASSERT_EQ(h.tp.messages.Shown().size(), 1u) << n;
    EXPECT_TRUE(Mentions(h.tp.messages.Shown(), "p" + std::to_string(n) + ".dat"));
    // Only the freezing of the two sprites was presented; no transition ran.
    EXPECT_EQ(h.log.Count(), 2);
    EXPECT_EQ(h.pumps, 0);
    EXPECT_TRUE(ScreenMatches(h.Screen(), [&](int x, int y) {
      bool sprite = y >= 460 && ((x < 20) || (x >= 200 && x < 220));
      return sprite ? Rgb(9, 9, 9) : oldPic.At(x, y);
    })) << n;
    for (auto& row : h.f.DollPose)
      for (int16_t v : row) EXPECT_EQ(v, 0);
    EXPECT_FALSE(h.f.PosUsed[2]);
    EXPECT_FALSE(h.f.Doll_Disp[0].Visible);
    EXPECT_EQ(h.f.LastSpeaker, -1);
  }
}

TEST_F(Background, PlayGoesOnPastAPictureThatVanishedAfterStartUp) {
  // Three background records run by the interpreter: the first picture is
  // there, the second was removed after start-up, the third is there again.
  const Image first = Plain(640, 480, Rgb(10, 60, 110));
  const Image third = NewPicture();
  WriteBmp(dir / "p21.dat", first);
  WriteBmp(dir / "p22.dat", first);
  WriteBmp(dir / "p23.dat", third);
  RemoveFile(dir / "p22.dat");
  Show(oldPic);
  f.ScenarioTable.assign(3, ScenarioRecord{});
  const char16_t* numbers[] = {u"21", u"22", u"23"};
  const char16_t* codes[] = {u"DI", u"BC", u"HB"};
  for (size_t i = 0; i < 3; ++i) {
    f.ScenarioTable[i].Num = 1000;
    f.ScenarioTable[i].Bg = numbers[i];
    f.ScenarioTable[i].Text = codes[i];
  }
  for (int32_t seq = 0; seq < 3; ++seq) {
    f.CurSeq = seq;
    EXPECT_EQ(f.RunStep(), 2) << "record " << seq;
    if (seq == 1) {
      // Reported by name; the first picture stays on screen.
      ASSERT_EQ(tp.messages.Shown().size(), 1u);
      EXPECT_TRUE(Mentions(tp.messages.Shown(), "p22.dat"));
      EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return first.At(x, y); }));
    }
  }
  EXPECT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return third.At(x, y); }));
  EXPECT_EQ(f.BgNumber, 23);
}

}  // namespace
}  // namespace mirel::test
