#include <benchmark/benchmark.h>

#include "base/Cp932.h"
#include "scenario/ScenarioData.h"

namespace mirel {
namespace {

// A 5000-record story in its shipped form: 100 blocks of 50 lines.
std::string ShippedScenario() {
  Text s = u"num,cmd,jump,bg,doll,anim,spare,speaker,text,p1,p2,names,end\r\n";
  for (int i = 0; i < 5000; ++i) {
    Text num = Decimal(1000 + i / 50);
    if (i % 50 == 49) s += num + u",g0," + Decimal(1000 + (i / 50 + 1) % 100) + u",,,,,,,,,,\r\n";
    else s += num + u",,,,,,,3,「潮の香りが流れこんできた。小さな駅のホームに、" + Decimal(i) + u"」,,,,\r\n";
  }
  return Complement(EncodeCp932(s));
}

void BM_DecodeAndLoad5000Records(benchmark::State& state) {
  const std::string shipped = ShippedScenario();
  const std::string choices = Complement(EncodeCp932(u"1000,はい,1001\r\n1000,いいえ,1002\r\n"));
  for (auto _ : state) {
    ScenarioData d;
    LoadScenarioTexts(Complement(shipped), Complement(choices), d, nullptr);
    benchmark::DoNotOptimize(d.LastSeq);
  }
  state.counters["records"] = 5001;
}
BENCHMARK(BM_DecodeAndLoad5000Records)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirel
