#include <gtest/gtest.h>

#include "extras/Credits.h"
#include "platform/Cp932.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

using namespace extras;

CreditsContent Sample() {
  return CreditsContent{u"Ann", u"Bob", u"Cy", u"Dee", u"Seaside Works", u"2026"};
}

TEST(Credits, HeadingsAndNamesStandWhereTheRollExpectsThem) {
  auto rows = CreditsTable(Sample());
  auto places = CreditPlaces(rows);
  // Headings at 210 + 36 x row; a name 20 rows under its heading.
  EXPECT_EQ(places[1].y, 246);
  EXPECT_EQ(places[3].y, 318);
  EXPECT_EQ(places[5].y, 390);
  EXPECT_EQ(places[7].y, 462);
  EXPECT_EQ(places[10].y, 570);  // the maker line
  for (int r : {2, 4, 6, 8, 11}) EXPECT_EQ(places[r].y, places[r - 1].y + 20) << r;
  EXPECT_EQ(places[11].y, 590);  // the year line
  // Rows without a kind are not drawn.
  for (int r = 14; r < kCreditRows; ++r) EXPECT_LT(places[r].y, 0) << r;
  // Centred by characters x points: "SCENARIO" 65 - 8 x 12 / 2, "Ann" at
  // 10 points 65 - 3 x 10 / 2 (rounded down), "Seaside Works" 65 - 13 x 12 / 2.
  EXPECT_EQ(places[1].x, 17);
  EXPECT_EQ(places[2].x, 50);
  EXPECT_EQ(places[10].x, -13);
  EXPECT_EQ(places[1].size, 12);
  EXPECT_EQ(places[2].size, 10);
  EXPECT_EQ(rows[2].text, u"Ann");
  EXPECT_EQ(rows[8].text, u"Dee");
  EXPECT_EQ(rows[10].text, u"Seaside Works");
  EXPECT_EQ(rows[11].text, u"2026");
}

TEST(Credits, StripIsDrawnInWhiteAtThosePlaces) {
  BoxFont font;
  Surface strip;
  strip.BackColor = kBlack;
  strip.Resize(kStripWidth, kStripHeight);
  DrawCredits(font, strip, CreditsTable(Sample()));
  // The box font fills every character cell but its outer pixel: "MIREL" at
  // 14 points (9 x 19 cells) from 40, 100; "- making staff -" at 11 points
  // (7 x 15) from 15, 130.
  EXPECT_EQ(strip.At(41, 101), kWhite);
  EXPECT_EQ(strip.At(40, 101), kBlack);
  EXPECT_EQ(strip.At(41, 100), kBlack);
  EXPECT_EQ(strip.At(41 + 9 * 4 + 6, 117), kWhite);  // last cell of "MIREL"
  EXPECT_EQ(strip.At(41 + 9 * 5, 110), kBlack);
  EXPECT_EQ(strip.At(16, 131), kWhite);
  // "SCENARIO": 8 x 16 cells from 17, 246; "Ann": 6 x 13 cells from 50, 266.
  EXPECT_EQ(strip.At(18, 247), kWhite);
  EXPECT_EQ(strip.At(18 + 8 * 7 + 5, 260), kWhite);
  EXPECT_EQ(strip.At(18 + 8 * 8, 250), kBlack);
  EXPECT_EQ(strip.At(51, 267), kWhite);
  EXPECT_EQ(strip.At(50 + 6 * 3, 270), kBlack);
  // The year, 10 points, "2026" from 65 - 20 = 45 at 590.
  EXPECT_EQ(strip.At(46, 591), kWhite);
  // Nothing between the year line and the bottom.
  for (int y = 610; y < kStripHeight; ++y)
    for (int x = 0; x < kStripWidth; ++x) ASSERT_EQ(strip.At(x, y), kBlack) << x << "," << y;
}

TEST(Credits, FileGivesTheNamesLineByLineAndMissingOnesCreditTheProject) {
  test::TempDir dir;
  CreditsContent none = ReadCredits(dir / "staff.txt");
  EXPECT_EQ(none.scenario, u"MIREL project");
  EXPECT_EQ(none.music, u"MIREL project");
  EXPECT_EQ(none.maker, u"MIREL project");
  EXPECT_FALSE(none.year.empty());

  test::WriteBytes(dir / "staff.txt", EncodeCp932(u"汐見 澪\r\nBob\r\n\r\nDee\r\n"));
  CreditsContent some = ReadCredits(dir / "staff.txt");
  EXPECT_EQ(some.scenario, u"汐見 澪");
  EXPECT_EQ(some.program, u"Bob");
  EXPECT_EQ(some.graphics, u"MIREL project");  // an empty line keeps the default
  EXPECT_EQ(some.music, u"Dee");
  EXPECT_EQ(some.maker, u"MIREL project");
  EXPECT_EQ(some.year, none.year);

  test::WriteBytes(dir / "staff.txt", "a\nb\nc\nd\nMaker\n1999");
  CreditsContent all = ReadCredits(dir / "staff.txt");
  EXPECT_EQ(all.graphics, u"c");
  EXPECT_EQ(all.maker, u"Maker");
  EXPECT_EQ(all.year, u"1999");
}

}  // namespace
}  // namespace mirel
