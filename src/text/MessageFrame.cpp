#include "app/Main_Form.h"

namespace mirel {

// Cuts the frame out of the texture once: the fill, the empty frame, the
// date tab and its mask. The window itself starts as a copy of the screen
// behind it; WakuBackdrop composes it properly each time it is shown.
void Main_Form::WakuBuild() {
  const int W = WakuWidth, H = WakuHeight;
  // An empty texture reads as black, so an empty "61.dat" gives a black frame.
  auto texel = [this](int x, int y) { return Texture.Contains(x, y) ? Texture.At(x, y) : kBlack; };

  Surface& fill = Waku[1];
  fill.BackColor = kBlack;
  fill.Move(0, 0, W, H);
  fill.Cls();
  FillBox(fill, 4, 4, W - 4, H - 4, texel(24, 24));

  Surface& frame = Waku[2];
  frame.BackColor = kBlack;
  frame.Move(0, 0, W, H);
  frame.Cls();
  for (int i = 0; i <= W / 12; ++i) {
    BitBlt(frame, 16 * i, 0, 16, 8, Texture, 16, 0, Rop::SrcCopy);
    BitBlt(frame, 16 * i, H - 8, 16, 8, Texture, 16, 40, Rop::SrcCopy);
  }
  for (int j = 0; j <= H / 12; ++j) {
    BitBlt(frame, 0, 16 * j, 8, 16, Texture, 0, 16, Rop::SrcCopy);
    BitBlt(frame, W - 8, 16 * j, 8, 16, Texture, 40, 16, Rop::SrcCopy);
  }
  BitBlt(frame, 0, 0, 16, 16, Texture, 0, 0, Rop::SrcCopy);
  BitBlt(frame, W - 16, 0, 16, 16, Texture, 32, 0, Rop::SrcCopy);
  BitBlt(frame, 0, H - 16, 16, 16, Texture, 0, 32, Rop::SrcCopy);
  BitBlt(frame, W - 16, H - 16, 16, 16, Texture, 32, 32, Rop::SrcCopy);

  const int tabLeft = W + 35 - 120, tabTop = WakuTop - 22;
  Waku[3].BackColor = kBlack;
  Waku[3].Move(tabLeft, tabTop, 120, 22);
  Waku[3].Cls();
  Waku[4].BackColor = kBlack;
  Waku[4].Move(tabLeft, tabTop, 120, 22);
  Waku[4].Cls();
  BitBlt(Waku[4], 0, 0, 120, 22, Texture, 48, 26, Rop::SrcCopy);
  Waku[5].BackColor = kWhite;
  Waku[5].Move(tabLeft, tabTop, 120, 22);
  Waku[5].Cls();
  MakeMask(Waku[5], Waku[4], 0, 0, 120, 22);

  BitBlt(Waku[0], 0, 0, W, H, Pic_Main, WakuLeft, WakuTop, Rop::SrcCopy);
  Waku[0].Refresh();
  Waku[6].Resize(W, H);
  BitBlt(Waku[6], 0, 0, W, H, Waku[0], 0, 0, Rop::SrcCopy);
}

// A new page: the clean copy holds the current backdrop without text.
void Main_Form::WakuClear() {
  BitBlt(Waku[0], 0, 0, WakuWidth, WakuHeight, Waku[6], 0, 0, Rop::SrcCopy);
  Waku[0].Refresh();
  LineNo = 0;
  LastSpeaker = -1;
}

}  // namespace mirel
