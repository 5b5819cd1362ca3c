#include "app/Main_Form.h"
#include "base/Files.h"
#include "ui/File_Window.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {

namespace {
constexpr MenuItem kPlayMenus[] = {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup};

}  // namespace

void Main_Form::TitleDisp() {
  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup, MenuItem::opt_menu, MenuItem::vvrr})
    Menu(m).enabled = false;
  Pic_Main.Enabled = false;
  if (mci.MidiStatus() != "PLAYING") {
    CmdText = u"aa";
    CmdAudio();
  }
  // The title picture is decoration: one that cannot be read is passed
  // over without a message, the title stays hidden and the buttons still
  // appear.
  const std::string titlePath = DataPath("P91.dat");
  if (FileSize(titlePath) > 0) {
    Title.Move(0, 0, 640, 480);
    std::optional<Bytes> bytes = ReadFile(titlePath);
    Image picture;
    if (bytes && sys.images->Decode(*bytes, picture)) {
      Title.SetPicture(picture);
      Title.Visible = true;
    }
  }
  // The buttons keep the images they had; none is remembered as entered, so
  // the first one the mouse enters lights and sounds, even the one used
  // last time or one with the index of the last choice entered.
  LastHover = 5;
  for (auto& b : Smenu) b.Visible = true;
  Menu(MenuItem::opt_menu).enabled = true;
  Menu(MenuItem::vvrr).enabled = true;
  sys.window->SetImeOpen(false);
  TitleShown = true;
  NoteTitleCounters();
  Title.Refresh();
}

void Main_Form::Smenu_MouseMove(int index) {
  if (index == LastHover) return;
  LastHover = static_cast<int16_t>(index);
  for (int j = 0; j < 4; ++j) {
    int sx = j == index ? 179 : 4;
    BitBlt(Smenu[j], 0, 0, 166, 38, Texture, sx, 148 + 50 * j, Rop::SrcCopy);
    Smenu[j].Refresh();
  }
  mci.PlaySe(101);
}

void Main_Form::NoteTitleCounters() {
  if (!TitleCounters) TitleCounters = Counters{kou, hap, bad, mak, EndPoints};
}

void Main_Form::NewGameState() {
  // A new game starts from what the story set before its first title, not
  // from what an earlier play of this run added.
  if (TitleCounters) {
    kou = TitleCounters->kou;
    hap = TitleCounters->hap;
    bad = TitleCounters->bad;
    mak = TitleCounters->mak;
    EndPoints = TitleCounters->end;
  }
  CurSeq = CurSeq + 1;
}

void Main_Form::Smenu_MouseDown(int index) {
  mci.PlaySe(100);
  switch (index) {
    case 0: {
      Pic_Main.Move(0, 0, 640, 480);
      BitBlt(Pic_Main, 0, 0, 640, 480, Title, 0, 0, Rop::SrcCopy);
      Title.Visible = false;
      for (int j = 0; j < 4; ++j) BitBlt(Pic_Main, 104, 180 + 50 * j, 166, 38, Smenu[j], 0, 0, Rop::SrcCopy);
      Pic_Main.Refresh();
      for (auto& b : Smenu) b.Visible = false;
      End_Pic.Visible = false;
      DateTabOn = true;
      for (MenuItem m : kPlayMenus) Menu(m).enabled = true;
      NewGameState();
      Pic_Main.Enabled = true;
      TitleShown = false;
      RunGame();
      break;
    }
    case 1:
      DialogMode = 2;
      fileWindow->Form_Load();
      break;
    case 2:
      for (auto& b : Smenu) b.Visible = false;
      // The gallery's exit shows them again as they were, none entered.
      LastHover = 5;
      {
        Surface pic;
        if (LoadPicture(pic, "p92.dat")) FormPicture = pic.ToImage();
      }
      Title.Visible = false;
      Pic_Main.Visible = false;
      RefreshForm();
      OpenGallery();
      break;
    case 3:
      prog_end_Click();
      break;
    default:
      break;
  }
}

void Main_Form::prog_end_Click() {
  if (sys.messages->Show(u"終了しますか？", MsgButtons::YesNo) == MsgAnswer::Yes) throw ProgramEnd{0, true};
}

void Main_Form::prog_load_Click() {
  if (!ClickWait) return;
  DialogMode = 2;
  fileWindow->Form_Load();
}

void Main_Form::prog_save_Click() {
  if (!ClickWait) return;
  Save_Data_stack();
  DialogMode = 1;
  fileWindow->Form_Load();
}

void Main_Form::opt_menu_Click() {
  optionWindow->Form_Load();
  // Only a story in progress waits for the dialog; the title screen has
  // nothing to hold.
  if (!TitleShown && !GalleryOpen) Keys();
}

void Main_Form::vvrr_Click() { aboutBox->Form_Load(); }

}  // namespace mirel
