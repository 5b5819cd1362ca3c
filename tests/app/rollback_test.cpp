// Going back through the story on a small story with a save point, a
// picture, songs, sprites and a choice: what each point shows after going
// back and forth is what it showed the first time, another answer plays on
// as if it had been picked first, and the saved files do not change.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "comfort/QuickSave.h"
#include "platform/headless/FixedFolders.h"
#include "support/DemoRun.h"
#include "support/NoteHost.h"

namespace mirel {
namespace {

struct Visit {
  uint64_t point;
  int32_t record;
  uint64_t frame;
};

uint64_t FrameHash(const Image& img) {
  uint64_t h = 1469598103934665603ull;
  for (uint32_t p : img.pixels) h = (h ^ p) * 1099511628211ull;
  return h;
}

// Plays the rollback story with a script, noting the picture at the first
// pump of every wait for a click or a choice.
struct RollPlay : test::DemoRun {
  test::TempDir dir;
  std::vector<Visit> visits;
  std::string slot, config;

  ~RollPlay() override { form.reset(); }
  void Pump(EventQueue& q) override {
    if (form) {
      const PlayerWait w = form->CurrentWait();
      const auto point = form->reading.Going().Position();
      if ((w == PlayerWait::Click || w == PlayerWait::Choice) && point &&
          (visits.empty() || visits.back().point != *point)) {
        Image img;
        Compose(*form, font, img);
        visits.push_back({*point, form->CurSeq, FrameHash(img)});
      }
    }
    DemoRun::Pump(q);
  }
  // Plays on a data folder made of the story, or on `data` when given.
  void Run(const std::string& script, const std::string& data = {}, UserFolders* folders = nullptr) {
    std::string at = data;
    if (at.empty()) {
      at = dir / "data/";
      const std::string bin = test::BuildDir();
      const test::Outcome built =
          test::Shell(bin + "tools/mirel-tool build '" + std::string(MIREL_TEST_SOURCE_DIR) +
                      "/tests/stories/rollback/story' '" + at + "' --base '" + bin + "demo-data' 2>&1");
      ASSERT_EQ(built.status, 0) << built.out;
    }
    tp.platform.folders = folders;
    Play(at, script);
    slot = test::ReadBytes(at + "00.dat");
    config = test::ReadBytes(at + "90.dat");
  }
  // The first picture shown at each point.
  std::map<uint64_t, uint64_t> FirstFrames() const {
    std::map<uint64_t, uint64_t> m;
    for (const Visit& v : visits) m.emplace(v.point, v.frame);
    return m;
  }
  std::vector<std::string> Songs() const {
    std::vector<std::string> v;
    for (const std::string& c : tp.audio.commands)
      if (c.rfind("open ", 0) == 0) {
        // The song's file name, without the test's own folder.
        const size_t slash = c.rfind('/'), quote = c.find('"', slash);
        v.push_back(c.substr(slash + 1, quote - slash - 1));
      }
    return v;
  }
};

std::string Repeat(const std::string& line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line + "\n";
  return s;
}

const std::string kStart = "wait 100\nnow click\n";
// Points of the story: 0-3 before the choice, 4 the choice, 5-7 the left
// way, 8-14 after the ways meet.
// The choice is answered a little after it opens, so it is seen as a point.
const std::string kChoose1 = "wait 50\nchoose 1\n", kChoose2 = "wait 50\nchoose 2\n";
const std::string kToTheEnd = kStart + Repeat("click", 4) + kChoose1 + Repeat("click", 9);
const std::string kSave = "menu save\ndialog File_Window Picture1(0)\ndialog File_Window fBtn(3)\n";

TEST(Rollback, BackTenAndForwardAgainShowsWhatEachPointShowedFirstAndChangesNoFile) {
  RollPlay back;
  // The gamepad's Back button is one of the ten.
  back.Run(kToTheEnd + Repeat("key backspace", 9) + "pad back\n" + Repeat("key right", 10) + kSave +
           "menu end\nyes\n");
  ASSERT_FALSE(HasFailure());
  RollPlay plain;
  plain.Run(kToTheEnd + kSave + "menu end\nyes\n");

  // The walk: up to the newest point, ten back across the choice, ten on.
  std::vector<uint64_t> walk;
  for (const Visit& v : back.visits) walk.push_back(v.point);
  std::vector<uint64_t> want;
  for (uint64_t i = 0; i <= 14; ++i) want.push_back(i);
  for (uint64_t i = 13; i >= 4; --i) want.push_back(i);
  for (uint64_t i = 5; i <= 14; ++i) want.push_back(i);
  EXPECT_EQ(walk, want);

  const auto first = back.FirstFrames();
  for (const Visit& v : back.visits) {
    EXPECT_EQ(v.frame, first.at(v.point)) << "point " << v.point << ", record " << v.record;
    EXPECT_EQ(v.record, back.visits[v.point].record) << "point " << v.point;
  }
  EXPECT_EQ(first, plain.FirstFrames());
  // Back at the choice the first song plays again, on the left way the
  // second; the plain play heard each once.
  const auto songs = back.Songs(), once = plain.Songs();
  ASSERT_EQ(once.size(), 2u);
  EXPECT_EQ(songs, (std::vector<std::string>{once[0], once[1], once[0], once[1]}));
  EXPECT_EQ(back.form->hap, plain.form->hap);
  EXPECT_EQ(back.form->kou, plain.form->kou);

  // The slot (after its date line) and "90.dat" as without going back.
  ASSERT_FALSE(plain.slot.empty());
  const auto a = test::Lines(back.slot), b = test::Lines(plain.slot);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(std::vector<std::string>(a.begin() + 1, a.end()), std::vector<std::string>(b.begin() + 1, b.end()));
  EXPECT_EQ(back.config, plain.config);
}

TEST(Rollback, AnotherAnswerAtTheChoicePlaysOnAsIfPickedFirst) {
  // Three points into the left way (its counter and song taken), back to
  // the choice, the right way.
  RollPlay again;
  again.Run(kStart + Repeat("click", 4) + kChoose1 + Repeat("click", 2) + Repeat("key left", 3) +
            kChoose2 + Repeat("click", 12) + "menu end\nyes\n");
  ASSERT_FALSE(HasFailure());
  RollPlay right;
  right.Run(kStart + Repeat("click", 4) + kChoose2 + Repeat("click", 12) + "menu end\nyes\n");

  // From the choice on, the same points with the same pictures.
  auto from = [](const std::vector<Visit>& vs) {
    std::vector<std::pair<int32_t, uint64_t>> out;
    bool last = false;
    for (size_t i = vs.size(); i-- > 0;) {
      out.insert(out.begin(), {vs[i].record, vs[i].frame});
      if (vs[i].point == 4) {
        last = true;
        break;
      }
    }
    EXPECT_TRUE(last) << "the choice was not offered again";
    return out;
  };
  EXPECT_EQ(from(again.visits), from(right.visits));
  // The left way's counter and song are gone with it.
  EXPECT_EQ(again.form->hap, 0);
  EXPECT_EQ(again.form->bad, right.form->bad);
  EXPECT_EQ(again.form->kou, right.form->kou);
  const auto songs = again.Songs();
  ASSERT_FALSE(songs.empty());
  EXPECT_EQ(songs.back(), right.Songs().back());
  EXPECT_GT(songs.size(), right.Songs().size()) << "the left way's song was never left";
  // The backlog holds the right way only.
  bool left = false;
  for (const BacklogEntry& e : again.form->reading.History().Entries()) left = left || e.text == u"左の道の三。";
  EXPECT_FALSE(left);
}

TEST(Rollback, ABacklogEntryPickedAndConfirmedIsReturnedTo) {
  // At point 13: "no" stays, "yes" goes to the third newest entry (point 11),
  // and the backlog ends with it; from the backlog opened, Enter at the
  // newest only closes it.
  RollPlay p;
  p.Run(kToTheEnd + "key backspace\nbacklog pick 3\nno\nkey pageup\nkey enter\nbacklog pick 3\nyes\n"
                    "menu end\nyes\n");
  ASSERT_FALSE(HasFailure());
  std::vector<uint64_t> tail;
  for (size_t i = p.visits.size() - 3; i < p.visits.size(); ++i) tail.push_back(p.visits[i].point);
  EXPECT_EQ(tail, (std::vector<uint64_t>{14, 13, 11}));
  EXPECT_EQ(p.visits.back().frame, p.visits.at(11).frame);
  EXPECT_EQ(p.form->reading.History().Entries().back().text, u"合流の四。");
  const auto& asked = p.tp.messages.Shown();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), Text(u"この場面まで戻りますか？")), 2);
}

TEST(QuickSave, KeepsAMessageThatIsNoSavePointForTheNextRunAndOnClosing) {
  test::TempDir home;
  FixedFolders folders(home.path());
  // Point 7: the left way, after its counter and its song.
  RollPlay first;
  first.Run(kStart + Repeat("click", 4) + kChoose1 + Repeat("click", 2) + "key f5\n" + Repeat("click", 2) +
                "menu end\nyes\n",
            {}, &folders);
  ASSERT_FALSE(HasFailure());
  const Visit kept = first.visits.at(7);
  ASSERT_EQ(kept.point, 7u);
  const std::string data = first.dir / "data/";

  // A new run: F9 at its first message asks, then stands where F5 was. A
  // quick save half written by a kill beside the whole one is removed.
  std::string quick;
  for (const auto& e : std::filesystem::directory_iterator(home / "quick")) quick = e.path().string();
  ASSERT_NE(quick, "");
  test::WriteBytes(quick + ".tmp", "MIREL quick save 1\n");
  RollPlay second;
  second.Run(kStart + "key f9\nyes\nwait 10\nmenu end\nyes\n", data, &folders);
  EXPECT_FALSE(std::filesystem::exists(quick + ".tmp"));
  ASSERT_GE(second.visits.size(), 2u);
  const Visit& back = second.visits.back();
  EXPECT_EQ(back.record, kept.record);
  EXPECT_EQ(back.frame, kept.frame);
  EXPECT_EQ(second.form->hap, 1);
  EXPECT_EQ(second.form->kou, 1);
  EXPECT_EQ(second.Songs().back(), "bgm02.mid");
  // Going back from there works as in the run that kept it.
  RollPlay third;
  third.Run(kStart + "key f9\nyes\nwait 10\nkey backspace\nmenu end\nyes\n", data, &folders);
  ASSERT_GE(third.visits.size(), 3u);
  EXPECT_EQ(third.visits.back().frame, first.visits.at(6).frame);
  EXPECT_EQ(third.form->hap, 0);

  // Closing the window at a message keeps that message instead.
  RollPlay closing;
  closing.Run(kStart + Repeat("click", 2) + "close\n", data, &folders);
  RollPlay resumed;
  resumed.Run(kStart + "key f9\nyes\nwait 10\nmenu end\nyes\n", data, &folders);
  ASSERT_GE(resumed.visits.size(), 2u);
  EXPECT_EQ(resumed.visits.back().frame, first.visits.at(2).frame);
  EXPECT_EQ(resumed.visits.back().record, first.visits.at(2).record);
}

// F9 found the quick save, asked once and loaded it without a failure.
void ExpectQuickLoaded(const RollPlay& p) {
  const auto& asked = p.tp.messages.Shown();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), Text(u"クイックセーブした所へ戻りますか？")), 1);
  for (const Text& m : asked) EXPECT_EQ(m.find(u"ロードできませんでした"), Text::npos) << Utf8(m);
}

// A menu that changes nothing of the play leaves the history as it was: a
// quick save after it is kept, and loads.
TEST(QuickSave, AfterAMenuThatChangedNothingIsKeptAndLoads) {
  test::TempDir home;
  FixedFolders folders(home.path());
  RollPlay first;
  test::NoteHost told;
  first.tp.platform.display = &told;
  first.Run(kStart + Repeat("click", 2) + "key f5\nmenu version\nclick\nkey f5\nmenu end\nyes\n", {}, &folders);
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(told.notes, std::vector<std::string>(2, "quick save kept (F9 loads it)"));
  RollPlay second;
  second.Run(kStart + "key f9\nyes\nwait 10\nmenu end\nyes\n", first.dir / "data/", &folders);
  ExpectQuickLoaded(second);
  ASSERT_GE(second.visits.size(), 2u);
  ASSERT_GE(first.visits.size(), 4u);
  EXPECT_EQ(second.visits.back().record, first.visits.at(3).record);
  EXPECT_EQ(second.visits.back().frame, first.visits.at(3).frame);
}

// After the hero is renamed, or the options are changed, the play stands
// where no slot could resume: a quick save there could never be loaded, so
// the player is told when it can be kept again and the one kept before
// stays, and loads.
struct ChangeBeside {
  const char* name;
  const char* script;
};
void PrintTo(const ChangeBeside& c, std::ostream* os) { *os << c.name; }

class QuickSaveAfter : public testing::TestWithParam<ChangeBeside> {};

TEST_P(QuickSaveAfter, WaitsForASavePointAndTheOneKeptBeforeStillLoads) {
  test::TempDir home, data;
  ASSERT_TRUE(test::CopyDemoData(data.path()));
  FixedFolders folders(home.path());
  RollPlay first;
  test::NoteHost told;
  first.tp.platform.display = &told;
  first.Run(std::string("title new\nkey f5\n") + GetParam().script + "key f5\nmenu end\nyes\n", data.path(),
            &folders);
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(told.notes, (std::vector<std::string>{"quick save kept (F9 loads it)",
                                                  "quick save: possible again from the story's next save point"}));
  RollPlay second;
  second.Run("title new\nclick\nkey f9\nyes\nwait 10\nmenu end\nyes\n", data.path(), &folders);
  ExpectQuickLoaded(second);
  // It stands where the first F5 was, as the first play showed it there.
  ASSERT_GE(second.visits.size(), 2u);
  const Visit& at = second.visits.back();
  EXPECT_TRUE(std::any_of(first.visits.begin(), first.visits.end(),
                          [&at](const Visit& v) { return v.record == at.record && v.frame == at.frame; }))
      << "record " << at.record;
}

INSTANTIATE_TEST_SUITE_P(
    Changes, QuickSaveAfter,
    testing::Values(ChangeBeside{"renaming", "choose 1\ndialog NameEnt Text1 水野　アキ\ndialog NameEnt Command1\n"},
                    // The music off, then on to the next message (until
                    // then F5 still keeps the place the menu was opened at).
                    ChangeBeside{"options", "menu options\ndialog Option_Window Check1 0\n"
                                            "dialog Option_Window Command1\nclick\n"}),
    [](const testing::TestParamInfo<ChangeBeside>& i) { return std::string(i.param.name); });

TEST(QuickSave, AFileCutShortAnywhereIsNoQuickSave) {
  QuickPosition p;
  p.snapshot = {u"第一話,はじまり", Text(51, u'0'), u"名字", u"名前"};
  p.points = {-1, -1, 1, -1};
  p.target = 3;
  const std::string whole = QuickSave::Encode(p);
  ASSERT_EQ(QuickSave::Decode(whole), p);
  for (size_t n = 0; n < whole.size(); ++n) EXPECT_FALSE(QuickSave::Decode(whole.substr(0, n))) << n;
  std::string far = whole;
  far.replace(far.find("3 4"), 3, "4 4");  // a point past the last
  EXPECT_FALSE(QuickSave::Decode(far));

  test::TempDir dir;
  const std::string path = dir / "q/story.quick";
  ASSERT_TRUE(QuickSave::Write(path, p));
  EXPECT_EQ(QuickSave::Read(path), p);
}

}  // namespace
}  // namespace mirel
