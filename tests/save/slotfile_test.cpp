#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "base/Cp932.h"
#include "base/Files.h"
#include "save/SlotFile.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

Text A(const std::string& ascii) { return Text(ascii.begin(), ascii.end()); }

// A state line put together by hand from the layout: kou, hap, bad, mak,
// twelve reserved zeros, BgRequest, CurNum, opacity, music, effects, speed,
// CurSeq, CurMusic, save point.
const std::string kLine = std::string("012") + "234" + "000" + "-01" + "000000000000" + "005" + "0037" + "0060" +
                          "-1" + "00" + "03" + "0123" + "04" + "0012";

// The same file in CP932 bytes, written out by hand: 第一章 = 91 E6 88 EA 8F CD,
// 放課後 = 95 FA 89 DB 8C E3, 山田 = 8E 52 93 63, 太郎 = 91 BE 98 59.
const std::string kCaptionLine = "\x91\xe6\x88\xea\x8f\xcd,\x95\xfa\x89\xdb\x8c\xe3";
const std::string kFamily = "\x8e\x52\x93\x63";
const std::string kGiven = "\x91\xbe\x98\x59";
std::string FileText(const std::string& captions = kCaptionLine, const std::string& line = kLine) {
  return "2026/12/06 12:34\r\n" + captions + "\r\n" + line + "\r\n" + kFamily + "\r\n" + kGiven + "\r\n\\\r\n";
}

PlayState Sample() {
  PlayState ps;
  ps.kou = 12;
  ps.hap = 1234;
  ps.bad = 0;
  ps.mak = -1;
  ps.BgRequest = 5;
  ps.CurNum = 37;
  ps.WakuOpacity = 0.6f;
  ps.BgmOn = true;
  ps.SeOn = false;
  ps.MessageSpeed = 3;
  ps.CurSeq = 123;
  ps.CurMusic = 4;
  ps.SavePoint = {u"12", u"第一章", u"放課後"};
  return ps;
}

TEST(StateFieldTest, EveryNumberAFieldCanHoldReadsBackAtItsWidth) {
  for (size_t width = 2; width <= 4; ++width) {
    long long top = static_cast<long long>(std::pow(10, width));
    for (long long v = -(top / 10 - 1); v < top; ++v) {
      Text f = StateField(v, width);
      ASSERT_EQ(f.size(), width) << v;
      auto back = ReadStateField(f);
      ASSERT_TRUE(back.has_value()) << v;
      ASSERT_EQ(*back, v) << Utf8(f);
    }
  }
}

TEST(StateFieldTest, OnlyDigitsWithAnOptionalMinusAreNumbers) {
  EXPECT_EQ(ReadStateField(u"0-1"), -1);  // how older files wrote -1 in three places
  EXPECT_EQ(ReadStateField(u"00"), 0);
  EXPECT_EQ(ReadStateField(u"0012"), 12);
  for (const char16_t* bad : {u"x12", u" 12", u"12 ", u"1-2", u"-", u"0-", u"", u"1.5", u"+1", u"１２"})
    EXPECT_FALSE(ReadStateField(bad).has_value()) << Utf8(bad);
}

TEST(StateLineTest, FieldsStandWhereTheLayoutPutsThemAndReadBack) {
  EXPECT_EQ(BuildStateLine(Sample()), A(kLine));
  Text why;
  auto st = ParseStateLine(BuildStateLine(Sample()), 100, &why);
  ASSERT_TRUE(st.has_value()) << Utf8(why);
  // hap 1234 kept its rightmost three digits.
  EXPECT_EQ(std::tie(st->kou, st->hap, st->bad, st->mak, st->bgRequest, st->curNum, st->opacityPercent),
            std::make_tuple(12, 234, 0, -1, 5, 37, 60));
  EXPECT_EQ(std::tie(st->bgmOn, st->seOn, st->messageSpeed, st->curSeq, st->curMusic, st->resume),
            std::make_tuple(true, false, 3, 123, 4, 12));
}

TEST(StateLineTest, DamagedLinesAreRefusedWithAReason) {
  const Text good = A(kLine);
  ASSERT_TRUE(ParseStateLine(good, 13, nullptr).has_value());
  Text why;
  EXPECT_FALSE(ParseStateLine(good.substr(0, 50), 13, &why).has_value());
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(ParseStateLine(good + u"0", 13, nullptr).has_value());
  EXPECT_FALSE(ParseStateLine(Text(65, u' '), 13, nullptr).has_value());  // the line before any capture
  // Every field in turn made non-numeric.
  const std::pair<size_t, size_t> fields[] = {{0, 3},  {3, 3},  {6, 3},  {9, 3},  {12, 12}, {24, 3}, {27, 4},
                                              {32, 3}, {35, 2}, {37, 2}, {39, 2}, {41, 4},  {45, 2}, {47, 4}};
  for (auto [at, width] : fields) {
    Text bad = good;
    bad.replace(at, width, Text(width, u'x'));
    why.clear();
    EXPECT_FALSE(ParseStateLine(bad, 13, &why).has_value()) << at;
    EXPECT_NE(why.find(Decimal(static_cast<long long>(at + 1))), Text::npos) << Utf8(why);
  }
  // The unused field takes any number its twelve characters can hold.
  for (const char16_t* reserved : {u"999999999999", u"-99999999999", u"0000000000-1", u"123456789012"}) {
    Text line = good;
    line.replace(12, 12, reserved);
    EXPECT_TRUE(ParseStateLine(line, 13, &why).has_value()) << Utf8(why);
  }
  Text speed = good;
  speed.replace(39, 2, u"07");
  EXPECT_FALSE(ParseStateLine(speed, 13, nullptr).has_value());
  // The opacity is read from the last three of its four places.
  Text opacity = good;
  opacity.replace(31, 4, u"0101");
  EXPECT_FALSE(ParseStateLine(opacity, 13, nullptr).has_value());
  opacity.replace(31, 4, u"x060");
  auto read = ParseStateLine(opacity, 13, nullptr);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->opacityPercent, 60);
  // The save point is record 12: it must be a record before the terminator.
  EXPECT_FALSE(ParseStateLine(good, 12, &why).has_value());
  EXPECT_NE(why.find(u"12"), Text::npos);
  EXPECT_FALSE(ParseStateLine(good, -1, nullptr).has_value());
}

TEST(FieldReaderTest, CommasAndLineEndsEndFieldsAndBlanksAroundThemGo) {
  std::vector<Text> f = ReadFields(u"a, b ,c\r\n\r\n  d\t \r\n,\r\nx,");
  EXPECT_EQ(f, (std::vector<Text>{u"a", u"b", u"c", u"", u"d", u"", u"", u"x", u""}));
  // Line ends of any kind; full-width blanks belong to the text.
  EXPECT_EQ(ReadFields(u"a\nb\rc\r\n　名　"), (std::vector<Text>{u"a", u"b", u"c", u"　名　"}));
  EXPECT_TRUE(ReadFields(u"").empty());
}

TEST(FieldReaderTest, AQuotedFieldRunsToTheNextQuote) {
  EXPECT_EQ(ReadFields(u"\"x, y\" junk,z\r\n  \" sp \"\r\n\"open, end"),
            (std::vector<Text>{u"x, y", u"z", u" sp ", u"open, end"}));
}

TEST(SlotFileTest, BytesFollowTheLayoutExactly) {
  std::array<Text, 4> snap{u"第一章,放課後", A(kLine), u"山田", u"太郎"};
  EXPECT_EQ(SlotFileBytes("2026/12/06 12:34:56", snap), FileText());
  EXPECT_EQ(SaveDate("1,2\r\n"), "1 2  ");  // never a comma or line end in the date line
}

TEST(SlotFileTest, AFileReadsBackIntoCaptionsAndSnapshotLines) {
  SlotRead r = ParseSlotText(FileText(), 13);
  ASSERT_TRUE(r.contents.has_value()) << Utf8(r.error);
  const SlotContents& c = *r.contents;
  EXPECT_EQ(std::tie(c.caption1, c.caption2), std::make_tuple(u"第一章", u"放課後"));
  EXPECT_EQ(c.lines[0], A(kLine));
  EXPECT_EQ(std::tie(c.lines[1], c.lines[2]), std::make_tuple(u"山田", u"太郎"));
  EXPECT_EQ(c.state.resume, 12);
}

TEST(SlotFileTest, UnreadableFilesAreRefusedAndListWithoutCaptions) {
  test::TempDir dir;
  test::WriteBytes(dir / "00.dat", "\x81\r\n\x82\x7f,\xff\r\n");  // not CP932
  SlotCaptions c = ReadSlotCaptions(dir / "00.dat");
  EXPECT_TRUE(c.part1.empty());
  EXPECT_TRUE(c.part2.empty());
  SlotRead r = ReadSlotForLoad(dir / "00.dat", 13);
  EXPECT_FALSE(r.contents.has_value());
  EXPECT_FALSE(r.error.empty());
  EXPECT_FALSE(ReadSlotForLoad(dir / "03.dat", 13).contents.has_value());  // no file
  std::filesystem::create_directory(dir / "04.dat");
  EXPECT_FALSE(ReadSlotForLoad(dir / "04.dat", 13).contents.has_value());
  EXPECT_TRUE(ReadSlotCaptions(dir / "04.dat").part1.empty());
}

}  // namespace
}  // namespace mirel
