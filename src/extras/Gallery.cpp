#include "app/Main_Form.h"
#include "extras/Gallery.h"

namespace mirel {

namespace extras {

GalleryCell CellOf(int n) {
  const int c = (n - 1) % 5, r = (n - 1) / 5;
  return GalleryCell{kGridLeft + kGridStepX * c, kGridTop + kGridStepY * r, kThumbWidth * c, kThumbHeight * r};
}

}  // namespace extras

namespace {

using extras::CellOf;

void ShowThumbnail(Main_Form& f, int n, const Surface& sheet) {
  extras::GalleryCell cell = CellOf(n);
  BitBlt(f.Pic[static_cast<size_t>(n)], 0, 0, extras::kThumbWidth, extras::kThumbHeight, sheet, cell.sheetX,
         cell.sheetY, Rop::SrcCopy);
}

// The full view keeps the screen's size: a picture is drawn from its top
// left and whatever it does not cover stays black.
void ShowFullView(Main_Form& f, const Text& name) {
  Surface pic;
  f.SCG.Cls();
  if (f.LoadPicture(pic, Utf8(name))) BitBlt(f.SCG, 0, 0, 640, 480, pic, 0, 0, Rop::SrcCopy);
  f.SCG.Visible = true;
  f.SCG.Refresh();
}

void Destroy(Surface& s) {
  s.Visible = false;
  s.pixels.clear();
  s.width = s.height = 0;
}

}  // namespace

void Main_Form::OpenGallery() {
  static const char* const kNames[17] = {"p51.dat", "p52.dat", "p53.dat", "p54.dat", "p56.dat", "p58.dat",
                                         "p59.dat", "p60.dat", "p61.dat", "p62.dat", "p63.dat", "p64.dat",
                                         "p65.dat", "p66.dat", "p67.dat", "p55.dat", "p57.dat"};
  for (int i = 1; i <= 17; ++i) GalleryPictures[static_cast<size_t>(i)] = FromUtf8(kNames[i - 1]);

  SCG.BackColor = kBlack;
  SCG.Visible = false;
  SCG.Move(0, 0, 640, 480);
  SCG.Cls();

  for (int i : {16, 17}) {
    Surface& sheet = Pic[static_cast<size_t>(i)];
    sheet.Visible = false;
    sheet.Move(0, 0, 480, 216);
    LoadPicture(sheet, i == 16 ? "63.dat" : "62.dat");
    PicCreated[static_cast<size_t>(i)] = true;
  }

  const int m = extras::kFrameMargin;
  for (int n = 1; n <= 15; ++n) {
    extras::GalleryCell cell = CellOf(n);
    if (CgUnlocked[static_cast<size_t>(n - 1)]) {
      Surface& thumb = Pic[static_cast<size_t>(n)];
      thumb.Move(cell.x, cell.y, extras::kThumbWidth, extras::kThumbHeight);
      ShowThumbnail(*this, n, Pic[16]);
      thumb.Enabled = true;
      thumb.Visible = true;
      PicCreated[static_cast<size_t>(n)] = true;
    }
    Surface& frame = Shp[static_cast<size_t>(n)];
    frame.Move(cell.x - m, cell.y - m, extras::kThumbWidth + 3 * m, extras::kThumbHeight + 3 * m);
    frame.BorderColor = extras::kFrameLeft;
    frame.BorderWidth = 1;
    frame.Visible = true;
    ShpCreated[static_cast<size_t>(n)] = true;
  }

  BitBlt(CG_END, 0, 0, 95, 30, Texture, 3, 53, Rop::SrcCopy);
  CG_END.Visible = true;
  GalleryCurrent = 0;
  SecondView = false;
  GalleryOpen = true;
  CG_END.Refresh();
  RefreshForm();
}

void Main_Form::Pic_MouseMove(int n) {
  if (!GalleryOpen || n < 1 || n > 15 || n == GalleryCurrent) return;
  const size_t cur = static_cast<size_t>(GalleryCurrent);
  if (GalleryCurrent >= 1 && GalleryCurrent <= 15 && PicCreated[cur]) {
    ShowThumbnail(*this, GalleryCurrent, Pic[16]);
    Shp[cur].BorderColor = extras::kFrameLeft;
    Pic[cur].Refresh();
  }
  ShowThumbnail(*this, n, Pic[17]);
  Shp[static_cast<size_t>(n)].BorderColor = extras::kFrameHover;
  GalleryCurrent = static_cast<int16_t>(n);
  Pic[static_cast<size_t>(n)].Refresh();
}

void Main_Form::Pic_Click(int n) {
  if (!GalleryOpen || n < 1 || n > 15) return;
  // The entry is current before the scroll starts, so that a click on the
  // full view during the scroll is taken as entry 1's and stops it.
  GalleryCurrent = static_cast<int16_t>(n);
  if (n == 1) {
    Surface& tall = Pic[0];
    tall.Visible = false;
    if (LoadPicture(tall, "p51.dat")) {
      const int start = tall.height > 480 ? tall.height - 480 : 0;
      SCG.Cls();
      BitBlt(SCG, 0, 0, 640, 480, tall, 0, start, Rop::SrcCopy);
      SCG.Visible = true;
      SCG.Refresh();
      for (int y = start; y >= 0; y -= 2) {
        FrameBegin();
        BitBlt(SCG, 0, 0, 640, 480, tall, 0, y, Rop::SrcCopy);
        SCG.Refresh();
        if (SecondView) break;
        FrameEnd(extras::kScrollStepMs);
        // The gallery may have been left meanwhile (the window closed).
        if (!GalleryOpen) return;
      }
    }
  }
  ShowFullView(*this, GalleryPictures[static_cast<size_t>(n)]);
}

void Main_Form::SCG_Click() {
  if (!GalleryOpen) return;
  if (SecondView) {
    SCG.Visible = false;
    SecondView = false;
    RefreshForm();
    return;
  }
  switch (GalleryCurrent) {
    case 1:
      SecondView = true;
      break;
    case 4:
      ShowFullView(*this, GalleryPictures[16]);
      SecondView = true;
      break;
    case 5:
      ShowFullView(*this, GalleryPictures[17]);
      SecondView = true;
      break;
    default:
      SCG.Visible = false;
      RefreshForm();
      break;
  }
}

void Main_Form::CG_END_Click() {
  if (!GalleryOpen) return;
  BitBlt(CG_END, 0, 0, 95, 30, Texture, 3, 93, Rop::SrcCopy);
  CG_END.Refresh();
  Sleep(500);
  for (int n = 1; n <= 15; ++n) {
    const size_t i = static_cast<size_t>(n);
    if (PicCreated[i]) Destroy(Pic[i]);
    PicCreated[i] = false;
    Destroy(Shp[i]);
    ShpCreated[i] = false;
  }
  for (size_t i : {size_t{16}, size_t{17}}) {
    Destroy(Pic[i]);
    PicCreated[i] = false;
  }
  // The tall picture's work copy is only needed by the scroll.
  Destroy(Pic[0]);
  SCG.Move(0, 0, 0, 0);
  SCG.Cls();
  SCG.Visible = false;
  CG_END.Visible = false;
  // Behind the title there is nothing to see; the next screen is not the
  // gallery's.
  FormPicture = Image{};
  GalleryOpen = false;
  GalleryCurrent = 0;
  SecondView = false;
  Title.Visible = true;
  Pic_Main.Visible = true;
  for (auto& b : Smenu) b.Visible = true;
  Title.Refresh();
  RefreshForm();
}

// The pad's and the arrows' targets: the entries and the way out; over an
// open view a click anywhere goes on, so there is nothing to choose.
void Main_Form::GalleryReach(PadScreen& s) const {
  if (SCG.Shown()) {
    s.clickX = 320;
    s.clickY = 240;
    return;
  }
  auto add = [&s](const Surface& c) {
    if (c.Shown()) s.targets.emplace_back(c.ScreenLeft() + c.width / 2, c.ScreenTop() + c.height / 2);
  };
  for (int n = 1; n <= 15; ++n) add(Pic[static_cast<size_t>(n)]);
  add(CG_END);
}

}  // namespace mirel
