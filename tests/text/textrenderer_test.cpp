#include <gtest/gtest.h>

#include "text/text_harness.h"

namespace mirel {
namespace {

constexpr uint32_t kPaleBlue = Rgb(192, 192, 255);

struct Renderer : ::testing::Test, test::TextHarness {
  Main_Form& f = *form;
  Renderer() { f.Story.tags = {u"【二】", u"【三】", u"【四】", u"【五】", u"【六】", u"【七】", u"【八】", u"【九】"}; }
  void Say(int16_t speaker, const Text& text) {
    f.SpeakerNo = speaker;
    f.MsgText = text;
    f.TalkDisp();
  }
  static Text Chars(size_t n) { return Text(n, u'あ'); }
  int RowY(int row) const { return row * f.LineHeight + 18; }
  // The texts drawn at one height, in order.
  std::vector<test::DrawnText> DrawnAt(int y) const {
    std::vector<test::DrawnText> v;
    for (const auto& d : font.drawn)
      if (d.y == y) v.push_back(d);
    return v;
  }
  // The box font fills each full-width cell but a one-pixel margin; a row
  // of n characters `pitch` apart inks exactly these pixels of its middle
  // line.
  void ExpectRowShape(int row, size_t n, int pitch) {
    int y = RowY(row) + 8;
    for (int x = 0; x < f.Waku[0].width; ++x) {
      bool covered = false;
      for (size_t i = 0; i < n; ++i) {
        int cell = 30 + pitch * static_cast<int>(i);
        covered = covered || (x >= cell + 1 && x <= cell + 14);
      }
      ASSERT_EQ(Ink(x, y) != kBlack, covered) << "x " << x << " pitch " << pitch;
    }
  }
};

TEST_F(Renderer, RowsHoldThirtyCharactersAndLongerTextsWrap) {
  f.MessageSpeed = 1;
  Say(0, Chars(30));
  EXPECT_NE(CellInk(1, 29, 16), kBlack);
  EXPECT_EQ(CellInk(2, 0, 16), kBlack);
  EXPECT_EQ(f.LineNo, 2);

  Wipe();
  f.LastSpeaker = -1;
  Say(0, Chars(31));
  ASSERT_EQ(DrawnAt(RowY(1)).size(), 1u);
  EXPECT_EQ(DrawnAt(RowY(1))[0].text.size(), 30u);
  ASSERT_EQ(DrawnAt(RowY(2)).size(), 1u);
  EXPECT_EQ(DrawnAt(RowY(2))[0].text.size(), 1u);
  ExpectRowShape(2, 1, 16);
  EXPECT_EQ(f.LineNo, 3);

  Wipe();
  f.LastSpeaker = -1;
  Say(0, Chars(60));
  EXPECT_EQ(DrawnAt(RowY(1))[0].text.size(), 30u);
  EXPECT_EQ(DrawnAt(RowY(2))[0].text.size(), 30u);
  EXPECT_TRUE(DrawnAt(RowY(3)).empty());  // no empty trailing row
  EXPECT_EQ(f.LineNo, 3);
}

TEST_F(Renderer, SpeakerNumbersPickTagsAndColours) {
  f.MessageSpeed = 1;
  f.Names[1] = u"山田";
  f.Names[2] = u"太郎";
  const Text tags[] = {u"【太郎】", u"【二】", u"【三】", u"【四】", u"【五】", u"【六】", u"【七】", u"【八】", u"【九】"};
  for (int16_t speaker = 1; speaker <= 9; ++speaker) {
    Wipe();
    Say(speaker, u"台詞");
    ASSERT_EQ(DrawnAt(15).size(), 1u) << speaker;
    EXPECT_EQ(DrawnAt(15)[0].text, tags[speaker - 1]);
    EXPECT_EQ(DrawnAt(15)[0].rgb, kWhite);
    EXPECT_EQ(DrawnAt(RowY(1))[0].rgb, kWhite);
    // The tag is as wide as its full-width characters.
    size_t cells = tags[speaker - 1].size();
    EXPECT_EQ(TagInk(static_cast<int>(cells) - 1), kWhite) << speaker;
    EXPECT_EQ(TagInk(static_cast<int>(cells)), kBlack) << speaker;
  }
  // Without a story file speakers 2 to 9 have no tag, but speak in white.
  f.Story = StoryContent{};
  for (int16_t speaker = 2; speaker <= 9; ++speaker) {
    Wipe();
    Say(speaker, u"台詞");
    EXPECT_TRUE(DrawnAt(15).empty()) << speaker;
    ASSERT_EQ(DrawnAt(RowY(1)).size(), 1u);
    EXPECT_EQ(DrawnAt(RowY(1))[0].rgb, kWhite);
  }
  for (int16_t speaker : {int16_t{10}, int16_t{0}, int16_t{-1}}) {
    Wipe();
    Say(speaker, u"地の文");
    EXPECT_TRUE(DrawnAt(15).empty()) << speaker;
    ASSERT_EQ(DrawnAt(RowY(1)).size(), 1u);
    EXPECT_EQ(DrawnAt(RowY(1))[0].rgb, kPaleBlue);
    EXPECT_EQ(CellInk(1, 0, 16), kPaleBlue);
  }
}

TEST_F(Renderer, EachSpeedTypesOrDrawsWholeAndWaitsAsItShould) {
  const size_t n = 10;
  struct Case {
    int16_t speed;
    bool typed;
    bool waits;
  } cases[] = {{3, true, true}, {2, false, true}, {1, false, true}, {0, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    Wipe();
    waits.clear();
    f.MessageSpeed = c.speed;
    f.LastSpeaker = 2;  // no page head: only the text is timed
    f.LineNo = 1;
    long refreshes = f.Waku[0].refreshCount;
    uint32_t start = tp.clock.GetTickCount();
    Say(2, Chars(n));
    uint32_t end = tp.clock.GetTickCount();
    ExpectRowShape(1, n, c.typed ? 17 : 16);
    EXPECT_EQ(f.Waku[0].refreshCount - refreshes, c.typed ? static_cast<long>(n) : 1L);
    if (c.waits) {
      ASSERT_EQ(waits.size(), 1u);
      // Typing is 40 ms a character; the wait then answers at its first poll.
      uint32_t typing = waits[0] - start;
      uint32_t expected = c.typed ? 40 * n : 0;
      EXPECT_GE(typing, expected);
      EXPECT_LE(typing, expected + 10);
    } else {
      EXPECT_TRUE(waits.empty());
      EXPECT_EQ(end - start, 0u);
    }
  }
}

}  // namespace
}  // namespace mirel
