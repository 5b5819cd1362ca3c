#include <cmath>

#include "app/Main_Form.h"
#include "base/Files.h"

namespace mirel {

void Main_Form::SizeForClient(int width, int height) {
  // Only the client area is fitted; the frame keeps its size.
  Rect outer = sys.window->OuterRect();
  Rect client = sys.window->ClientRect();
  sys.window->SetOuterSize(outer.w - client.w + width, outer.h - client.h + height);
}

void Main_Form::CentreWindow() {
  Rect outer = sys.window->OuterRect();
  sys.window->Move((sys.window->ScreenWidth() - outer.w) / 2, (sys.window->ScreenHeight() - outer.h) / 2);
}

void Main_Form::LayOutMainWindow() {
  WakuLeft = 35;
  WakuTop = 360;
  WakuWidth = 576;
  WakuHeight = 108;
  PosX = {40, 350, 130};

  FormBackColor = kWhite;

  Pic_Main.Move(0, 0, 640, 480);
  Pic_Back.Move(0, 0, 640, 480);
  Pic_Back.BackColor = kBlack;
  Mesh2.Move(0, 0, 32, 32);
  Mesh2.BackColor = kWhite;

  Waku[0].Move(WakuLeft, WakuTop, WakuWidth, WakuHeight);
  Waku[6].Move(WakuLeft, WakuTop, WakuWidth, WakuHeight);
  Blinker.Caption.assign(1, u'▼');
  Blinker.ForeColor = kWhite;
  Blinker.font = Font{u"ＭＳ ゴシック", 12, false};
  Blinker.Move(WakuWidth - 25, WakuHeight - 25, 17, 17);

  Waku[0].font = Font{u"ＭＳ ゴシック", 12, false};
  Waku[0].ForeColor = kWhite;
  LineHeight = static_cast<int>(std::lround(Waku[0].font.ReportedSize() + 5));

  for (int k = 0; k < 3; ++k) {
    SelTxt[k].Move(30, LineHeight * (k + 2) + 2, 200, LineHeight);
    SelTxt[k].font = Font{u"ＭＳ ゴシック", 12, false};
    SelTxt[k].ForeColor = Rgb(192, 192, 192);
  }

  Dtime_label.Move(24, 8, 40, 15);
  Dtime_label.font = Font{u"ＭＳ ゴシック", 11.25, false};
  Dtime_label.ForeColor = kWhite;
  Dtime_label.Visible = true;

  CG_END.Move(275, 425, 95, 30);
  std::string texture = DataPath("61.dat");
  if (FileSize(texture) > 0 && LoadPicture(Texture, "61.dat")) {
    for (int k = 0; k < 4; ++k) {
      Smenu[k].Move(104, 180 + 50 * k, 166, 38);
      BitBlt(Smenu[k], 0, 0, 166, 38, Texture, 4, 148 + 50 * k, Rop::SrcCopy);
    }
    BitBlt(CG_END, 0, 0, 95, 30, Texture, 3, 53, Rop::SrcCopy);
  } else {
    for (int k = 0; k < 4; ++k) Smenu[k].Move(104, 180 + 50 * k, 166, 38);
  }

  CentreWindow();

  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::opt_menu, MenuItem::speedup, MenuItem::vvrr})
    Menu(m).enabled = false;
  Blinker.Visible = false;
}

}  // namespace mirel
