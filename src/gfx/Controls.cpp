#include "gfx/Controls.h"

#include <algorithm>

namespace mirel {

namespace {

void Name(Surface& s, std::string n, int zOrder, SurfaceKind kind = SurfaceKind::Picture) {
  s.name = std::move(n);
  s.zOrder = zOrder;
  s.kind = kind;
}

template <size_t N>
void NameArray(std::array<Surface, N>& a, const std::string& base, int zOrder, SurfaceKind kind = SurfaceKind::Picture) {
  for (size_t i = 0; i < N; ++i) Name(a[i], base + "(" + std::to_string(i) + ")", zOrder, kind);
}

}  // namespace

Controls::Controls() {
  Name(Pic_Main, "Pic_Main", z::kPicMain);
  Name(Pic_Back, "Pic_Back", 0);
  Name(Mesh1, "Mesh1", 0);
  Name(Mesh2, "Mesh2", 0);
  for (int p = 0; p < 3; ++p) {
    Name(Doll_Disp[p], "Doll_Disp(" + std::to_string(p) + ")", z::kDoll + p);
  }
  NameArray(Doll_Back, "Doll_Back", 0);
  NameArray(Doll_Body, "Doll_Body", 0);
  NameArray(Doll_Mask, "Doll_Mask", 0);
  NameArray(Face_Disp, "Face_Disp", 0);
  Name(Face_Load, "Face_Load", 0);
  Name(Face_Mask, "Face_Mask", 0);
  NameArray(Waku, "Waku", z::kWaku);
  Waku[3].zOrder = z::kWaku + 1;
  Name(Texture, "Texture", 0);
  Name(Dtime_label, "Dtime_label", 0, SurfaceKind::Label);
  Dtime_label.parent = &Waku[3];
  NameArray(SelTxt, "SelTxt", 0, SurfaceKind::Label);
  for (auto& s : SelTxt) s.parent = &Waku[0];
  Name(Blinker, "Blinker", 1, SurfaceKind::Label);
  Blinker.parent = &Waku[0];
  NameArray(Smenu, "Smenu", z::kSmenu);
  Name(Title, "Title", z::kTitle);
  Name(LOAD_NOW, "LOAD_NOW", z::kLoadNow);
  Name(End_Pic, "End_Pic", z::kEndPic);
  NameArray(STAFF_Pic, "STAFF_Pic", z::kStaff);
  STAFF_Pic[7].zOrder = z::kStaffRoll;
  Name(SCG, "SCG", z::kScg);
  Name(CG_END, "CG_END", z::kCgEnd);
  NameArray(Pic, "Pic", z::kPic);
  NameArray(Shp, "Shp", z::kShp, SurfaceKind::Shape);
  for (auto& s : Shp) s.BackColor = kBlack;

  const Text captions[kMenuItemCount] = {u"終了", u"ロード", u"セーブ", u"設定", u"次の選択まで進む", u"バージョン"};
  for (int i = 0; i < kMenuItemCount; ++i) form.menus[static_cast<size_t>(i)].caption = captions[i];
}

std::vector<Surface*> Controls::All() {
  std::vector<Surface*> v = {&Pic_Main, &Pic_Back, &Mesh1, &Mesh2, &Face_Load, &Face_Mask, &Texture,
                             &Dtime_label, &Blinker, &Title, &LOAD_NOW, &End_Pic, &SCG, &CG_END};
  auto add = [&v](auto& arr) {
    for (auto& s : arr) v.push_back(&s);
  };
  add(Doll_Disp);
  add(Doll_Back);
  add(Doll_Body);
  add(Doll_Mask);
  add(Face_Disp);
  add(Waku);
  add(SelTxt);
  add(Smenu);
  add(STAFF_Pic);
  add(Pic);
  add(Shp);
  v.insert(v.end(), overlays.begin(), overlays.end());
  return v;
}

void Controls::SetSink(RefreshSink* sink) {
  for (Surface* s : All()) s->sink = sink;
}

namespace {

bool Exists(Controls& c, const Surface* s) {
  for (size_t i = 0; i < c.Pic.size(); ++i)
    if (s == &c.Pic[i]) return c.PicCreated[i];
  for (size_t i = 0; i < c.Shp.size(); ++i)
    if (s == &c.Shp[i]) return c.ShpCreated[i];
  for (size_t i = 1; i < c.STAFF_Pic.size(); ++i)
    if (s == &c.STAFF_Pic[i]) return c.StaffCreated[i];
  return true;
}

// Top-level controls that may be shown, sorted back to front.
std::vector<Surface*> Stack(Controls& c) {
  std::vector<Surface*> v;
  for (Surface* s : c.All())
    if (!s->parent && s->zOrder > 0 && s->Visible && Exists(c, s)) v.push_back(s);
  std::stable_sort(v.begin(), v.end(), [](Surface* a, Surface* b) { return a->zOrder < b->zOrder; });
  return v;
}

std::vector<Surface*> ChildrenOf(Controls& c, const Surface* parent) {
  std::vector<Surface*> v;
  for (Surface* s : c.All())
    if (s->parent == parent && s->Visible) v.push_back(s);
  std::stable_sort(v.begin(), v.end(), [](Surface* a, Surface* b) { return a->zOrder < b->zOrder; });
  return v;
}

void Paint(Controls& c, FontRasterizer& fonts, Surface& s, Surface& frame, int ox, int oy, int clipX1, int clipY1,
           int clipX2, int clipY2) {
  int x0 = ox + s.left, y0 = oy + s.top;
  int cx1 = std::max(clipX1, x0), cy1 = std::max(clipY1, y0);
  int cx2 = std::min(clipX2, x0 + s.width), cy2 = std::min(clipY2, y0 + s.height);
  if (cx1 >= cx2 || cy1 >= cy2) return;
  switch (s.kind) {
    case SurfaceKind::Picture:
      if (s.pixels.size() == static_cast<size_t>(s.width) * s.height)
        for (int y = cy1; y < cy2; ++y)
          std::copy_n(s.pixels.begin() + static_cast<size_t>(y - y0) * s.width + (cx1 - x0), cx2 - cx1,
                      frame.pixels.begin() + static_cast<size_t>(y) * frame.width + cx1);
      break;
    case SurfaceKind::Label: {
      // Draw into a scratch copy of the clip region so text stays inside the label.
      Surface tmp;
      tmp.Resize(cx2 - cx1, cy2 - cy1);
      BitBlt(tmp, 0, 0, tmp.width, tmp.height, frame, cx1, cy1, Rop::SrcCopy);
      tmp.font = s.font;
      tmp.ForeColor = s.ForeColor;
      TextOut(fonts, tmp, x0 - cx1, y0 - cy1, s.Caption);
      BitBlt(frame, cx1, cy1, tmp.width, tmp.height, tmp, 0, 0, Rop::SrcCopy);
      break;
    }
    case SurfaceKind::Shape:
      for (int k = 0; k < std::max(1, s.BorderWidth); ++k)
        FrameBox(frame, x0 + k, y0 + k, x0 + s.width - k, y0 + s.height - k, s.BorderColor);
      break;
  }
  for (Surface* child : ChildrenOf(c, &s)) Paint(c, fonts, *child, frame, x0, y0, cx1, cy1, cx2, cy2);
}

Surface* HitIn(Controls& c, Surface& s, int x, int y) {
  if (x < s.left || y < s.top || x >= s.left + s.width || y >= s.top + s.height) return nullptr;
  auto kids = ChildrenOf(c, &s);
  for (auto it = kids.rbegin(); it != kids.rend(); ++it)
    if (Surface* hit = HitIn(c, **it, x - s.left, y - s.top)) return hit;
  return &s;
}

}  // namespace

void Compose(Controls& c, FontRasterizer& fonts, Image& out) {
  Surface frame;
  frame.BackColor = c.FormBackColor;
  frame.Resize(640, 480);
  frame.Cls();
  if (c.FormPicture.width > 0) {
    Surface pic;
    pic.SetPicture(c.FormPicture);
    BitBlt(frame, 0, 0, 640, 480, pic, 0, 0, Rop::SrcCopy);
  }
  for (Surface* s : Stack(c)) Paint(c, fonts, *s, frame, 0, 0, 0, 0, 640, 480);
  out = frame.ToImage();
}

Surface* HitTest(Controls& c, int x, int y) {
  auto stack = Stack(c);
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    // Shapes are drawn on the form and take no mouse input.
    if ((*it)->kind == SurfaceKind::Shape) continue;
    if (Surface* hit = HitIn(c, **it, x, y)) return hit;
  }
  return nullptr;
}

}  // namespace mirel
