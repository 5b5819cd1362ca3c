#include "gfx/Controls.h"

#include <algorithm>

namespace mirel {

namespace {

constexpr int kScreenW = 640, kScreenH = 480;

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

  all_ = {&Pic_Main, &Pic_Back, &Mesh1, &Mesh2, &Face_Load, &Face_Mask, &Texture,
          &Dtime_label, &Blinker, &Title, &LOAD_NOW, &End_Pic, &SCG, &CG_END};
  auto add = [this](auto& arr) {
    for (auto& s : arr) all_.push_back(&s);
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
  looks_.resize(all_.size());
  SetSink(this);
  frame_.Resize(kScreenW, kScreenH);

  const Text captions[kMenuItemCount] = {u"終了", u"ロード", u"セーブ", u"設定", u"次の選択まで進む", u"バージョン"};
  for (int i = 0; i < kMenuItemCount; ++i) form.menus[static_cast<size_t>(i)].caption = captions[i];
}

void Controls::SetSink(RefreshSink* sink) {
  sink_ = sink;
  for (Surface* s : All()) s->sink = sink;
}

void Controls::AddOverlay(Surface* s) {
  all_.push_back(s);
  looks_.emplace_back();
  s->sink = sink_;
}

namespace {

bool Exists(const Controls& c, const Surface* s) {
  for (size_t i = 0; i < c.Pic.size(); ++i)
    if (s == &c.Pic[i]) return c.PicCreated[i];
  for (size_t i = 0; i < c.Shp.size(); ++i)
    if (s == &c.Shp[i]) return c.ShpCreated[i];
  for (size_t i = 1; i < c.STAFF_Pic.size(); ++i)
    if (s == &c.STAFF_Pic[i]) return c.StaffCreated[i];
  return true;
}

Rect Intersect(Rect a, Rect b) {
  const int x1 = std::max(a.x, b.x), y1 = std::max(a.y, b.y);
  const int x2 = std::min(a.x + a.w, b.x + b.w), y2 = std::min(a.y + a.h, b.y + b.h);
  if (x2 <= x1 || y2 <= y1) return Rect{};
  return Rect{x1, y1, x2 - x1, y2 - y1};
}

Rect Union(Rect a, Rect b) {
  const int x1 = std::min(a.x, b.x), y1 = std::min(a.y, b.y);
  const int x2 = std::max(a.x + a.w, b.x + b.w), y2 = std::max(a.y + a.h, b.y + b.h);
  return Rect{x1, y1, x2 - x1, y2 - y1};
}

// Overlapping or touching.
bool Meets(Rect a, Rect b) { return a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h; }

// Part of the composed screen: shown, created, and on a layer the composer
// draws (top-level surfaces of stacking order 0 are never composed).
bool Composed(const Controls& c, const Surface& s) {
  if (!s.Visible || !Exists(c, &s)) return false;
  return s.parent ? Composed(c, *s.parent) : s.zOrder > 0;
}

// The part of the screen a control covers, clipped by its parents.
Rect ScreenRect(const Surface& s) {
  Rect clip = s.parent ? ScreenRect(*s.parent) : Rect{0, 0, kScreenW, kScreenH};
  return Intersect(Rect{s.ScreenLeft(), s.ScreenTop(), s.width, s.height}, clip);
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

// Composes one rectangle of the screen into `frame`.
void ComposeRect(Controls& c, FontRasterizer& fonts, const std::vector<Surface*>& stack, Surface& frame, Rect r) {
  // What lies under a picture that covers the whole rectangle is not seen.
  size_t from = stack.size();
  while (from > 0) {
    const Surface& s = *stack[from - 1];
    const Rect own = ScreenRect(s);
    if (s.kind == SurfaceKind::Picture && s.pixels.size() == static_cast<size_t>(s.width) * s.height &&
        own.x <= r.x && own.y <= r.y && own.x + own.w >= r.x + r.w && own.y + own.h >= r.y + r.h)
      break;
    --from;
  }
  if (from == 0) {
    FillBox(frame, r.x, r.y, r.x + r.w, r.y + r.h, c.FormBackColor);
    const Image& pic = c.FormPicture;
    if (pic.width > 0 && pic.pixels.size() == static_cast<size_t>(pic.width) * pic.height) {
      Rect in = Intersect(r, Rect{0, 0, pic.width, pic.height});
      for (int y = in.y; y < in.y + in.h; ++y)
        std::copy_n(pic.pixels.begin() + static_cast<size_t>(y) * pic.width + in.x, in.w,
                    frame.pixels.begin() + static_cast<size_t>(y) * frame.width + in.x);
    }
  } else {
    --from;
  }
  for (size_t i = from; i < stack.size(); ++i) Paint(c, fonts, *stack[i], frame, 0, 0, r.x, r.y, r.x + r.w, r.y + r.h);
}

}  // namespace

void Compose(Controls& c, FontRasterizer& fonts, Image& out) {
  Surface frame;
  frame.Resize(kScreenW, kScreenH);
  ComposeRect(c, fonts, Stack(c), frame, Rect{0, 0, kScreenW, kScreenH});
  out = frame.ToImage();
}

void Controls::Refreshed(const Surface& s) {
  if (!Composed(*this, s)) return;
  Damage(ScreenRect(s));
  if (PresentNow) PresentNow();
}

void Controls::Damage(Rect r) {
  r = Intersect(r, Rect{0, 0, kScreenW, kScreenH});
  if (r.Empty()) return;
  // Rectangles that meet are merged, so a pixel is composed once; past a
  // handful the bounding box is cheaper than the bookkeeping.
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < damage_.size(); ++i)
      if (Meets(damage_[i], r)) {
        r = Union(r, damage_[i]);
        damage_.erase(damage_.begin() + static_cast<long>(i));
        merged = true;
        break;
      }
  }
  damage_.push_back(r);
  constexpr size_t kMostRects = 8;
  if (damage_.size() > kMostRects) {
    Rect all = damage_[0];
    for (const Rect& d : damage_) all = Union(all, d);
    damage_.assign(1, all);
  }
}

bool Controls::Look::Matches(const Surface& s) const {
  switch (s.kind) {
    case SurfaceKind::Picture:
      return true;
    case SurfaceKind::Label:
      return fore == s.ForeColor && caption == s.Caption && font.name == s.font.name && font.size == s.font.size &&
             font.bold == s.font.bold;
    case SurfaceKind::Shape:
      return border == s.BorderColor && borderWidth == s.BorderWidth;
  }
  return true;
}

void Controls::Look::Take(const Surface& s) {
  zOrder = s.zOrder;
  fore = s.ForeColor;
  border = s.BorderColor;
  borderWidth = s.BorderWidth;
  if (s.kind == SurfaceKind::Label) {
    caption = s.Caption;
    font = s.font;
  }
}

void Controls::FindChanges(const WindowHost& host) {
  const Rect screen{0, 0, kScreenW, kScreenH};
  if (host.RefreshRequests() != hostRefreshes_) {
    hostRefreshes_ = host.RefreshRequests();
    Damage(screen);
  }
  if (FormBackColor != formBack_ || FormPicture.pixels.data() != formPicture_ || FormPicture.width != formPictureW_ ||
      FormPicture.height != formPictureH_) {
    formBack_ = FormBackColor;
    formPicture_ = FormPicture.pixels.data();
    formPictureW_ = FormPicture.width;
    formPictureH_ = FormPicture.height;
    Damage(screen);
  }
  for (size_t i = 0; i < all_.size(); ++i) {
    const Surface& s = *all_[i];
    Look& was = looks_[i];
    if (!was.on && !s.Visible) continue;
    const bool on = Composed(*this, s);
    if (!on && !was.on) continue;
    const Rect rect = on ? ScreenRect(s) : Rect{};
    if (on == was.on && rect == was.rect && s.zOrder == was.zOrder && was.Matches(s)) continue;
    if (was.on) Damage(was.rect);
    if (on) Damage(rect);
    was.on = on;
    was.rect = rect;
    was.Take(s);
  }
}

std::vector<Rect> Controls::PendingDamage() {
  return damage_;
}

bool Controls::Present(WindowHost& host, FontRasterizer& fonts) {
  FindChanges(host);
  if (damage_.empty()) return false;
  const std::vector<Surface*> stack = Stack(*this);
  for (const Rect& r : damage_) ComposeRect(*this, fonts, stack, frame_, r);
  host.Present(PictureView{frame_.pixels.data(), frame_.width, frame_.height}, damage_);
  damage_.clear();
  return true;
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
