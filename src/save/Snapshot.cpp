#include "app/Main_Form.h"
#include "save/SlotFile.h"
#include "ui/File_Window.h"

namespace mirel {

void Main_Form::Save_Data_stack() {
  // Captions and names are written so that the comma-delimited reader
  // gives them back whole; plain ones are written as they are.
  SaveSnapshot[0] = SlotField(SavePoint[1]) + u"," + SlotField(SavePoint[2]);
  SaveSnapshot[1] = BuildStateLine(*this);
  SaveSnapshot[2] = SlotField(Names[1]);
  SaveSnapshot[3] = SlotField(Names[2]);
}

void Main_Form::Continue_game() {
  // The dialog has checked the file already; a snapshot that still does not
  // hold a usable state line changes nothing.
  Text why;
  std::optional<SavedState> st = ParseStateLine(SaveSnapshot[1], LastSeq, &why);
  if (st) {
    if (auto problem = ResumeProblem(*this, st->resume)) {
      why = *problem;
      st.reset();
    }
  }
  if (!st) {
    MsgBox(u"ロードできませんでした.\r\n" + why);
    return;
  }

  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup}) Menu(m).enabled = false;
  Blinker.Visible = false;
  timers.SetEnabled(ClickerTimer, false);

  DateTabOn = true;

  // Closing the dialog gives the window back, but no click may reach the
  // title buttons or the old game while the state is half restored.
  if (fileWindow) fileWindow->Form_Unload();
  form.enabled = false;

  kou = st->kou;
  hap = st->hap;
  bad = st->bad;
  mak = st->mak;
  BgRequest = st->bgRequest;
  CurNum = st->curNum;
  WakuOpacity = static_cast<float>(st->opacityPercent) / 100.0f;
  BgmOn = st->bgmOn;
  SeOn = st->seOn;
  MessageSpeed = st->messageSpeed;
  CurMusic = st->curMusic;

  SavePoint[0] = Decimal(st->resume);
  CurSeq = st->resume;

  Names[1] = SaveSnapshot[2];
  Names[2] = SaveSnapshot[3];

  mci.StopMidi();
  DoEvents();
  mci.SetVolume(SavedVolume);

  for (auto& d : Doll_Disp) d.Visible = false;
  // Every sprite record goes, so that the next background change does not
  // flatten pictures of the old game into the new one.
  for (auto& row : DollPose) row.fill(0);
  PosUsed.fill(false);
  DollNo = 0;
  FaceNo = 0;

  LineNo = 0;
  LastSpeaker = 0;

  CurMusic = 0;

  Waku[0].Visible = false;
  Waku[3].Visible = false;

  if (Title.Visible) {
    // A load from the title screen: the title stays in view as the main
    // picture until the story draws its first background.
    Pic_Main.Move(0, 0, 640, 480);
    BitBlt(Pic_Main, 0, 0, 640, 480, Title, 0, 0, Rop::SrcCopy);
    Title.Visible = false;
    FillBox(Title, 0, 0, 640, 480, Title.BackColor);
    Title.Resize(0, 0);
    for (int k = 0; k < 4; ++k) {
      BitBlt(Pic_Main, 104, 180 + 50 * k, 166, 38, Smenu[k], 0, 0, Rop::SrcCopy);
      Pic_Main.Refresh();
      Smenu[k].Visible = false;
    }
    Pic_Main.Visible = true;
  }
  TitleShown = false;

  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup}) Menu(m).enabled = true;
  Blinker.Visible = true;
  timers.SetEnabled(ClickerTimer, true);
  Pic_Main.Enabled = true;
  form.enabled = true;

  ClickWait = false;
  // Inside a game the interrupted loop unwinds to its game loop, which
  // starts again at CurSeq: it can never go on behind the loaded game, and
  // loading again and again does not deepen the stack.
  if (GameDepth > 0) throw ResumeGame{};
  RunGame();
}

}  // namespace mirel
