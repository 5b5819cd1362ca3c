// Character sprites and faces: where a sprite stands and what it covers, how
// a face is exchanged, and records whose sprite or face fields name nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "transition_harness.h"

namespace mirel::test {
namespace {

// A sprite picture: black (transparent) margins and diagonal holes, a dot
// pattern of nearly black red 1 that must stay opaque, and elsewhere a
// colour that tells where it was taken from.
Image SpritePicture(int w, int h, int tint = 0) {
  return Painted(w, h, [=](int x, int y) {
    if (x < 6 || x >= w - 6 || y < 10 || (x + y) % 9 == 0) return kBlack;
    if (x % 11 == 3 && y % 13 == 5) return Rgb(1, 0, 0);
    return Rgb(0x20 + (x & 0x7F) + tint, 0x10 + (y & 0x7F), 0x80 | ((x * y) & 0x7F));
  });
}

// The face sheet: every pixel names its own place on the sheet, except
// black holes that let the sprite show through.
constexpr int kSheetW = 1465, kSheetH = 360;
uint32_t SheetAt(int x, int y) {
  if ((x + 2 * y) % 5 == 0) return kBlack;
  return Rgb(x & 255, 0x40 | (x >> 8) | ((y >> 8) << 4), y & 255);
}
Image FaceSheet() { return Painted(kSheetW, kSheetH, SheetAt); }

bool Mentions(const Text& shown, const std::string& what) { return Utf8(shown).find(what) != std::string::npos; }

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
    ScenarioRecord r = Record(1000, u"", text);
    r.Doll = doll;
    r.Anim = anim;
    r.line = line;
    f.ScenarioTable.push_back(r);
  }
  int32_t RunRecord(int32_t seq) {
    f.CurSeq = seq;
    return f.RunStep();
  }
};

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

TEST_F(SpriteTest, RecordsWhoseFieldsNameNothingAreReportedAndSkipped) {
  const Image pic = SpritePicture(300, 300);
  Put("12.dat", pic);
  PutSheet();
  AddRecord(10, u"12", u"", u"R");
  AddRecord(11, u"92", u"", u"L");            // no ninth character
  AddRecord(12, u"02", u"", u"L");            // nor a character 0
  AddRecord(13, u"12", u"", u"X");            // no such place: nothing said or changed
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
                        {2, {}},
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

}  // namespace
}  // namespace mirel::test
