// One step back at the 100th message after a save point: the story runs
// again out of sight from the state kept there, with a background, two
// sprites and a song, and the point is shown once. Also what keeping the
// history costs in memory.
#ifdef MIREL_BENCH_PLAYS
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "base/Cp932.h"
#include "platform/qt/QtHost.h"
#include "support/DemoRun.h"

namespace mirel {
namespace {

constexpr int kMessages = 100;

std::string BenchStory(const std::string& dir) {
  std::filesystem::create_directories(dir);
  test::CopyDemoData(dir);
  Text sc = u"num,cmd,jump,bg,doll,anim,spare,speaker,text,p1,p2,names,end\r\n";
  auto line = [&](const Text& rest) { sc += u"0100," + rest + u"\r\n"; };
  for (int i = 0; i < 10; ++i) line(u",,,,,,,,前置き。,,,");
  // The save point after the scene is drawn: the kept state holds the
  // picture and both sprites.
  line(u",,03,,,,,DI,,,,");
  line(u"aA,,,,,,,,,,,");
  line(u",,,15,,,,L,,,,");
  line(u",,,21,,,,R,,,,");
  line(u",,,,,,4,最初の台詞。,,,,");
  line(u"p8,,,,,,,,第一話,はじまり,,");
  for (int i = 0; i < kMessages + 10; ++i)
    line(u",,,,,," + Text(i % 2 ? u"3" : u"4") + u"," + Decimal(i) + u"番目の台詞、少し長めの一行です。,,,,");
  sc += u"0200,,,,,,,,,,,,\r\n";
  WriteFileAtomic(dir + "91.dat", Complement(EncodeCp932(sc)));
  return dir;
}

struct BackRun : test::DemoRun {
  std::vector<double> stepsMs;
  size_t historyBytes = 0;
  bool timing = false;
  std::chrono::steady_clock::time_point from;
  std::optional<uint64_t> last;

  void Pump(EventQueue& q) override {
    if (form && form->CurrentWait() == PlayerWait::Click) {
      Rollback& r = form->reading.Going();
      if (timing && r.Position() != last) {
        stepsMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count());
        timing = false;
      }
      last = r.Position();
      if (r.Position() && *r.Position() == kMessages && !historyBytes) historyBytes = r.MemoryBytes();
    }
    const size_t before = q.size();
    DemoRun::Pump(q);
    for (size_t i = before; i < q.size(); ++i)
      if (q[i].kind == EventKind::KeyDown && q[i].key == Rollback::kVkBack) {
        timing = true;
        from = std::chrono::steady_clock::now();
      }
  }
};

void BM_StepBackAtTheHundredthMessage(benchmark::State& state) {
  const std::string dir = (std::filesystem::temp_directory_path() / "mirel-rollback-bench/").string();
  std::filesystem::remove_all(dir);
  BenchStory(dir);
  std::string script = "wait 100\nnow click\n";
  for (int i = 0; i < kMessages; ++i) script += "click\n";
  for (int i = 0; i < 10; ++i) script += "key backspace\nkey right\n";
  script += "menu end\nyes\n";
  for (auto _ : state) {
    BackRun run;
    // The pictures decoded as on the desktop, so the kept pictures weigh
    // what they weigh there.
    qt::QtImageCodec images;
    run.tp.platform.images = &images;
    run.Play(dir, script);
    double sum = 0;
    for (double ms : run.stepsMs) sum += ms;
    const double mean = run.stepsMs.empty() ? 0 : sum / static_cast<double>(run.stepsMs.size());
    state.SetIterationTime(mean / 1000.0);
    state.counters["steps"] = static_cast<double>(run.stepsMs.size());
    state.counters["history_MB"] = static_cast<double>(run.historyBytes) / (1024.0 * 1024.0);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StepBackAtTheHundredthMessage)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirel
#endif
