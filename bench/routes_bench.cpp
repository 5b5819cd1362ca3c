#include <benchmark/benchmark.h>

#include <filesystem>

#include "base/Cp932.h"
#include "base/Files.h"
#include "mirel_tool/Routes.h"
#include "scenario/ScenarioData.h"

namespace mirel {
namespace {

void BM_WalkDemoRoutes(benchmark::State& state) {
  tool::RouteReport r;
  for (auto _ : state) r = tool::WalkRoutes(MIREL_DEMO_DATA_DIR);
  state.counters["states"] = static_cast<double>(r.states);
  state.counters["endings"] = static_cast<double>(r.endings.size());
}
BENCHMARK(BM_WalkDemoRoutes)->Unit(benchmark::kMillisecond);

// About 5000 records in 40 chapters, each a scene and a choice of three
// answers; every fourth chapter's answers raise one of the four counters,
// and the last block branches on them to the three endings.
std::string GeneratedStory(const std::string& dir) {
  Text sc = u"num,cmd,jump,bg,doll,anim,spare,speaker,text,p1,p2,names,end\r\n", ch;
  const Text names[] = {u"kou", u"hap", u"bad", u"mak"};
  auto line = [&](int num, const Text& rest) { sc += Decimal(num) + u"," + rest + u"\r\n"; };
  for (int c = 0; c < 40; ++c) {
    const int b = 1000 + c * 20, next = c == 39 ? 1900 : b + 20;
    for (int i = 0; i < 40; ++i) line(b, u",,,,,,3,第" + Decimal(c) + u"章の" + Decimal(i) + u"行目。,,,,");
    line(b, u"s,,,,,,,3,,,,");
    for (int a = 1; a <= 3; ++a) {
      ch += Decimal(b) + u",答え" + Decimal(a) + u"," + Decimal(b + a) + u"\r\n";
      if (c % 4 == 0) line(b + a, u"p1,,,,,,," + names[(c / 4 + a) % 4] + u",,,,");
      for (int i = 0; i < 26; ++i) line(b + a, u",,,,,,," + Decimal(a) + u"番目の道、" + Decimal(i) + u"。,,,,");
      line(b + a, u"g0," + Decimal(next) + u",,,,,,,,,,");
    }
  }
  line(1900, u"c0,1910,,,,,,kou,3,,,");
  line(1900, u"c0,1920,,,,,,hap,3,,,");
  line(1900, u"e,,,,,,,,,,,");
  line(1900, u"q,,,,,,,,,,,");
  line(1910, u"p2,,,,,,,end,1,,,");
  line(1910, u"e,,,,,,,,,,,");
  line(1910, u"q,,,,,,,,,,,");
  line(1920, u"p2,,,,,,,end,2,,,");
  line(1920, u"e,,,,,,,,,,,");
  line(1920, u"q,,,,,,,,,,,");
  line(9999, u",,,,,,,,,,,");
  std::filesystem::create_directories(dir);
  WriteFileAtomic(dir + "/91.dat", Complement(EncodeCp932(sc)));
  WriteFileAtomic(dir + "/92.dat", Complement(EncodeCp932(ch)));
  return dir;
}

void BM_WalkGenerated5000Records(benchmark::State& state) {
  const std::string dir = GeneratedStory((std::filesystem::temp_directory_path() / "mirel-routes-bench").string());
  tool::RouteReport r;
  for (auto _ : state) r = tool::WalkRoutes(dir);
  state.counters["states"] = static_cast<double>(r.states);
  state.counters["endings"] = static_cast<double>(r.endings.size());
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WalkGenerated5000Records)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace mirel
