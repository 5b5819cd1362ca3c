#include "ui/Option_Window.h"

#include <cmath>

namespace mirel {

Option_Window::Option_Window(Main_Form& main) : Form(main) {
  model.name = "Option_Window";
  model.caption = u"オプション設定";
  model.clientWidth = 330;
  model.clientHeight = 200;
  model.closeBox = true;
  model.topMost = true;
  model.controls = {
      Ctl("Frame1", ControlKind::Frame, u"メッセージ速度", 8, 8, 150, 100),
      Ctl("Option4", ControlKind::OptionButton, u"1文字ずつ表示", 10, 22, 130, 20, "Frame1"),
      Ctl("Option3", ControlKind::OptionButton, u"1行ずつ表示", 10, 46, 130, 20, "Frame1"),
      Ctl("Option1", ControlKind::OptionButton, u"選択までｽｷｯﾌﾟ", 10, 70, 130, 20, "Frame1"),
      Ctl("Check1", ControlKind::CheckBox, u"ＢＧＭ", 176, 16, 140, 20),
      Ctl("Check2", ControlKind::CheckBox, u"効果音", 176, 42, 140, 20),
      Ctl("Check4", ControlKind::CheckBox, u"ﾌﾙｽｸﾘｰﾝ", 176, 68, 140, 20),
      Ctl("Label3", ControlKind::Label, u"ｳｨﾝﾄﾞｳの濃さ", 8, 118, 120, 18),
      Ctl("Label4", ControlKind::Label, u"", 130, 118, 40, 18),
      Ctl("Label1", ControlKind::Label, u"Low", 8, 140, 30, 18),
      Ctl("HScroll1", ControlKind::HScrollBar, u"", 40, 140, 220, 18),
      Ctl("Label2", ControlKind::Label, u"High", 266, 140, 40, 18),
      Ctl("Command1", ControlKind::Button, u"OK", 150, 168, 80, 26),
      Ctl("Command2", ControlKind::Button, u"Cancel", 240, 168, 80, 26),
  };
  model.At("HScroll1").min = 0;
  model.At("HScroll1").max = 100;
}

void Option_Window::Select(const std::string& option) {
  for (const char* o : {"Option1", "Option3", "Option4"}) model.At(o).value = option == o ? 1 : 0;
}

void Option_Window::Form_Load() {
  main_.form.enabled = false;
  // Rounded, not cut: 0.29 stored as a float is a hair below 29 percent.
  int density = static_cast<int>(std::lround(main_.WakuOpacity * 100.0));
  model.At("HScroll1").value = density;
  model.At("Label4").caption = Decimal(density);
  model.At("Check1").value = model.At("Check2").value = model.At("Check4").value = 0;
  switch (main_.MessageSpeed) {
    case 0: Select("Option1"); break;
    case 3: Select("Option4"); break;
    default: Select("Option3"); break;
  }
  if (main_.BgmOn) model.At("Check1").value = 1;
  if (main_.SeOn) model.At("Check2").value = 1;
  if (main_.FullScreen) model.At("Check4").value = 1;
  model.At("Check4").enabled = !main_.FullScreenUnavailable;
  chooseFullScreen_ = main_.FullScreen;
  Show();
}

void Option_Window::OnControl(const InputEvent& e) {
  if (e.control == "Command1") {
    Command1_Click();
  } else if (e.control == "Command2" || e.control == "_close") {
    chooseFullScreen_ = main_.FullScreen;
    Form_Unload();
  } else if (e.control == "HScroll1") {
    DialogControl& s = model.At("HScroll1");
    s.value = std::max(s.min, std::min(s.max, e.value));
    model.At("Label4").caption = Decimal(s.value);
    Update();
  } else if (e.control == "Option1" || e.control == "Option3" || e.control == "Option4") {
    Select(e.control);
    Update();
  } else if (e.control == "Check1" || e.control == "Check2" || e.control == "Check4") {
    DialogControl& c = model.At(e.control);
    if (c.enabled) c.value = e.value ? 1 : 0;
    Update();
  }
}

void Option_Window::Command1_Click() {
  main_.BgmOn = main_.SeOn = true;
  chooseFullScreen_ = true;
  if (model.At("Option1").value) {
    main_.MessageSpeed = 0;
    main_.ClickWait = false;
  } else if (model.At("Option3").value) {
    main_.MessageSpeed = 2;
  } else if (model.At("Option4").value) {
    main_.MessageSpeed = 3;
  }
  if (!model.At("Check1").value) {
    main_.BgmOn = false;
    main_.mci.StopMidi();
  }
  if (!model.At("Check2").value) main_.SeOn = false;
  if (!model.At("Check4").value) chooseFullScreen_ = false;
  main_.WakuOpacity = static_cast<float>(model.At("HScroll1").value) / 100.0f;
  Form_Unload();
}

void Option_Window::Form_Unload() {
  Hide();
  main_.form.enabled = true;
  // The display only changes when the choice differs from what it is.
  if (chooseFullScreen_ && !main_.FullScreenUnavailable && !main_.FullScreen) main_.EnterFullScreen();
  else if (!chooseFullScreen_ && main_.FullScreen) main_.LeaveFullScreen();
}

}  // namespace mirel
