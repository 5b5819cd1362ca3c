#include "gfx/Transitions.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/Main_Form.h"

namespace mirel {

namespace effects {

const uint8_t kMeshThreshold[8][8] = {
    {0, 4, 1, 5, 0, 4, 1, 5}, {6, 2, 7, 3, 6, 2, 8, 4}, {1, 5, 0, 4, 2, 6, 1, 4}, {8, 4, 7, 3, 9, 4, 7, 3},
    {0, 4, 1, 5, 0, 4, 1, 5}, {6, 3, 8, 4, 6, 3, 7, 3}, {2, 6, 1, 5, 2, 6, 0, 4}, {9, 4, 7, 3, 9, 4, 7, 3},
};

void BuildMeshPattern(Surface& mesh1) {
  mesh1.Resize(320, 64);
  for (int k = 0; k < 10; ++k)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        bool keepOld = kMeshThreshold[y % 8][x % 8] > k;
        mesh1.At(32 * k + x, y) = keepOld ? kWhite : kBlack;
        mesh1.At(32 * k + x, 32 + y) = keepOld ? kBlack : kWhite;
      }
}

void DissolveColumns(Surface& screen, const Surface& next, int i) {
  for (int x = 0; x <= 600; x += 50) CopyRect(screen, next, i + x, 0, 1, 480);
}

void VerticalBlinds(Surface& screen, const Surface& next, int i) {
  const int k = 2 * i;
  CopyRect(screen, next, k, 0, 2, 480);
  CopyRect(screen, next, 640 - k - 2, 0, 2, 480);
}

void HorizontalBlinds(Surface& screen, const Surface& next, int i) {
  const int k = 2 * i;
  CopyRect(screen, next, 0, k, 640, 2);
  CopyRect(screen, next, 0, 480 - k - 2, 640, 2);
}

void CurtainWipe(Surface& screen, const Surface& next, int s) {
  for (int j = 0; j <= 15; ++j) CopyRect(screen, next, s + 15 * j, 0, 15 - j, 480);
}

void GrowingBoxes(Surface& screen, const Surface& next, int n) {
  for (int y = 0; y <= 480; y += 20)
    for (int x = 0; x <= 640; x += 20) CopyRect(screen, next, x, y, n, n);
}

void CheckerPhase(Surface& screen, const Surface& next, int phase) {
  if (phase == 1) {
    for (int y = 0; y <= 476; y += 4)
      for (int x = 0; x <= 636; x += 4) {
        CopyRect(screen, next, x, y, 2, 2);
        CopyRect(screen, next, x + 2, y + 2, 2, 2);
      }
  } else {
    for (int y = 0; y <= 480; y += 4)
      for (int x = 2; x <= 638; x += 4) {
        CopyRect(screen, next, x, y, 2, 2);
        CopyRect(screen, next, x - 2, y - 2, 2, 2);
      }
  }
}

void MeshFrame(Surface& screen, const Surface& next, int nextTop, Surface& scratch, const Surface& mesh1, int k) {
  for (int x = 0; x < kScreenWidth; x += 32)
    for (int y = 0; y < kScreenHeight; y += 32) {
      const int sy = nextTop + y;
      // A clipped copy would leave the previous cell in the scratch; the old
      // screen there makes the combination below keep the old pixels.
      if (x + 32 > next.width || sy < 0 || sy + 32 > next.height)
        BitBlt(scratch, 0, 0, 32, 32, screen, x, y, Rop::SrcCopy);
      BitBlt(scratch, 0, 0, 32, 32, next, x, sy, Rop::SrcCopy);
      BitBlt(scratch, 0, 0, 32, 32, mesh1, 32 * k, 32, Rop::SrcAnd);
      BitBlt(screen, x, y, 32, 32, mesh1, 32 * k, 0, Rop::SrcAnd);
      BitBlt(screen, x, y, 32, 32, scratch, 0, 0, Rop::SrcInvert);
    }
}

double RoundEven(double v) {
  // Adding 1.5 * 2^52 leaves no fraction bits, so the addition itself rounds
  // (to nearest, ties to even) - much cheaper than a library call per channel.
  constexpr double kShift = 6755399441055744.0;
  if (!(std::fabs(v) < 2251799813685248.0)) return std::nearbyint(v);
  return (v + kShift) - kShift;
}

namespace {

inline int Clamp255(double v) { return static_cast<int>(std::clamp(v, 0.0, 255.0)); }

// Elements 0..count, bounded by the array actually there.
template <class F>
void ForEachElement(std::vector<uint32_t>& px, int count, F recolour) {
  if (count < 0 || px.empty()) return;
  const size_t last = std::min(static_cast<size_t>(count), px.size() - 1);
  for (size_t i = 0; i <= last; ++i) {
    const uint32_t c = px[i];
    px[i] = recolour(RedOf(c), GreenOf(c), BlueOf(c));
  }
}

}  // namespace

void Darken(std::vector<uint32_t>& px, int count) {
  ForEachElement(px, count, [](int r, int g, int b) {
    return Rgb(std::max(r - 100, 0), std::max(g - 100, 0), std::max(b - 100, 0));
  });
}

void Sepia(std::vector<uint32_t>& px, int count) {
  ForEachElement(px, count, [](int r, int g, int b) {
    const int a = static_cast<int>(RoundEven((r + g + b) / 3.0));
    return Rgb(std::min(a + 100, 255), std::min(a + 20, 255), a);
  });
}

void Grey(std::vector<uint32_t>& px, int count) {
  ForEachElement(px, count, [](int r, int g, int b) {
    const int a = static_cast<int>(RoundEven((r + g + b) / 3.0));
    return Rgb(a, a, a);
  });
}

void WarmFade(std::vector<uint32_t>& px, int count, double f) {
  ForEachElement(px, count, [f](int r, int g, int b) {
    const double R = r, G = g, B = b;
    return Rgb(Clamp255(RoundEven((G * f + B * f) / 1.5 + (R - R * f))),
               Clamp255(RoundEven((R * f + B * f) / 2 + (G - G * f))),
               Clamp255(RoundEven((G * f + R * f) / 2.2 + (B - B * f))));
  });
}

void GreyFade(std::vector<uint32_t>& px, int count, double f) {
  ForEachElement(px, count, [f](int r, int g, int b) {
    const double R = r, G = g, B = b;
    return Rgb(Clamp255(RoundEven((G * f + B * f) / 2 + (R - R * f))),
               Clamp255(RoundEven((R * f + B * f) / 2 + (G - G * f))),
               Clamp255(RoundEven((G * f + R * f) / 2 + (B - B * f))));
  });
}

}  // namespace effects

namespace {

using effects::CopyRect;

// One paced frame: draw, present, sleep the rest of the period, pump.
template <class Draw>
void PacedFrame(Main_Form& f, uint32_t periodMs, Draw draw) {
  f.FrameBegin();
  draw();
  f.Pic_Main.Refresh();
  f.FrameEnd(periodMs);
}

void CopyWhole(Main_Form& f) {
  CopyRect(f.Pic_Main, f.Pic_Back, 0, 0, 640, 480);
  f.Pic_Main.Refresh();
}

// The pixel array is laid out for Pic_Back. When the loaded picture is not
// the screen's size it goes through a surface of its own size and is copied
// to the top-left corner, as the other codes place it, instead of being
// read as if its rows had the screen's width.
void WritePixelsToScreen(Main_Form& f) {
  if (f.Pic_Back.width == f.Pic_Main.width && f.Pic_Back.height == f.Pic_Main.height) {
    SetPixels(f.Pic_Main, f.PixelBuf);
    return;
  }
  Surface picture;
  picture.Resize(f.Pic_Back.width, f.Pic_Back.height);
  SetPixels(picture, f.PixelBuf);
  BitBlt(f.Pic_Main, 0, 0, picture.width, picture.height, picture, 0, 0, Rop::SrcCopy);
  f.Pic_Main.Refresh();
}

// The strip is drawn on first use. A strip of the right size that is not
// the pattern (sized by layout code, blank) is drawn too: cell (0, 0) of
// frame 0 always shows the new picture.
void EnsureMesh(Main_Form& f) {
  const Surface& m = f.Mesh1;
  const bool drawn = m.width == 320 && m.height == 64 && m.pixels.size() == 320u * 64u && m.At(0, 0) == kBlack &&
                     m.At(0, 32) == kWhite;
  if (!drawn) f.BuildMesh1();
}

void CrossFade(Main_Form& f) {
  const int w = f.Pic_Back.width, h = f.Pic_Back.height;
  const int x0 = 320 - w / 2, y0 = 240 - h / 2;
  f.dib.DibCreate(w, h);
  // The work bitmap is shared: release it even when a handler ends the
  // program in the middle of the fade.
  struct Release {
    WorkDib& dib;
    ~Release() {
      if (dib.Active()) dib.DibRelease();
    }
  } release{f.dib};
  for (int n = 0; n < 20; ++n)
    PacedFrame(f, 80, [&] { f.dib.DibBlend(f.Pic_Main, x0, y0, w, h, f.Pic_Back, 0, 0, 0.1f); });
  f.dib.DibRelease();
  BitBlt(f.Pic_Main, x0, y0, w, h, f.Pic_Back, 0, 0, Rop::SrcCopy);
  f.Pic_Main.Refresh();
}

}  // namespace

void Main_Form::BuildMesh1() { effects::BuildMeshPattern(Mesh1); }

void Main_Form::PlaceEffect() {
  const Text& code = EffectCode;
  if (code == u"DI") {
    for (int i = 0; i <= 49; ++i) PacedFrame(*this, 8, [&] { effects::DissolveColumns(Pic_Main, Pic_Back, i); });
  } else if (code == u"VB") {
    for (int i = 0; i <= 320; i += 2) PacedFrame(*this, 5, [&] { effects::VerticalBlinds(Pic_Main, Pic_Back, i); });
  } else if (code == u"HB") {
    for (int i = 0; i <= 240; i += 2) {
      effects::HorizontalBlinds(Pic_Main, Pic_Back, i);
      Pic_Main.Refresh();
    }
  } else if (code == u"HC") {
    for (int s = 0; s <= 630; s += 15) PacedFrame(*this, 40, [&] { effects::CurtainWipe(Pic_Main, Pic_Back, s); });
  } else if (code == u"BC") {
    for (int n = 2; n <= 20; n += 2) PacedFrame(*this, 48, [&] { effects::GrowingBoxes(Pic_Main, Pic_Back, n); });
  } else if (code == u"IC") {
    effects::CheckerPhase(Pic_Main, Pic_Back, 1);
    Pic_Main.Refresh();
    DoEvents();
    Sleep(100);
    effects::CheckerPhase(Pic_Main, Pic_Back, 2);
    Pic_Main.Refresh();
    DoEvents();
  } else if (code == u"DK") {
    PixelCount = GetPixels(Pic_Back, PixelBuf);
    effects::Darken(PixelBuf, PixelCount);
    SetPixels(Pic_Back, PixelBuf);
    CopyWhole(*this);
  } else if (code == u"MS") {
    EnsureMesh(*this);
    Mesh2.Resize(32, 32);
    for (int k = 0; k <= 8; ++k)
      PacedFrame(*this, 72, [&] { effects::MeshFrame(Pic_Main, Pic_Back, 0, Mesh2, Mesh1, k); });
    CopyWhole(*this);
  } else if (code == u"BI") {
    CrossFade(*this);
  } else if (code == u"SP") {
    PixelCount = GetPixels(Pic_Back, PixelBuf);
    effects::Sepia(PixelBuf, PixelCount);
    DoEvents();
    WritePixelsToScreen(*this);
  } else if (code == u"SO") {
    // The weights are summed in double precision, as the frame count
    // depends on it (0.1 + 0.1 + 0.1 is just above 0.3).
    for (double f = 0.1; f <= 0.4; f += 0.1) {
      PixelCount = GetPixels(Pic_Back, PixelBuf);
      effects::WarmFade(PixelBuf, PixelCount, f);
      DoEvents();
      SetPixels(Pic_Back, PixelBuf);
      CopyWhole(*this);
    }
  } else if (code == u"MC") {
    PixelCount = GetPixels(Pic_Back, PixelBuf);
    effects::Grey(PixelBuf, PixelCount);
    DoEvents();
    WritePixelsToScreen(*this);
  } else if (code == u"MO") {
    for (double f = 0.1; f <= 0.7; f += 0.1) {
      PixelCount = GetPixels(Pic_Back, PixelBuf);
      effects::GreyFade(PixelBuf, PixelCount, f);
      DoEvents();
      SetPixels(Pic_Back, PixelBuf);
      CopyWhole(*this);
    }
  } else if (code == u"MI") {
    // The last weight is a tiny positive rest of the subtractions, so the
    // last frame is the picture's own colours.
    for (double f = 0.7; f >= 0; f -= 0.1) {
      PixelCount = GetPixels(Pic_Back, PixelBuf);
      effects::GreyFade(PixelBuf, PixelCount, f);
      DoEvents();
      WritePixelsToScreen(*this);
    }
  } else {
    CopyWhole(*this);
  }
  FrameBox(Pic_Back, 0, 0, 640, 480, Pic_Back.ForeColor);
}

int32_t Main_Form::ShowBackground() {
  if (Walk) {
    BgNumber = BgRequest;
    EffectCode = Left(MsgText, 2);
    return 2;
  }
  for (int p = 0; p < 3; ++p) {
    if (!Doll_Disp[p].Visible) continue;
    BitBlt(Pic_Main, DollX[p], DollY[p], DollW[p], DollH[p], Doll_Disp[p], 0, 0, Rop::SrcCopy);
    Doll_Disp[p].Visible = false;
    Pic_Main.Refresh();
  }

  Waku[3].Visible = false;
  BgNumber = BgRequest;
  Waku[0].Visible = false;

  const int n = BgNumber;
  int entry = -1;
  if (n >= 51 && n <= 54)
    entry = n - 51;
  else if (n == 55)
    entry = 3;
  else if (n == 56 || n == 57)
    entry = 4;
  else if (n >= 58 && n <= 67)
    entry = n - 53;
  if (entry >= 0) CgUnlocked[static_cast<size_t>(entry)] = true;

  std::string digits = "0";
  digits += std::to_string(n);
  std::string name = "p";
  name.append(digits, digits.size() - 2, 2);
  name += ".dat";
  // A picture that cannot be loaded has been reported by LoadPicture; the
  // old screen stays, and play goes on over it.
  bool loaded = LoadPicture(Pic_Back, name);
  if (loaded) Pic_Back.Refresh();

  EffectCode = Left(MsgText, 2);
  if (loaded) PlaceEffect();

  LastSpeaker = -1;
  LineNo = 0;

  // Every character the table holds, positions included: the sprites were
  // flattened into the old screen above.
  for (auto& row : DollPose) row.fill(0);
  PosUsed.fill(false);
  return 2;
}

void Main_Form::PlayOpening() {
  if (!OpeningUnskipped) return;
  // A missing or unreadable picture has been reported; the opening is left
  // out and the game goes on.
  if (!LoadPicture(Pic_Back, "P98.dat")) return;
  PlaceEffect();
  if (!OpeningUnskipped) return;
  WaitSec(1);

  if (!LoadPicture(Pic_Back, "p51.dat")) return;
  // The tall picture's last screenful.
  const int top = Pic_Back.height - 480;

  mci.PlaySe(106);
  DoEvents();
  CmdText = u"aa";
  CmdAudio();

  EnsureMesh(*this);
  Mesh2.Resize(32, 32);
  for (int k = 0; k <= 8; ++k) {
    FrameBegin();
    effects::MeshFrame(Pic_Main, Pic_Back, top, Mesh2, Mesh1, k);
    Pic_Main.Refresh();
    if (!OpeningUnskipped) break;
    FrameEnd(200);
  }
  for (int twice = 0; twice < 2; ++twice) {
    BitBlt(Pic_Main, 0, 0, 640, 480, Pic_Back, 0, top, Rop::SrcCopy);
    Pic_Main.Refresh();
  }

  for (int y = top; y >= 0; y -= 2) {
    FrameBegin();
    BitBlt(Pic_Main, 0, 0, 640, 480, Pic_Back, 0, y, Rop::SrcCopy);
    Pic_Main.Refresh();
    if (!OpeningUnskipped) break;
    FrameEnd(50);
  }
  CgUnlocked[0] = true;
}

}  // namespace mirel
