// Character sprites at the three standing places, and their faces.
//
// A sprite is its own window in front of Pic_Main: the background under it,
// ANDed with its mask, XORed with the picture. Pic_Main is never redrawn for
// a sprite; the background handler flattens the windows into it when the
// scene changes.
#include <string>

#include "app/Main_Form.h"

namespace mirel {

namespace {

constexpr int kPositions = 3;
constexpr int kScreenHeight = 480;
constexpr uint32_t kFaceBack = Rgb(0x40, 0x40, 0x40);

// Position letters in the order of the position indices.
int PositionOf(const Text& text) {
  if (text == u"L") return 0;
  if (text == u"R") return 1;
  if (text == u"C") return 2;
  return -1;
}

// Half of w, a tie going to the even neighbour.
int HalfToEven(int w) {
  int half = w / 2;
  if (w % 2 != 0 && half % 2 != 0) ++half;
  return half;
}

struct FaceBox {
  int16_t x1, y1, w, h, column;
};

// Face boxes relative to the sprite picture and their columns on the sheet.
// Entries 7 and 12 belong to no sprite and stay empty.
constexpr FaceBox kFaceBoxes[13] = {
    {130, 90, 135, 120, 0},    {130, 90, 135, 120, 135},  {130, 90, 135, 120, 270}, {115, 100, 145, 108, 405},
    {120, 100, 140, 120, 550}, {125, 100, 140, 110, 690}, {65, 75, 105, 85, 830},   {0, 0, 0, 0, 0},
    {65, 75, 105, 85, 1040},   {55, 80, 110, 80, 1145},   {95, 75, 105, 90, 1255},  {95, 75, 105, 85, 1360},
    {0, 0, 0, 0, 0},
};

// The record being run also changes a face: its sprite field then only
// names whose face, and its text is the line spoken, not a place.
bool RecordChangesFace(const Main_Form& f) {
  if (f.CurSeq < 0 || static_cast<size_t>(f.CurSeq) >= f.ScenarioTable.size()) return false;
  return !Trim(f.ScenarioTable[static_cast<size_t>(f.CurSeq)].Anim).empty();
}

std::string SpriteFile(int character, int picture) {
  return std::to_string(character) + std::to_string(picture) + ".dat";
}

}  // namespace

Text Main_Form::SpriteRecordPlace() const {
  if (CurSeq >= 0 && static_cast<size_t>(CurSeq) < ScenarioTable.size()) {
    return u"91.dat の " + Decimal(ScenarioTable[static_cast<size_t>(CurSeq)].line) + u" 行目 (レコード " +
           Decimal(CurSeq) + u")";
  }
  return u"レコード " + Decimal(CurSeq);
}

int Main_Form::FaceEntryFor(int key) {
  switch (key) {
    case 12: return 1;
    case 13: return 2;
    case 21: case 22: case 23: return 3;
    case 31: case 32: return 4;
    case 41: case 42: return 5;
    case 15: return 6;
    case 17: return 8;
    case 25: case 26: case 27: return 9;
    case 35: case 36: return 10;
    case 45: case 46: return 11;
    default: return 0;  // 11 and every picture without a box of its own
  }
}

void Main_Form::LoadFaces() {
  // Without the sheet the table is still filled: every face change then
  // finds its face missing from the (empty) sheet and is skipped.
  if (LoadPicture(Face_Load, "60.dat")) {
    Face_Load.Refresh();
    Face_Mask.BackColor = kWhite;
    Face_Mask.ForeColor = kBlack;
    Face_Mask.Resize(Face_Load.width, Face_Load.height);
    MakeMask(Face_Mask, Face_Load, 0, 0, Face_Load.width, Face_Load.height);
  }
  for (size_t i = 0; i < FaceTable.size(); ++i) {
    const FaceBox& b = kFaceBoxes[i];
    FaceEntry& e = FaceTable[i];
    e.x1 = b.x1;
    e.y1 = b.y1;
    e.x2 = static_cast<int16_t>(b.x1 + b.w);
    e.y2 = static_cast<int16_t>(b.y1 + b.h);
    e.column = b.column;
    e.w = static_cast<int16_t>(e.x2 - e.x1);
    e.h = static_cast<int16_t>(e.y2 - e.y1);
  }
}

bool Main_Form::LoadDoll(int c, int p) {
  // A picture that cannot be loaded leaves the position as it was.
  if (!LoadPicture(Doll_Body[p], SpriteFile(c + 1, FaceNo))) return false;
  Doll_Body[p].Refresh();
  const int w = Doll_Body[p].width, h = Doll_Body[p].height;
  DollW[p] = static_cast<int16_t>(w);
  DollH[p] = static_cast<int16_t>(h);
  // Sprites stand on the bottom edge of the screen.
  DollX[p] = PosX[p];
  DollY[p] = static_cast<int16_t>(kScreenHeight - h);
  Doll_Mask[p].BackColor = kWhite;
  Doll_Mask[p].ForeColor = kBlack;
  Doll_Mask[p].Move(0, 0, w, h);
  Doll_Back[p].Move(0, 0, w, h);
  Doll_Disp[p].Move(0, 0, w, h);
  MakeMask(Doll_Mask[p], Doll_Body[p], 0, 0, w, h);
  return true;
}

void Main_Form::HideDoll(int p) {
  Waku[0].Visible = false;
  Waku[3].Visible = false;
  const int w = DollW[p], h = DollH[p];
  if (EffectCode != u"DH") {
    // Wiped away in two-pixel columns, one sweep from each edge.
    const int n = HalfToEven(w);
    for (int i = 0; i <= n; i += 2) {
      FrameBegin();
      const int k = 2 * i;
      BitBlt(Doll_Disp[p], k, 0, 2, h, Doll_Back[p], k, 0, Rop::SrcCopy);
      BitBlt(Doll_Disp[p], w - k, 0, 2, h, Doll_Back[p], w - k, 0, Rop::SrcCopy);
      Doll_Disp[p].Refresh();
      FrameEnd(4);
    }
  }
  Doll_Disp[p].Visible = false;
}

int32_t Main_Form::ShowDoll() {
  if (Walk) return 2;
  const bool faceRecord = RecordChangesFace(*this);
  if (DollNo < 1 || DollNo > DollPose.size()) {
    // A face change says so itself, once.
    if (!faceRecord) MsgBox(u"人物番号 " + Decimal(DollNo) + u" の人物はいません.\r\n" + SpriteRecordPlace());
    return 2;
  }
  const int c = DollNo - 1;
  auto& pose = DollPose[static_cast<size_t>(c)];

  if (FaceNo == 0) {
    EffectCode = MsgText;  // "DH" takes it away at once
    DollMissing[static_cast<size_t>(c)] = 0;
    for (int p = 0; p < kPositions; ++p) {
      if (pose[static_cast<size_t>(p)] == 0) continue;
      HideDoll(p);
      pose[static_cast<size_t>(p)] = 0;
      PosUsed[static_cast<size_t>(p)] = false;
      return 2;
    }
    return 2;
  }

  // A place that is none of L, R and C changes nothing; mirel-tool check
  // names the record.
  const int p = PositionOf(MsgText);
  if (p < 0) return 2;
  if (pose[static_cast<size_t>(p)] == FaceNo) return 2;  // already standing there

  // A picture that cannot be read leaves every sprite as it stands; the
  // loading below reads it again once the old places are cleared.
  {
    Surface probe;
    if (!LoadPicture(probe, SpriteFile(DollNo, FaceNo))) {
      // Said once here; a face change for this picture is then skipped
      // instead of being taken for a scenario error.
      DollMissing[static_cast<size_t>(c)] = FaceNo;
      return 2;
    }
  }

  // The character leaves wherever it stands, with the last removal code.
  for (int q = 0; q < kPositions; ++q) {
    if (pose[static_cast<size_t>(q)] == 0) continue;
    HideDoll(q);
    pose[static_cast<size_t>(q)] = 0;
    PosUsed[static_cast<size_t>(q)] = false;
  }

  Waku[0].Visible = false;
  Waku[3].Visible = false;
  if (!LoadDoll(c, p)) {
    // The file went away since it was read above; the message named it.
    DollMissing[static_cast<size_t>(c)] = FaceNo;
    return 2;
  }
  DollMissing[static_cast<size_t>(c)] = 0;
  // Whoever stood here is only overdrawn: the window is reused and their
  // entry stays, so their face change still finds a place to draw on.
  pose[static_cast<size_t>(p)] = FaceNo;
  PosUsed[static_cast<size_t>(p)] = true;

  const int w = DollW[p], h = DollH[p];
  Surface& disp = Doll_Disp[p];
  BitBlt(Doll_Back[p], 0, 0, w, h, Pic_Main, DollX[p], DollY[p], Rop::SrcCopy);
  disp.Move(DollX[p], DollY[p]);
  BitBlt(disp, 0, 0, w, h, Doll_Back[p], 0, 0, Rop::SrcCopy);
  disp.Refresh();
  BitBlt(disp, 0, 0, w, h, Doll_Mask[p], 0, 0, Rop::SrcAnd);
  BitBlt(disp, 0, 0, w, h, Doll_Body[p], 0, 0, Rop::SrcInvert);
  disp.Refresh();
  disp.Visible = true;
  return 2;
}

int32_t Main_Form::ChangeFace() {
  if (Walk) return 0;
  if (DollNo < 1 || DollNo > DollPose.size()) {
    MsgBox(u"人物番号 " + Decimal(DollNo) + u" の人物はいません.\r\n" + SpriteRecordPlace());
    return 0;
  }
  const int c = DollNo - 1;
  // A character being taken away has no face to change (the search below
  // would find a place where it does not stand).
  if (FaceNo == 0) return 0;
  int p = -1;
  for (int q = 0; q < kPositions && p < 0; ++q)
    if (DollPose[static_cast<size_t>(c)][static_cast<size_t>(q)] == FaceNo) p = q;
  if (p < 0) {
    // Its picture was missing, and that was already said.
    if (DollMissing[static_cast<size_t>(c)] == FaceNo) return 0;
    throw PlayError{u"0 doll but face change?", SpriteRecordPlace()};
  }
  if (DollParam == 0) {
    MsgBox(u"表情番号 0 の顔はありません.\r\n" + SpriteRecordPlace());
    return 0;
  }

  const FaceEntry& e = FaceTable[static_cast<size_t>(FaceEntryFor(DollNo * 10 + FaceNo))];
  const int x1 = e.x1, y1 = e.y1, w = e.w, h = e.h, sx = e.column;
  const int sy = h * (DollParam - 1);
  if (w <= 0 || h <= 0 || sx + w > Face_Load.width || sy + h > Face_Load.height) {
    MsgBox(u"表情番号 " + Decimal(DollParam) + u" の顔が 60.dat にありません.\r\n" + SpriteRecordPlace());
    return 0;
  }

  Surface& disp = Doll_Disp[p];
  Surface& face = Face_Disp[p];
  face.BackColor = kFaceBack;
  face.Move(0, 0, w, h);
  face.Cls();
  BitBlt(face, 0, 0, w, h, disp, x1, y1, Rop::SrcCopy);
  BitBlt(face, 0, 0, w, h, Face_Mask, sx, sy, Rop::SrcAnd);
  BitBlt(face, 0, 0, w, h, Face_Load, sx, sy, Rop::SrcInvert);
  face.Refresh();
  DoEvents();

  if (MessageSpeed != 0 && !reading.Rushing()) {
    if (Mesh1.width != 320 || Mesh1.height != 64 || Mesh1.pixels.empty()) BuildMesh1();
    if (Mesh2.width < 32 || Mesh2.height < 32) Mesh2.Resize(32, 32);
    for (int k = 0; k <= 8; ++k) {
      FrameBegin();
      for (int x = 0; x <= w; x += 32) {
        const int cw = x + 32 > w ? w - x : 32;
        for (int y = 0; y <= h; y += 32) {
          const int ch = y + 32 > h ? h - y : 32;
          BitBlt(Mesh2, 0, 0, cw, ch, face, x, y, Rop::SrcCopy);
          BitBlt(Mesh2, 0, 0, cw, ch, Mesh1, 32 * k, 32, Rop::SrcAnd);
          Mesh2.Refresh();
          BitBlt(disp, x1 + x, y1 + y, cw, ch, Mesh1, 32 * k, 0, Rop::SrcAnd);
          BitBlt(disp, x1 + x, y1 + y, cw, ch, Mesh2, 0, 0, Rop::SrcInvert);
        }
      }
      disp.Refresh();
      FrameEnd(40);
    }
  }
  BitBlt(disp, x1, y1, w, h, face, 0, 0, Rop::SrcCopy);
  disp.Refresh();
  return 0;
}

}  // namespace mirel
