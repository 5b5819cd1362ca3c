#include "ui/frmAbout.h"

#include <cstdlib>

namespace mirel {

frmAbout::frmAbout(Main_Form& main) : Form(main) {
  model.name = "frmAbout";
  model.caption = u"ﾊﾞｰｼﾞｮﾝ情報";
  model.clientWidth = 338;
  model.clientHeight = 257;
  model.backColor = 0xC0C0C0;
  model.closeBox = true;
  auto add = [this](std::string name, ControlKind kind, int x, int y, int w, int h) -> DialogControl& {
    DialogControl c;
    c.name = std::move(name);
    c.kind = kind;
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    model.controls.push_back(c);
    return model.controls.back();
  };
  add("Label5", ControlKind::Label, 16, 8, 225, 17).bold = true;
  add("Label6", ControlKind::Label, 16, 32, 225, 17);
  DialogControl& shape = add("Shape1", ControlKind::Panel, 8, 56, 321, 41);
  shape.backColor = 0xFFC0C0;
  shape.cornerRadius = 8;
  add("Label1", ControlKind::Label, 16, 64, 313, 25).backColor = 0xFFC0C0;
  // Room for three lines: more scroll.
  DialogControl& warnings = add("Text1", ControlKind::TextBox, 8, 200, 321, 49);
  warnings.multiLine = true;
  warnings.locked = true;
  add("cmdOK", ControlKind::Button, 248, 16, 79, 31).caption = u"ＯＫ";
}

Text frmAbout::Warnings(bool fullScreenUnavailable, const std::string& colorDepth, const std::string& memoryLoad) {
  Text w;
  if (fullScreenUnavailable) w += u"Windows95,NTではフルスクリーン表示ができません.\r\n";
  if (std::strtol(colorDepth.c_str(), nullptr, 10) < 24)
    w += u"画面の最大表示色数が足りません.\r\n24bit色以上の設定にして下さい.\r\n";
  if (std::strtol(memoryLoad.c_str(), nullptr, 10) > 90)
    w += u"ﾒﾓﾘの利用率が90%を越えています.\r\n他のｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい.\r\n";
  return w;
}

void frmAbout::Form_Load() {
  main_.form.enabled = false;
  model.At("Label5").caption = u"MIREL";
  model.At("Label6").caption = u"Ver. 1.10";
  model.At("Label1").caption =
      u"MMXPentium200MHz以上のCPUと800×600dot×24bit色\r\n以上(TrueColor)のｸﾞﾗﾌｨｯｸ表示が可能な環境が必要です。";
  DialogControl& t = model.At("Text1");
  t.caption = Warnings(main_.FullScreenUnavailable, main_.ColorDepthText, main_.MemoryLoadText);
  t.enabled = !t.caption.empty();
  Show();
}

void frmAbout::OnControl(const InputEvent& e) {
  if (e.control == "cmdOK" || e.control == "_close" || e.control == "_deactivate") Form_Unload();
}

void frmAbout::Form_Unload() {
  Hide();
  main_.form.enabled = true;
}

}  // namespace mirel
