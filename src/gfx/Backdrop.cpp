#include <algorithm>

#include "app/Main_Form.h"

namespace mirel {

// The window is a surface of its own in front of the scene, so its
// translucency is made here: copy what lies behind it, then blend the fill
// over that copy. The date tab takes the scene through its mask.
void Main_Form::WakuBackdrop() {
  const int L = WakuLeft, T = WakuTop, W = WakuWidth, H = WakuHeight;
  Surface& win = Waku[0];

  BitBlt(win, 0, 0, W, H, Waku[2], 0, 0, Rop::SrcCopy);
  BitBlt(win, 4, 4, W - 8, H - 8, Pic_Main, L + 4, T + 4, Rop::SrcCopy);
  for (int p = 0; p < 3; ++p) {
    if (!PosUsed[p]) continue;
    // The sprite's outer four columns are left out; BitBlt clips to the
    // sprite picture, so the scene stays where the piece would come from
    // outside it. A wide sprite must not cover the frame's outer edge, so
    // the piece is also kept inside the inner area.
    int dx = DollX[p] - L + 4, sx = 4, w = DollW[p] - 8;
    if (dx < 4) { sx += 4 - dx; w -= 4 - dx; dx = 4; }
    w = std::min(w, W - 4 - dx);
    BitBlt(win, dx, 4, w, H - 8, Doll_Disp[p], sx, T - DollY[p] + 4, Rop::SrcCopy);
  }
  BlendRect(dib, win, 4, 4, W - 8, H - 8, Waku[1], 4, 4, WakuOpacity);
  win.Refresh();
  win.Visible = true;

  Surface& tab = Waku[3];
  BitBlt(tab, 0, 0, 120, 22, Pic_Main, L + W - 120, T - 22, Rop::SrcCopy);
  if (PosUsed[1])
    BitBlt(tab, 0, 0, 20, 22, Doll_Disp[1], L + W - 120 - DollX[1], T - 22 - DollY[1], Rop::SrcCopy);
  BitBlt(tab, 0, 0, 120, 22, Waku[5], 0, 0, Rop::SrcAnd);
  BitBlt(tab, 0, 0, 120, 22, Waku[4], 0, 0, Rop::SrcInvert);
  tab.Refresh();

  Dtime_label.Caption = DateCaption;
  BitBlt(Waku[6], 0, 0, W, H, win, 0, 0, Rop::SrcCopy);
  LastSpeaker = -1;
}

}  // namespace mirel
