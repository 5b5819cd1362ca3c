#include "demo/Paint.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace mirel::demo {

Rgb Hex(uint32_t rgb) { return {double((rgb >> 16) & 255), double((rgb >> 8) & 255), double(rgb & 255)}; }
Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }

static int Channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }
uint32_t Pack(Rgb c) { return (Channel(c.r) << 16) | (Channel(c.g) << 8) | Channel(c.b); }
Rgb Unpack(uint32_t p) { return Hex(p); }

uint64_t Rng::Next() {
  s_ ^= s_ << 13;
  s_ ^= s_ >> 7;
  s_ ^= s_ << 17;
  return s_;
}
double Rng::Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
double Rng::Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

static double Hash(int64_t i, int64_t j, uint32_t seed) {
  uint64_t h = static_cast<uint64_t>(i) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(j) * 0xC2B2AE3D27D4EB4Full ^
               (static_cast<uint64_t>(seed) << 32 | seed);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return static_cast<double>(h >> 11) / 9007199254740992.0;
}
static double Smooth(double t) { return t * t * (3 - 2 * t); }

double Noise1(double x, uint32_t seed) {
  double fx = std::floor(x);
  double t = Smooth(x - fx);
  auto i = static_cast<int64_t>(fx);
  return Hash(i, 0, seed) * (1 - t) + Hash(i + 1, 0, seed) * t;
}

double Noise2(double x, double y, uint32_t seed) {
  double fx = std::floor(x), fy = std::floor(y);
  double tx = Smooth(x - fx), ty = Smooth(y - fy);
  auto i = static_cast<int64_t>(fx);
  auto j = static_cast<int64_t>(fy);
  double a = Hash(i, j, seed) * (1 - tx) + Hash(i + 1, j, seed) * tx;
  double b = Hash(i, j + 1, seed) * (1 - tx) + Hash(i + 1, j + 1, seed) * tx;
  return a * (1 - ty) + b * ty;
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

Shape Polygon(std::vector<Pt> pts) {
  return [pts = std::move(pts)](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const Pt& a = pts[i];
      const Pt& b = pts[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  };
}

Shape Box(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape RoundBox(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

static double SegmentDistance2(double x, double y, double x0, double y0, double x1, double y1) {
  double dx = x1 - x0, dy = y1 - y0;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0) : 0.0;
  double px = x0 + t * dx - x, py = y0 + t * dy - y;
  return px * px + py * py;
}

Shape Capsule(double x0, double y0, double x1, double y1, double radius) {
  return [=](double x, double y) { return SegmentDistance2(x, y, x0, y0, x1, y1) <= radius * radius; };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}
Shape Minus(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}
Shape Intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

Paint Solid(Rgb c) {
  return [=](double, double) { return c; };
}
Paint VGrad(double y0, Rgb c0, double y1, Rgb c1) {
  return [=](double, double y) { return Mix(c0, c1, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}
Paint HGrad(double x0, Rgb c0, double x1, Rgb c1) {
  return [=](double x, double) { return Mix(c0, c1, std::clamp((x - x0) / (x1 - x0), 0.0, 1.0)); };
}

Canvas::Canvas(int w_, int h_, Rgb fill) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_, fill) {}

void Canvas::Blend(int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= w || y >= h || a <= 0) return;
  Rgb& d = At(x, y);
  d = a >= 1 ? c : Mix(d, c, a);
}

void Canvas::Fill(const Shape& s, const Paint& p, double bx0, double by0, double bx1, double by1, double alpha) {
  int x0 = std::max(0, static_cast<int>(std::floor(bx0)) - 1);
  int y0 = std::max(0, static_cast<int>(std::floor(by0)) - 1);
  int x1 = std::min(w, static_cast<int>(std::ceil(bx1)) + 1);
  int y1 = std::min(h, static_cast<int>(std::ceil(by1)) + 1);
  if (x0 >= x1 || y0 >= y1) return;
  int gw = x1 - x0 + 1;
  // Inside tests at the pixel corners; only pixels whose corners disagree
  // are supersampled.
  std::vector<char> corner(static_cast<size_t>(gw) * (y1 - y0 + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) corner[static_cast<size_t>(y - y0) * gw + (x - x0)] = s(x, y) ? 1 : 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      size_t k = static_cast<size_t>(y - y0) * gw + (x - x0);
      int sum = corner[k] + corner[k + 1] + corner[k + gw] + corner[k + gw + 1];
      bool centre = s(x + 0.5, y + 0.5);
      double cover;
      if (sum == 4 && centre) {
        cover = 1;
      } else if (sum == 0 && !centre) {
        continue;
      } else {
        int n = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) n += s(x + (i + 0.5) / 4, y + (j + 0.5) / 4) ? 1 : 0;
        cover = n / 16.0;
      }
      Blend(x, y, p(x + 0.5, y + 0.5), cover * alpha);
    }
  }
}

void Canvas::FillAll(const Paint& p) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) At(x, y) = p(x + 0.5, y + 0.5);
}

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Rgb c, double alpha) {
  Fill(Ellipse(cx, cy, rx, ry), Solid(c), cx - rx, cy - ry, cx + rx, cy + ry, alpha);
}

void Canvas::FillPoly(const std::vector<Pt>& pts, Rgb c, double alpha) {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const Pt& p : pts) {
    x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
  }
  Fill(Polygon(pts), Solid(c), x0, y0, x1, y1, alpha);
}

void Canvas::FillBox(double x0, double y0, double x1, double y1, Rgb c, double alpha) {
  Fill(Box(x0, y0, x1, y1), Solid(c), x0, y0, x1, y1, alpha);
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha) {
  double r = width / 2;
  Fill(Capsule(x0, y0, x1, y1, r), Solid(c), std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r,
       std::max(y0, y1) + r, alpha);
}

void Canvas::Glow(double cx, double cy, double r, Rgb c, double strength) {
  int x0 = std::max(0, static_cast<int>(cx - r)), x1 = std::min(w, static_cast<int>(cx + r) + 1);
  int y0 = std::max(0, static_cast<int>(cy - r)), y1 = std::min(h, static_cast<int>(cy + r) + 1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
      if (d >= 1) continue;
      double k = (1 - d) * (1 - d) * strength;
      Rgb& p = At(x, y);
      p = {std::min(255.0, p.r + c.r * k), std::min(255.0, p.g + c.g * k), std::min(255.0, p.b + c.b * k)};
    }
}

namespace {

struct Glyph {
  double width;
  std::vector<std::vector<Pt>> strokes;
};

std::vector<Pt> Oval(double cx, double cy, double rx, double ry) {
  std::vector<Pt> pts;
  for (int i = 0; i <= 24; ++i) {
    double a = i * 2 * 3.14159265358979 / 24;
    pts.push_back({cx + rx * std::sin(a), cy - ry * std::cos(a)});
  }
  return pts;
}

const std::map<char, Glyph>& Glyphs() {
  static const std::map<char, Glyph> g = [] {
    std::map<char, Glyph> m;
    const std::vector<Pt> bowlC = {{4, 1}, {3, 0.1}, {2, 0}, {1, 0.3}, {0.2, 1.5}, {0, 3},
                                   {0.2, 4.5}, {1, 5.7}, {2, 6}, {3, 5.9}, {4, 5}};
    const std::vector<Pt> bowlP = {{0, 6}, {0, 0}, {2.8, 0}, {3.7, 0.5}, {4, 1.5}, {3.7, 2.5}, {2.8, 3}, {0, 3}};
    m['A'] = {4, {{{0, 6}, {2, 0}, {4, 6}}, {{0.7, 4}, {3.3, 4}}}};
    m['B'] = {4,
              {{{0, 0}, {0, 6}},
               {{0, 0}, {2.8, 0}, {3.6, 0.5}, {3.8, 1.5}, {3.6, 2.5}, {2.8, 3}, {0, 3}},
               {{2.8, 3}, {3.7, 3.5}, {4, 4.5}, {3.7, 5.5}, {2.8, 6}, {0, 6}}}};
    m['C'] = {4, {bowlC}};
    m['D'] = {4, {{{0, 0}, {0, 6}, {2, 6}, {3.3, 5.4}, {4, 3}, {3.3, 0.6}, {2, 0}, {0, 0}}}};
    m['E'] = {3.6, {{{3.6, 0}, {0, 0}, {0, 6}, {3.6, 6}}, {{0, 3}, {3, 3}}}};
    m['F'] = {3.6, {{{3.6, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}};
    std::vector<Pt> g1 = bowlC;
    g1.push_back({4, 3.5});
    g1.push_back({2.5, 3.5});
    m['G'] = {4, {g1}};
    m['H'] = {4, {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}};
    m['I'] = {2, {{{1, 0}, {1, 6}}, {{0, 0}, {2, 0}}, {{0, 6}, {2, 6}}}};
    m['J'] = {4, {{{4, 0}, {4, 4.5}, {3.5, 5.6}, {2, 6}, {0.5, 5.6}, {0, 4.5}}}};
    m['K'] = {4, {{{0, 0}, {0, 6}}, {{4, 0}, {0, 3.5}}, {{1.3, 2.7}, {4, 6}}}};
    m['L'] = {3.6, {{{0, 0}, {0, 6}, {3.6, 6}}}};
    m['M'] = {4.4, {{{0, 6}, {0, 0}, {2.2, 4}, {4.4, 0}, {4.4, 6}}}};
    m['N'] = {4, {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}};
    m['O'] = {4, {Oval(2, 3, 2, 3)}};
    m['P'] = {4, {bowlP}};
    m['Q'] = {4, {Oval(2, 3, 2, 3), {{2.5, 4.5}, {4, 6.2}}}};
    m['R'] = {4, {bowlP, {{2.2, 3}, {4, 6}}}};
    m['S'] = {4,
              {{{4, 1}, {3.2, 0.1}, {2, 0}, {0.8, 0.2}, {0.1, 1}, {0.2, 2.1}, {1, 2.7}, {3, 3.3}, {3.8, 3.9},
                {4, 4.9}, {3.3, 5.8}, {2, 6}, {0.8, 5.9}, {0, 5}}}};
    m['T'] = {4, {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}};
    m['U'] = {4, {{{0, 0}, {0, 4.5}, {0.5, 5.6}, {2, 6}, {3.5, 5.6}, {4, 4.5}, {4, 0}}}};
    m['V'] = {4, {{{0, 0}, {2, 6}, {4, 0}}}};
    m['W'] = {5, {{{0, 0}, {1.2, 6}, {2.5, 2}, {3.8, 6}, {5, 0}}}};
    m['X'] = {4, {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}}};
    m['Y'] = {4, {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}}};
    m['Z'] = {4, {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}}};
    m['0'] = {4, {Oval(2, 3, 2, 3)}};
    m['1'] = {3, {{{0.5, 1}, {1.5, 0}, {1.5, 6}}, {{0.5, 6}, {2.5, 6}}}};
    m['2'] = {4, {{{0, 1}, {1, 0.1}, {2, 0}, {3, 0.1}, {3.9, 1}, {3.9, 2}, {3, 3.2}, {0, 6}, {4, 6}}}};
    m['3'] = {4,
              {{{0, 0.6}, {1.2, 0}, {2.8, 0}, {3.8, 0.8}, {3.8, 2.2}, {2.8, 3}, {1.5, 3}},
               {{2.8, 3}, {3.9, 3.8}, {3.9, 5.2}, {2.8, 6}, {1.2, 6}, {0, 5.4}}}};
    m['4'] = {4, {{{3, 6}, {3, 0}, {0, 4.2}, {4, 4.2}}}};
    m['5'] = {4,
              {{{4, 0}, {0.3, 0}, {0, 2.8}, {1.5, 2.4}, {3, 2.6}, {3.9, 3.5}, {3.9, 5}, {3, 5.9}, {1.5, 6},
                {0, 5.4}}}};
    m['6'] = {4,
              {{{3.6, 0.3}, {2.5, 0}, {1.2, 0.4}, {0.3, 1.6}, {0, 3.2}, {0.1, 4.8}, {0.9, 5.8}, {2, 6},
                {3.2, 5.8}, {3.9, 4.8}, {3.9, 3.8}, {3.1, 2.9}, {2, 2.7}, {0.8, 3}, {0, 3.8}}}};
    m['7'] = {4, {{{0, 0}, {4, 0}, {1.5, 6}}}};
    m['8'] = {4,
              {{{2, 3}, {3.3, 2.5}, {3.7, 1.5}, {3.3, 0.4}, {2, 0}, {0.7, 0.4}, {0.3, 1.5}, {0.7, 2.5}, {2, 3},
                {3.5, 3.6}, {4, 4.6}, {3.5, 5.6}, {2, 6}, {0.5, 5.6}, {0, 4.6}, {0.5, 3.6}, {2, 3}}}};
    m['9'] = {4,
              {{{0.4, 5.7}, {1.5, 6}, {2.8, 5.6}, {3.7, 4.4}, {4, 2.8}, {3.9, 1.2}, {3.1, 0.2}, {2, 0},
                {0.8, 0.2}, {0.1, 1.2}, {0.1, 2.2}, {0.9, 3.1}, {2, 3.3}, {3.2, 3}, {4, 2.2}}}};
    m['-'] = {3, {{{0.4, 3}, {2.6, 3}}}};
    m['.'] = {1, {{{0.5, 5.9}, {0.5, 6}}}};
    m[','] = {1, {{{0.6, 5.6}, {0.2, 6.6}}}};
    m[':'] = {1, {{{0.5, 1.9}, {0.5, 2}}, {{0.5, 5.9}, {0.5, 6}}}};
    m['/'] = {3, {{{3, 0}, {0, 6}}}};
    m['!'] = {1, {{{0.5, 0}, {0.5, 4.2}}, {{0.5, 5.9}, {0.5, 6}}}};
    m['\''] = {1, {{{0.5, 0}, {0.5, 1.5}}}};
    m['?'] = {4,
              {{{0.3, 1.2}, {1, 0.2}, {2, 0}, {3, 0.2}, {3.7, 1.2}, {3.5, 2.2}, {2, 3.2}, {2, 4.2}},
               {{2, 5.9}, {2, 6}}}};
    m[' '] = {2.5, {}};
    return m;
  }();
  return g;
}

}  // namespace

double Canvas::TextWidth(double size, std::string_view s) {
  double u = size / 6, total = 0;
  for (char ch : s) {
    auto it = Glyphs().find(ch);
    if (it != Glyphs().end()) total += (it->second.width + 1.6) * u;
  }
  return total > 0 ? total - 1.6 * u : 0;
}

void Canvas::Text(double x, double y, double size, std::string_view s, Rgb c, double weight, double alpha) {
  double u = size / 6, r = weight * size / 2;
  struct Seg {
    double x0, y0, x1, y1;
  };
  std::vector<Seg> segs;
  double cx = x;
  for (char ch : s) {
    auto it = Glyphs().find(ch);
    if (it == Glyphs().end()) continue;
    for (const auto& stroke : it->second.strokes)
      for (size_t i = 0; i + 1 < stroke.size(); ++i)
        segs.push_back({cx + stroke[i].x * u, y + stroke[i].y * u, cx + stroke[i + 1].x * u, y + stroke[i + 1].y * u});
    cx += (it->second.width + 1.6) * u;
  }
  if (segs.empty()) return;
  Shape shape = [segs, r](double px, double py) {
    for (const Seg& sg : segs)
      if (SegmentDistance2(px, py, sg.x0, sg.y0, sg.x1, sg.y1) <= r * r) return true;
    return false;
  };
  Fill(shape, Solid(c), x - r, y - r, cx + r, y + size + u + r, alpha);
}

void Canvas::TextCentered(double cx, double y, double size, std::string_view s, Rgb c, double weight,
                          double alpha) {
  Text(cx - TextWidth(size, s) / 2, y, size, s, c, weight, alpha);
}

void Canvas::Paste(const Canvas& src, int dx, int dy) {
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x) {
      int tx = dx + x, ty = dy + y;
      if (tx >= 0 && ty >= 0 && tx < w && ty < h) At(tx, ty) = src.At(x, y);
    }
}

Canvas Canvas::Crop(int x, int y, int cw, int ch) const {
  Canvas out(cw, ch);
  for (int j = 0; j < ch; ++j)
    for (int i = 0; i < cw; ++i)
      if (x + i >= 0 && y + j >= 0 && x + i < w && y + j < h) out.At(i, j) = At(x + i, y + j);
  return out;
}

Canvas Canvas::Resized(int nw, int nh) const {
  Canvas out(nw, nh);
  double sx = static_cast<double>(w) / nw, sy = static_cast<double>(h) / nh;
  for (int y = 0; y < nh; ++y) {
    int ya = static_cast<int>(y * sy), yb = std::max(ya + 1, static_cast<int>((y + 1) * sy));
    for (int x = 0; x < nw; ++x) {
      int xa = static_cast<int>(x * sx), xb = std::max(xa + 1, static_cast<int>((x + 1) * sx));
      Rgb sum;
      int n = 0;
      for (int j = ya; j < yb && j < h; ++j)
        for (int i = xa; i < xb && i < w; ++i) {
          const Rgb& p = At(i, j);
          sum.r += p.r, sum.g += p.g, sum.b += p.b;
          ++n;
        }
      out.At(x, y) = n ? Scale(sum, 1.0 / n) : Rgb{};
    }
  }
  return out;
}

Image Canvas::ToImage() const {
  Image img;
  img.width = w;
  img.height = h;
  img.pixels.resize(px.size());
  for (size_t i = 0; i < px.size(); ++i) img.pixels[i] = Pack(px[i]);
  return img;
}

}  // namespace mirel::demo
