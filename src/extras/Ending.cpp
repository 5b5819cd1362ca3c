#include "extras/Ending.h"

#include <algorithm>

#include "app/Main_Form.h"
#include "extras/Credits.h"
#include "extras/Rotate.h"

namespace mirel {

namespace extras {

const char* EndingMusic(int16_t endPoints) {
  switch (endPoints) {
    case 1: return "03-1.mid";
    case 2: return "34-3.mid";
    default: return "22-1.mid";
  }
}

const char* RememberedPicture(int16_t endPoints, int row) {
  static const char* const kTable[5][2] = {{"p52.dat", "p51.dat"},
                                           {"p53.dat", "p52.dat"},
                                           {"p58.dat", "p53.dat"},
                                           {"p62.dat", "p55.dat"},
                                           {"p64.dat", "p65.dat"}};
  if (row < 0 || row > 4 || (endPoints != 1 && endPoints != 2)) return nullptr;
  return kTable[row][endPoints - 1];
}

}  // namespace extras

namespace {

using namespace extras;

Surface& Staff(Main_Form& f, int i) { return f.STAFF_Pic[static_cast<size_t>(i)]; }

// A wait that keeps the window alive: events run every 100 ms.
void Wait(Main_Form& f, uint32_t ms) {
  const uint32_t start = f.GetTickCount();
  for (;;) {
    f.DoEvents();
    uint32_t passed = TicksSince(start, f.GetTickCount());
    if (passed >= ms) return;
    f.Sleep(std::min<uint32_t>(100, ms - passed));
  }
}

// 20 paced frames moving dst's region a tenth of the way towards src's
// each, then src shown exactly.
void BlendIn(Main_Form& f, Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
  f.dib.DibCreate(w, h);
  for (int frame = 0; frame < kBlendFrames; ++frame) {
    f.FrameBegin();
    f.dib.DibBlend(dst, dx, dy, w, h, src, sx, sy, 0.1f);
    dst.Refresh();
    f.FrameEnd(kBlendMs);
  }
  f.dib.DibRelease();
  BitBlt(dst, dx, dy, w, h, src, sx, sy, Rop::SrcCopy);
  dst.Refresh();
}

void StopPlayingMusic(Main_Form& f) {
  if (f.mci.MidiStatus() != "PLAYING") return;
  f.mci.FadeOut(f.SavedVolume);
  f.mci.StopMidi();
  f.DoEvents();
  f.Sleep(100);
  f.mci.SetVolume(f.SavedVolume);
}

void StartEndingMusic(Main_Form& f) {
  StopPlayingMusic(f);
  // The ending's song replaces the story's: the loop timer must not restart
  // it, and the next song of the story is not taken for the one playing.
  f.CurMusic = 0;
  // The ending always has its song, whatever the music setting.
  f.mci.PlayMidi(f.DataPath(EndingMusic(f.EndPoints)));
}

void CreateSurfaces(Main_Form& f) {
  for (int i = 1; i <= 7; ++i) {
    Surface& s = Staff(f, i);
    s.Visible = false;
    s.BackColor = kBlack;
    s.ForeColor = kBlack;
    s.Move(0, 0, 0, 0);
    f.StaffCreated[static_cast<size_t>(i)] = true;
  }
  Staff(f, 5).BackColor = kWhite;
  Surface& frame = Staff(f, 2);
  if (f.LoadPicture(frame, "64.dat") && !PhotoFrameFits(frame.width, frame.height)) {
    // Its work surfaces would not fit in memory: no photos, as for a
    // picture that cannot be read.
    f.MsgBox(u"実行に必要なﾌｧｲﾙが異常です.(" + FromUtf8(f.DataPath("64.dat")) + u":481)");
    frame.Resize(0, 0);
  }
}

void DestroySurfaces(Main_Form& f) {
  for (int i = 0; i <= 7; ++i) {
    Surface& s = Staff(f, i);
    s.Visible = false;
    s.pixels.clear();
    s.width = s.height = 0;
    if (i > 0) f.StaffCreated[static_cast<size_t>(i)] = false;
  }
  f.RefreshForm();
}

void BuildStrip(Main_Form& f) {
  Surface& strip = Staff(f, 6);
  strip.BackColor = kBlack;
  strip.Move(kStripLeft, 0, kStripWidth, kStripHeight);
  strip.Cls();
  BitBlt(strip, 0, 0, kStripWidth, 200, f.Pic_Main, kRollLeft, 200, Rop::SrcCopy);
  DrawCredits(*f.sys.fonts, strip, CreditsTable(f.Story.credits));
  f.RollPosition = 0;
}

void PlaceRollWindow(Main_Form& f) {
  Surface& roll = Staff(f, 7);
  roll.BackColor = kBlack;
  roll.Move(kRollLeft, kRollTop, kRollWidth, kRollHeight);
  roll.Cls();
}

double NextRandom(Main_Form& f) {
  f.PhotoRandom = f.PhotoRandom * 1103515245u + 12345u;
  return static_cast<double>((f.PhotoRandom >> 16) & 0x7FFF) / 32768.0;
}

// Element 0 holds the pile of photos; it starts as the picture behind it.
void ShowPhotoPile(Main_Form& f) {
  Surface& pile = Staff(f, 0);
  const int side = PhotoSide(Staff(f, 2).width);
  pile.BackColor = kBlack;
  pile.Move(kPileLeft, kPileTop, side, side);
  BitBlt(pile, 0, 0, side, side, f.Pic_Main, kPileLeft, kPileTop, Rop::SrcCopy);
  pile.Visible = true;
  pile.Refresh();
}

void ShowRememberedPicture(Main_Form& f) {
  const int row = f.PhotoCounter;
  const char* name = RememberedPicture(f.EndPoints, row);
  Surface& photo = Staff(f, 1);
  Surface& frame = Staff(f, 2);
  Surface& spread = Staff(f, 3);
  Surface& turned = Staff(f, 4);
  Surface& mask = Staff(f, 5);
  Surface& pile = Staff(f, 0);
  const int w = frame.width, h = frame.height;
  f.PhotoCounter = static_cast<int16_t>(row + 1);
  if (!name || w <= 0 || h <= 0) return;
  if (f.LoadPicture(photo, name))
    StretchBlt(frame, 8, 7, 213, 160, photo, 0, 0, 639, 480, Rop::SrcCopy);
  spread.BackColor = kBlack;
  spread.Move(0, 0, 3 * w, 3 * h);
  spread.Cls();
  const int px = 3 * w / 2 - w / 2 + static_cast<int>(30 * NextRandom(f));
  const int py = 3 * h / 2 - h / 2 + static_cast<int>(30 * NextRandom(f));
  BitBlt(spread, px, py, w, h, frame, 0, 0, Rop::SrcCopy);
  const int side = PhotoSide(w);
  pile.Move(kPileLeft, kPileTop);
  turned.BackColor = kBlack;
  turned.Move(0, 0, side, side);
  mask.Move(0, 0, side, side);
  PixelGrid source, result;
  if (GetPixelGrid(spread, source) == 0) {
    RotateGrid(source, spread.width, spread.height, result, side, side, f.TiltAngles[static_cast<size_t>(row)]);
    SetPixelGrid(turned, result);
  }
  MakeMask(mask, turned, 0, 0, side, side);
  BitBlt(pile, 0, 0, side, side, mask, 0, 0, Rop::SrcAnd);
  BitBlt(pile, 0, 0, side, side, turned, 0, 0, Rop::SrcInvert);
  pile.Refresh();
}

void PlainEnding(Main_Form& f) {
  Wait(f, 1000);
  std::vector<uint32_t> px;
  for (int step = 0; step < kDarkenSteps; ++step) {
    f.FrameBegin();
    int count = GetPixels(f.Pic_Main, px);
    for (int i = 0; i < count; ++i) {
      uint32_t c = px[static_cast<size_t>(i)];
      px[static_cast<size_t>(i)] = Rgb(std::max(RedOf(c) - 10, 0), std::max(GreenOf(c) - 10, 0),
                                       std::max(BlueOf(c) - 10, 0));
    }
    if (count > 0) SetPixels(f.Pic_Main, px);
    f.FrameEnd(kDarkenMs);
  }
  BuildStrip(f);
  StartEndingMusic(f);
  Wait(f, 3000);
  Wait(f, 3000);

  Surface& roll = Staff(f, 7);
  Surface& strip = Staff(f, 6);
  Surface& mask = Staff(f, 5);
  PlaceRollWindow(f);
  BitBlt(roll, 0, 0, kRollWidth, kRollHeight, f.Pic_Main, kRollLeft, kRollTop, Rop::SrcCopy);
  roll.Visible = true;
  roll.Refresh();
  // The strip's title part was cut from the same place of the picture, so
  // only the lettering fades in and out.
  BlendIn(f, roll, 0, 0, kRollWidth, kRollHeight, strip, 0, 100);
  f.WaitSec(4);
  BlendIn(f, roll, 0, 0, kRollWidth, kRollHeight, f.Pic_Main, kRollLeft, kRollTop);
  Wait(f, 2000);
  Wait(f, 2000);

  FillBox(strip, 0, 0, kStripWidth, 200, strip.BackColor);
  mask.Move(0, 0, kRollWidth, kRollHeight);
  for (f.RollPosition = kRollStart; f.RollPosition < kRollEnd; ++f.RollPosition) {
    f.FrameBegin();
    BitBlt(roll, 0, 0, kRollWidth, kRollHeight, f.Pic_Main, kRollLeft, kRollTop, Rop::SrcCopy);
    MakeMask(mask, strip, 0, f.RollPosition, kRollWidth, kRollHeight);
    BitBlt(roll, 0, 0, kRollWidth, kRollHeight, mask, 0, 0, Rop::SrcAnd);
    BitBlt(roll, 0, 0, kRollWidth, kRollHeight, strip, 0, f.RollPosition, Rop::SrcInvert);
    roll.Refresh();
    f.FrameEnd(kTransparentRollMs);
  }
  f.RollRunning = false;
  roll.Visible = false;
  f.RefreshForm();
  Wait(f, 800);
}

void FinalScreen(Main_Form& f) {
  Surface& roll = Staff(f, 7);
  Surface& panel = Staff(f, 6);
  Wait(f, 1000);
  // The photo pile stays in front while the last picture fades in under it.
  if (f.LoadPicture(f.Pic_Back, "p01.dat")) BlendIn(f, f.Pic_Main, 0, 0, 640, 480, f.Pic_Back, 0, 0);

  // The two lines in a black outline over what the strip holds there,
  // faded into the roll window.
  FrameBox(panel, 0, 0, kPanelWidth, kPanelHeight, kBlack);
  panel.ForeColor = kWhite;
  panel.font = Font{u"Arial", 14, true};
  TextOut(*f.sys.fonts, panel, 0, 0, u" Thank you");
  TextOut(*f.sys.fonts, panel, 0, 25, u" for playing");
  BlendIn(f, roll, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, panel, 0, 0);

  while (f.mci.MidiStatus() == "PLAYING") {
    f.DoEvents();
    f.Sleep(500);
  }

  // The words go with the first picture in the dissolve.
  if (roll.Visible)
    BitBlt(f.Pic_Main, roll.left, roll.top, roll.width, roll.height, roll, 0, 0, Rop::SrcCopy);
  roll.Visible = false;
  panel.Visible = false;
  if (f.LoadPicture(f.Pic_Back, "p02.dat")) {
    if (f.Mesh1.width != 320 || f.Mesh1.height != 64 || f.Mesh1.pixels.empty()) f.BuildMesh1();
    f.Mesh2.Resize(32, 32);
    for (int k = 0; k < kDissolveFrames; ++k) {
      f.FrameBegin();
      for (int x = 0; x < 640; x += 32)
        for (int y = 0; y < 480; y += 32) {
          BitBlt(f.Mesh2, 0, 0, 32, 32, f.Pic_Back, x, y, Rop::SrcCopy);
          BitBlt(f.Mesh2, 0, 0, 32, 32, f.Mesh1, 32 * k, 32, Rop::SrcAnd);
          BitBlt(f.Pic_Main, x, y, 32, 32, f.Mesh1, 32 * k, 0, Rop::SrcAnd);
          BitBlt(f.Pic_Main, x, y, 32, 32, f.Mesh2, 0, 0, Rop::SrcInvert);
        }
      f.Pic_Main.Refresh();
      f.FrameEnd(kDissolveMs);
    }
    BitBlt(f.Pic_Main, 0, 0, 640, 480, f.Pic_Back, 0, 0, Rop::SrcCopy);
    f.Pic_Main.Refresh();
  }
}

void RememberedEnding(Main_Form& f) {
  const bool second = f.EndPoints == 2;
  BuildStrip(f);
  StartEndingMusic(f);
  if (second) Wait(f, 2000);
  Wait(f, 3000);

  Surface& roll = Staff(f, 7);
  Surface& strip = Staff(f, 6);
  PlaceRollWindow(f);
  roll.Visible = true;
  roll.Refresh();
  BlendIn(f, roll, 0, 0, kRollWidth, kRollHeight, strip, 0, 100);
  f.WaitSec(2);
  if (second) Wait(f, 500);
  Surface dark;
  dark.BackColor = kBlack;
  dark.Resize(kRollWidth, kRollHeight);
  BlendIn(f, roll, 0, 0, kRollWidth, kRollHeight, dark, 0, 0);
  roll.Cls();
  roll.Refresh();
  Wait(f, second ? 1500 : 1000);

  ShowPhotoPile(f);
  for (f.RollPosition = kRollStart; f.RollPosition < kRollEnd; ++f.RollPosition) {
    f.FrameBegin();
    if (f.PhotoCounter < 5 && f.RollPosition == kPhotoRows[static_cast<size_t>(f.PhotoCounter)])
      ShowRememberedPicture(f);
    roll.Cls();
    BitBlt(roll, 0, 0, kRollWidth, kRollHeight, strip, 0, f.RollPosition, Rop::SrcCopy);
    roll.Refresh();
    f.FrameEnd(kOpaqueRollMs);
  }
  f.RollRunning = false;
  FinalScreen(f);
}

}  // namespace

void Main_Form::RunEnding() {
  CreateSurfaces(*this);
  TiltAngles = {5, 350, 10, 30, 15};
  PhotoCounter = 0;
  MessageSpeed = 1;
  RollRunning = true;
  // Whatever the scenario left in the counter, the ending runs to its end:
  // anything but 1 and 2 is the plain one.
  if (EndPoints == 1 || EndPoints == 2) {
    RememberedEnding(*this);
    DestroySurfaces(*this);
    mci.StopMidi();
  } else {
    PlainEnding(*this);
    DestroySurfaces(*this);
  }
  RollRunning = false;
}

}  // namespace mirel
