#pragma once
// The main window: the game screen's controls and most of the game's
// operations. The operations are defined in the files named beside each
// group.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DataFiles.h"
#include "app/EnvLog.h"
#include "app/EventPump.h"
#include "app/Exits.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "app/StoryFile.h"
#include "audio/Mci.h"
#include "base/Timers.h"
#include "comfort/Accessibility.h"
#include "comfort/DisplayComforts.h"
#include "comfort/GameView.h"
#include "comfort/ReadingComforts.h"
#include "comfort/ReplayGate.h"
#include "extras/Ending.h"
#include "extras/Gallery.h"
#include "gfx/Controls.h"
#include "gfx/FramePacing.h"
#include "gfx/Gdi.h"
#include "gfx/Sprites.h"
#include "gfx/Transitions.h"
#include "platform/Platform.h"
#include "scenario/Commands.h"
#include "scenario/Interpreter.h"
#include "scenario/PlayState.h"
#include "scenario/ScenarioData.h"
#include "text/Input.h"
#include "text/TextRenderer.h"
#include "ui/ChoiceMenu.h"
#include "ui/TitleMenu.h"

namespace mirel {

class Option_Window;
class NameEnt;
class File_Window;
class frmAbout;

struct StartOptions {
  std::string dataDir;       // --data: overrides the folder search when set
  std::string programDir;    // where the program lives; ProgramDir() when empty
  // --warp: play starts at this block with these counters ("kou" ... "mak",
  // "end"), without the opening or the title; nothing is saved.
  bool warp = false;
  int16_t warpBlock = 0;
  std::vector<std::pair<std::string, int16_t>> warpCounters{};
};

// The state each topic file owns is declared in that topic's header and
// inherited here, so the fields keep their names in every file.
class Main_Form : public PlayState,
                  public Controls,
                  public ScenarioData,
                  public GameView,
                  public StartupState,
                  public DataFilesState,
                  public LayoutState,
                  public EnvLogState,
                  public EventPumpState,
                  public FramePacingState,
                  public InterpreterState,
                  public CommandsState,
                  public TextRendererState,
                  public InputState,
                  public ChoiceMenuState,
                  public TitleMenuState,
                  public TransitionsState,
                  public SpritesState,
                  public GalleryState,
                  public EndingState {
 public:
  Main_Form(Platform& sys, StartOptions options);
  ~Main_Form() override;
  Main_Form(const Main_Form&) = delete;
  Main_Form& operator=(const Main_Form&) = delete;

  Platform& sys;
  StartOptions options;
  // The clock and sound as the game's timers and songs reach them: closed
  // while going back runs the story again out of sight.
  ReplayGate gate;
  Timers timers;
  Mci mci;
  WorkDib dib;

  // ---- app/Startup.cpp: start-up and shutdown (state: StartupState) ----
  // The load sequence. Returns when the interpreter returns (title screen
  // or end of the scenario); throws ProgramEnd to end the program.
  void Form_Load();
  // The unload sequence; runs once, every step even when one fails.
  void Form_Unload();
  // Runs the program's idle loop after Form_Load until the program ends.
  void IdleLoop();

  // ---- app/DataFiles.cpp: the data folder's files (state: DataFilesState) ----
  static const std::array<const char*, 58> kImageTable;
  void CheckDataFiles();
  void RemoveStaleTemporaries();
  bool RestoreImageHeader(const std::string& path, char typeLetter);
  bool StoreImageHeader(const std::string& path);
  void RebuildGalleryLine();
  // False with the reason when the file cannot be written.
  bool WriteConfig(std::string* error = nullptr);
  std::string DataPath(const std::string& name) const override;

  // ---- app/Pictures.cpp: loading pictures from the data folder ----
  // Decodes the file into the surface (which takes the picture's size).
  // On failure shows a message naming the file and returns false, leaving
  // the surface as it was.
  bool LoadPicture(Surface& s, const std::string& name);

  // ---- app/Layout.cpp and app/Display.cpp: window layout, full screen (state: LayoutState) ----
  void SizeForClient(int width, int height);
  void LayOutMainWindow();
  void CentreWindow();
  void EnterFullScreen() override;
  void LeaveFullScreen() override;
  void ToggleCaption();

  // ---- app/Loading.cpp, app/EnvLog.cpp: loading indicator, environment log (state: EnvLogState) ----
  void ShowLoading(int16_t progress);
  std::string BuildEnvironmentReport();
  void WriteEnvironmentLog();
  // Once the sound is opened: the log's sound line says what it is now.
  void NoteSoundInLog();

  // ---- app/EventPump.cpp: the event pump and dispatch (state: EventPumpState) ----
  // Lets pending window events run once: what changed on screen is
  // presented, then host events, due timers and the engine handlers of
  // every queued event run.
  void DoEvents();
  // Hands the window what changed on screen since the last present.
  void PresentChanges() { Present(*sys.window, *sys.fonts); }
  void Dispatch(const InputEvent& e) override;
  // Takes the input that came while nothing pumped (a message being typed)
  // as a wait begins: a click there ends the wait at once, a menu command is
  // dropped, since the game was not yet waiting for it.
  void TakeEarlyInput();
  PlayerWait CurrentWait() const override;
  void Refresh(Surface& s) { s.Refresh(); }
  // The toolkit's Refresh of the whole form: repainted at once.
  void RefreshForm() override {
    sys.window->Refresh();
    PresentChanges();
  }
  // Sleep on the platform clock; what was drawn before is on screen during it.
  void Sleep(uint32_t ms) {
    PresentChanges();
    sys.clock->Sleep(ms);
  }
  uint32_t GetTickCount() override { return sys.clock->GetTickCount(); }
  void MsgBox(const Text& text) { sys.messages->Show(text, MsgButtons::Ok); }

  // ---- gfx/FramePacing.cpp (state: FramePacingState) ----
  void FrameBegin();
  // Presents the frame, sleeps the rest of the period, then pumps.
  void FrameEnd(uint32_t periodMs);

  // ---- scenario/Interpreter.cpp (state: InterpreterState) ----
  void RunScenario();
  int32_t RunStep();
  // Moves play on after a record that returned `result` (not the title's 9);
  // false when the record now current is a jump's target, which may be the
  // terminator.
  bool StepOn(int32_t result);
  // Runs RunScenario, restarting it when a loaded game replaces the play.
  void RunGame();
  void EndingSequence();
  void QuitSequence();
  Text ReplacePlaceholders(const Text& text) const;

  // ---- scenario/Commands.cpp (state: CommandsState) ----
  int32_t CmdJump();
  int32_t CmdAudio();
  int32_t CmdCounter();
  int32_t CmdEquality();
  int32_t CmdCompare();
  int32_t CmdTextParam();
  int32_t CmdWait();
  void JumpToBlock(int16_t num);
  void FindChoiceRow(int16_t sct);

  // ---- text/MessageFrame.cpp ----
  void WakuBuild();
  void WakuClear();

  // ---- text/TextRenderer.cpp (state: TextRendererState) ----
  void TalkDisp();
  void MessageDisp(const Text& tag, const Text& text, uint32_t colour);
  void PageCheck();

  // ---- text/Input.cpp (state: InputState) ----
  void Keys();
  void WaitSec(int n);
  void Pic_Main_MouseDown(int button);
  void Doll_Disp_MouseDown(int index, int button);
  void Waku_MouseDown(int index, int button);
  void KeyDown(int key);
  void Clicker_Timer();
  void speedup_Click();
  void HideWaku();
  void ShowWakuAgain();

  // ---- ui/ChoiceMenu.cpp (state: ChoiceMenuState) ----
  int32_t SelectDisp();
  void SelTxt_MouseDown(int index, int button);
  void SelTxt_MouseMove(int index);
  void ChoiceReach(PadScreen& s) const;  // the answers, for the pad and the arrows

  // ---- ui/TitleMenu.cpp (state: TitleMenuState) ----
  void TitleDisp();
  void Smenu_MouseMove(int index);
  void Smenu_MouseDown(int index);
  void prog_end_Click();
  void prog_load_Click();
  void prog_save_Click();
  void opt_menu_Click();
  void vvrr_Click();
  void NoteTitleCounters();  // as the title screen is shown
  void NewGameState();       // the counters and record a new game starts from
  void TitleReach(PadScreen& s) const;  // the title's buttons

  // Dialog forms, made once and kept for the whole run.
  std::unique_ptr<Option_Window> optionWindow;
  std::unique_ptr<NameEnt> nameEnt;
  std::unique_ptr<File_Window> fileWindow;
  std::unique_ptr<frmAbout> aboutBox;

  // ---- app/ComfortView.cpp: what the comforts see of the game ----
  bool InStory() const override;
  bool OnTitle() const override { return TitleShown; }
  bool InGallery() const override { return GalleryOpen; }
  bool DialogUp() const override { return !form.enabled; }
  bool MessageWindowHidden() const override { return WakuHidden; }
  int32_t CurrentRecord() const override { return CurSeq; }
  bool TypesText() const override { return MessageSpeed != 0; }
  bool InFullScreen() const override { return FullScreen; }
  bool CanGoFullScreen() const override { return !FullScreenUnavailable; }
  PadScreen Reachable() const override;
  Surface& MessageWindow() override { return Waku[0]; }
  void ComposeScreen(Image& out) override;
  void AddOverlay(Surface* s) override { Controls::AddOverlay(s); }
  void SpeechChanged(const SpeechSettings& s) override;
  std::unique_ptr<RollbackHost> RollbackSide() override;  // app/RollbackAdapter.cpp
  // The player's reading comforts (comfort/), consulted at the waits.
  ReadingComforts reading{*this, sys};
  // The player's display and sound comforts (comfort/): they see every
  // input event first.
  DisplayComforts display{*this, sys, reading.settings};
  // The game read aloud and to assistive technology, and the keyboard on
  // every screen (comfort/): it sees input after the other comforts.
  std::unique_ptr<GameReader> reader;
  std::unique_ptr<Accessibility> access;

  // ---- gfx/Transitions.cpp (state: TransitionsState) ----
  void PlaceEffect();
  int32_t ShowBackground();
  void PlayOpening();
  void BuildMesh1();

  // ---- gfx/Sprites.cpp (state: SpritesState) ----
  int32_t ShowDoll();
  int32_t ChangeFace();
  void HideDoll(int p);
  // False, with the position left as it was, when the picture cannot be loaded.
  bool LoadDoll(int c, int p);
  void LoadFaces();
  static int FaceEntryFor(int key);
  Text SpriteRecordPlace() const;  // the running record, for messages

  // ---- gfx/Backdrop.cpp ----
  void WakuBackdrop();

  // ---- audio: the BGMLoop timer ----
  void BGMLoop_Timer();

  // ---- save/Snapshot.cpp ----
  void Save_Data_stack();
  void Continue_game();

  // ---- extras/Gallery.cpp (state: GalleryState) ----
  void OpenGallery();
  void Pic_MouseMove(int n);
  void Pic_Click(int n);
  void SCG_Click();
  void CG_END_Click();
  void GalleryReach(PadScreen& s) const;  // the entries and the way out, or the open view

  // ---- extras/Ending.cpp (state: EndingState) ----
  void RunEnding();

 private:
  void DispatchMouse(const InputEvent& e);
  void DispatchQueued(bool dropMenus);
};

}  // namespace mirel
