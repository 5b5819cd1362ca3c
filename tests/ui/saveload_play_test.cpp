// Plays the demo story with scripted input through a save, a changed game
// and a load of the saved one, then quits through the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "platform/Files.h"
#include "save/SlotFile.h"
#include "text/text_harness.h"
#include "ui/File_Window.h"

namespace mirel {
namespace {

// What a saved game carries, as the game holds it.
struct GameState {
  int16_t kou, hap, bad, mak;
  Text family, given;
  float opacity;
  int16_t bgRequest;
  std::array<Text, 3> savePoint;
  bool operator==(const GameState&) const = default;
};

std::ostream& operator<<(std::ostream& o, const GameState& s) {
  return o << "counters " << s.kou << "/" << s.hap << "/" << s.bad << "/" << s.mak << ", names "
           << Utf8(s.family) << " " << Utf8(s.given) << ", opacity " << s.opacity << ", background "
           << s.bgRequest << ", save point " << Utf8(s.savePoint[0]) << " " << Utf8(s.savePoint[1]) << " "
           << Utf8(s.savePoint[2]);
}

GameState StateOf(const Main_Form& f) {
  return {f.kou, f.hap, f.bad, f.mak, f.Names[1], f.Names[2], f.WakuOpacity, f.BgRequest, f.SavePoint};
}

// Watches the game between the script's actions.
class Observer final : public EventSource {
 public:
  explicit Observer(ScriptInput& input) : input_(input) {}
  void Pump(EventQueue& q) override {
    if (f && f->fileWindow->IsOpen()) {
      DialogModel& m = f->fileWindow->model;
      if (!saved && m.At("Picture3").visible && m.At("Label2").caption == u"セーブしました") {
        saved = StateOf(*f);
        savedAt = f->CurSeq;
      }
      if (f->DialogMode == 2 && !beforeLoad) {
        beforeLoad = StateOf(*f);
        slotCaption = m.At("Label1(2)").caption;
      }
    }
    // Nothing here may wait for ever: the virtual clock ends the run.
    if (++pumps_ > 2'000'000) {
      q.push_back(CloseEvent());
      return;
    }
    input_.Pump(q);
  }
  Main_Form* f = nullptr;
  std::optional<GameState> saved, beforeLoad;
  int32_t savedAt = -1;
  Text slotCaption;

 private:
  ScriptInput& input_;
  long pumps_ = 0;
};

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

TEST(SaveLoadPlay, ALoadedGameIsTheSavedOneAndPlayGoesOnFromItsSavePoint) {
  test::TestPlatform tp;
  test::RecordingFont font;
  test::TempDir dir;
  if (!test::CopyDemoData(dir.path())) GTEST_SKIP() << "the build has not made the demo data folder";
  const std::string config = test::ReadBytes(dir / "90.dat");

  const std::string script =
      "title new\n"
      "menu save\n"  // at the first line of chapter 1, past its save point
      "dialog File_Window Picture1(2)\n"
      "dialog File_Window fBtn(3)\n"
      "dialog File_Window fBtn(0)\n"
      // The game changes: lighter window, a route point, a new save point
      // and a new name.
      "menu options\n"
      "dialog Option_Window HScroll1 30\n"
      "dialog Option_Window Command1\n"
      "choose 1\n"
      "dialog NameEnt Text1 水野　テスト\n"
      "dialog NameEnt Command1\n"
      "menu load\n"
      "dialog File_Window Picture1(2)\n"
      "dialog File_Window fBtn(2)\n"
      // Played on from the save point, the first choice comes again.
      "choose 2\n"
      "menu end\n"
      "yes\n";
  ScriptInput input(script, tp.clock, tp.messages);
  Observer watch(input);
  tp.platform.fonts = &font;
  tp.platform.events = &watch;
  Main_Form f(tp.platform, StartOptions{dir.path(), dir.path()});
  input.Attach(&f);
  input.SetTimeLimit(30ull * 60 * 1000);
  watch.f = &f;

  std::vector<int32_t> trace;
  size_t loadedFrom = 0;  // index in the trace of the first record after the load
  std::optional<GameState> resumed;
  bool configGone = false;
  f.StepHook = [&](int32_t seq) {
    if (!configGone) {
      // Start-up has read it: whatever is there at the end was written at
      // shutdown.
      configGone = RemoveFile(dir / "90.dat");
    }
    if (f.DialogMode == 3 && !resumed) {
      resumed = StateOf(f);
      loadedFrom = trace.size();
    }
    trace.push_back(seq);
  };
  int status = RunProgram(f);

  EXPECT_EQ(status, 0);
  EXPECT_FALSE(input.TimedOut());
  EXPECT_TRUE(input.Exhausted());
  EXPECT_EQ(tp.messages.Shown(), std::vector<Text>{u"終了しますか？"});

  // Saved at the chapter's first line, with the chapter's save point.
  ASSERT_TRUE(watch.saved.has_value());
  ASSERT_GE(watch.savedAt, 0);
  const int32_t savePoint = std::stoi(Utf8(watch.saved->savePoint[0]));
  EXPECT_EQ(Trim(f.ScenarioTable[static_cast<size_t>(savePoint)].Cmd), u"p8");
  EXPECT_LT(savePoint, watch.savedAt);
  EXPECT_EQ(watch.saved->savePoint[1], u"第一章　潮見の町");
  EXPECT_EQ(watch.saved->savePoint[2], u"三月二十五日");
  EXPECT_EQ(watch.slotCaption, u"第一章　潮見の町\r\n三月二十五日");
  auto slot = ReadSlotForLoad(dir / "02.dat", f.LastSeq);
  ASSERT_TRUE(slot.contents.has_value()) << Utf8(slot.error);
  EXPECT_EQ(slot.contents->state.resume, savePoint);

  // The game had moved on before it was loaded.
  ASSERT_TRUE(watch.beforeLoad.has_value());
  EXPECT_EQ(watch.beforeLoad->kou, 1);
  EXPECT_EQ(watch.beforeLoad->given, u"テスト");
  EXPECT_EQ(watch.beforeLoad->opacity, 0.3f);
  EXPECT_NE(watch.beforeLoad->savePoint, watch.saved->savePoint);
  EXPECT_NE(watch.beforeLoad->bgRequest, watch.saved->bgRequest);

  // Loaded, it is the saved game again and runs from the save point on,
  // the same records as the first time.
  ASSERT_TRUE(resumed.has_value());
  EXPECT_EQ(*resumed, *watch.saved);
  ASSERT_GT(loadedFrom, 0u);
  EXPECT_EQ(trace[loadedFrom], savePoint);
  auto first = std::find(trace.begin(), trace.end(), savePoint);
  ASSERT_NE(first, trace.end());
  const int32_t choice = [&] {
    for (size_t i = static_cast<size_t>(savePoint); i < f.ScenarioTable.size(); ++i)
      if (Trim(f.ScenarioTable[i].Cmd) == u"s") return static_cast<int32_t>(i);
    return -1;
  }();
  ASSERT_GT(choice, savePoint);
  auto firstChoice = std::find(first, trace.end(), choice);
  auto again = trace.begin() + static_cast<long>(loadedFrom);
  auto secondChoice = std::find(again, trace.end(), choice);
  ASSERT_NE(firstChoice, trace.end());
  ASSERT_NE(secondChoice, trace.end());
  EXPECT_EQ(std::vector<int32_t>(again, secondChoice), std::vector<int32_t>(first, firstChoice));

  // The second answer counts on the restored counters only, and the game
  // that was interrupted never ran again: nothing after the load reaches
  // the records it had got to.
  EXPECT_EQ(f.kou, 0);
  EXPECT_EQ(f.hap, 1);
  EXPECT_EQ(f.Names[2], watch.saved->given);
  const int32_t interrupted = *std::max_element(trace.begin(), again);
  EXPECT_LT(*std::max_element(again, trace.end()), interrupted);

  // Quitting through the menu wrote the configuration again: every line as
  // it was but the gallery flags, which are the game's own.
  ASSERT_TRUE(configGone);
  ASSERT_TRUE(FileExists(dir / "90.dat"));
  std::vector<std::string> before = Lines(config), after = Lines(test::ReadBytes(dir / "90.dat"));
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i)
    if (i != 5) {
      EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
    }
  ASSERT_GE(after[5].size(), 33u);
  for (int k = 0; k < 19; ++k) {
    char c = after[5][static_cast<size_t>(14 + k)];
    EXPECT_EQ(c == '0', f.CgUnlocked[static_cast<size_t>(k)]) << k;
  }
}

// One run of the program on the data folder with the given script; the
// state and the picture of the title screen are taken as the load dialog
// opens, the state again when the loaded game runs its first record.
struct ProgramRun {
  test::TestPlatform tp;
  test::RecordingFont font;
  std::vector<int32_t> trace;
  size_t loadedFrom = 0;
  std::optional<GameState> resumed;
  Image titleScreen;  // the title with its buttons, as the dialog opened over it
  Image mainAtResume;
  std::array<bool, 4> buttonsShownAtResume{};
  int status = -1;

  void Play(const std::string& dataDir, const std::string& script) {
    ScriptInput input(script, tp.clock, tp.messages);
    Observer watch(input);
    tp.platform.fonts = &font;
    tp.platform.events = &watch;
    Main_Form f(tp.platform, StartOptions{dataDir, dataDir});
    input.Attach(&f);
    input.SetTimeLimit(30ull * 60 * 1000);
    watch.f = &f;
    f.StepHook = [&](int32_t seq) {
      if (f.DialogMode == 3 && !resumed) {
        resumed = StateOf(f);
        loadedFrom = trace.size();
        mainAtResume = f.Pic_Main.ToImage();
        for (int k = 0; k < 4; ++k) buttonsShownAtResume[static_cast<size_t>(k)] = f.Smenu[k].Visible;
      }
      trace.push_back(seq);
    };
    // The title as the player sees it when the load dialog opens.
    struct TitleShot final : EventSource {
      EventSource& inner;
      Main_Form& f;
      Image& shot;
      TitleShot(EventSource& i, Main_Form& m, Image& s) : inner(i), f(m), shot(s) {}
      void Pump(EventQueue& q) override {
        if (shot.pixels.empty() && f.TitleShown && f.fileWindow->IsOpen()) {
          shot = f.Title.ToImage();
          for (int k = 0; k < 4; ++k) {
            Image b = f.Smenu[k].ToImage();
            for (int y = 0; y < b.height; ++y)
              for (int x = 0; x < b.width; ++x)
                shot.pixels[static_cast<size_t>(180 + 50 * k + y) * shot.width + 104 + x] = b.At(x, y);
          }
        }
        inner.Pump(q);
      }
    } shotter(watch, f, titleScreen);
    tp.platform.events = &shotter;
    status = RunProgram(f);
    EXPECT_FALSE(input.TimedOut());
    EXPECT_TRUE(input.Exhausted());
    saved = watch.saved;
  }
  std::optional<GameState> saved;
};

TEST(SaveLoadPlay, AGameSavedInOneRunLoadsFromTheTitleOfTheNext) {
  test::TempDir dir;
  if (!test::CopyDemoData(dir.path())) GTEST_SKIP() << "the build has not made the demo data folder";
  ProgramRun first;
  first.Play(dir.path(),
             "title new\nchoose 3\nmenu save\ndialog File_Window Picture1(0)\ndialog File_Window fBtn(3)\n"
             "dialog File_Window fBtn(0)\nmenu end\nyes\n");
  ASSERT_EQ(first.status, 0);
  ASSERT_TRUE(first.saved.has_value());
  EXPECT_EQ(first.saved->bad, 1);  // the third answer's route
  ASSERT_TRUE(FileExists(dir / "00.dat"));

  ProgramRun second;
  second.Play(dir.path(), "title load\ndialog File_Window Picture1(0)\ndialog File_Window fBtn(2)\nmenu end\nyes\n");
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(second.tp.messages.Shown(), std::vector<Text>{u"終了しますか？"});
  ASSERT_TRUE(second.resumed.has_value());
  EXPECT_EQ(*second.resumed, *first.saved);
  ASSERT_GT(second.loadedFrom, 0u);
  EXPECT_EQ(second.trace[second.loadedFrom], std::stoi(Utf8(first.saved->savePoint[0])));

  // The title stays in view as the main picture, its buttons painted in
  // and none of them left to click.
  ASSERT_FALSE(second.titleScreen.pixels.empty());
  // A picture, not a blank: the title and its buttons have colours of their own.
  EXPECT_GT(std::set<uint32_t>(second.titleScreen.pixels.begin(), second.titleScreen.pixels.end()).size(), 4u);
  ASSERT_EQ(second.mainAtResume.width, 640);
  ASSERT_EQ(second.mainAtResume.height, 480);
  EXPECT_TRUE(second.mainAtResume.pixels == second.titleScreen.pixels);
  for (bool shown : second.buttonsShownAtResume) EXPECT_FALSE(shown);
}

}  // namespace
}  // namespace mirel
