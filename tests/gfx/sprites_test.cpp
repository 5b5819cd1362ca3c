// Character sprites and faces: where a sprite stands and what it covers,
// how it leaves, how a face is exchanged, and records whose sprite or face
// fields name nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "transition_harness.h"

namespace mirel::test {
namespace {

// A sprite picture: black (transparent) margins and diagonal holes, a dot
// pattern of nearly black red 1 that must stay opaque, and elsewhere a
// colour that tells where it was taken from.
Image SpritePicture(int w, int h, int tint = 0) {
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c;
      if (x < 6 || x >= w - 6 || y < 10 || (x + y) % 9 == 0)
        c = kBlack;
      else if (x % 11 == 3 && y % 13 == 5)
        c = Rgb(1, 0, 0);
      else
        c = Rgb(0x20 + (x & 0x7F) + tint, 0x10 + (y & 0x7F), 0x80 | ((x * y) & 0x7F));
      img.pixels[static_cast<size_t>(y) * w + x] = c;
    }
  return img;
}

// The face sheet: every pixel names its own place on the sheet, except
// black holes that let the sprite show through.
constexpr int kSheetW = 1465, kSheetH = 360;
uint32_t SheetAt(int x, int y) {
  if ((x + 2 * y) % 5 == 0) return kBlack;
  return Rgb(x & 255, 0x40 | (x >> 8) | ((y >> 8) << 4), y & 255);
}
Image FaceSheet() {
  Image img{kSheetW, kSheetH, std::vector<uint32_t>(static_cast<size_t>(kSheetW) * kSheetH)};
  for (int y = 0; y < kSheetH; ++y)
    for (int x = 0; x < kSheetW; ++x) img.pixels[static_cast<size_t>(y) * kSheetW + x] = SheetAt(x, y);
  return img;
}

// Where the faces of each sprite picture sit on it and on the sheet.
struct FaceBox {
  int key, x1, y1, w, h, column;
};
constexpr FaceBox kBoxes[] = {
    {11, 130, 90, 135, 120, 0},    {12, 130, 90, 135, 120, 135},  {13, 130, 90, 135, 120, 270},
    {21, 115, 100, 145, 108, 405}, {22, 115, 100, 145, 108, 405}, {23, 115, 100, 145, 108, 405},
    {31, 120, 100, 140, 120, 550}, {32, 120, 100, 140, 120, 550}, {41, 125, 100, 140, 110, 690},
    {42, 125, 100, 140, 110, 690}, {15, 65, 75, 105, 85, 830},    {17, 65, 75, 105, 85, 1040},
    {25, 55, 80, 110, 80, 1145},   {26, 55, 80, 110, 80, 1145},   {27, 55, 80, 110, 80, 1145},
    {35, 95, 75, 105, 90, 1255},   {36, 95, 75, 105, 90, 1255},   {45, 95, 75, 105, 85, 1360},
    {46, 95, 75, 105, 85, 1360},
    // Pictures without a box of their own take the first one.
    {14, 130, 90, 135, 120, 0},    {16, 130, 90, 135, 120, 0},    {24, 130, 90, 135, 120, 0},
    {81, 130, 90, 135, 120, 0},    {89, 130, 90, 135, 120, 0},
};

// At mesh frame k the new face shows where the threshold is at most k.
constexpr int kThreshold[8][8] = {{0, 4, 1, 5, 0, 4, 1, 5}, {6, 2, 7, 3, 6, 2, 8, 4}, {1, 5, 0, 4, 2, 6, 1, 4},
                                  {8, 4, 7, 3, 9, 4, 7, 3}, {0, 4, 1, 5, 0, 4, 1, 5}, {6, 3, 8, 4, 6, 3, 7, 3},
                                  {2, 6, 1, 5, 2, 6, 0, 4}, {9, 4, 7, 3, 9, 4, 7, 3}};

bool Mentions(const Text& shown, const std::string& what) { return Utf8(shown).find(what) != std::string::npos; }

// Compares a surface's image with a rule; names the first pixel that differs.
::testing::AssertionResult ImageMatches(const std::vector<uint32_t>& px, int w, int h,
                                        const std::function<uint32_t(int, int)>& expected) {
  if (px.size() != static_cast<size_t>(w) * h)
    return ::testing::AssertionFailure() << "image has " << px.size() << " pixels, not " << w << " x " << h;
  long bad = 0;
  std::string first;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t got = px[static_cast<size_t>(y) * w + x], want = expected(x, y);
      if (got != want && bad++ == 0) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "(%d, %d): got %06X, want %06X", x, y, got, want);
        first = buf;
      }
    }
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ, first at " << first;
}

struct Standing {
  const Image* picture;
  int x, y;
};

class SpriteTest : public ::testing::Test, public Harness {
 protected:
  Image bg = OldPicture();
  std::array<FrameLog, 3> disp{FrameLog{tp.clock}, FrameLog{tp.clock}, FrameLog{tp.clock}};

  SpriteTest() {
    Show(bg);
    for (int p = 0; p < 3; ++p) f.Doll_Disp[p].sink = &disp[static_cast<size_t>(p)];
  }

  void Put(const std::string& file, const Image& img) { WriteBmp(dir / file, img); }
  void PutSheet() {
    Put("60.dat", FaceSheet());
    f.LoadFaces();
  }
  int32_t Sprite(int character, int picture, const char16_t* text) {
    f.DollNo = static_cast<uint8_t>(character);
    f.FaceNo = static_cast<uint8_t>(picture);
    f.MsgText = text;
    return f.ShowDoll();
  }
  int32_t Face(int character, int picture, int expression, int16_t speed) {
    f.DollNo = static_cast<uint8_t>(character);
    f.FaceNo = static_cast<uint8_t>(picture);
    f.DollParam = static_cast<uint8_t>(expression);
    f.MessageSpeed = speed;
    return f.ChangeFace();
  }
  Image Composed() {
    Image img;
    Compose(f, tp.fonts, img);
    return img;
  }
  // The background with the given sprite windows laid over it back to
  // front: a window covers its whole rectangle, with the background that
  // lay under it where its picture is black.
  std::function<uint32_t(int, int)> Scene(std::vector<Standing> sprites, const Image* back = nullptr) {
    const Image* b = back ? back : &bg;
    return [b, sprites](int x, int y) {
      uint32_t c = b->At(x, y);
      for (const Standing& s : sprites) {
        int sx = x - s.x, sy = y - s.y;
        if (sx < 0 || sy < 0 || sx >= s.picture->width || sy >= s.picture->height) continue;
        uint32_t px = s.picture->At(sx, sy);
        c = px != kBlack ? px : b->At(x, y);
      }
      return c;
    };
  }
  ::testing::AssertionResult ScreenShows(const std::function<uint32_t(int, int)>& rule) {
    return ScreenMatches(Composed().pixels, rule);
  }
  void AddRecord(int line, const char16_t* doll, const char16_t* anim, const char16_t* text) {
    ScenarioRecord r;
    r.Num = 1000;
    r.Doll = doll;
    r.Anim = anim;
    r.Text = text;
    r.line = line;
    f.ScenarioTable.push_back(r);
  }
  int32_t RunRecord(int32_t seq) {
    f.CurSeq = seq;
    return f.RunStep();
  }
};

TEST_F(SpriteTest, StandsAtEachPlaceOnTheBottomEdgeMaskedOverTheBackground) {
  const Image left = SpritePicture(120, 300), right = SpritePicture(100, 260, 0x40), centre = SpritePicture(140, 330);
  Put("12.dat", left);
  Put("21.dat", right);
  Put("33.dat", centre);
  struct Case {
    int character, picture;
    const char16_t* text;
    int p, x;
    const Image* img;
  };
  const Case cases[] = {{1, 2, u"L", 0, 40, &left}, {2, 1, u"R", 1, 350, &right}, {3, 3, u"C", 2, 130, &centre}};
  std::vector<Standing> standing;
  for (const Case& c : cases) {
    const int w = c.img->width, h = c.img->height, y = 480 - h;
    ASSERT_EQ(Sprite(c.character, c.picture, c.text), 2) << Utf8(c.text);
    EXPECT_EQ(f.DollX[c.p], c.x);
    EXPECT_EQ(f.DollY[c.p], y);
    EXPECT_EQ(f.DollW[c.p], w);
    EXPECT_EQ(f.DollH[c.p], h);
    const Surface& d = f.Doll_Disp[c.p];
    EXPECT_EQ(d.left, c.x);
    EXPECT_EQ(d.top, y);
    EXPECT_EQ(d.width, w);
    EXPECT_EQ(d.height, h);
    EXPECT_TRUE(d.Visible);
    EXPECT_EQ(f.DollPose[static_cast<size_t>(c.character - 1)][static_cast<size_t>(c.p)], c.picture);
    EXPECT_TRUE(f.PosUsed[static_cast<size_t>(c.p)]);
    // The saved background and the mask of the picture.
    EXPECT_TRUE(ImageMatches(f.Doll_Back[c.p].pixels, w, h, [&](int x, int yy) { return bg.At(c.x + x, y + yy); }));
    EXPECT_TRUE(ImageMatches(f.Doll_Mask[c.p].pixels, w, h,
                             [&](int x, int yy) { return c.img->At(x, yy) == kBlack ? kWhite : kBlack; }));
    // Presented twice: the bare background, then the sprite over it.
    const FrameLog& log = disp[static_cast<size_t>(c.p)];
    ASSERT_EQ(log.Count(), 2);
    standing.push_back({c.img, c.x, y});
    EXPECT_TRUE(ScreenShows(Scene(standing))) << Utf8(c.text);
  }
  // The screen picture itself is never drawn into for a sprite.
  EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return bg.At(x, y); }));
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(SpriteTest, ItsWindowShowsTheBareBackgroundFirstThenTheMaskedPicture) {
  const Image pic = SpritePicture(90, 200);
  Put("51.dat", pic);
  disp[2].keepAll = true;
  ASSERT_EQ(Sprite(5, 1, u"C"), 2);
  ASSERT_EQ(disp[2].Count(), 2);
  EXPECT_TRUE(ImageMatches(disp[2].Frame(0), 90, 200, [&](int x, int y) { return bg.At(130 + x, 280 + y); }));
  EXPECT_TRUE(ImageMatches(disp[2].Frame(1), 90, 200, [&](int x, int y) {
    return pic.At(x, y) == kBlack ? bg.At(130 + x, 280 + y) : pic.At(x, y);
  }));
}

TEST_F(SpriteTest, ASpriteMayReachPastTheRightEdgeAndAboveTheTop) {
  const Image wide = SpritePicture(330, 300), tall = SpritePicture(100, 500);
  Put("11.dat", wide);
  Put("21.dat", tall);
  ASSERT_EQ(Sprite(1, 1, u"R"), 2);
  EXPECT_EQ(f.DollX[1], 350);
  EXPECT_EQ(f.DollY[1], 180);
  EXPECT_EQ(f.Doll_Disp[1].width, 330);
  ASSERT_EQ(Sprite(2, 1, u"L"), 2);
  EXPECT_EQ(f.DollY[0], -20);
  EXPECT_EQ(f.Doll_Disp[0].top, -20);
  EXPECT_TRUE(ScreenShows(Scene({{&wide, 350, 180}, {&tall, 40, -20}})));
}

TEST_F(SpriteTest, TheSamePictureTwiceDoesNothingAnotherPictureReplacesIt) {
  const Image first = SpritePicture(120, 300), second = SpritePicture(80, 250, 0x40);
  Put("12.dat", first);
  Put("13.dat", second);
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  const int presents = disp[0].Count();
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  EXPECT_EQ(disp[0].Count(), presents);
  EXPECT_TRUE(f.Waku[0].Visible);
  EXPECT_TRUE(f.Waku[3].Visible);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);

  // Another picture at the same place: the old one is wiped away first.
  f.EffectCode = u"MS";
  ASSERT_EQ(Sprite(1, 3, u"L"), 2);
  EXPECT_EQ(disp[0].Count(), presents + 31 + 2);  // 120 wide: 31 wipe frames, then the two presents
  EXPECT_EQ(tp.clock.TotalSlept(), 31u * 4);
  EXPECT_EQ(f.DollPose[0][0], 3);
  EXPECT_EQ(f.DollW[0], 80);
  EXPECT_TRUE(ScreenShows(Scene({{&second, 40, 230}})));
}

TEST_F(SpriteTest, MovingToAnotherPlaceWipesItFromTheOldOneFirst) {
  const Image pic = SpritePicture(100, 300);
  Put("12.dat", pic);
  for (const char16_t* code : {u"MS", u"DH"}) {
    SCOPED_TRACE(Utf8(code));
    ASSERT_EQ(Sprite(1, 2, u"L"), 2);
    for (FrameLog& l : disp) l.times.clear();
    const uint64_t before = tp.clock.TotalSlept();
    f.EffectCode = code;
    ASSERT_EQ(Sprite(1, 2, u"C"), 2);
    const bool animated = Text(code) != u"DH";
    // 100 wide: i = 0, 2, ..., 50, one 4 ms frame each.
    ASSERT_EQ(disp[0].Count(), animated ? 26 : 0);
    for (int j = 0; j < disp[0].Count(); ++j) EXPECT_EQ(disp[0].times[static_cast<size_t>(j)] - before, 4u * j);
    ASSERT_EQ(disp[2].Count(), 2);
    EXPECT_EQ(disp[2].times[0] - before, animated ? 104u : 0u);
    EXPECT_FALSE(f.Doll_Disp[0].Visible);
    EXPECT_TRUE(f.Doll_Disp[2].Visible);
    EXPECT_EQ(f.DollPose[0][0], 0);
    EXPECT_EQ(f.DollPose[0][2], 2);
    EXPECT_FALSE(f.PosUsed[0]);
    EXPECT_TRUE(f.PosUsed[2]);
    EXPECT_TRUE(ScreenShows(Scene({{&pic, 130, 180}})));
    ASSERT_EQ(Sprite(1, 0, u"DH"), 2);  // out again for the next round
  }
}

TEST_F(SpriteTest, RemovalWipesTwoPixelColumnsThenHidesTheWindow) {
  // A solid sprite ten pixels wide: its columns show which were wiped.
  const uint32_t solid = Rgb(200, 30, 90);
  Put("41.dat", Plain(10, 40, solid));
  ASSERT_EQ(Sprite(4, 1, u"L"), 2);
  disp[0].keepAll = true;
  disp[0].times.clear();
  ASSERT_EQ(Sprite(4, 0, u"XX"), 2);
  EXPECT_EQ(f.EffectCode, u"XX");
  ASSERT_EQ(disp[0].Count(), 3);  // half of 10 is 5: i = 0, 2, 4
  // Columns back to the background after each frame.
  const std::vector<std::vector<int>> wiped = {{0, 1}, {0, 1, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(disp[0].times[static_cast<size_t>(j)], 4u * j);
    const auto& cols = wiped[static_cast<size_t>(j)];
    EXPECT_TRUE(ImageMatches(disp[0].Frame(j), 10, 40, [&](int x, int y) {
      bool back = std::find(cols.begin(), cols.end(), x) != cols.end();
      return back ? bg.At(40 + x, 440 + y) : solid;
    })) << "frame " << j;
  }
  EXPECT_EQ(tp.clock.TotalSlept(), 12u);
  EXPECT_FALSE(f.Doll_Disp[0].Visible);
  EXPECT_EQ(f.DollPose[3][0], 0);
  EXPECT_FALSE(f.PosUsed[0]);
  EXPECT_TRUE(ScreenShows(Scene({})));
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(SpriteTest, TheWipeTakesHalfTheWidthInFramesOfFourMilliseconds) {
  // Frames: i = 0, 2, ... up to half the width rounded to even.
  const std::pair<int, int> widths[] = {{5, 2}, {7, 3}, {9, 3}, {11, 4}, {100, 26}, {101, 26}, {120, 31}};
  for (auto [w, frames] : widths) {
    Harness h;
    h.f.DataDir = dir.path();
    FrameLog log{h.tp.clock};
    h.f.Doll_Disp[1].sink = &log;
    WriteBmp(dir / "21.dat", SpritePicture(w, 100));
    h.f.DollNo = 2;
    h.f.FaceNo = 1;
    h.f.MsgText = u"R";
    ASSERT_EQ(h.f.ShowDoll(), 2);
    h.f.FaceNo = 0;
    h.f.MsgText = u"";
    ASSERT_EQ(h.f.ShowDoll(), 2);
    EXPECT_EQ(log.Count(), 2 + frames) << "width " << w;
    EXPECT_EQ(h.tp.clock.TotalSlept(), 4u * frames) << "width " << w;
    EXPECT_FALSE(h.f.Doll_Disp[1].Visible);
  }
}

TEST_F(SpriteTest, RemovalWithDHIsImmediateAndRemovingNobodyChangesNothing) {
  const Image pic = SpritePicture(120, 300);
  Put("12.dat", pic);
  Put("22.dat", pic);
  ASSERT_EQ(Sprite(1, 2, u"R"), 2);
  ASSERT_EQ(Sprite(2, 2, u"L"), 2);
  const int presents = disp[1].Count();
  ASSERT_EQ(Sprite(1, 0, u"DH"), 2);
  EXPECT_EQ(disp[1].Count(), presents);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  EXPECT_FALSE(f.Doll_Disp[1].Visible);
  EXPECT_EQ(f.DollPose[0][1], 0);
  EXPECT_FALSE(f.PosUsed[1]);
  EXPECT_TRUE(ScreenShows(Scene({{&pic, 40, 180}})));

  // Character 1 stands nowhere now; character 3 never stood.
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  for (int c : {1, 3}) {
    ASSERT_EQ(Sprite(c, 0, u"MS"), 2);
    EXPECT_EQ(f.EffectCode, u"MS");
  }
  EXPECT_TRUE(f.Waku[0].Visible);
  EXPECT_TRUE(f.Waku[3].Visible);
  EXPECT_TRUE(f.Doll_Disp[0].Visible);
  EXPECT_EQ(f.DollPose[1][0], 2);
  EXPECT_EQ(tp.clock.TotalSlept(), 0u);
  EXPECT_TRUE(ScreenShows(Scene({{&pic, 40, 180}})));
}

TEST_F(SpriteTest, TheMessageWindowIsHiddenBeforeASpriteComesOrGoesButNotForAFace) {
  Put("12.dat", SpritePicture(300, 300));
  PutSheet();
  std::vector<bool> wakuSeen;
  for (FrameLog& l : disp)
    l.onFrame = [&](int, const Surface&) { wakuSeen.push_back(f.Waku[0].Visible || f.Waku[3].Visible); };
  auto check = [&](const char* what, bool shown) {
    ASSERT_FALSE(wakuSeen.empty()) << what;
    for (bool v : wakuSeen) EXPECT_EQ(v, shown) << what;
    EXPECT_EQ(f.Waku[0].Visible, shown) << what;
    EXPECT_EQ(f.Waku[3].Visible, shown) << what;
    wakuSeen.clear();
    f.Waku[0].Visible = f.Waku[3].Visible = true;
  };
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  check("shown", false);
  ASSERT_EQ(Face(1, 2, 2, 3), 0);
  check("face", true);
  ASSERT_EQ(Sprite(1, 2, u"R"), 2);  // wiped from L, shown at R
  check("moved", false);
  ASSERT_EQ(Sprite(1, 0, u"XX"), 2);
  check("wiped", false);
  ASSERT_EQ(Sprite(1, 2, u"C"), 2);
  wakuSeen.clear();
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  ASSERT_EQ(Sprite(1, 0, u"DH"), 2);  // nothing is presented: only the end state tells
  EXPECT_FALSE(f.Waku[0].Visible);
  EXPECT_FALSE(f.Waku[3].Visible);
}

TEST_F(SpriteTest, AnotherCharacterAtThePlaceIsOverdrawnButKeepsItsEntry) {
  const Image one = SpritePicture(300, 300), two = SpritePicture(280, 250, 0x40);
  Put("11.dat", one);
  Put("21.dat", two);
  PutSheet();
  ASSERT_EQ(Sprite(1, 1, u"R"), 2);
  ASSERT_EQ(Sprite(2, 1, u"R"), 2);
  EXPECT_TRUE(ScreenShows(Scene({{&two, 350, 230}})));
  EXPECT_EQ(f.DollPose[0][1], 1);
  EXPECT_EQ(f.DollPose[1][1], 1);
  // The first one's face change draws on the reused window: no play error.
  EXPECT_EQ(Face(1, 1, 2, 0), 0);
  EXPECT_TRUE(ImageMatches(f.Face_Disp[1].pixels, 135, 120, [&](int x, int y) {
    const uint32_t s = SheetAt(x, 120 + y);
    return s != kBlack ? s : two.At(130 + x, 90 + y) != kBlack ? two.At(130 + x, 90 + y) : bg.At(480 + x, 320 + y);
  }));
  // Its removal takes the window, newcomer and all.
  ASSERT_EQ(Sprite(1, 0, u"DH"), 2);
  EXPECT_FALSE(f.Doll_Disp[1].Visible);
  EXPECT_FALSE(f.PosUsed[1]);
  EXPECT_EQ(f.DollPose[0][1], 0);
  EXPECT_EQ(f.DollPose[1][1], 1);
  // The newcomer still counts as standing there.
  ASSERT_EQ(Sprite(2, 1, u"R"), 2);
  EXPECT_FALSE(f.Doll_Disp[1].Visible);
}

TEST_F(SpriteTest, SpritesAreFlattenedIntoTheScreenWhenTheBackgroundChanges) {
  const Image left = SpritePicture(120, 300), right = SpritePicture(330, 260, 0x40);
  const Image next = NewPicture();
  Put("12.dat", left);
  Put("21.dat", right);
  Put("p10.dat", next);
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  ASSERT_EQ(Sprite(2, 1, u"R"), 2);
  log.keep = {0, 1};
  f.BgRequest = 10;
  f.MsgText = u"XX";
  ASSERT_EQ(f.ShowBackground(), 2);
  ASSERT_GE(log.Count(), 2);
  EXPECT_TRUE(ScreenMatches(log.Frame(0), Scene({{&left, 40, 180}})));
  EXPECT_TRUE(ScreenMatches(log.Frame(1), Scene({{&left, 40, 180}, {&right, 350, 220}})));
  EXPECT_TRUE(ScreenShows([&](int x, int y) { return next.At(x, y); }));
  for (const Surface& d : f.Doll_Disp) EXPECT_FALSE(d.Visible);

  // The same sprite again stands over the new background.
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  EXPECT_TRUE(ScreenShows(Scene({{&left, 40, 180}}, &next)));
  EXPECT_TRUE(ImageMatches(f.Doll_Back[0].pixels, 120, 300, [&](int x, int y) { return next.At(40 + x, 180 + y); }));
}

TEST_F(SpriteTest, AFaceDissolvesInNinePacedFramesAndEndsAsTheNewFace) {
  const Image pic = SpritePicture(300, 300);
  Put("12.dat", pic);
  PutSheet();
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  const std::vector<uint32_t> old = f.Doll_Disp[0].pixels;
  // Picture 12: box (130, 90) 135 x 120, sheet column 135; expression 2 below the first.
  const int x1 = 130, y1 = 90, w = 135, h = 120, sx = 135, sy = 120;
  auto oldAt = [&](int x, int y) { return old[static_cast<size_t>(y) * 300 + x]; };
  auto newAt = [&](int x, int y) {
    uint32_t s = SheetAt(sx + x - x1, sy + y - y1);
    return s == kBlack ? oldAt(x, y) : s;
  };
  auto inBox = [&](int x, int y) { return x >= x1 && x < x1 + w && y >= y1 && y < y1 + h; };
  f.Waku[0].Visible = f.Waku[3].Visible = true;
  disp[0].keepAll = true;
  disp[0].times.clear();
  const uint64_t slept = tp.clock.TotalSlept();
  pumps = 0;
  ASSERT_EQ(Face(1, 2, 2, 3), 0);
  // Nine dissolve frames 40 ms apart, then the whole face copied.
  ASSERT_EQ(disp[0].Count(), 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(disp[0].times[static_cast<size_t>(k)] - slept, 40u * k) << k;
  EXPECT_EQ(tp.clock.TotalSlept() - slept, 360u);
  EXPECT_EQ(pumps, 10);  // once before the dissolve, then after each frame
  for (int k : {0, 4, 8}) {
    EXPECT_TRUE(ImageMatches(disp[0].Frame(k), 300, 300, [&](int x, int y) {
      if (!inBox(x, y)) return oldAt(x, y);
      return kThreshold[(y - y1) % 8][(x - x1) % 8] <= k ? newAt(x, y) : oldAt(x, y);
    })) << "frame " << k;
  }
  EXPECT_TRUE(ImageMatches(f.Doll_Disp[0].pixels, 300, 300,
                           [&](int x, int y) { return inBox(x, y) ? newAt(x, y) : oldAt(x, y); }));
  EXPECT_TRUE(ScreenShows([&](int x, int y) {
    int dx = x - 40, dy = y - 180;
    return dx >= 0 && dx < 300 && dy >= 0 ? (inBox(dx, dy) ? newAt(dx, dy) : oldAt(dx, dy)) : bg.At(x, y);
  }));
  EXPECT_TRUE(f.Waku[0].Visible);
  EXPECT_TRUE(f.Waku[3].Visible);
  EXPECT_TRUE(ScreenMatches(Screen(), [&](int x, int y) { return bg.At(x, y); }));
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(SpriteTest, WhileSkippingTheFaceIsReplacedInOneCopy) {
  const Image pic = SpritePicture(300, 300);
  Put("31.dat", pic);
  PutSheet();
  ASSERT_EQ(Sprite(3, 1, u"R"), 2);
  const std::vector<uint32_t> old = f.Doll_Disp[1].pixels;
  disp[1].times.clear();
  pumps = 0;
  const uint64_t slept = tp.clock.TotalSlept();
  ASSERT_EQ(Face(3, 1, 3, 0), 0);
  ASSERT_EQ(disp[1].Count(), 1);
  EXPECT_EQ(tp.clock.TotalSlept(), slept);
  EXPECT_EQ(pumps, 1);
  // Picture 31: box (120, 100) 140 x 120, column 550; expression 3 at y 240.
  EXPECT_TRUE(ImageMatches(f.Doll_Disp[1].pixels, 300, 300, [&](int x, int y) {
    uint32_t o = old[static_cast<size_t>(y) * 300 + x];
    if (x < 120 || x >= 260 || y < 100 || y >= 220) return o;
    uint32_t s = SheetAt(550 + x - 120, 240 + y - 100);
    return s == kBlack ? o : s;
  }));
}

TEST_F(SpriteTest, EverySpeedButSkippingDissolves) {
  Put("12.dat", SpritePicture(300, 300));
  PutSheet();
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  for (int16_t speed : {1, 2, 3, 0}) {
    disp[0].times.clear();
    const uint64_t slept = tp.clock.TotalSlept();
    ASSERT_EQ(Face(1, 2, 1 + speed % 3, speed), 0);
    const bool dissolves = speed != 0;
    EXPECT_EQ(disp[0].Count(), dissolves ? 10 : 1) << "speed " << speed;
    EXPECT_EQ(tp.clock.TotalSlept() - slept, dissolves ? 360u : 0u) << "speed " << speed;
  }
}

TEST_F(SpriteTest, AFaceBoxReachingPastASmallSpriteIsCutAtItsEdge) {
  // Picture 11's box is (130, 90) 135 x 120; this sprite ends at x 200, y 150.
  Put("11.dat", SpritePicture(200, 150));
  PutSheet();
  ASSERT_EQ(Sprite(1, 1, u"R"), 2);
  const std::vector<uint32_t> old = f.Doll_Disp[1].pixels;
  for (int16_t speed : {3, 0}) {
    ASSERT_EQ(Face(1, 1, 3, speed), 0);
    EXPECT_EQ(f.Doll_Disp[1].width, 200);
    EXPECT_TRUE(ImageMatches(f.Doll_Disp[1].pixels, 200, 150, [&](int x, int y) {
      uint32_t o = old[static_cast<size_t>(y) * 200 + x];
      if (x < 130 || y < 90) return o;
      uint32_t s = SheetAt(x - 130, 240 + y - 90);
      return s == kBlack ? o : s;
    })) << "speed " << speed;
  }
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(SpriteTest, EveryPictureTakesItsOwnFaceBoxAndSheetColumn) {
  Put("60.dat", FaceSheet());
  for (const FaceBox& b : kBoxes) {
    SCOPED_TRACE("picture " + std::to_string(b.key));
    const int c = b.key / 10, pic = b.key % 10;
    const Image sprite = SpritePicture(300, 300);
    WriteBmp(dir / (std::to_string(b.key) + ".dat"), sprite);
    Harness h;
    h.f.DataDir = dir.path();
    h.f.Pic_Main.SetPicture(bg);
    h.f.LoadFaces();
    h.f.DollNo = static_cast<uint8_t>(c);
    h.f.FaceNo = static_cast<uint8_t>(pic);
    h.f.MsgText = u"C";
    ASSERT_EQ(h.f.ShowDoll(), 2);
    const std::vector<uint32_t> old = h.f.Doll_Disp[2].pixels;
    h.f.DollParam = 2;
    h.f.MessageSpeed = 0;
    ASSERT_EQ(h.f.ChangeFace(), 0);
    EXPECT_TRUE(ImageMatches(h.f.Doll_Disp[2].pixels, 300, 300, [&](int x, int y) {
      uint32_t o = old[static_cast<size_t>(y) * 300 + x];
      if (x < b.x1 || x >= b.x1 + b.w || y < b.y1 || y >= b.y1 + b.h) return o;
      uint32_t s = SheetAt(b.column + x - b.x1, b.h + y - b.y1);
      return s == kBlack ? o : s;
    }));
    EXPECT_TRUE(h.tp.messages.Shown().empty());
  }
}

TEST_F(SpriteTest, ShowingThePictureAgainBringsBackItsOwnFace) {
  const Image pic = SpritePicture(300, 300);
  Put("12.dat", pic);
  PutSheet();
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  ASSERT_EQ(Face(1, 2, 3, 0), 0);
  EXPECT_FALSE(ScreenShows(Scene({{&pic, 40, 180}})));
  ASSERT_EQ(Sprite(1, 0, u"DH"), 2);
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  EXPECT_TRUE(ScreenShows(Scene({{&pic, 40, 180}})));
}

TEST_F(SpriteTest, RecordsWhoseFieldsNameNothingAreReportedAndSkipped) {
  const Image pic = SpritePicture(300, 300);
  Put("12.dat", pic);
  PutSheet();
  AddRecord(10, u"12", u"", u"R");
  AddRecord(11, u"92", u"", u"L");            // no ninth character
  AddRecord(12, u"02", u"", u"L");            // nor a character 0
  AddRecord(13, u"12", u"", u"X");            // no such place
  AddRecord(14, u"17", u"", u"L");            // its picture file is missing
  AddRecord(15, u"17", u"1", u"こんにちは");  // the face of that picture: already said
  AddRecord(16, u"12", u"0", u"こんにちは");  // expression 0
  AddRecord(17, u"12", u"4", u"こんにちは");  // expression 4 lies below the sheet
  AddRecord(18, u"92", u"1", u"こんにちは");  // said once, not by both handlers
  AddRecord(19, u"12", u"", u"L");            // play goes on
  AddRecord(20, u"12", u"2", u"やあ");
  struct Step {
    int32_t result;
    std::vector<std::string> says;  // empty: no message
  };
  const Step steps[] = {{2, {}},
                        {2, {"人物番号 9", "11 行目"}},
                        {2, {"人物番号 0", "12 行目"}},
                        {2, {"「X」", "13 行目"}},
                        {2, {"17.dat"}},
                        {0, {}},
                        {0, {"表情番号 0", "16 行目"}},
                        {0, {"表情番号 4", "60.dat", "17 行目"}},
                        {0, {"人物番号 9", "18 行目"}},
                        {2, {}},
                        {0, {}}};
  std::function<uint32_t(int, int)> scene = Scene({{&pic, 350, 180}});
  for (int32_t seq = 0; seq < 11; ++seq) {
    SCOPED_TRACE("record " + std::to_string(seq));
    const size_t shown = tp.messages.Shown().size();
    int32_t result = -1;
    ASSERT_NO_THROW(result = RunRecord(seq));
    EXPECT_EQ(result, steps[seq].result);
    const auto& says = steps[seq].says;
    ASSERT_EQ(tp.messages.Shown().size(), shown + (says.empty() ? 0 : 1));
    for (const std::string& s : says) EXPECT_TRUE(Mentions(tp.messages.Shown().back(), s)) << s;
    if (seq >= 1 && seq <= 8) {
      // Skipped: character 1 still stands at R as it was.
      EXPECT_TRUE(ScreenShows(scene));
      EXPECT_EQ(f.DollPose[0][1], 2);
      EXPECT_TRUE(f.PosUsed[1]);
      EXPECT_FALSE(f.PosUsed[0]);
    }
  }
  EXPECT_EQ(f.DollPose[0][0], 2);
  EXPECT_EQ(f.DollPose[0][1], 0);
  EXPECT_FALSE(f.Doll_Disp[1].Visible);
  EXPECT_FALSE(ScreenShows(Scene({{&pic, 40, 180}})));  // with its new face
}

TEST_F(SpriteTest, WithoutTheFaceSheetAFaceChangeIsReportedAndSkipped) {
  Put("12.dat", SpritePicture(300, 300));
  f.LoadFaces();
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_TRUE(Mentions(tp.messages.Shown()[0], "60.dat"));
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  const std::vector<uint32_t> before = f.Doll_Disp[0].pixels;
  ASSERT_EQ(Face(1, 2, 1, 3), 0);
  ASSERT_EQ(tp.messages.Shown().size(), 2u);
  EXPECT_TRUE(Mentions(tp.messages.Shown()[1], "60.dat"));
  EXPECT_EQ(f.Doll_Disp[0].pixels, before);
}

TEST_F(SpriteTest, TheFaceOfACharacterTakenAwayIsRefused) {
  Put("12.dat", SpritePicture(300, 300));
  PutSheet();
  ASSERT_EQ(Sprite(1, 2, u"L"), 2);
  AddRecord(30, u"10", u"1", u"DH");
  ASSERT_EQ(RunRecord(0), 0);
  EXPECT_FALSE(f.Doll_Disp[0].Visible);
  ASSERT_EQ(tp.messages.Shown().size(), 1u);
  EXPECT_TRUE(Mentions(tp.messages.Shown()[0], "30 行目"));
}

TEST_F(SpriteTest, AFaceChangeForAPictureNotStandingEndsPlayNamingTheRecord) {
  Put("12.dat", SpritePicture(300, 300));
  Put("p10.dat", NewPicture());
  PutSheet();
  AddRecord(40, u"12", u"1", u"だれ？");  // before any sprite
  AddRecord(41, u"12", u"", u"L");
  AddRecord(42, u"13", u"1", u"だれ？");  // another picture of the one standing
  AddRecord(43, u"12", u"1", u"いる");
  for (int32_t seq : {0, 2}) {
    if (seq == 2) {
      ASSERT_EQ(RunRecord(1), 2);
    }
    try {
      RunRecord(seq);
      ADD_FAILURE() << "record " << seq << " went on";
    } catch (const PlayError& e) {
      EXPECT_TRUE(Mentions(e.message, "0 doll but face change?"));
      EXPECT_TRUE(Mentions(e.message, std::to_string(40 + seq) + " 行目"));
    }
  }
  EXPECT_EQ(RunRecord(3), 0);
  // The interpreter does not go past it: the error ends the play.
  f.LastSeq = 4;
  f.CurSeq = 2;
  EXPECT_THROW(f.RunScenario(), PlayError);
  EXPECT_EQ(f.CurSeq, 2);
  // Once the background changed, the sprite is part of the picture only.
  f.BgRequest = 10;
  f.MsgText = u"XX";
  ASSERT_EQ(f.ShowBackground(), 2);
  EXPECT_THROW(RunRecord(3), PlayError);
  EXPECT_TRUE(tp.messages.Shown().empty());
}

}  // namespace
}  // namespace mirel::test
