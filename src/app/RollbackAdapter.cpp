// The main window's side of going back: what a kept state holds and how the
// story is run again out of sight.
#include "app/Main_Form.h"
#include "comfort/DisplayHost.h"
#include "comfort/QuickSave.h"
#include "comfort/RollbackHost.h"
#include "save/SlotFile.h"

namespace mirel {

namespace {

// The fields of a line as the slot reader gives them back.
Text Field(const Text& line, size_t i) {
  const std::vector<Text> f = ReadFields(line);
  return i < f.size() ? f[i] : Text{};
}

using Pixels = std::shared_ptr<const std::vector<uint32_t>>;

// Pictures are kept packed: runs of one colour as a count and the colour,
// and a picture of the size of the one before it in the list (the main
// picture after the background, a sprite's parts) as its difference to
// that one, when that is smaller.
enum class Packing : uint8_t { Raw, Runs, RunsOfDifference };

std::vector<uint32_t> Runs(const std::vector<uint32_t>& px, const std::vector<uint32_t>* ref) {
  std::vector<uint32_t> out;
  auto at = [&](size_t i) { return ref ? px[i] ^ (*ref)[i] : px[i]; };
  for (size_t i = 0; i < px.size();) {
    const uint32_t v = at(i);
    size_t n = 1;
    while (i + n < px.size() && at(i + n) == v) ++n;
    out.push_back(static_cast<uint32_t>(n));
    out.push_back(v);
    i += n;
    // Not worth it: the caller keeps it raw.
    if (out.size() >= px.size()) return {};
  }
  return out;
}

void Unpack(Packing how, const std::vector<uint32_t>& data, std::vector<uint32_t>& px) {
  if (how == Packing::Raw) {
    px = data;
    return;
  }
  const std::vector<uint32_t> ref = how == Packing::RunsOfDifference ? px : std::vector<uint32_t>{};
  px.clear();
  for (size_t i = 0; i + 1 < data.size(); i += 2) px.insert(px.end(), data[i], data[i + 1]);
  if (how == Packing::RunsOfDifference)
    for (size_t i = 0; i < px.size() && i < ref.size(); ++i) px[i] ^= ref[i];
}

uint64_t HashOf(const std::vector<uint32_t>& px) {
  uint64_t h = 1469598103934665603ull ^ px.size();
  for (uint32_t p : px) h = (h ^ p) * 1099511628211ull;
  return h;
}

// A control as it looks, with its picture packed.
struct KeptSurface {
  SurfaceLook look;
  Pixels pixels;  // packed; none for a picture made once at start-up
  Packing how = Packing::Raw;
  uint64_t hash = 0;
};

struct PlayPicture final : RollbackHost::State {
  PlayState play;
  std::vector<KeptSurface> surfaces;
  uint32_t formBack = 0;
  std::array<MenuState, kMenuItemCount> menus;
  bool clicker = false, bgmLoop = false;
  ReplayGate::Song song;
  Mci::SongState mciSong;
  int16_t LineNo = 0, LastSpeaker = 0, LastHover = 5;
  bool MsgDone = false, WakuHidden = false, TitleShown = false;
  std::array<Text, 3> ChoiceTexts;
  std::array<int32_t, 3> ChoiceTargets{};
  SpritesState sprites;
  TransitionsState transitions;
  int32_t StepResult = 0;

  void Blocks(std::vector<std::pair<const void*, size_t>>& out) const override {
    out.emplace_back(this, sizeof(*this) + transitions.PixelBuf.size() * sizeof(uint32_t) +
                               surfaces.size() * sizeof(KeptSurface));
    for (const KeptSurface& s : surfaces)
      if (s.pixels) out.emplace_back(s.pixels.get(), s.pixels->size() * sizeof(uint32_t));
  }
};

// The window as the story sees it while it runs out of sight: nothing shown.
class QuietWindow final : public WindowHost {
 public:
  explicit QuietWindow(WindowHost*& real) : real_(real) {}
  void Show() override {}
  void Present(PictureView, const std::vector<Rect>&) override {}
  void Sync(const FormState&) override {}
  Rect OuterRect() override { return real_->OuterRect(); }
  Rect ClientRect() override { return real_->ClientRect(); }
  void SetOuterSize(int, int) override {}
  void Move(int, int) override {}
  int ScreenWidth() override { return real_->ScreenWidth(); }
  int ScreenHeight() override { return real_->ScreenHeight(); }
  bool HasCaption() override { return real_->HasCaption(); }
  void SetCaption(bool) override {}
  bool ChangeDisplayMode(bool) override { return false; }
  bool InFullScreenMode() override { return real_->InFullScreenMode(); }
  void SetImeOpen(bool) override {}

 private:
  WindowHost*& real_;
};

class NoEvents final : public EventSource {
 public:
  void Pump(EventQueue&) override {}
};

class Adapter final : public RollbackHost {
 public:
  explicit Adapter(Main_Form& f) : f_(f), quietWindow_(realWindow_) {}

  std::shared_ptr<const State> Capture(const State* before) override {
    auto s = std::make_shared<PlayPicture>();
    const auto* prev = dynamic_cast<const PlayPicture*>(before);
    s->play = f_;
    const auto all = Surfaces();
    s->surfaces.reserve(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
      const Surface& c = *all[i];
      KeptSurface l;
      l.look = c;
      if (MadeOnce(i)) {
        s->surfaces.push_back(std::move(l));
        continue;
      }
      l.hash = HashOf(c.pixels);
      const std::vector<uint32_t>* ref =
          i > 0 && !MadeOnce(i - 1) && all[i - 1]->pixels.size() == c.pixels.size() ? &all[i - 1]->pixels : nullptr;
      // A picture unchanged since the state before is kept once (with the
      // one it differs from, when it is kept as a difference).
      const KeptSurface* was = prev && i < prev->surfaces.size() ? &prev->surfaces[i] : nullptr;
      if (was && was->pixels && was->hash == l.hash &&
          (was->how != Packing::RunsOfDifference || prev->surfaces[i - 1].hash == s->surfaces[i - 1].hash)) {
        l.pixels = was->pixels;
        l.how = was->how;
      } else {
        std::vector<uint32_t> runs = Runs(c.pixels, nullptr), diff = ref ? Runs(c.pixels, ref) : std::vector<uint32_t>{};
        if (!diff.empty() && (runs.empty() || diff.size() < runs.size())) {
          l.how = Packing::RunsOfDifference;
          l.pixels = std::make_shared<const std::vector<uint32_t>>(std::move(diff));
        } else if (!runs.empty()) {
          l.how = Packing::Runs;
          l.pixels = std::make_shared<const std::vector<uint32_t>>(std::move(runs));
        } else {
          l.pixels = std::make_shared<const std::vector<uint32_t>>(c.pixels);
        }
      }
      s->surfaces.push_back(std::move(l));
    }
    s->formBack = f_.FormBackColor;
    s->menus = f_.form.menus;
    s->clicker = f_.timers.Enabled(f_.ClickerTimer);
    s->bgmLoop = f_.timers.Enabled(f_.BGMLoopTimer);
    s->song = f_.gate.Believed();
    s->mciSong = f_.mci.Song();
    s->LineNo = f_.LineNo;
    s->LastSpeaker = f_.LastSpeaker;
    s->LastHover = f_.LastHover;
    s->MsgDone = f_.MsgDone;
    s->WakuHidden = f_.WakuHidden;
    s->TitleShown = f_.TitleShown;
    s->ChoiceTexts = f_.ChoiceTexts;
    s->ChoiceTargets = f_.ChoiceTargets;
    s->sprites = f_;
    s->transitions = f_;
    s->StepResult = f_.StepResult;
    return s;
  }

  void Restore(const State& state) override {
    const auto& s = dynamic_cast<const PlayPicture&>(state);
    // What is not the play's: the gallery, the display, the player's volume.
    PlayState& play = f_;
    const auto cg = play.CgUnlocked;
    const bool full = play.FullScreen, fullNo = play.FullScreenUnavailable;
    const uint32_t volume = play.SavedVolume;
    play = s.play;
    play.CgUnlocked = cg;
    play.FullScreen = full;
    play.FullScreenUnavailable = fullNo;
    play.SavedVolume = volume;
    const auto all = Surfaces();
    for (size_t i = 0; i < all.size() && i < s.surfaces.size(); ++i) {
      Surface& c = *all[i];
      const KeptSurface& l = s.surfaces[i];
      static_cast<SurfaceLook&>(c) = l.look;
      // In list order, so the picture a difference is taken to is there.
      if (l.pixels) {
        if (l.how == Packing::RunsOfDifference) c.pixels = all[i - 1]->pixels;
        Unpack(l.how, *l.pixels, c.pixels);
      }
    }
    f_.FormBackColor = s.formBack;
    f_.form.menus = s.menus;
    f_.timers.SetEnabled(f_.ClickerTimer, s.clicker);
    f_.timers.SetEnabled(f_.BGMLoopTimer, s.bgmLoop);
    f_.gate.SetBelieved(s.song);
    f_.mci.SetSong(s.mciSong);
    f_.LineNo = s.LineNo;
    f_.LastSpeaker = s.LastSpeaker;
    f_.LastHover = s.LastHover;
    f_.MsgDone = s.MsgDone;
    f_.WakuHidden = s.WakuHidden;
    f_.TitleShown = s.TitleShown;
    f_.ChoiceTexts = s.ChoiceTexts;
    f_.ChoiceTargets = s.ChoiceTargets;
    static_cast<SpritesState&>(f_) = s.sprites;
    static_cast<TransitionsState&>(f_) = s.transitions;
    f_.StepResult = s.StepResult;
    f_.ClickWait = false;
  }

  Wait Waiting() const override {
    switch (f_.CurrentWait()) {
      case PlayerWait::None: return Wait::None;
      case PlayerWait::Click: return Wait::Click;
      case PlayerWait::Choice: return Wait::Choice;
      default: return Wait::Other;
    }
  }

  bool InStory() const override {
    return f_.GameDepth > 0 && !f_.Walk && !f_.TitleShown && !f_.GalleryOpen && !f_.InIdle && !f_.RollRunning &&
           !f_.End_Pic.Visible;
  }

  // Where a slot may resume, as loading checks it: a quick save made
  // anywhere else could not be loaded.
  bool AtSavePoint() const override { return !ResumeProblem(f_, f_.CurSeq); }

  void Quiet(bool on) override {
    if (on == quiet_) return;
    quiet_ = on;
    Platform& sys = f_.sys;
    if (on) {
      realWindow_ = sys.window;
      realClock_ = sys.clock;
      realEvents_ = sys.events;
      sys.window = &quietWindow_;
      sys.clock = &f_.gate;
      sys.events = &noEvents_;
      // What the player did after the key waits until the point is reached.
      held_.swap(f_.events);
      f_.gate.Close();
      return;
    }
    f_.gate.Open();
    sys.window = realWindow_;
    sys.clock = realClock_;
    sys.events = realEvents_;
    for (auto it = held_.rbegin(); it != held_.rend(); ++it) f_.events.push_front(std::move(*it));
    held_.clear();
    // The whole picture, once.
    f_.RefreshForm();
  }

  [[noreturn]] void Unwind() override { throw ResumeGame{}; }
  void Advance() override { f_.ClickWait = false; }
  void Pick(int index) override { f_.SelTxt_MouseDown(index, 1); }
  int Picked() const override { return f_.ChoicePick; }
  bool Confirm(const Text& question) override {
    return f_.sys.messages->Show(question, MsgButtons::YesNo) == MsgAnswer::Yes;
  }
  void Note(const std::string& text) override {
    if (f_.sys.display) f_.sys.display->Note(text);
  }

  std::array<Text, 4> Portable() const override {
    Text line = BuildStateLine(f_);
    // Resumed at the record about to run, not at the last save point.
    Text at = Decimal(f_.CurSeq);
    at = Text(at.size() < 4 ? 4 - at.size() : 0, u'0') + at;
    if (line.size() >= 4) line.replace(line.size() - 4, 4, at.substr(at.size() - 4));
    return {SlotField(f_.SavePoint[1]) + u"," + SlotField(f_.SavePoint[2]), line, SlotField(f_.Names[1]),
            SlotField(f_.Names[2])};
  }

  Text PortableExtras() const override {
    const ReplayGate::Song& song = f_.gate.Believed();
    const Text fields[] = {Decimal(f_.DateTabOn),    Decimal(f_.LineNo),        Decimal(f_.LastSpeaker),
                           Decimal(f_.WaitAfterLine), Decimal(f_.EndPoints),     Decimal(f_.CurMusic),
                           Decimal(song.playing),     f_.EffectCode,             f_.DateCaption,
                           FromUtf8(f_.mci.Song().path)};
    Text out;
    for (const Text& t : fields) out += SlotField(t) + u",";
    return out;
  }

  void RestoreExtras(const Text& extras) override {
    const std::vector<Text> v = ReadFields(extras);
    if (v.size() < 10) return;
    auto num = [&](size_t i) {
      try {
        return static_cast<int16_t>(ParseNumber(v[i], -32768, 32767));
      } catch (...) {
        return int16_t{0};
      }
    };
    f_.DateTabOn = num(0) != 0;
    f_.LineNo = num(1);
    f_.LastSpeaker = num(2);
    f_.WaitAfterLine = num(3) != 0;
    f_.EndPoints = num(4);
    f_.CurMusic = num(5);
    f_.EffectCode = v[7];
    f_.DateCaption = v[8];
    // The song that was playing plays again once the point is shown.
    const std::string path = Utf8(v[9]);
    if (!path.empty() && f_.BgmOn) {
      ReplayGate::Song song = f_.gate.Believed();
      song.open = "open \"" + path + "\" type sequencer alias midifile";
      song.playing = num(6) != 0;
      f_.gate.SetBelieved(song);
      f_.mci.SetSong({path, true, false});
    }
  }

  void Load(const std::array<Text, 4>& snapshot) override {
    // Read back as the slot reader reads a slot's lines.
    f_.SavePoint[1] = Field(snapshot[0], 0);
    f_.SavePoint[2] = Field(snapshot[0], 1);
    f_.SaveSnapshot[1] = Field(snapshot[1], 0);
    f_.SaveSnapshot[2] = Field(snapshot[2], 0);
    f_.SaveSnapshot[3] = Field(snapshot[3], 0);
    f_.Continue_game();
  }

  bool OnTitle() const override { return f_.TitleShown && f_.CurrentWait() == PlayerWait::Title && !f_.GalleryOpen; }

  std::string QuickSavePath() override {
    if (!f_.sys.folders) return {};
    const std::string home = f_.sys.folders->DataHome();
    std::optional<Bytes> scenario = ReadFile(f_.DataPath("91.dat"));
    if (home.empty() || !scenario) return {};
    return QuickSave::FileFor(home + "quick/", *scenario);
  }

 private:
  // Pictures drawn once at start-up and never again: the face sheet, the
  // frame's texture and the message window's pieces made of it.
  static bool MadeOnce(size_t i) {
    // Their places in the list of Surfaces().
    return i == kFaceLoad || i == kFaceLoad + 1 || i == kWakuFirst + 1 || i == kWakuFirst + 2 ||
           i == kWakuFirst + 4 || i == kWakuFirst + 5 || i == kWakuFirst + 7;
  }
  static constexpr size_t kFaceLoad = 4 + 15, kWakuFirst = kFaceLoad + 2;

  std::vector<Surface*> Surfaces() {
    std::vector<Surface*> v{&f_.Pic_Main, &f_.Pic_Back, &f_.Mesh1, &f_.Mesh2};
    for (auto* arr : {&f_.Doll_Disp, &f_.Doll_Back, &f_.Doll_Body, &f_.Doll_Mask, &f_.Face_Disp})
      for (Surface& s : *arr) v.push_back(&s);
    v.push_back(&f_.Face_Load);
    v.push_back(&f_.Face_Mask);
    for (Surface& s : f_.Waku) v.push_back(&s);
    v.push_back(&f_.Texture);
    v.push_back(&f_.Dtime_label);
    for (Surface& s : f_.SelTxt) v.push_back(&s);
    v.push_back(&f_.Blinker);
    for (Surface& s : f_.Smenu) v.push_back(&s);
    v.push_back(&f_.Title);
    v.push_back(&f_.LOAD_NOW);
    v.push_back(&f_.End_Pic);
    return v;
  }

  Main_Form& f_;
  WindowHost* realWindow_ = nullptr;
  Clock* realClock_ = nullptr;
  EventSource* realEvents_ = nullptr;
  QuietWindow quietWindow_;
  NoEvents noEvents_;
  EventQueue held_;
  bool quiet_ = false;
};

}  // namespace

std::unique_ptr<RollbackHost> Main_Form::RollbackSide() { return std::make_unique<Adapter>(*this); }

}  // namespace mirel
