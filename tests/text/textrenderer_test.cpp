#include <gtest/gtest.h>

#include "text/text_harness.h"

namespace mirel {
namespace {

constexpr uint32_t kPaleBlue = Rgb(192, 192, 255);

struct Renderer : ::testing::Test, test::TextHarness {
  Main_Form& f = *form;
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

TEST_F(Renderer, OneSpeakerFillsThreeRowsThenANewPageRepeatsTheTag) {
  f.MessageSpeed = 1;
  for (int i = 0; i < 3; ++i) Say(4, u"一行" + Chars(static_cast<size_t>(i)));
  ASSERT_EQ(DrawnAt(15).size(), 1u);
  EXPECT_EQ(DrawnAt(15)[0].text, u"【千尋】");
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(DrawnAt(RowY(row)).size(), 1u) << row;
  EXPECT_EQ(f.LineNo, 0);  // the full page was cleared
  EXPECT_EQ(f.LastSpeaker, -1);
  EXPECT_EQ(waits.size(), 3u);

  Wipe();
  Say(4, u"四つ目");
  ASSERT_EQ(DrawnAt(15).size(), 1u);
  EXPECT_EQ(DrawnAt(15)[0].text, u"【千尋】");
  ASSERT_EQ(DrawnAt(RowY(1)).size(), 1u);
  EXPECT_EQ(DrawnAt(RowY(1))[0].text, u"四つ目");
  EXPECT_EQ(f.LineNo, 2);
}

TEST_F(Renderer, NarrationAfterDialogueStartsAPageWithAnEmptyTagRow) {
  f.MessageSpeed = 1;
  Say(3, u"こんにちは");
  Wipe();
  for (int i = 0; i < 3; ++i) Say(0, u"地の文");
  // Row 0 stays empty, and the three lines share one page.
  EXPECT_TRUE(DrawnAt(15).empty());
  EXPECT_EQ(TagInk(0), kBlack);
  for (int row = 1; row <= 3; ++row) {
    ASSERT_EQ(DrawnAt(RowY(row)).size(), 1u) << row;
    EXPECT_EQ(DrawnAt(RowY(row))[0].rgb, kPaleBlue);
  }
  // The full page was waited on and then wiped for the next one.
  EXPECT_EQ(CellInk(3, 0, 16), kBlack);
  EXPECT_EQ(f.LineNo, 0);
}

TEST_F(Renderer, SpeakerNumbersPickTagsAndColours) {
  f.MessageSpeed = 1;
  f.Names[1] = u"山田";
  f.Names[2] = u"太郎";
  const Text tags[] = {u"【太郎】", u"【みお】", u"【澪】",   u"【千尋】", u"【源三】",
                       u"【汐里】", u"【祖母】", u"【駅員】", u"【店主】"};
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

TEST_F(Renderer, AnAutomaticMessageIsTypedSlowerAndPausesInsteadOfWaiting) {
  const size_t n = 7;
  f.MessageSpeed = 3;
  f.WaitAfterLine = false;
  f.DateTabOn = false;
  uint32_t start = tp.clock.GetTickCount();
  Say(0, Chars(n));
  EXPECT_EQ(tp.clock.GetTickCount() - start, 60 * n + 1000);
  EXPECT_TRUE(waits.empty());
  ExpectRowShape(1, n, 17);
  EXPECT_TRUE(f.WaitAfterLine);
  EXPECT_TRUE(f.DateTabOn);
}

TEST_F(Renderer, ALargeLineHasWiderCellsAndTakesTwoRows) {
  f.MessageSpeed = 3;
  f.BigFontSize = 24;
  f.LastSpeaker = 0;
  f.LineNo = 1;
  Say(0, Chars(3));
  // 24 points read back as 24: cells of 24 + 5.
  auto row = DrawnAt(RowY(1));
  ASSERT_EQ(row.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(row[static_cast<size_t>(i)].x, 30 + 29 * i);
    EXPECT_EQ(row[static_cast<size_t>(i)].size, 24);
  }
  EXPECT_EQ(f.LineNo, 3);
  EXPECT_EQ(f.BigFontSize, 0);
  EXPECT_EQ(f.Waku[0].font.size, 12);
  // Lasts one message only.
  Say(0, u"次");
  EXPECT_EQ(font.drawn.back().size, 12);
}

TEST_F(Renderer, APageEndingInALargeLineIsClearedAll) {
  f.MessageSpeed = 1;
  f.BigFontSize = 24;
  f.LastSpeaker = 0;
  f.LineNo = 3;
  Say(0, u"大");
  EXPECT_EQ(f.LineNo, 0);
  EXPECT_EQ(f.LastSpeaker, -1);
}

TEST_F(Renderer, ALongMessageLowOnThePageTurnsThePageInsteadOfLeavingTheWindow) {
  f.MessageSpeed = 1;
  f.LastSpeaker = 3;
  f.LineNo = 3;
  Say(3, Chars(31));
  for (const auto& d : font.drawn) EXPECT_LT(d.y, 4 * f.LineHeight + 15) << "drawn below the window";
  ASSERT_EQ(DrawnAt(RowY(3)).size(), 1u);
  ASSERT_EQ(DrawnAt(15).size(), 1u);  // the tag heads the new page
  EXPECT_EQ(DrawnAt(15)[0].text, u"【澪】");
  ASSERT_EQ(DrawnAt(RowY(1)).size(), 1u);
  EXPECT_EQ(DrawnAt(RowY(1))[0].text.size(), 1u);
  EXPECT_EQ(waits.size(), 2u);  // the full page was read before it turned
  EXPECT_EQ(f.LineNo, 2);
}

TEST_F(Renderer, CaptionsAreTypedCentredOnThePictureAndHeldWithoutAWait) {
  for (int n : {1, 5}) {
    SCOPED_TRACE(n);
    font.drawn.clear();
    waits.clear();
    f.Waku[0].Visible = true;
    f.CaptionX = 1;
    f.CaptionY = 200;
    uint32_t start = tp.clock.GetTickCount();
    Say(0, Chars(static_cast<size_t>(n)));
    EXPECT_EQ(tp.clock.GetTickCount() - start, static_cast<uint32_t>(60 * n + 2000));
    ASSERT_EQ(font.drawn.size(), static_cast<size_t>(n));
    int left = 320 - 10 * (n - 1);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(font.drawn[static_cast<size_t>(i)].x, left + 20 * i);
      EXPECT_EQ(font.drawn[static_cast<size_t>(i)].y, 200);
      EXPECT_EQ(font.drawn[static_cast<size_t>(i)].size, 14);
    }
    EXPECT_EQ(f.Pic_Main.At(left + 9, 209), kWhite);
    EXPECT_TRUE(waits.empty());
    EXPECT_FALSE(f.Waku[0].Visible);
    EXPECT_EQ(f.CaptionX, 0);
  }
}

TEST_F(Renderer, EmptyOrOverlappingMessagesDrawNothing) {
  f.LineNo = 2;
  f.LastSpeaker = 0;
  Say(0, u"");
  EXPECT_TRUE(font.drawn.empty());
  EXPECT_EQ(f.LineNo, 2);
  EXPECT_TRUE(waits.empty());
  f.MsgBusy = true;
  Say(0, u"割り込み");
  EXPECT_TRUE(font.drawn.empty());
  EXPECT_EQ(f.LineNo, 2);
}

TEST_F(Renderer, AHiddenWindowIsShownForTheNextMessage) {
  f.Waku[0].Visible = false;
  f.DateTabOn = true;
  f.MessageSpeed = 1;
  Say(0, u"再開");
  EXPECT_TRUE(f.Waku[0].Visible);
  EXPECT_TRUE(f.Waku[3].Visible);
  EXPECT_TRUE(f.MsgDone);
  EXPECT_FALSE(f.MsgBusy);
}

}  // namespace
}  // namespace mirel
