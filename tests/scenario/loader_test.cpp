#include <gtest/gtest.h>

#include <filesystem>

#include "base/Cp932.h"
#include "scenario/ScenarioData.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

// Scenario lines written in UTF-8 here, stored as CP932 like the shipped files.
std::string Sjis(const std::string& utf8) { return EncodeCp932(FromUtf8(utf8)); }

ScenarioData Load(const std::string& scenario, const std::string& choices = "") {
  ScenarioData d;
  LoadScenarioTexts(Sjis(scenario), Sjis(choices), d, nullptr);
  return d;
}

DamagedData LoadFails(const std::string& scenario, const std::string& choices = "") {
  try {
    Load(scenario, choices);
  } catch (const DamagedData& d) {
    return d;
  }
  ADD_FAILURE() << "loaded";
  return {};
}

TEST(NumberFieldTest, FirstCharacterAndLastThree) {
  EXPECT_EQ(NumberField(u"1001"), 1001);
  EXPECT_EQ(NumberField(u"1-001"), 1001);
  EXPECT_EQ(NumberField(u"1-023"), 1023);
  EXPECT_EQ(NumberField(u"7"), 77);
  EXPECT_EQ(NumberField(u"12"), 112);
  EXPECT_EQ(NumberField(u" 2000 "), 2000);
  EXPECT_THROW(NumberField(u""), ConversionError);
  EXPECT_THROW(NumberField(u"ab12"), ConversionError);
  EXPECT_EQ(NumberField(u"99999"), 9999);  // longer fields lose their middle
}

TEST(LoaderTest, FieldsRecordsAndTerminator) {
  ScenarioData d = Load(
      "1001,,,,,,,1,「こんにちは」,,,,\r\n"
      "1001,g0,1002,,,,,,,,,,\r\n"
      "1002,q,,,,,,,,,,,\r\n");
  ASSERT_EQ(d.ScenarioTable.size(), 3u);
  EXPECT_EQ(d.LastSeq, 2);
  EXPECT_EQ(d.ScenarioTable[0].Speaker, u"1");
  EXPECT_EQ(d.ScenarioTable[0].Text, u"「こんにちは」");
  EXPECT_EQ(d.ScenarioTable[0].Jump, 0);  // empty jump field
  EXPECT_EQ(d.ScenarioTable[1].Jump, 1002);
  EXPECT_EQ(d.ScenarioTable[2].Cmd, u"q");
  EXPECT_EQ(d.ScenarioTable[2].line, 3);
}

TEST(LoaderTest, QuotedFieldsKeepCommasAndBlanksAroundFieldsGo) {
  ScenarioData d = Load("1001, ,, , , ,,  2 ,\"はい、そうです\" , a ,b,1,x\r\n1002,,,,,,,,,,,,\r\n");
  const ScenarioRecord& r = d.ScenarioTable[0];
  EXPECT_EQ(r.Cmd, u"");
  EXPECT_EQ(r.Speaker, u"2");
  EXPECT_EQ(r.Text, u"はい、そうです");
  EXPECT_EQ(r.Param1, u"a");
  EXPECT_EQ(r.Param2, u"b");
  EXPECT_EQ(r.NameSubst, u"1");
}

TEST(LoaderTest, ARecordShortOfFieldsTakesTheRestFromTheNextLine) {
  // Eight fields on the first line, the other five on the second.
  ScenarioData d = Load("1001,,,,,,,\r\nあ,,,,\r\n1002,,,,,,,,い,,,,\r\n");
  ASSERT_EQ(d.ScenarioTable.size(), 2u);
  EXPECT_EQ(d.ScenarioTable[0].Text, u"あ");
  EXPECT_EQ(d.ScenarioTable[1].Num, 1002);
}

TEST(LoaderTest, BlocksFollowRunsOfEqualNumbers) {
  ScenarioData d = Load(
      "1001,,,,,,,,a,,,,\r\n1001,,,,,,,,b,,,,\r\n1002,,,,,,,,c,,,,\r\n1001,,,,,,,,d,,,,\r\n9999,,,,,,,,,,,,\r\n");
  ASSERT_EQ(d.BlockCount, 4);
  EXPECT_EQ(d.BlockIndex[0].Num, 1001);
  EXPECT_EQ(d.BlockIndex[0].Seq, 0);
  EXPECT_EQ(d.BlockIndex[1].Seq, 2);
  EXPECT_EQ(d.BlockIndex[2].Num, 1001);
  EXPECT_EQ(d.BlockIndex[2].Seq, 3);
}

TEST(LoaderTest, ChoiceTargetsBecomeRecordIndicesOrStayUnresolved) {
  ScenarioData d = Load("1001,s,,,,,,,2,,,,\r\n1010,,,,,,,,x,,,,\r\n1020,,,,,,,,y,,,,\r\n9999,,,,,,,,,,,,\r\n",
                        "1001,右へ,1020\r\n1001,\"左へ, ゆっくり\",1-030\r\n");
  ASSERT_EQ(d.LastSct, 1);
  EXPECT_EQ(d.ChoiceTable[0].Target, 2);
  EXPECT_TRUE(d.ChoiceTable[0].resolved);
  EXPECT_EQ(d.ChoiceTable[1].ChoiceText, u"左へ, ゆっくり");
  EXPECT_EQ(d.ChoiceTable[1].Target, 1030);  // no such block: the number stays
  EXPECT_FALSE(d.ChoiceTable[1].resolved);
}

TEST(LoaderTest, DamagedFilesNameTheFileAndLine) {
  DamagedData a = LoadFails("1001,,,,,,,,,,,,\r\nabc,,,,,,,,,,,,\r\n");
  EXPECT_EQ(a.file, "91.dat");
  EXPECT_EQ(a.line, 2);
  EXPECT_NE(a.Message().find(u"91.dat 2 行目"), Text::npos);
  DamagedData b = LoadFails("1001,g0,4o00,,,,,,,,,,\r\n");
  EXPECT_EQ(b.line, 1);
  DamagedData c = LoadFails("1001,,,,,,,,,,,,\r\n", "1001,あ,1001\r\n,い,1001\r\n");
  EXPECT_EQ(c.file, "92.dat");
  EXPECT_EQ(c.line, 2);
  DamagedData e;
  try {
    ScenarioData d;
    LoadScenarioTexts("1001,,,,,,,,\x82,,,,\r\n", "", d, nullptr);
  } catch (const DamagedData& x) {
    e = x;
  }
  EXPECT_EQ(e.line, 1);
}

}  // namespace
}  // namespace mirel
