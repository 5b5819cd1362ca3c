#include "demo/Characters.h"

#include <cmath>

namespace mirel::demo {
namespace {

constexpr double kPi = 3.14159265358979;

Rgb Darker(Rgb c, double k = 0.75) { return Scale(c, k); }

// Draws a polyline through points made by f(t), t from 0 to 1.
template <class F>
void Curve(Canvas& c, F f, int steps, double width, Rgb col) {
  Pt prev = f(0.0);
  for (int i = 1; i <= steps; ++i) {
    Pt p = f(static_cast<double>(i) / steps);
    c.Line(prev.x, prev.y, p.x, p.y, width, col);
    prev = p;
  }
}

void PatternOver(Canvas& c, const Shape& area, const Outfit& o, double x0, double y0, double x1, double y1,
                 double s) {
  if (o.pattern == Pattern::None) return;
  double step = s * 0.7;
  Shape marks;
  switch (o.pattern) {
    case Pattern::Dots:
      marks = [=](double x, double y) {
        double u = std::fmod(x - x0 + 1000 * step, step) - step / 2, v = std::fmod(y - y0 + 1000 * step, step) - step / 2;
        return u * u + v * v < (step * 0.18) * (step * 0.18);
      };
      break;
    case Pattern::Stripes:
      marks = [=](double, double y) { return std::fmod(y - y0 + 1000 * step, step * 0.6) < step * 0.2; };
      break;
    case Pattern::Checks:
      marks = [=](double x, double y) {
        bool a = std::fmod(x - x0 + 1000 * step, step) < step * 0.22;
        bool b = std::fmod(y - y0 + 1000 * step, step) < step * 0.22;
        return a || b;
      };
      break;
    case Pattern::Flowers:
      marks = [=](double x, double y) {
        double big = step * 2.2;
        double gx = std::floor((x - x0) / big), gy = std::floor((y - y0) / big);
        double ox = x0 + (gx + 0.5 + 0.25 * std::fmod(gy, 2.0)) * big, oy = y0 + (gy + 0.5) * big;
        double dx = x - ox, dy = y - oy;
        double r = std::hypot(dx, dy), a = std::atan2(dy, dx);
        return r < step * (0.32 + 0.16 * std::cos(5 * a));
      };
      break;
    case Pattern::None: break;
  }
  c.Fill(Intersect(area, marks), Solid(o.patternColor), x0, y0, x1, y1);
}

void DrawBody(Canvas& c, const Person& p, double cx, double cy, double s) {
  const Outfit& o = p.outfit;
  double bottom = cy + 7.5 * s;
  double shoulderY = cy + 1.55 * s;
  Rgb skinShade = Darker(p.skin, 0.86);
  // Neck.
  c.FillBox(cx - 0.3 * s, cy + 0.7 * s, cx + 0.3 * s, shoulderY + 0.3 * s, skinShade);
  // Arms first, the torso overlaps their tops.
  for (int side : {-1, 1}) {
    double sx = cx + side * 1.35 * s;
    c.Line(sx, shoulderY + 0.4 * s, cx + side * 1.75 * s, cy + 4.3 * s, 0.62 * s, Darker(o.top, 0.9));
    c.FillEllipse(cx + side * 1.72 * s, cy + 4.55 * s, 0.3 * s, 0.34 * s, p.skin);
  }
  // Torso and skirt or trousers.
  std::vector<Pt> torso = {{cx - 1.25 * s, shoulderY}, {cx + 1.25 * s, shoulderY}, {cx + 1.55 * s, shoulderY + 0.5 * s},
                           {cx + 1.35 * s, cy + 4.0 * s}, {cx - 1.35 * s, cy + 4.0 * s}, {cx - 1.55 * s, shoulderY + 0.5 * s}};
  Shape torsoShape = Polygon(torso);
  c.Fill(torsoShape, Solid(o.top), cx - 1.6 * s, shoulderY, cx + 1.6 * s, cy + 4.0 * s);
  std::vector<Pt> skirt = {{cx - 1.35 * s, cy + 3.9 * s}, {cx + 1.35 * s, cy + 3.9 * s}, {cx + 1.9 * s, bottom},
                           {cx - 1.9 * s, bottom}};
  Shape skirtShape = Polygon(skirt);
  c.Fill(skirtShape, VGrad(cy + 3.9 * s, o.bottom, bottom, Darker(o.bottom, 0.8)), cx - 1.9 * s, cy + 3.9 * s,
         cx + 1.9 * s, bottom);
  PatternOver(c, Union(torsoShape, skirtShape), o, cx - 1.9 * s, shoulderY, cx + 1.9 * s, bottom, s);
  // The opening at the neck.
  std::vector<Pt> vee = {{cx - 0.55 * s, shoulderY - 0.05 * s}, {cx + 0.55 * s, shoulderY - 0.05 * s}, {cx, shoulderY + 1.1 * s}};
  c.FillPoly(vee, o.inner);
  if (o.collar) {
    c.Line(cx - 0.6 * s, shoulderY, cx - 0.1 * s, cy + 4.0 * s, 0.28 * s, *o.collar);
    c.Line(cx + 0.6 * s, shoulderY, cx + 0.1 * s, cy + 4.0 * s, 0.28 * s, *o.collar);
  }
  if (o.apron) {
    c.Fill(RoundBox(cx - 1.0 * s, shoulderY + 0.9 * s, cx + 1.0 * s, bottom, 0.3 * s), Solid(*o.apron),
           cx - 1.0 * s, shoulderY + 0.9 * s, cx + 1.0 * s, bottom);
    c.Line(cx - 0.8 * s, shoulderY + 1.0 * s, cx - 0.55 * s, shoulderY, 0.15 * s, *o.apron);
    c.Line(cx + 0.8 * s, shoulderY + 1.0 * s, cx + 0.55 * s, shoulderY, 0.15 * s, *o.apron);
  }
  if (o.belt) c.FillBox(cx - 1.38 * s, cy + 3.55 * s, cx + 1.38 * s, cy + 4.1 * s, *o.belt);
  if (o.scarf) {
    c.Fill(RoundBox(cx - 0.95 * s, shoulderY - 0.25 * s, cx + 0.95 * s, shoulderY + 0.35 * s, 0.25 * s),
           Solid(*o.scarf), cx - s, shoulderY - 0.3 * s, cx + s, shoulderY + 0.4 * s);
    c.FillBox(cx + 0.3 * s, shoulderY + 0.2 * s, cx + 0.75 * s, shoulderY + 1.6 * s, *o.scarf);
  }
  if (o.hood) {
    // Kept below the chin: faces on the sheet are shared between outfits.
    c.Fill(Minus(Ellipse(cx, shoulderY + 0.3 * s, 1.3 * s, 0.45 * s), Ellipse(cx, shoulderY + 0.1 * s, 0.7 * s, 0.35 * s)),
           Solid(Darker(o.top, 0.85)), cx - 1.3 * s, shoulderY - 0.2 * s, cx + 1.3 * s, shoulderY + 0.8 * s);
  }
}

void DrawBackHair(Canvas& c, const Person& p, double cx, double cy, double s) {
  Rgb h = p.hair;
  switch (p.style) {
    case HairStyle::Long:
      c.Fill(RoundBox(cx - 1.35 * s, cy - 0.4 * s, cx + 1.35 * s, cy + 4.6 * s, 0.9 * s), Solid(Darker(h, 0.85)),
             cx - 1.4 * s, cy - 0.5 * s, cx + 1.4 * s, cy + 4.7 * s);
      c.FillEllipse(cx, cy - 0.15 * s, 1.28 * s, 1.32 * s, h);
      break;
    case HairStyle::Bob:
      c.Fill(RoundBox(cx - 1.3 * s, cy - 0.4 * s, cx + 1.3 * s, cy + 1.0 * s, 0.5 * s), Solid(Darker(h, 0.85)),
             cx - 1.35 * s, cy - 0.5 * s, cx + 1.35 * s, cy + 1.1 * s);
      c.FillEllipse(cx, cy - 0.15 * s, 1.25 * s, 1.3 * s, h);
      break;
    case HairStyle::Ponytail:
      c.Line(cx + 0.9 * s, cy - 0.9 * s, cx + 1.55 * s, cy + 2.2 * s, 0.75 * s, Darker(h, 0.85));
      c.FillEllipse(cx, cy - 0.15 * s, 1.22 * s, 1.28 * s, h);
      break;
    case HairStyle::Cropped:
      c.FillEllipse(cx, cy - 0.2 * s, 1.12 * s, 1.15 * s, h);
      break;
    case HairStyle::Bun:
      c.FillEllipse(cx, cy - 1.35 * s, 0.6 * s, 0.5 * s, Darker(h, 0.9));
      c.FillEllipse(cx, cy - 0.15 * s, 1.15 * s, 1.2 * s, h);
      break;
  }
}

void DrawFrontHair(Canvas& c, const Person& p, double cx, double cy, double s) {
  Rgb h = p.hair;
  if (p.style == HairStyle::Cropped || p.style == HairStyle::Bun) {
    // Swept back: only a cap over the top of the head.
    Shape cap = Intersect(Ellipse(cx, cy - 0.15 * s, 1.15 * s, 1.2 * s),
                          [=](double, double y) { return y < cy - 0.62 * s; });
    c.Fill(cap, Solid(h), cx - 1.2 * s, cy - 1.4 * s, cx + 1.2 * s, cy - 0.5 * s);
    return;
  }
  double fringe = cy - 0.42 * s;
  double teeth = p.style == HairStyle::Bob ? 5 : 7;
  Shape bangs = Intersect(Ellipse(cx, cy - 0.15 * s, 1.2 * s, 1.27 * s), [=](double x, double y) {
    double u = (x - cx) / (2.2 * s) * teeth;
    double saw = std::fabs(u - std::floor(u) - 0.5) * 2;  // 1 at the tips' gaps, 0 at the tips
    return y < fringe + 0.32 * s * (1 - saw);
  });
  c.Fill(bangs, Solid(h), cx - 1.3 * s, cy - 1.5 * s, cx + 1.3 * s, cy);
  // Side locks framing the face.
  double len = p.style == HairStyle::Long ? 1.3 : 0.75;
  for (int side : {-1, 1}) c.Line(cx + side * 0.98 * s, cy - 0.5 * s, cx + side * 1.05 * s, cy + len * s, 0.36 * s, h);
  // A soft shine on the crown.
  Shape shine = Intersect(Ellipse(cx - 0.25 * s, cy - 0.85 * s, 0.7 * s, 0.16 * s), Ellipse(cx, cy - 0.15 * s, 1.2 * s, 1.27 * s));
  c.Fill(shine, Solid(Mix(h, Hex(0xFFFFFF), 0.35)), cx - s, cy - 1.1 * s, cx + 0.5 * s, cy - 0.6 * s, 0.7);
}

void DrawFace(Canvas& c, const Person& p, int expression, double cx, double cy, double s) {
  const Rgb dark = Hex(0x2A2030);
  const Rgb mouthCol = Hex(0x9A3A40);
  c.FillEllipse(cx, cy, s, 1.1 * s, p.skin);
  double ey = cy + 0.12 * s;
  double brow = cy - 0.3 * s;
  for (int side : {-1, 1}) {
    double ex = cx + side * 0.42 * s;
    double ew = (p.elderly ? 0.17 : 0.2) * s, eh = (p.elderly ? 0.08 : 0.27) * s;
    switch (expression) {
      case 2:  // closed, smiling arcs
        Curve(c, [&](double t) { return Pt{ex - ew + 2 * ew * t, ey + 0.02 * s - std::sin(t * kPi) * 0.14 * s}; }, 8,
              0.07 * s, dark);
        c.FillEllipse(ex + side * 0.12 * s, cy + 0.45 * s, 0.2 * s, 0.09 * s, Hex(0xF2A0A0), 0.6);
        break;
      case 3:  // wide open
        c.FillEllipse(ex, ey, ew * 1.1, eh * (p.elderly ? 2.2 : 1.2), dark);
        if (!p.elderly) c.FillEllipse(ex, ey + 0.05 * s, ew * 0.75, eh * 0.85, p.eyes);
        c.FillEllipse(ex - 0.06 * s, ey - 0.08 * s, 0.06 * s, 0.06 * s, Hex(0xFFFFFF));
        break;
      case 4: {  // downcast: the upper lid covers half the eye
        Shape lower = Intersect(Ellipse(ex, ey, ew, eh), [=](double, double y) { return y > ey - eh * 0.1; });
        c.Fill(lower, Solid(dark), ex - ew, ey - eh, ex + ew, ey + eh);
        c.Line(ex - ew * 1.1, ey - eh * 0.1, ex + ew * 1.1, ey - eh * 0.1, 0.06 * s, dark);
        break;
      }
      default:
        c.FillEllipse(ex, ey, ew, eh, dark);
        if (!p.elderly) c.FillEllipse(ex, ey + 0.05 * s, ew * 0.7, eh * 0.7, p.eyes);
        c.FillEllipse(ex - 0.06 * s, ey - 0.1 * s, 0.055 * s, 0.055 * s, Hex(0xFFFFFF));
        break;
    }
    // Brows: raised when surprised, slanting down outwards when sad.
    double lift = expression == 3 ? -0.12 * s : 0;
    double inner = expression == 4 ? -0.08 * s : 0, outer = expression == 4 ? 0.06 * s : 0;
    double bw = (p.elderly ? 0.1 : 0.05) * s;
    c.Line(ex - side * 0.2 * s, brow + lift + inner, ex + side * 0.2 * s, brow + lift + outer, bw,
           Darker(p.hair, 0.6));
    if (p.glasses) {
      Curve(c, [&](double t) { return Pt{ex + 0.3 * s * std::cos(2 * kPi * t), ey + 0.24 * s * std::sin(2 * kPi * t)}; },
            24, 0.05 * s, Hex(0x6A4A3A));
    }
  }
  if (p.glasses) c.Line(cx - 0.12 * s, ey - 0.05 * s, cx + 0.12 * s, ey - 0.05 * s, 0.05 * s, Hex(0x6A4A3A));
  double my = cy + 0.62 * s;
  switch (expression) {
    case 2: {
      std::vector<Pt> open;
      for (int i = 0; i <= 10; ++i) {
        double t = i / 10.0;
        open.push_back({cx - 0.22 * s + 0.44 * s * t, my - 0.04 * s + std::sin(t * kPi) * 0.2 * s});
      }
      c.FillPoly(open, mouthCol);
      break;
    }
    case 3: c.FillEllipse(cx, my + 0.02 * s, 0.09 * s, 0.12 * s, mouthCol); break;
    case 4:
      Curve(c, [&](double t) { return Pt{cx - 0.16 * s + 0.32 * s * t, my + 0.06 * s - std::sin(t * kPi) * 0.07 * s}; },
            8, 0.05 * s, mouthCol);
      break;
    default:
      Curve(c, [&](double t) { return Pt{cx - 0.15 * s + 0.3 * s * t, my + std::sin(t * kPi) * 0.06 * s}; }, 8,
            0.05 * s, mouthCol);
      break;
  }
  if (p.moustache) {
    c.FillEllipse(cx - 0.2 * s, my - 0.14 * s, 0.24 * s, 0.09 * s, Mix(p.hair, Hex(0xFFFFFF), 0.2));
    c.FillEllipse(cx + 0.2 * s, my - 0.14 * s, 0.24 * s, 0.09 * s, Mix(p.hair, Hex(0xFFFFFF), 0.2));
  }
  if (p.elderly) {
    c.Line(cx - 0.75 * s, cy + 0.35 * s, cx - 0.6 * s, cy + 0.5 * s, 0.03 * s, Darker(p.skin, 0.8));
    c.Line(cx + 0.75 * s, cy + 0.35 * s, cx + 0.6 * s, cy + 0.5 * s, 0.03 * s, Darker(p.skin, 0.8));
  }
}

}  // namespace

Person StoryPerson(int person, int picture) {
  Person p;
  p.skin = Hex(0xF8DCC8);
  switch (person) {
    case 1: {  // the heroine: long dark hair
      p.hair = Hex(0x2C3450);
      p.eyes = Hex(0x3A6AA8);
      p.style = HairStyle::Long;
      if (picture == 2) {  // summer kimono for the festival
        p.outfit = {Hex(0x2E4A8A), Hex(0xF4F0E6), Hex(0x2E4A8A), Hex(0xD04A5A), {}, Hex(0xF4F0E6), {},
                    Pattern::Flowers, Hex(0xF0A8C0)};
      } else if (picture == 3 || picture == 7) {  // yellow raincoat
        p.outfit = {Hex(0xF2C830), Hex(0xF4F4F4), Hex(0x4A5A7A), {}, {}, Hex(0xD8AC20), {}, Pattern::None, {}, true};
      } else {  // white dress under a navy cardigan
        p.outfit = {Hex(0x34447A), Hex(0xF6F6F2), Hex(0xF0F0EC), {}, {}, {}, {}, Pattern::None, {}};
      }
      break;
    }
    case 2: {  // the friend: short brown hair
      p.hair = Hex(0x8A5A34);
      p.eyes = Hex(0x6A4020);
      p.style = HairStyle::Bob;
      if (picture == 2 || picture == 6) {
        p.outfit = {Hex(0xF4F4F0), Hex(0xF4F4F0), Hex(0x3A4A6A), {}, Hex(0x4A9A6A), {}, {}, Pattern::Stripes,
                    Hex(0x90B0E0)};
      } else if (picture == 3 || picture == 7) {
        p.outfit = {Hex(0x2A5AA8), Hex(0xF4F4F4), Hex(0x2A3A5A), Hex(0xE8E8E8), {}, Hex(0xF0F0F0), {},
                    Pattern::Checks, Hex(0x5A8AD0)};
      } else {
        p.outfit = {Hex(0xF08A30), Hex(0xF8E8D0), Hex(0x3A5A8A), {}, {}, {}, {}, Pattern::None, {}, true};
      }
      break;
    }
    case 3: {  // the old keeper
      p.hair = Hex(0xB8B8B8);
      p.eyes = Hex(0x4A3A2A);
      p.skin = Hex(0xE8C4A4);
      p.style = HairStyle::Cropped;
      p.elderly = true;
      p.moustache = true;
      if (picture == 2 || picture == 6) {
        p.outfit = {Hex(0x20305A), Hex(0xF0F0F0), Hex(0x20305A), Hex(0xF0F0F0), {}, Hex(0xE8E8E8), {},
                    Pattern::None, {}};
      } else {
        p.outfit = {Hex(0x3A5A48), Hex(0x9A9A94), Hex(0x4A4A52), {}, {}, {}, {}, Pattern::None, {}};
      }
      break;
    }
    case 4: {  // the librarian: glasses and a ponytail
      p.hair = Hex(0x4A3028);
      p.eyes = Hex(0x3A5A3A);
      p.style = HairStyle::Ponytail;
      p.glasses = true;
      if (picture == 2 || picture == 6) {
        p.outfit = {Hex(0xC8A880), Hex(0xF4F4F4), Hex(0x8A6A50), {}, {}, {}, Hex(0xC04848), Pattern::None, {}};
      } else {
        p.outfit = {Hex(0x5A8A5A), Hex(0xF6F6F6), Hex(0x6A6A7A), {}, {}, {}, {}, Pattern::Dots, Hex(0x7AAA7A)};
      }
      break;
    }
    default: {  // the grandmother
      p.hair = Hex(0xC8C4C0);
      p.eyes = Hex(0x4A3A2A);
      p.skin = Hex(0xF0CCB0);
      p.style = HairStyle::Bun;
      p.elderly = true;
      p.outfit = {Hex(0x7A5A8A), Hex(0xF0F0F0), Hex(0x7A5A8A), {}, Hex(0xF6F6F2), Hex(0xF0F0F0), {}, Pattern::None,
                  {}};
      break;
    }
  }
  return p;
}

void DrawPerson(Canvas& c, const Person& p, int expression, double cx, double cy, double s) {
  DrawBackHair(c, p, cx, cy, s);
  DrawBody(c, p, cx, cy, s);
  DrawFace(c, p, expression, cx, cy, s);
  DrawFrontHair(c, p, cx, cy, s);
}

}  // namespace mirel::demo
