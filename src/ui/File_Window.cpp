#include "ui/File_Window.h"

#include "base/Files.h"
#include "save/SlotFile.h"

namespace mirel {

namespace {

const Text kNoData = u"データなし";

std::string Indexed(const char* base, int k) { return std::string(base) + "(" + std::to_string(k) + ")"; }

// k for a name "base(k)", else -1.
int IndexOf(const std::string& name, const std::string& base) {
  if (name.size() != base.size() + 3 || name.compare(0, base.size(), base) != 0) return -1;
  if (name[base.size()] != '(' || name.back() != ')') return -1;
  char d = name[base.size() + 1];
  return d >= '0' && d <= '9' ? d - '0' : -1;
}

constexpr int kFrameX[5] = {16, 16, 16, 200, 200};
constexpr int kFrameY[5] = {8, 56, 104, 8, 56};

}  // namespace

File_Window::File_Window(Main_Form& main) : Form(main) {
  model.name = "File_Window";
  model.caption = u"ゲームデータ";
  model.clientWidth = 383;
  model.clientHeight = 151;
  model.backColor = kFrameColour;
  model.closeBox = true;
  // Later controls lie above earlier ones: the notice over the buttons, the
  // question over the right-hand slots.
  for (int k = 0; k < kSlotCount; ++k) {
    DialogControl frame =
        Ctl(Indexed("Picture1", k), ControlKind::Picture, u"", kFrameX[k], kFrameY[k], kFrameWidth, kFrameHeight);
    frame.backColor = kFrameColour;
    model.controls.push_back(frame);
    model.controls.push_back(Ctl(Indexed("Label1", k), ControlKind::Label, u"", 40, 8, 121, 25, frame.name));
  }
  model.controls.push_back(Ctl("fBtn(3)", ControlKind::Button, u"Save", 184, 112, 49, 33));
  model.controls.push_back(Ctl("fBtn(1)", ControlKind::Button, u"Delete", 232, 112, 49, 33));
  model.controls.push_back(Ctl("fBtn(2)", ControlKind::Button, u"Load", 280, 112, 49, 33));
  model.controls.push_back(Ctl("fBtn(0)", ControlKind::Button, u"Close", 328, 112, 49, 33));
  DialogControl notice = Ctl("Picture3", ControlKind::Picture, u"", 184, 88, 193, 41);
  notice.visible = false;
  model.controls.push_back(notice);
  model.controls.push_back(Ctl("Label2", ControlKind::Label, u"", 32, 16, 121, 17, "Picture3"));
  DialogControl question = Ctl("Picture4", ControlKind::Picture, u"", 216, 64, 129, 49);
  question.visible = false;
  question.backColor = kQuestionColour;
  model.controls.push_back(question);
  DialogControl text = Ctl("Label4", ControlKind::Label, u"", 8, 8, 105, 17, "Picture4");
  text.backColor = kQuestionColour;
  text.foreColor = kWhite;
  model.controls.push_back(text);
  model.controls.push_back(Ctl("Command1", ControlKind::Button, u"Yes", 8, 24, 41, 17, "Picture4"));
  model.controls.push_back(Ctl("Command2", ControlKind::Button, u"No", 80, 24, 41, 17, "Picture4"));
}

std::array<uint32_t, File_Window::kIconSize * File_Window::kIconSize> File_Window::Icon(int which,
                                                                                      uint32_t background) {
  std::array<uint32_t, kIconSize * kIconSize> px;
  px.fill(background);
  const uint32_t body = which ? Rgb(160, 32, 48) : Rgb(48, 64, 144);
  auto box = [&px](int x1, int y1, int x2, int y2, uint32_t c) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x) px[static_cast<size_t>(y) * kIconSize + x] = c;
  };
  // A small disk: body, metal shutter with its window, paper label.
  box(3, 3, 29, 29, body);
  box(9, 3, 23, 12, Rgb(192, 192, 192));
  box(17, 4, 20, 11, body);
  box(7, 16, 25, 29, kWhite);
  box(9, 19, 23, 20, body);
  box(9, 23, 23, 24, body);
  return px;
}

bool File_Window::StoryWaits() const {
  // Only while the story waits for the player to go on: a text still being
  // typed, a choice or the gallery is no place to capture or replace the
  // game.
  return main_.InKeys && main_.ClickWait && !main_.ChoiceOpen && !main_.GalleryOpen;
}

void File_Window::Form_Load() {
  if (IsOpen()) return;
  int mode = main_.DialogMode;
  // Another dialog holding the window (it is disabled then) keeps this one shut.
  bool allowed = main_.form.enabled &&
                 ((mode == 2 && main_.TitleShown) || ((mode == 1 || mode == 2) && !main_.TitleShown && StoryWaits()));
  if (!allowed) {
    main_.DialogMode = 0;
    return;
  }
  mode_ = mode;
  main_.form.enabled = false;
  answer_ = 0;
  selected_ = -1;
  confirming_ = busy_ = closeAsked_ = false;
  SetBusy(false);
  HideNotice();
  model.At("Picture4").visible = false;
  FillSlots();
  Show();
}

void File_Window::Form_Unload() {
  Hide();
  main_.form.enabled = true;
}

PlayerWait File_Window::Waiting() const {
  if (!IsOpen()) return PlayerWait::None;
  if (confirming_) return PlayerWait::Confirm;
  // While a notice stands the dialog takes no input: it is not waiting.
  return busy_ ? PlayerWait::None : PlayerWait::Dialog;
}

std::string File_Window::DefaultControl() const { return confirming_ ? "Command2" : "fBtn(0)"; }

void File_Window::OnControl(const InputEvent& e) {
  const std::string& c = e.control;
  if (c == "_close") {
    // Closing the window answers an open question with "No"; the dialog
    // closes once the operation in progress is over.
    if (confirming_) {
      answer_ = 2;
      closeAsked_ = true;
    } else if (busy_) {
      closeAsked_ = true;
    } else {
      main_.DialogMode = 0;
      Form_Unload();
    }
    return;
  }
  if (c == "Command1" || c == "Command2") {
    if (confirming_) answer_ = c == "Command1" ? 1 : 2;
    return;
  }
  const DialogControl* ctl = model.Find(c);
  if (!ctl || !ctl->enabled || busy_) return;
  int k;
  if ((k = IndexOf(c, "fBtn")) >= 0 && k <= 3) {
    Button(k);
  } else if ((k = IndexOf(c, "Picture1")) >= 0 || (k = IndexOf(c, "Label1")) >= 0) {
    if (k < kSlotCount) SelectSlot(k);
  }
}

std::string File_Window::SlotPath(int k) const { return ResolveInDir(main_.DataDir, SlotFileName(k)); }

bool File_Window::SlotUsed(int k) { return model.At(Indexed("Label1", k)).caption != kNoData; }

void File_Window::PaintFrame(int k, uint32_t colour, bool selected) {
  DialogControl& frame = model.At(Indexed("Picture1", k));
  frame.backColor = colour;
  frame.pixels.assign(static_cast<size_t>(kFrameWidth) * kFrameHeight, colour);
  auto icon = Icon(selected ? 1 : 0, colour);
  for (int y = 0; y < kIconSize; ++y)
    for (int x = 0; x < kIconSize; ++x)
      frame.pixels[static_cast<size_t>(y) * kFrameWidth + x] = icon[static_cast<size_t>(y) * kIconSize + x];
}

void File_Window::FillSlots() {
  for (int k = 0; k < kSlotCount; ++k) {
    PaintFrame(k, kFrameColour, false);
    DialogControl& label = model.At(Indexed("Label1", k));
    std::string path = SlotPath(k);
    if (FileExists(path)) {
      SlotCaptions c = ReadSlotCaptions(path);
      label.foreColor = kCaptionColour;
      label.caption = c.part1 + u"\r\n" + c.part2;
    } else {
      label.foreColor = kEmptyColour;
      label.caption = kNoData;
    }
    // The frame is a picture: it is named by its slot's number and caption.
    model.At(Indexed("Picture1", k)).accessibleName = Decimal(k + 1) + u" " + label.caption;
  }
  Update();
}

void File_Window::SelectSlot(int k) {
  PlaySe(102);
  selected_ = k;
  for (int j = 0; j < kSlotCount; ++j) PaintFrame(j, kFrameColour, false);
  PaintFrame(k, kSelectedColour, true);
  Update();
}

void File_Window::PlaySe(int32_t id) {
  if (main_.SeOn) main_.mci.PlaySe(id);
}

void File_Window::SetBusy(bool busy) {
  busy_ = busy;
  for (int k = 0; k < 4; ++k) model.At(Indexed("fBtn", k)).enabled = !busy;
  if (!busy) {
    if (mode_ == 1) {
      model.At("fBtn(2)").enabled = false;
    } else {
      model.At("fBtn(1)").enabled = false;
      model.At("fBtn(3)").enabled = false;
    }
  }
  for (int k = 0; k < kSlotCount; ++k) {
    model.At(Indexed("Label1", k)).enabled = !busy;
    model.At(Indexed("Picture1", k)).enabled = !busy;
  }
}

void File_Window::Button(int k) {
  if (k == 0) {
    main_.DialogMode = 0;
    PlaySe(100);
    Form_Unload();
    return;
  }
  if (selected_ < 0) return;
  const std::string path = SlotPath(selected_);
  HideNotice();
  answer_ = 0;
  PlaySe(100);
  SetBusy(true);
  Update();
  // Whatever ends the operation (a load that resumes play, the program
  // ending inside a wait), the dialog must not stay busy for its next use.
  struct Idle {
    File_Window& w;
    ~Idle() { w.busy_ = w.confirming_ = false; }
  } idle{*this};

  bool resumed = false;
  switch (k) {
    case 3: Save(path); break;
    case 1: Erase(path); break;
    case 2: resumed = Load(path); break;
    default: break;
  }
  if (resumed || !IsOpen()) return;
  SetBusy(false);
  Update();
  if (closeAsked_) {
    closeAsked_ = false;
    main_.DialogMode = 0;
    Form_Unload();
  }
}

bool File_Window::Confirm(const Text& question) {
  model.At("Label4").caption = question;
  model.At("Picture4").visible = true;
  answer_ = 0;
  confirming_ = true;
  Update();
  while (answer_ == 0) {
    main_.DoEvents();
    // A dialog that is gone can no longer be answered: that is a "No".
    if (answer_ == 0 && !IsOpen()) answer_ = 2;
    if (answer_ != 0) break;
    main_.Sleep(30);
  }
  confirming_ = false;
  model.At("Picture4").visible = false;
  Update();
  return answer_ == 1;
}

void File_Window::Notice(uint32_t colour, const Text& text) {
  DialogControl& panel = model.At("Picture3");
  DialogControl& label = model.At("Label2");
  panel.backColor = colour;
  label.backColor = colour;
  label.caption = text;
  panel.visible = true;
  Update();
}

void File_Window::HideNotice() { model.At("Picture3").visible = false; }

void File_Window::Pause(uint32_t ms) {
  uint32_t start = main_.GetTickCount();
  while (TicksSince(start, main_.GetTickCount()) < ms) {
    main_.DoEvents();
    main_.Sleep(10);
  }
}

void File_Window::Save(const std::string& path) {
  if (main_.options.warp) {
    main_.MsgBox(u"--warp で始めた遊びはセーブできません.");
    return;
  }
  if (SlotUsed(selected_) && !Confirm(u"上書きしますか？")) return;
  Text why;
  if (!ParseStateLine(main_.SaveSnapshot[1], INT32_MAX, &why)) {
    // Only a snapshot taken by the save command may be written.
    main_.MsgBox(u"セーブできませんでした.\r\n" + why);
    return;
  }
  std::string date = main_.sys.system ? main_.sys.system->Facts().dateTime : std::string();
  if (auto error = WriteFileAtomic(path, SlotFileBytes(date, main_.SaveSnapshot))) {
    main_.MsgBox(u"セーブできませんでした.\r\n" + FromUtf8(path) + u"\r\n" + FromUtf8(*error));
    return;
  }
  Notice(kSavedColour, u"セーブしました");
  main_.DoEvents();
  Pause(1000);
  FillSlots();
  HideNotice();
  Update();
}

void File_Window::Erase(const std::string& path) {
  if (!SlotUsed(selected_)) {
    selected_ = -1;
    return;
  }
  if (!Confirm(u"消去しますか？")) return;
  if (!RemoveFile(path) && (FileSize(path) >= 0 || DirExists(path))) {
    main_.MsgBox(u"消去できませんでした.\r\n" + FromUtf8(path) + u"\r\n" + FromUtf8(LastErrorText()));
    return;
  }
  Notice(kErasedColour, u"消去しました");
  main_.DoEvents();
  Pause(1000);
  FillSlots();
  HideNotice();
  Update();
}

bool File_Window::Load(const std::string& path) {
  if (!SlotUsed(selected_)) {
    selected_ = -1;
    return false;
  }
  // Checked whole before anything changes: a refused file leaves the game
  // as it was and the dialog usable.
  SlotRead r = ReadSlotForLoad(path, main_.LastSeq);
  if (r.contents) {
    if (auto problem = ResumeProblem(main_, r.contents->state.resume)) {
      r.error = *problem;
      r.contents.reset();
    }
  }
  if (!r.contents) {
    main_.MsgBox(u"ロードできませんでした.\r\n" + FromUtf8(path) + u"\r\n" + r.error);
    return false;
  }
  main_.SavePoint[1] = r.contents->caption1;
  main_.SavePoint[2] = r.contents->caption2;
  for (int i = 0; i < 3; ++i) main_.SaveSnapshot[static_cast<size_t>(i) + 1] = r.contents->lines[i];

  Notice(kLoadedColour, u"ロードしました");
  main_.mci.FadeOut(main_.SavedVolume);
  main_.DoEvents();
  Pause(500);
  main_.DialogMode = 3;
  // Play may run inside this call (a load from the title screen) and open
  // this dialog again; nothing of this press may linger into that.
  busy_ = confirming_ = closeAsked_ = false;
  main_.Continue_game();
  if (IsOpen() && main_.DialogMode == 3) {
    // Refused after all: the dialog stays as it was, and so does the sound.
    main_.DialogMode = 2;
    main_.mci.SetVolume(main_.SavedVolume);
    HideNotice();
    return false;
  }
  return true;
}

}  // namespace mirel
