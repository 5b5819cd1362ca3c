#include "app/Startup.h"

#include <cstdio>
#include <exception>

#include "app/GameReader.h"
#include "base/Files.h"
#include "ui/File_Window.h"
#include "ui/NameEnt.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {

Main_Form::Main_Form(Platform& platform, StartOptions opts)
    : sys(platform),
      options(std::move(opts)),
      gate(*platform.audio, *platform.clock),
      timers(gate),
      mci(gate, *this, gate, [this] { DoEvents(); }) {
  // What a refresh drew is seen at once, as on the toolkit's own window.
  PresentNow = [this] { PresentChanges(); };
  ClickerTimer = timers.Add("Clicker", 500, [this] { Clicker_Timer(); });
  BGMLoopTimer = timers.Add("BGMLoop", 1000, [this] { BGMLoop_Timer(); });
  optionWindow = std::make_unique<Option_Window>(*this);
  nameEnt = std::make_unique<NameEnt>(*this);
  fileWindow = std::make_unique<File_Window>(*this);
  aboutBox = std::make_unique<frmAbout>(*this);
  reader = MakeGameReader(*this);
  access = std::make_unique<Accessibility>(*reader, sys.access, sys.speech, [this](const std::string& note) {
    if (sys.display) sys.display->Note(note);
  });
  access->speech = display.settings.speech;
  access->Apply();
  access->OnSpeechSwitched([this](const SpeechSettings& s) { display.SpeechSwitched(s); });
  AddOverlay(&access->FocusMark());
}

Main_Form::~Main_Form() = default;

void Main_Form::Form_Load() {
  DataReady = false;
  SizeForClient(640, 480);
  form.busyCursor = true;

  BaseDir = options.programDir.empty() ? ProgramDir() : options.programDir;
  if (BaseDir.empty() || BaseDir.back() != kPathSep) BaseDir += kPathSep;
  if (!options.dataDir.empty()) {
    DataDir = options.dataDir;
    if (DataDir.back() != kPathSep) DataDir += kPathSep;
  } else {
    std::string data = ResolveInDir(BaseDir, "data");
    DataDir = DirExists(data) ? data + kPathSep : BaseDir;
  }
  if (!FileExists(DataPath("90.dat"))) {
    MsgBox(u"フォルダの内容が不正です.\r\n" + FromUtf8(DataDir));
    throw ProgramEnd{1, false};
  }

  MessageSpeed = 3;
  LineNo = 0;
  CurSeq = 0;
  BgmOn = SeOn = true;
  LastHover = 5;
  WakuOpacity = 0.6f;
  SaveSnapshot[1] = Text(65, u' ');
  BgNumber = -1;
  DateCaption.clear();
  WaitAfterLine = true;
  timers.SetEnabled(ClickerTimer, true);
  timers.SetEnabled(BGMLoopTimer, true);

  RemoveStaleTemporaries();
  Story = ReadStory(DataDir);
  WriteEnvironmentLog();
  LayOutMainWindow();
  sys.window->Show();
  display.Started();
  DoEvents();

  Pic_Main.BackColor = kWhite;
  Pic_Main.Cls();
  Pic_Main.Visible = true;
  OpeningUnskipped = true;
  EffectCode = u"BI";
  if (!LoadPicture(Pic_Back, "P99.dat")) throw ProgramEnd{1, true};
  PlaceEffect();

  ShowLoading(0);
  CheckDataFiles();  // ends the program with its own message on failure

  uint32_t volume = 0;
  if (mci.OpenMixer() && mci.GetVolumeControl(4) && mci.GetVolume(volume)) SavedVolume = volume;
  NoteSoundInLog();

  WakuBuild();
  ShowLoading(65);
  try {
    LoadScenario(DataDir, *this, [this](int p) { ShowLoading(static_cast<int16_t>(p)); });
  } catch (const DamagedData& d) {
    MsgBox(d.Message());
    throw ProgramEnd{1, true};
  }
  ShowLoading(95);
  LoadFaces();
  ShowLoading(100);
  DataReady = true;
  form.busyCursor = false;

  if (options.warp) {
    OpeningUnskipped = false;
    JumpToBlock(options.warpBlock);  // says so when the block is missing
    if (!jumpFound_) throw ProgramEnd{2, true};
    for (const auto& [name, value] : options.warpCounters) {
      int16_t* c = name == "end" ? &EndPoints : CounterRef(FromUtf8(name));
      if (c) *c = value;
    }
    // As in a new game: saving (refused, see the save dialog), loading and skipping.
    for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup}) Menu(m).enabled = true;
    DateTabOn = true;
    RunGame();
    return;
  }
  PlayOpening();
  CurSeq = OpeningUnskipped ? 0 : 10;
  // The opening is over either way: from here a right click on the message
  // window hides it.
  OpeningUnskipped = false;
  RunGame();
}

void Main_Form::Form_Unload() {
  if (Unloaded) return;
  Unloaded = true;
  // Every step runs even when an earlier one fails: a failed write of
  // "90.dat" must not leave the pictures readable or the display switched.
  try {
    display.Closing();
  } catch (...) {
  }
  try {
    if (SavedVolume != 0) mci.SetVolume(SavedVolume);
  } catch (...) {
  }
  try {
    mci.StopMidi();
  } catch (...) {
  }
  // A warped play is an author's trial: what it unlocked is not kept.
  if (DataReady && !options.warp) {
    try {
      RebuildGalleryLine();
      std::string error;
      if (!WriteConfig(&error))
        MsgBox(u"90.dat を書き込めませんでした.(" + FromUtf8(DataPath("90.dat")) + u": " + FromUtf8(error) + u")");
    } catch (...) {
    }
  }
  for (const char* name : kImageTable) {
    try {
      if (name && *name) StoreImageHeader(DataPath(name));
    } catch (...) {
    }
  }
  try {
    if (FullScreen) LeaveFullScreen();
  } catch (...) {
  }
}

void Main_Form::IdleLoop() {
  InIdle = true;
  for (;;) {
    DoEvents();
    Sleep(10);
  }
}

int RunProgram(Main_Form& form) {
  int status = 0;
  bool unload = true;
  try {
    try {
      form.Form_Load();
      form.IdleLoop();
    } catch (const PlayError& e) {
      if (!e.where.empty()) std::fprintf(stderr, "mirel: %s\n", Utf8(e.where).c_str());
      form.MsgBox(e.message);
      status = 1;
    } catch (const DamagedData& d) {
      form.MsgBox(d.Message());
      status = 1;
    } catch (const ConversionError& e) {
      form.MsgBox(u"データが壊れています.(" + e.text + u")");
      status = 1;
    } catch (const ResumeGame&) {
      status = 1;
    } catch (const std::exception& e) {
      form.MsgBox(u"内部エラー: " + FromUtf8(e.what()));
      status = 1;
    }
  } catch (const ProgramEnd& e) {
    status = e.status;
    unload = e.runUnload;
  }
  if (unload) form.Form_Unload();
  return status;
}

}  // namespace mirel
