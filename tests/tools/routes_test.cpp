#include <gtest/gtest.h>

#include <filesystem>

#include "mirel_tool/Build.h"
#include "mirel_tool/Codec.h"
#include "mirel_tool/Routes.h"
#include "support/DemoRun.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

std::string Answers(const tool::RouteEnding& e) {
  std::string script;
  for (const tool::RouteStep& a : e.answers) script += a.answer == 0 ? "title new\n" : "choose " + std::to_string(a.answer) + "\n";
  return script;
}

// The walk and the play agree: each kind of ending the walk finds is reached
// by playing its answers, with the counters the walk names.
TEST(RoutesTest, DemoAnswersPlayedHeadlessReachTheirEndings) {
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path()));
  const tool::RouteReport r = tool::WalkRoutes(dir.path());
  EXPECT_TRUE(r.findings.empty()) << tool::RoutesText(r);
  std::set<std::string> kinds;
  for (const tool::RouteEnding& e : r.endings) {
    if (!kinds.insert(e.kind).second) continue;
    test::DemoRun run;
    bool reached = false;
    run.onStep = [&](Main_Form& f, int32_t seq) {
      const ScenarioRecord& rec = f.ScenarioTable[static_cast<size_t>(seq)];
      if (reached || rec.line != e.line) return;
      reached = true;
      EXPECT_EQ((std::array<int16_t, 5>{f.kou, f.hap, f.bad, f.mak, f.EndPoints}),
                (std::array<int16_t, 5>{e.kou, e.hap, e.bad, e.mak, e.end}))
          << e.kind;
    };
    run.Play(dir.path(), Answers(e));
    EXPECT_TRUE(reached) << e.kind << "\n" << Answers(e);
  }
  EXPECT_EQ(kinds, (std::set<std::string>{"plain", "ending 1", "ending 2", "quit"})) << tool::RoutesText(r);
}

// A story with a prologue that opens a branch, an answer equal to its
// neighbour, a block and an ending no route reaches and a loop with no exit.
TEST(RoutesTest, PlantedFaultsAreFoundWhereTheyStand) {
  test::TempDir src, out;
  test::WriteBytes(src / "scenario.csv",
                   "num,cmd,jump,bg,doll,anim,spare,speaker,text,param1,param2,names,end\n"
                   "0100,p1,,,,,,,kou,,,,\n"
                   "0100,g9,,,,,,,,,,,\n"
                   "0200,,,,,,,,はじまり。,,,,\n"
                   "0200,s,,,,,,,3,,,,\n"
                   "0300,,,,,,,,右。,,,,\n"
                   "0300,g0,0500,,,,,,,,,,\n"
                   "0400,p1,,,,,,,hap,,,,\n"
                   "0400,g0,0500,,,,,,,,,,\n"
                   "0450,,,,,,,,誰も来ない道。,,,,\n"
                   "0500,i1,0600,,,,,,kou,1,,,\n"
                   "0500,e,,,,,,,,,,,\n"
                   "0600,,,,,,,,灯台。,,,,\n"
                   "0600,s,,,,,,,2,,,,\n"
                   "0700,,,,,,,,同じ所。,,,,\n"
                   "0700,g0,0700,,,,,,,,,,\n"
                   "0800,e,,,,,,,,,,,\n"
                   "0800,q,,,,,,,,,,,\n"
                   "0900,,,,,,,,,,,,\n");
  test::WriteBytes(src / "choices.csv",
                   "0200,右,0300\n0200,左,0400\n0200,まっすぐ,0300\n0600,中へ,0700\n0600,帰る,0800\n");
  tool::BuildDataFolder(src.path(), out.path(), {"", true});
  const std::vector<std::string> lines = test::Lines(*tool::DecodeShipped(test::ReadBytes(out / "91.dat"), false, nullptr));
  auto line = [&](const std::string& start) {
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i) + 1;
    return 0;
  };
  const tool::RouteReport r = tool::WalkRoutes(out.path());
  const std::string all = tool::RoutesText(r);
  auto has = [&](const std::string& where, const std::string& part) {
    return all.find(where + ": " + part) != std::string::npos;
  };
  EXPECT_TRUE(has("91.dat:" + std::to_string(line("0450")), "warning: no route reaches this record (block 450")) << all;
  EXPECT_TRUE(has("91.dat:" + std::to_string(line("0500,e")), "warning: no route reaches this record")) << all;
  EXPECT_TRUE(has("92.dat:3", "warning: answer 3 \"まっすぐ\" leads to the same state as answer 1 \"右\"")) << all;
  EXPECT_TRUE(has("91.dat:" + std::to_string(line("0700")), "error: block 700 loops and no route leaves it")) << all;
  // Only the prologue's kou opens block 600, and so the ending behind it.
  ASSERT_EQ(r.endings.size(), 4u) << all;  // plain and quit, with hap 0 or 1
  EXPECT_EQ(r.endings[0].kind, "plain");
  EXPECT_EQ(r.endings[0].line, line("0800,e"));
  EXPECT_EQ(r.endings[0].kou, 1);
  EXPECT_EQ(tool::CheckStatus(r.findings, false), 1);
}

// An author's warp starts at the block with the counters given, and keeps
// nothing: no "90.dat" written, no slot.
TEST(RoutesTest, WarpStartsAtTheBlockWithItsCountersAndWritesNothing) {
  test::TempDir dir;
  ASSERT_TRUE(test::CopyDemoData(dir.path()));
  const std::string config = test::ReadBytes(dir / "90.dat");
  test::DemoRun run;
  std::vector<std::array<int16_t, 2>> starts;
  run.before = [](Main_Form& f) {
    f.options.warp = true;
    f.options.warpBlock = 1100;
    f.options.warpCounters = {{"kou", 3}, {"end", 1}};
  };
  run.onStep = [&](Main_Form& f, int32_t seq) {
    if (starts.empty()) starts.push_back({f.ScenarioTable[static_cast<size_t>(seq)].Num, f.kou});
  };
  run.Play(dir.path(), "click\nmenu save\ndialog File_Window Picture1(0)\ndialog File_Window fBtn(3)\ndialog File_Window fBtn(0)\n");
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts[0], (std::array<int16_t, 2>{1100, 3}));
  EXPECT_EQ(test::ReadBytes(dir / "90.dat"), config);
  EXPECT_NE(std::find(run.tp.messages.Shown().begin(), run.tp.messages.Shown().end(), u"--warp で始めた遊びはセーブできません."),
            run.tp.messages.Shown().end());
  for (int slot = 0; slot < 5; ++slot) EXPECT_FALSE(std::filesystem::exists(dir / ("0" + std::to_string(slot) + ".dat")));
}

}  // namespace
}  // namespace mirel
