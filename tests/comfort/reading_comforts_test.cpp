// The backlog's history and page, and the read marks' file, on their own.
#include <gtest/gtest.h>

#include "comfort/Backlog.h"
#include "comfort/ReadMarks.h"
#include "platform/headless/BoxFont.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

BacklogEntry Said(const std::string& text) {
  BacklogEntry e;
  e.tag = u"【千尋】";
  e.text = FromUtf8(text);
  e.colour = kWhite;
  return e;
}

TEST(Backlog, KeepsTheLastMessagesAndScrollsWithinThemOverTheDimmedPicture) {
  Backlog b;
  for (int i = 0; i < 205; ++i) b.Add(Said("台詞" + std::to_string(i)));
  ASSERT_EQ(b.Entries().size(), Backlog::kCapacity);
  EXPECT_EQ(b.Entries().front().text, u"台詞5");
  EXPECT_EQ(b.Entries().back().text, u"台詞204");

  Image white{640, 480, std::vector<uint32_t>(640 * 480, kWhite)};
  BoxFont font;
  b.Open(white, font, Rect{35, 360, 576, 108});  // over a shown message window
  ASSERT_TRUE(b.IsOpen());
  EXPECT_EQ(b.page.width, 640);
  // A quarter of the light outside the text; the newest message drawn
  // on the last rows, in its colour.
  EXPECT_EQ(b.page.At(5, 5), Rgb(63, 63, 63));
  EXPECT_EQ(b.page.At(600, 370), kBlack) << "the message window's text kept out of the backlog's rows";
  EXPECT_EQ(b.page.At(40 + 2, 24 + 17 * 24 + 8), kWhite);

  // Down from the newest message is the way out; up stops at the oldest.
  EXPECT_FALSE(b.Scroll(-1));
  EXPECT_TRUE(b.Scroll(1));
  EXPECT_EQ(b.ScrollRows(), 1);
  b.ScrollPage(1000);
  const int oldest = b.ScrollRows();
  EXPECT_GT(oldest, 200 * 2);  // tag, text and a gap per message, less a page
  EXPECT_TRUE(b.Scroll(3));
  EXPECT_EQ(b.ScrollRows(), oldest);
  EXPECT_TRUE(b.Scroll(-oldest));
  EXPECT_FALSE(b.Scroll(-3));
  b.Close();
  EXPECT_FALSE(b.IsOpen());
}

TEST(ReadMarks, SurviveInTheirFileAndADamagedOrHalfWrittenFileCountsAsNothingRead) {
  test::TempDir dir;
  const std::string path = ReadMarks::FileFor(dir / "read/", Bytes{1, 2, 3});
  EXPECT_NE(path, ReadMarks::FileFor(dir / "read/", Bytes{1, 2, 4}));  // one file per story
  EXPECT_EQ(path.rfind(dir / "read/", 0), 0u);

  ReadMarks marks;
  marks.Load(path);
  for (int32_t r : {0, 7, 8, 9, 5000}) marks.Mark(r);
  marks.Save();  // makes the folder
  test::WriteBytes(path + ".tmp", "MIREL read");  // left by a write that was killed
  ReadMarks again;
  again.Load(path);
  EXPECT_FALSE(FileExists(path + ".tmp"));
  for (int32_t r = 0; r <= 5000; ++r)
    EXPECT_EQ(again.IsRead(r), r == 0 || (r >= 7 && r <= 9) || r == 5000) << r;
  EXPECT_FALSE(again.IsRead(-1));
  EXPECT_FALSE(again.IsRead(5001));

  for (const char* damaged : {"", "7-9\n", "something else\n1-3\n"}) {
    test::WriteBytes(path, damaged);
    ReadMarks none;
    none.Load(path);
    EXPECT_FALSE(none.IsRead(7)) << damaged;
  }
}

}  // namespace
}  // namespace mirel
