#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Cp932.h"
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

TEST(ComplementTest, TwiceGivesBackTheInput) {
  const std::string s("\x00\x01\x7f\x80\xff" "abc", 8);
  std::string c = Complement(s);
  EXPECT_EQ(c.size(), s.size());
  EXPECT_EQ(static_cast<unsigned char>(c[0]), 255);
  EXPECT_EQ(static_cast<unsigned char>(c[4]), 0);
  EXPECT_EQ(Complement(c), s);
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

TEST(LoaderTest, HeadingLinesAreSkippedWherever) {
  const std::string body = "1001,,,,,,,,あ,,,,\r\n1002,,,,,,,,い,,,,\r\n";
  ScenarioData plain = Load(body);
  ScenarioData headed = Load("num,cmd,jump,bg,doll,anim,spare,speaker,text,p1,p2,names,end\r\n" + body +
                             "num,cmd,jump,bg,doll,anim,spare,speaker,text,p1,p2,names,end\r\n");
  ASSERT_EQ(headed.ScenarioTable.size(), plain.ScenarioTable.size());
  for (size_t i = 0; i < plain.ScenarioTable.size(); ++i)
    EXPECT_EQ(headed.ScenarioTable[i].Text, plain.ScenarioTable[i].Text);
  EXPECT_EQ(headed.ScenarioTable[0].line, 2);
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

TEST(LoaderTest, ProgressIsReportedInOrder) {
  ScenarioData d;
  std::vector<int> seen;
  LoadScenarioTexts(Sjis("1001,,,,,,,,,,,,\r\n"), "", d, [&](int p) { seen.push_back(p); });
  EXPECT_EQ(seen, (std::vector<int>{70, 80, 90, 95}));
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

TEST(LoaderTest, TablesRefuseMoreThanTheyHold) {
  std::string many;
  for (int i = 0; i < kMaxRecords + 1; ++i) many += "1001,,,,,,,,,,,,\r\n";
  EXPECT_EQ(LoadFails(many).line, kMaxRecords + 1);
  std::string blocks;
  for (int i = 0; i < kMaxBlocks + 1; ++i) blocks += std::to_string(1000 + i) + ",,,,,,,,,,,,\r\n";
  EXPECT_EQ(LoadFails(blocks).line, kMaxBlocks + 1);
  std::string rows;
  for (int i = 0; i < kMaxChoiceRows + 1; ++i) rows += "1001,a,1001\r\n";
  EXPECT_EQ(LoadFails("1001,,,,,,,,,,,,\r\n", rows).file, "92.dat");
}

TEST(LoaderTest, ReadsTheShippedFilesAndLeavesNoReadableCopy) {
  test::TempDir dir;
  test::WriteBytes(dir / "91.dat", Complement(Sjis("1001,,,,,,,,あ,,,,\r\n1002,,,,,,,,,,,,\r\n")));
  test::WriteBytes(dir / "92.dat", Complement(Sjis("1001,はい,1002\r\n")));
  ScenarioData d;
  LoadScenario(dir.path(), d, nullptr);
  EXPECT_EQ(d.ScenarioTable[0].Text, u"あ");
  EXPECT_EQ(d.ChoiceTable[0].Target, 1);
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    ++files;
    EXPECT_NE(e.path().extension(), ".cod");
  }
  EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace mirel
