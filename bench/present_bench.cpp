// Presenting to the real window (Qt on its offscreen platform): the engine
// composes what changed and the window paints it. One typed character must
// stay under 0.2 ms, a whole cross-fade frame with its present under 0.6 ms,
// and a present with nothing changed under 10 us.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "BenchScreen.h"
#include "platform/headless/VirtualClock.h"
#include "platform/qt/QtHost.h"

namespace mirel {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "mirel_bench";
  static char* argv[] = {name, nullptr};
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(argc, argv);
  return app;
}

class NoEvents final : public EventSource {
 public:
  void Pump(EventQueue&) override {}
};

// The main window on the Qt window and fonts, shown, with a scene and the
// message window up.
struct QtScreen {
  QtScreen() {
    window.Show();
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) f->Pic_Main.At(x, y) = Rgb(x / 3, y / 2, (x + y) & 255);
    f->Pic_Back.Resize(640, 480);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) f->Pic_Back.At(x, y) = Rgb(y / 2, x / 3, (x ^ y) & 255);
    f->Waku[0].BackColor = Rgb(20, 40, 120);
    f->Waku[0].Cls();
    f->Waku[0].Visible = true;
    f->PresentChanges();
    QCoreApplication::processEvents();
  }
  QApplication& app = App();
  VirtualClock clock;
  NoEvents events;
  qt::QtFonts fonts;
  qt::EventInbox inbox;
  qt::QtWindow window{inbox};
  bench::Screen screen{clock, events, &window, &fonts};
  std::unique_ptr<Main_Form>& f = screen.f;
};

// What the typewriter does for one character, and its present.
void BM_PresentTypedCharacter(benchmark::State& state) {
  QtScreen s;
  Surface& w = s.f->Waku[0];
  const Text letters = u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ";
  size_t i = 0;
  for (auto _ : state) {
    w.ForeColor = kWhite;
    TextOut(s.fonts, w, 30 + 17 * static_cast<int>(i % 30), 35, Text(1, letters[i % letters.size()]));
    w.Refresh();
    s.f->PresentChanges();
    if (++i % 30 == 0) w.Cls();
  }
}
BENCHMARK(BM_PresentTypedCharacter)->Unit(benchmark::kMicrosecond);

// One frame of the whole-screen cross-fade: the blend, then its present.
void BM_PresentCrossFadeFrame(benchmark::State& state) {
  QtScreen s;
  s.f->Waku[0].Visible = false;
  s.f->PresentChanges();
  WorkDib dib;
  dib.DibCreate(640, 480);
  for (auto _ : state) {
    dib.DibBlend(s.f->Pic_Main, 0, 0, 640, 480, s.f->Pic_Back, 0, 0, 0.1f);
    s.f->Pic_Main.Refresh();
    s.f->PresentChanges();
  }
  dib.DibRelease();
}
BENCHMARK(BM_PresentCrossFadeFrame)->Unit(benchmark::kMicrosecond);

// What every pump and sleep pays when nothing on screen changed.
void BM_PresentNothingChanged(benchmark::State& state) {
  QtScreen s;
  s.f->Blinker.Visible = true;
  s.f->Waku[3].Visible = true;
  s.f->PresentChanges();
  for (auto _ : state) s.f->PresentChanges();
}
BENCHMARK(BM_PresentNothingChanged)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mirel
