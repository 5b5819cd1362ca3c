#include "demo/Scenes.h"

#include <algorithm>
#include <cmath>

#include "demo/Characters.h"

namespace mirel::demo {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr int W = 640, H = 480;

void Sky(Canvas& c, Rgb top, Rgb bottom, double y0, double y1) {
  for (int y = 0; y < c.h; ++y) {
    Rgb col = Mix(top, bottom, std::clamp((y + 0.5 - y0) / (y1 - y0), 0.0, 1.0));
    for (int x = 0; x < c.w; ++x) c.At(x, y) = col;
  }
}

void Clouds(Canvas& c, uint32_t seed, int n, double yMin, double yMax, Rgb col, double alpha) {
  Rng r(seed);
  for (int i = 0; i < n; ++i) {
    double cx = r.Range(-40, c.w + 40), cy = r.Range(yMin, yMax), size = r.Range(18, 42);
    Shape cloud = Ellipse(cx, cy, size * 2.2, size * 0.55);
    int puffs = 3 + static_cast<int>(r.Unit() * 3);
    for (int k = 0; k < puffs; ++k) {
      double px = cx + r.Range(-1.4, 1.4) * size, py = cy - r.Range(0.1, 0.6) * size;
      cloud = Union(cloud, Ellipse(px, py, size * r.Range(0.6, 1.0), size * r.Range(0.5, 0.8)));
    }
    cloud = Intersect(cloud, [cy, size](double, double y) { return y < cy + size * 0.35; });
    c.Fill(cloud, VGrad(cy - size, col, cy + size * 0.4, Mix(col, Hex(0x8090A8), 0.25)), cx - size * 3.5,
           cy - size * 1.6, cx + size * 3.5, cy + size, alpha);
  }
}

void Stars(Canvas& c, uint32_t seed, int n, double yMax, double bright) {
  Rng r(seed);
  for (int i = 0; i < n; ++i) {
    double x = r.Range(0, c.w), y = r.Range(0, yMax);
    double k = r.Unit();
    double fade = 1 - 0.6 * (y / yMax);
    Rgb col = Mix(Hex(0xB0C0FF), Hex(0xFFF4D0), r.Unit());
    c.Blend(static_cast<int>(x), static_cast<int>(y), col, std::min(1.0, (0.4 + k) * bright * fade));
    if (k > 0.93) c.Glow(x, y, 5, col, 0.5 * bright);
  }
}

void Sea(Canvas& c, double horizon, double bottom, Rgb far, Rgb near, uint32_t seed, Rgb glint, double glints) {
  c.Fill(Box(0, horizon, c.w, bottom), VGrad(horizon, far, bottom, near), 0, horizon, c.w, bottom);
  Rng r(seed);
  int n = static_cast<int>(glints);
  for (int i = 0; i < n; ++i) {
    double y = horizon + std::pow(r.Unit(), 1.6) * (bottom - horizon);
    double depth = (y - horizon) / (bottom - horizon);
    double x = r.Range(0, c.w), len = 4 + depth * 26;
    c.Line(x, y, x + len, y, 0.8 + depth * 1.5, glint, 0.25 + 0.35 * r.Unit());
  }
}

// A ridge line of land from noise, filled down to `bottom`.
void Ridge(Canvas& c, double baseY, double amp, double freq, Rgb top, Rgb low, uint32_t seed, double bottom,
           double x0 = 0, double x1 = W) {
  std::vector<Pt> pts;
  for (double x = x0; x <= x1 + 0.1; x += 8)
    pts.push_back({x, baseY - amp * (Noise1(x * freq, seed) * 0.7 + Noise1(x * freq * 3.1, seed + 7) * 0.3)});
  pts.push_back({x1, bottom});
  pts.push_back({x0, bottom});
  c.Fill(Polygon(pts), VGrad(baseY - amp, top, bottom, low), x0, baseY - amp, x1, bottom);
}

void Beam(Canvas& c, double x, double y, double angle, double spread, double length, Rgb col, double strength) {
  for (int py = 0; py < c.h; ++py)
    for (int px = 0; px < c.w; ++px) {
      double dx = px + 0.5 - x, dy = py + 0.5 - y;
      double d = std::hypot(dx, dy);
      if (d < 1 || d > length) continue;
      double a = std::atan2(dy, dx) - angle;
      while (a > kPi) a -= 2 * kPi;
      while (a < -kPi) a += 2 * kPi;
      double off = std::fabs(a) / spread;
      if (off >= 1) continue;
      double k = (1 - off) * (1 - off) * (1 - d / length) * strength;
      Rgb& p = c.At(px, py);
      p = {std::min(255.0, p.r + col.r * k), std::min(255.0, p.g + col.g * k), std::min(255.0, p.b + col.b * k)};
    }
}

// A white tower with a red cap; `lamp` 0 dark to 1 fully lit.
void Lighthouse(Canvas& c, double x, double baseY, double height, double lamp, Rgb light = Hex(0xFFFFFF)) {
  double w0 = height * 0.22, w1 = height * 0.14;
  double topY = baseY - height;
  Rgb wall = Mix(Hex(0xF2F0EA), light, 0.1);
  std::vector<Pt> tower = {{x - w0 / 2, baseY}, {x + w0 / 2, baseY}, {x + w1 / 2, topY}, {x - w1 / 2, topY}};
  c.Fill(Polygon(tower), HGrad(x - w0 / 2, Scale(wall, 0.78), x + w0 / 2, wall), x - w0, topY, x + w0, baseY);
  // Gallery, lamp room and cap.
  c.FillBox(x - w1 * 0.75, topY - height * 0.03, x + w1 * 0.75, topY + height * 0.01, Hex(0x4A4A52));
  Rgb glass = Mix(Hex(0x2A3A5A), Hex(0xFFF2B0), lamp);
  c.FillBox(x - w1 * 0.42, topY - height * 0.13, x + w1 * 0.42, topY - height * 0.03, glass);
  c.Line(x, topY - height * 0.13, x, topY - height * 0.03, std::max(1.0, height * 0.006), Hex(0x4A4A52));
  c.Fill(Intersect(Ellipse(x, topY - height * 0.13, w1 * 0.55, height * 0.06),
                   [yy = topY - height * 0.13](double, double y) { return y <= yy; }),
         Solid(Hex(0xC03A32)), x - w1, topY - height * 0.2, x + w1, topY - height * 0.12);
  c.Line(x, topY - height * 0.19, x, topY - height * 0.22, std::max(1.0, height * 0.01), Hex(0x4A4A52));
  // Door.
  c.Fill(RoundBox(x - w0 * 0.14, baseY - height * 0.12, x + w0 * 0.14, baseY, w0 * 0.1), Solid(Hex(0x5A6A7A)),
         x - w0 * 0.2, baseY - height * 0.13, x + w0 * 0.2, baseY);
  if (lamp > 0) c.Glow(x, topY - height * 0.08, height * 0.25 * (0.4 + lamp), Hex(0xFFE8A0), 0.9 * lamp);
}

void Houses(Canvas& c, uint32_t seed, double baseY, double scale, double x0, double x1, double dusk = 0) {
  Rng r(seed);
  const uint32_t walls[] = {0xE8DCC8, 0xD8D0C0, 0xF0E8D8, 0xC8B8A0, 0xE0D8D0};
  const uint32_t roofs[] = {0x4A5A7A, 0x7A4A3A, 0x3A4A5A, 0x5A6A5A, 0x8A5A4A};
  for (double x = x0; x < x1;) {
    double w = r.Range(40, 70) * scale, h = r.Range(26, 44) * scale;
    double y = baseY - r.Range(0, 14) * scale;
    Rgb wall = Mix(Hex(walls[r.Next() % 5]), Hex(0x3A3050), dusk * 0.6);
    Rgb roof = Mix(Hex(roofs[r.Next() % 5]), Hex(0x201830), dusk * 0.5);
    c.FillBox(x, y - h, x + w, y, wall);
    c.FillPoly({{x - 5 * scale, y - h}, {x + w / 2, y - h - 18 * scale}, {x + w + 5 * scale, y - h}}, roof);
    double wx = x + w * 0.3;
    Rgb win = dusk > 0.5 ? Hex(0xFFD890) : Hex(0x6A8AA8);
    c.FillBox(wx, y - h * 0.7, wx + 9 * scale, y - h * 0.4, win);
    if (dusk > 0.5) c.Glow(wx + 4 * scale, y - h * 0.55, 14 * scale, Hex(0xFFC060), 0.35);
    x += w + r.Range(2, 10) * scale;
  }
}

void Rain(Canvas& c, uint32_t seed, int n, double alpha) {
  Rng r(seed);
  for (int i = 0; i < n; ++i) {
    double x = r.Range(-40, c.w), y = r.Range(-20, c.h), len = r.Range(10, 26);
    c.Line(x, y, x + len * 0.25, y + len, 1.0, Hex(0xD8E0F0), alpha * (0.5 + 0.5 * r.Unit()));
  }
}

void Lantern(Canvas& c, double x, double y, double r, Rgb col) {
  c.Glow(x, y, r * 4, col, 0.45);
  c.FillEllipse(x, y, r, r * 1.25, Mix(col, Hex(0xFFFFFF), 0.3));
  c.FillBox(x - r * 0.6, y - r * 1.35, x + r * 0.6, y - r * 1.1, Hex(0x3A2A2A));
  c.FillBox(x - r * 0.6, y + r * 1.1, x + r * 0.6, y + r * 1.35, Hex(0x3A2A2A));
}

void Firework(Canvas& c, double x, double y, double r, Rgb col, uint32_t seed) {
  Rng rng(seed);
  c.Glow(x, y, r * 1.2, col, 0.35);
  for (int i = 0; i < 28; ++i) {
    double a = i * 2 * kPi / 28 + rng.Range(-0.05, 0.05);
    double len = r * rng.Range(0.7, 1.0);
    for (int k = 0; k < 5; ++k) {
      double t = 0.35 + 0.65 * k / 4.0;
      c.FillEllipse(x + std::cos(a) * len * t, y + std::sin(a) * len * t, 1.6, 1.6, Mix(col, Hex(0xFFFFFF), 0.4),
                    0.5 + 0.5 * t);
    }
  }
}

void Moon(Canvas& c, double x, double y, double r) {
  c.Glow(x, y, r * 4, Hex(0x8090C0), 0.5);
  c.FillEllipse(x, y, r, r, Hex(0xFFF6D8));
  c.FillEllipse(x - r * 0.3, y - r * 0.2, r * 0.22, r * 0.18, Hex(0xEEE2C0));
  c.FillEllipse(x + r * 0.3, y + r * 0.3, r * 0.16, r * 0.14, Hex(0xEEE2C0));
}

void Sun(Canvas& c, double x, double y, double r, Rgb col) {
  c.Glow(x, y, r * 6, col, 0.8);
  c.FillEllipse(x, y, r, r, Mix(col, Hex(0xFFFFFF), 0.6));
}

// A window frame with whatever `view` paints inside.
void Window(Canvas& c, double x0, double y0, double x1, double y1, const Paint& view, Rgb frame) {
  c.Fill(Box(x0, y0, x1, y1), view, x0, y0, x1, y1);
  double t = 6;
  c.FillBox(x0 - t, y0 - t, x1 + t, y0, frame);
  c.FillBox(x0 - t, y1, x1 + t, y1 + t, frame);
  c.FillBox(x0 - t, y0, x0, y1, frame);
  c.FillBox(x1, y0, x1 + t, y1, frame);
  c.FillBox((x0 + x1) / 2 - t / 2, y0, (x0 + x1) / 2 + t / 2, y1, frame);
}

Paint DaySkyView(double y0, double y1) { return VGrad(y0, Hex(0x78B0E8), y1, Hex(0xD8ECF8)); }

void Tatami(Canvas& c, double top, Rgb base) {
  c.Fill(Box(0, top, W, H), VGrad(top, Scale(base, 0.85), H, base), 0, top, W, H);
  for (int i = -6; i <= 6; ++i) {
    double xb = W / 2 + i * 150, xt = W / 2 + i * 60;
    c.Line(xt, top, xb, H, 2, Scale(base, 0.7));
  }
  c.Line(0, top + (H - top) * 0.45, W, top + (H - top) * 0.45, 2, Scale(base, 0.7));
}

void Shelves(Canvas& c, double x0, double x1, double y0, double y1, uint32_t seed) {
  c.FillBox(x0, y0, x1, y1, Hex(0x6A4A30));
  Rng r(seed);
  const uint32_t books[] = {0x8A3A3A, 0x3A5A8A, 0x4A7A4A, 0xC8A050, 0x6A4A7A, 0xD0C8B8, 0x2A4A5A};
  double shelfH = (y1 - y0) / 5;
  for (int s = 0; s < 5; ++s) {
    double sy = y0 + s * shelfH;
    c.FillBox(x0, sy + shelfH - 6, x1, sy + shelfH, Hex(0x4A3220));
    for (double x = x0 + 6; x < x1 - 6;) {
      double bw = r.Range(7, 15), bh = shelfH - 10 - r.Range(0, 14);
      c.FillBox(x, sy + shelfH - 6 - bh, std::min(x + bw, x1 - 6), sy + shelfH - 6, Hex(books[r.Next() % 7]));
      x += bw + 1;
    }
  }
}

// The cape seen from the town side: land, the tower, the sea.
void CapeView(Canvas& c, double horizon, double lamp, uint32_t seed, Rgb land, double lhX, double lhH) {
  Ridge(c, horizon + 10, 50, 0.006, land, Scale(land, 0.7), seed, horizon + 80, lhX - 180, W + 20);
  Lighthouse(c, lhX, horizon - 22, lhH, lamp);
}

Canvas Station() {
  Canvas c(W, H);
  Sky(c, Hex(0x5A9AE0), Hex(0xD0E8F8), 0, 250);
  Clouds(c, 31, 5, 40, 150, Hex(0xFFFFFF), 0.9);
  Sea(c, 250, 300, Hex(0x4A80B8), Hex(0x6AA0C8), 32, Hex(0xFFFFFF), 60);
  Ridge(c, 300, 30, 0.01, Hex(0x6A9A5A), Hex(0x4A7A4A), 33, 340);
  // Platform and its roof.
  c.FillPoly({{0, 330}, {W, 330}, {W, H}, {0, H}}, Hex(0xA8A8A0));
  c.FillBox(0, 330, W, 338, Hex(0x808078));
  c.FillBox(0, 420, W, 430, Hex(0xE8C838));
  for (int i = 0; i < 4; ++i) c.FillBox(80 + i * 170, 60, 92 + i * 170, 330, Hex(0x6A6A70));
  c.FillPoly({{0, 40}, {W, 40}, {W, 70}, {0, 80}}, Hex(0x5A5A64));
  // Name board.
  c.FillBox(380, 170, 600, 230, Hex(0xF6F6F2));
  c.FillBox(380, 170, 600, 178, Hex(0x2A6AB8));
  c.TextCentered(490, 190, 28, "SHIOMI", Hex(0x2A3A4A), 0.14);
  c.FillBox(410, 230, 418, 330, Hex(0x6A6A70));
  c.FillBox(562, 230, 570, 330, Hex(0x6A6A70));
  // Bench.
  c.FillBox(120, 360, 300, 372, Hex(0x3A7AB8));
  c.FillBox(130, 372, 140, 400, Hex(0x4A4A50));
  c.FillBox(280, 372, 290, 400, Hex(0x4A4A50));
  return c;
}

Canvas HillRoad() {
  Canvas c(W, H);
  Sky(c, Hex(0x5898E0), Hex(0xD8ECFA), 0, 200);
  Clouds(c, 41, 6, 30, 120, Hex(0xFFFFFF), 0.85);
  Sea(c, 200, 330, Hex(0x3A78B8), Hex(0x70A8D0), 42, Hex(0xFFFFFF), 120);
  CapeView(c, 205, 0, 43, Hex(0x5A8A4A), 540, 80);
  Houses(c, 44, 350, 0.7, 0, 240);
  Houses(c, 45, 360, 0.75, 400, W);
  // The road running down towards the sea.
  c.FillPoly({{250, 330}, {390, 330}, {560, H}, {80, H}}, Hex(0x8A8A88));
  c.Line(320, 340, 320, H, 4, Hex(0xF0F0E8));
  Ridge(c, 420, 30, 0.02, Hex(0x5A9A4A), Hex(0x3A7A3A), 46, H, 0, 130);
  Ridge(c, 420, 30, 0.02, Hex(0x5A9A4A), Hex(0x3A7A3A), 47, H, 520, W);
  return c;
}

Canvas GrandmaRoom(bool dusk) {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0xE8DCC0), 300, Hex(0xD8C8A8)));
  // Shoji on the left, a window on the right.
  c.FillBox(40, 60, 280, 300, Hex(0xF4F0E4));
  for (int i = 0; i <= 4; ++i) c.FillBox(40 + i * 60 - 2, 60, 40 + i * 60 + 2, 300, Hex(0x8A6A4A));
  for (int j = 0; j <= 5; ++j) c.FillBox(40, 60 + j * 48 - 2, 280, 60 + j * 48 + 2, Hex(0x8A6A4A));
  Paint view = dusk ? VGrad(80, Hex(0x5A4A8A), 260, Hex(0xF0A070)) : DaySkyView(80, 260);
  Window(c, 360, 80, 600, 260, view, Hex(0x7A5A3A));
  c.FillBox(0, 296, W, 306, Hex(0x7A5A3A));
  Tatami(c, 306, Hex(0xC8C890));
  // Low table with a tea set.
  c.FillEllipse(330, 400, 150, 34, Hex(0x6A4028));
  c.FillBox(200, 400, 214, 450, Hex(0x5A3420));
  c.FillBox(446, 400, 460, 450, Hex(0x5A3420));
  c.FillEllipse(330, 396, 140, 28, Hex(0x7A4A30));
  c.FillEllipse(300, 385, 16, 10, Hex(0x5A7A6A));
  c.FillEllipse(350, 388, 10, 7, Hex(0xE8E0D0));
  // Hanging lamp.
  c.Line(330, 0, 330, 40, 2, Hex(0x4A3A2A));
  c.FillEllipse(330, 52, 40, 16, Hex(0xF0E0B8));
  if (dusk) {
    for (auto& p : c.px) p = Mix(p, Hex(0x403060), 0.35);
    c.Glow(330, 60, 160, Hex(0xFFC070), 0.4);
  }
  return c;
}

Canvas Beach() {
  Canvas c(W, H);
  Sky(c, Hex(0x4890E0), Hex(0xE0F0FA), 0, 220);
  Clouds(c, 61, 4, 40, 140, Hex(0xFFFFFF), 0.9);
  Sea(c, 220, 340, Hex(0x2A70B0), Hex(0x5AB0C8), 62, Hex(0xFFFFFF), 150);
  // Sand and the wet edge with foam.
  std::vector<Pt> shore = {{0, 330}};
  for (double x = 0; x <= W; x += 16) shore.push_back({x, 330 + 10 * std::sin(x * 0.02) + 6 * Noise1(x * 0.05, 63)});
  shore.push_back({W, H});
  shore.push_back({0, H});
  c.Fill(Polygon(shore), VGrad(330, Hex(0xC8B890), H, Hex(0xF0E0B8)), 0, 310, W, H);
  for (double x = 0; x < W; x += 3) {
    double y = 330 + 10 * std::sin(x * 0.02) + 6 * Noise1(x * 0.05, 63);
    c.FillEllipse(x, y, 3, 1.6, Hex(0xFFFFFF), 0.8);
  }
  // Rocks.
  c.FillEllipse(540, 360, 60, 28, Hex(0x6A6A70));
  c.FillEllipse(590, 350, 40, 22, Hex(0x7A7A80));
  c.FillEllipse(90, 420, 30, 12, Hex(0x8A8A88));
  return c;
}

Canvas LighthouseScene() {
  Canvas c(W, H);
  Sky(c, Hex(0x3C84D8), Hex(0xD8ECF8), 0, 320);
  Clouds(c, 71, 5, 30, 180, Hex(0xFFFFFF), 0.9);
  Sea(c, 320, 400, Hex(0x2A68A8), Hex(0x4A90C0), 72, Hex(0xFFFFFF), 80);
  Ridge(c, 390, 40, 0.004, Hex(0x6AA050), Hex(0x4A8040), 73, H);
  Lighthouse(c, 400, 410, 320, 0);
  // Fence posts and grass tufts.
  for (int i = 0; i < 8; ++i) c.FillBox(30 + i * 36, 400 + i * 2, 34 + i * 36, 430 + i * 2, Hex(0x8A7A60));
  c.Line(30, 410, 290, 424, 2, Hex(0x8A7A60));
  Rng r(74);
  for (int i = 0; i < 80; ++i) {
    double x = r.Range(0, W), y = r.Range(420, H);
    c.Line(x, y, x + r.Range(-4, 4), y - r.Range(6, 14), 1.5, Hex(0x4A8A3A));
  }
  return c;
}

Canvas ShoppingStreet() {
  Canvas c(W, H);
  Sky(c, Hex(0x70A8E0), Hex(0xE0F0F8), 0, 160);
  // Shops on both sides in perspective.
  const uint32_t awnings[] = {0xD04A4A, 0x3A8A5A, 0xE0A030, 0x3A6AB8, 0x9A5AA0};
  for (int side : {-1, 1}) {
    for (int i = 0; i < 5; ++i) {
      double near = 1 - i * 0.17;
      double xOuter = side < 0 ? 0 + i * 52 : W - i * 52;
      double xInner = side < 0 ? xOuter + 52 : xOuter - 52;
      double top = 80 + i * 28, bottom = 400 - i * 30;
      Rgb wall = Mix(Hex(0xE8E0D0), Hex(0xB8B0A8), i * 0.15);
      c.FillPoly({{xOuter, top - 20 * near}, {xInner, top}, {xInner, bottom}, {xOuter, bottom + 30 * near}}, wall);
      Rgb awn = Hex(awnings[(i + (side > 0 ? 2 : 0)) % 5]);
      c.FillPoly({{xOuter, top + 40 * near}, {xInner, top + 40}, {xInner, top + 60}, {xOuter, top + 80 * near}}, awn);
      c.FillPoly({{xOuter, top + 90 * near}, {xInner, top + 70}, {xInner, bottom - 10}, {xOuter, bottom + 20 * near}},
                 Mix(Hex(0x5A6A7A), wall, 0.3));
    }
  }
  c.FillPoly({{260, 250}, {380, 250}, {W, H}, {0, H}}, Hex(0xB0A898));
  // A string of lanterns for the festival.
  for (int i = 0; i < 9; ++i) {
    double x = 60 + i * 65, y = 90 + 18 * std::sin(i * 0.7);
    Lantern(c, x, y, 10, Hex(0xF08040));
  }
  c.Line(40, 80, 600, 80, 1.5, Hex(0x3A3A3A));
  // A festival poster.
  c.FillBox(150, 200, 210, 280, Hex(0xF8F0E0));
  c.FillEllipse(180, 230, 18, 18, Hex(0xF0A040));
  c.TextCentered(180, 258, 10, "3/28", Hex(0x8A3A3A), 0.16);
  return c;
}

Canvas Library() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0xE0D4C0), H, Hex(0xC8B8A0)));
  Shelves(c, 0, 200, 40, 400, 91);
  Shelves(c, 440, W, 40, 400, 92);
  Window(c, 250, 70, 390, 250, DaySkyView(70, 250), Hex(0x8A6A4A));
  c.FillBox(0, 400, W, H, Hex(0x8A6A4A));
  // Reading table with a lamp.
  c.FillPoly({{150, 380}, {490, 380}, {560, 460}, {80, 460}}, Hex(0x6A4A30));
  c.FillBox(300, 330, 306, 382, Hex(0x3A5A3A));
  c.FillEllipse(303, 330, 30, 12, Hex(0x3A7A4A));
  c.Glow(303, 360, 120, Hex(0xFFE0A0), 0.35);
  c.FillPoly({{360, 400}, {440, 396}, {448, 420}, {366, 424}}, Hex(0xF0ECE0));
  return c;
}

Canvas NightRoom() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0x2A2E4A), H, Hex(0x1A1C30)));
  Window(c, 200, 60, 440, 240, VGrad(60, Hex(0x0A1030), 240, Hex(0x2A3A6A)), Hex(0x3A3040));
  Rng r(101);
  for (int i = 0; i < 40; ++i) c.Blend(static_cast<int>(r.Range(202, 438)), static_cast<int>(r.Range(62, 238)), Hex(0xFFFFFF), r.Range(0.3, 0.9));
  Moon(c, 380, 110, 18);
  // Moonlight on the floor and a futon.
  c.FillPoly({{230, 300}, {420, 300}, {500, H}, {170, H}}, Hex(0x4A5A8A), 0.35);
  c.Fill(RoundBox(90, 330, 380, 460, 20), Solid(Hex(0x6A7AA8)), 90, 330, 380, 460);
  c.Fill(RoundBox(100, 340, 200, 380, 14), Solid(Hex(0xD8D8E8)), 100, 340, 200, 380);
  c.Fill(RoundBox(170, 350, 380, 460, 20), Solid(Hex(0x5A8AC0)), 170, 350, 380, 460);
  return c;
}

Canvas Breakwater(bool withMio) {
  Canvas c(W, H);
  Sky(c, Hex(0x3A3A7A), Hex(0xF8A050), 0, 270);
  Clouds(c, 111, 5, 60, 200, Hex(0xF8B890), 0.7);
  Sun(c, 470, 262, 22, Hex(0xFFB060));
  Sea(c, 270, H, Hex(0xC87050), Hex(0x4A4A7A), 112, Hex(0xFFD890), 200);
  // Sun's path on the water.
  for (int i = 0; i < 40; ++i) {
    double y = 275 + i * 5;
    double w = 10 + i * 1.6;
    c.Line(470 - w, y, 470 + w * 0.6, y, 2, Hex(0xFFD080), 0.5);
  }
  // The concrete wall running out to sea.
  c.FillPoly({{0, 360}, {420, 300}, {430, 310}, {0, 420}}, Hex(0x8A7A7A));
  c.FillPoly({{0, 420}, {430, 310}, {430, 322}, {0, 445}}, Hex(0x5A4A5A));
  Lighthouse(c, 600, 270, 60, 0, Hex(0xF8B080));
  if (withMio) DrawPerson(c, StoryPerson(1, 1), 2, 250, 250, 26);
  return c;
}

Canvas Harbor(bool dusk) {
  Canvas c(W, H);
  if (dusk)
    Sky(c, Hex(0x2A2A5A), Hex(0xE89070), 0, 250);
  else
    Sky(c, Hex(0x5A9AE0), Hex(0xE0F0F8), 0, 250);
  Houses(c, 121, 250, 0.8, 0, W, dusk ? 1 : 0);
  Sea(c, 250, H, dusk ? Hex(0x6A5A7A) : Hex(0x3A7AB0), dusk ? Hex(0x2A2A4A) : Hex(0x2A5A8A), 122,
      dusk ? Hex(0xFFC080) : Hex(0xFFFFFF), 140);
  // Pier and boats.
  c.FillPoly({{0, 380}, {360, 330}, {360, 345}, {0, 400}}, Hex(0x7A6A5A));
  for (int i = 0; i < 3; ++i) {
    double x = 420 + i * 70, y = 320 + i * 40;
    c.FillPoly({{x - 50, y}, {x + 50, y}, {x + 35, y + 22}, {x - 35, y + 22}}, i == 1 ? Hex(0xF0F0F0) : Hex(0x3A6AA8));
    c.FillBox(x - 12, y - 22, x + 14, y, Hex(0xE8E0D0));
    c.Line(x, y - 22, x, y - 70, 2, Hex(0x5A5A5A));
  }
  return c;
}

Canvas RainyStreet() {
  Canvas c(W, H);
  Sky(c, Hex(0x6A7080), Hex(0xA8B0B8), 0, 220);
  Houses(c, 131, 300, 1.2, -20, W, 0.2);
  c.FillBox(0, 300, W, H, Hex(0x6A7078));
  // Reflections on the wet road.
  for (int y = 300; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int my = 600 - y;  // mirrored row above the road line
      if (my < 0 || my >= H) continue;
      c.At(x, y) = Mix(c.At(x, y), c.At(x, my), 0.28);
    }
  c.FillBox(0, 300, W, 306, Hex(0x5A6068));
  // Blue and red umbrellas of passers-by.
  c.Fill(Intersect(Ellipse(150, 330, 40, 26), [](double, double y) { return y < 330; }), Solid(Hex(0x3A6AB0)), 100, 300, 200, 332);
  c.Line(150, 330, 150, 370, 2, Hex(0x3A3A3A));
  c.Fill(Intersect(Ellipse(500, 345, 34, 22), [](double, double y) { return y < 345; }), Solid(Hex(0xC04848)), 460, 320, 540, 346);
  c.Line(500, 345, 500, 380, 2, Hex(0x3A3A3A));
  for (auto& p : c.px) p = Mix(p, Hex(0x8A92A0), 0.15);
  Rain(c, 132, 500, 0.5);
  return c;
}

Canvas NightSky(int h, bool town) {
  Canvas c(W, h);
  Sky(c, Hex(0x060A20), Hex(0x2A3A6A), 0, h * 0.8);
  // The band of the galaxy.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < W; ++x) {
      double d = std::fabs((y - h * 0.1) - (x * 0.5)) / 90.0;
      double n = Noise2(x * 0.02, y * 0.02, 141);
      if (d < 1) {
        Rgb& p = c.At(x, y);
        p = Mix(p, Hex(0x7A80B8), (1 - d) * (1 - d) * 0.35 * (0.5 + n));
      }
    }
  Stars(c, 142, 500 * h / 480, h * 0.85, 1.0);
  Moon(c, 110, h * 0.18, 22);
  if (town) {
    Ridge(c, h - 60, 50, 0.006, Hex(0x141830), Hex(0x0A0C18), 143, h);
  }
  return c;
}

Canvas Panorama() {
  // Top: the night sky; bottom: the town, the sea and the cape at dawn.
  const int h = 930;
  Canvas c(W, h);
  for (int y = 0; y < h; ++y) {
    double t = static_cast<double>(y) / h;
    Rgb col = t < 0.55 ? Mix(Hex(0x060A24), Hex(0x3A4A8A), t / 0.55) : Mix(Hex(0x3A4A8A), Hex(0xF8C0A0), (t - 0.55) / 0.2);
    for (int x = 0; x < W; ++x) c.At(x, y) = col;
  }
  Stars(c, 511, 700, 560, 1.0);
  Moon(c, 480, 120, 26);
  Clouds(c, 512, 5, 600, 700, Hex(0xF0B0A0), 0.6);
  Sea(c, 760, h, Hex(0xC8A0A8), Hex(0x3A4A7A), 513, Hex(0xFFE0C0), 260);
  CapeView(c, 765, 0.6, 514, Hex(0x3A4A5A), 520, 130);
  Houses(c, 515, 870, 1.0, -10, 330, 0.8);
  c.FillBox(0, 868, 340, h, Hex(0x2A2A3A));
  return c;
}

Canvas MioAtDoor() {
  Canvas c(W, H);
  Sky(c, Hex(0x4A8AE0), Hex(0xD8ECF8), 0, 300);
  // The foot of the tower filling the picture.
  c.Fill(Box(180, 0, 520, H), HGrad(180, Hex(0xC8C6C0), 520, Hex(0xF4F2EC)), 180, 0, 520, H);
  c.Fill(RoundBox(280, 120, 420, H, 60), Solid(Hex(0x3A4A5A)), 280, 120, 420, H);
  c.FillPoly({{400, 130}, {470, 150}, {470, H}, {410, H}}, Hex(0x6A7A8A));
  c.FillBox(0, 440, W, H, Hex(0x8A8A80));
  Ridge(c, 440, 20, 0.01, Hex(0x6AA050), Hex(0x4A8040), 521, H, 0, 180);
  Ridge(c, 440, 20, 0.01, Hex(0x6AA050), Hex(0x4A8040), 522, H, 520, W);
  DrawPerson(c, StoryPerson(1, 1), 3, 350, 230, 34);
  c.Glow(350, 200, 200, Hex(0xFFF0D0), 0.2);
  return c;
}

Canvas SeaGlass() {
  Canvas c = Beach();
  DrawPerson(c, StoryPerson(1, 1), 2, 320, 230, 40);
  // The glass in her hands, catching the light.
  c.FillEllipse(320, 420, 14, 10, Hex(0x7AD0C0));
  c.Glow(320, 418, 60, Hex(0xA0FFF0), 0.8);
  return c;
}

Canvas Logbook() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0x5A4030), H, Hex(0x3A2818)));
  c.Glow(420, 60, 420, Hex(0xFFD8A0), 0.5);
  // An open book with faded lines and a small sketch of the tower.
  c.FillPoly({{90, 120}, {320, 100}, {320, 420}, {80, 440}}, Hex(0xF0E4C8));
  c.FillPoly({{320, 100}, {550, 120}, {560, 440}, {320, 420}}, Hex(0xF4E8D0));
  c.Line(320, 100, 320, 420, 3, Hex(0xB8A888));
  for (int i = 0; i < 12; ++i) {
    c.Line(110, 150 + i * 22, 300, 138 + i * 22, 1.4, Hex(0x7A6A5A), 0.7);
    if (i < 5 || i > 9) c.Line(340, 138 + i * 22, 530, 150 + i * 22, 1.4, Hex(0x7A6A5A), 0.7);
  }
  Canvas sketch(80, 120, Hex(0xF4E8D0));
  Lighthouse(sketch, 40, 115, 100, 0);
  for (int y = 0; y < sketch.h; ++y)
    for (int x = 0; x < sketch.w; ++x) {
      Rgb p = sketch.At(x, y);
      double grey = (p.r + p.g + p.b) / 3;
      c.Blend(400 + x, 250 + y, Mix(Hex(0x6A5A4A), Hex(0xF4E8D0), grey / 255), 1);
    }
  c.Text(400, 376, 14, "MIREL", Hex(0x6A5A4A), 0.1);
  return c;
}

Canvas OldPhoto() {
  Canvas c = NightSky(H, true);
  Sea(c, 330, H, Hex(0x1A2A4A), Hex(0x0A1428), 551, Hex(0xFFE8B0), 160);
  Ridge(c, 380, 80, 0.005, Hex(0x1A2030), Hex(0x0A0C14), 552, H, 200, W);
  Lighthouse(c, 470, 330, 220, 1);
  Beam(c, 470, 130, -0.25, 0.09, 640, Hex(0xFFF0C0), 0.8);
  Beam(c, 470, 130, kPi + 0.2, 0.07, 520, Hex(0xFFF0C0), 0.6);
  // Two small figures at the foot: the keeper and a child.
  DrawPerson(c, StoryPerson(3, 1), 2, 360, 360, 12);
  DrawPerson(c, StoryPerson(1, 1), 2, 385, 385, 8);
  return c;
}

Canvas LampRoom(bool night, bool withMio) {
  Canvas c(W, H);
  if (night) {
    c.FillAll(VGrad(0, Hex(0x0A1030), H, Hex(0x1A2040)));
    Stars(c, 561, 200, 300, 0.8);
  } else {
    c.FillAll(VGrad(0, Hex(0x6AA8E8), H, Hex(0xC8E0F0)));
  }
  // Window bars of the lamp room.
  for (int i = 0; i < 6; ++i) c.FillBox(i * 128 - 4, 0, i * 128 + 4, H, Hex(0x3A3A44));
  c.FillBox(0, 380, W, H, Hex(0x4A4A52));
  // The great lens: stacked rings.
  double cx = 320, cy = 220;
  for (int k = 10; k >= 0; --k) {
    double rx = 40 + k * 12, ry = 60 + k * 13;
    Rgb ring = Mix(Hex(0xC8E8F0), Hex(0x7AA8C0), (k % 2) * 0.5);
    if (night) ring = Mix(ring, Hex(0x2A3A5A), 0.5);
    c.FillEllipse(cx, cy, rx, ry, ring, 0.9);
  }
  c.Glow(cx, cy, 170, night ? Hex(0xFFE0A0) : Hex(0xFFFFFF), night ? 0.7 : 0.35);
  c.FillBox(250, 370, 390, 400, Hex(0x6A6A70));
  if (withMio) DrawPerson(c, StoryPerson(1, 1), night ? 1 : 2, 140, 250, 38);
  return c;
}

Canvas LensSparkle() {
  Canvas c(W, H, Hex(0x1A2A40));
  double cx = 320, cy = 240;
  for (int k = 18; k >= 0; --k) {
    double r = 20 + k * 16;
    double hue = k / 18.0;
    Rgb ring = Mix(Mix(Hex(0xA0D8FF), Hex(0xFFD0F0), hue), Hex(0xFFFFC0), std::fabs(std::sin(k * 0.9)) * 0.5);
    c.FillEllipse(cx, cy, r, r * 0.95, Scale(ring, 0.55 + 0.45 * ((k + 1) % 2)));
  }
  Rng r(571);
  for (int i = 0; i < 30; ++i) c.Glow(r.Range(60, 580), r.Range(40, 440), r.Range(10, 30), Hex(0xFFFFFF), 0.6);
  c.Glow(cx, cy, 120, Hex(0xFFFFFF), 0.7);
  return c;
}

Canvas UmbrellaRain() {
  Canvas c = RainyStreet();
  for (auto& p : c.px) p = Mix(p, Hex(0x5A6070), 0.2);
  c.Fill(Intersect(Ellipse(320, 200, 190, 110), [](double, double y) { return y < 200; }), Solid(Hex(0x3A78C0)), 130, 90, 510, 202);
  for (int i = -3; i <= 3; ++i) c.Line(320, 92, 320 + i * 62, 200, 2, Hex(0x2A5A98));
  c.Line(320, 90, 320, 420, 4, Hex(0x5A4A3A));
  DrawPerson(c, StoryPerson(1, 3), 1, 400, 260, 36);
  Rain(c, 591, 300, 0.45);
  return c;
}

Canvas Memory() {
  Canvas c = LighthouseScene();
  DrawPerson(c, StoryPerson(3, 1), 2, 250, 300, 30);
  DrawPerson(c, StoryPerson(1, 1), 2, 330, 370, 20);
  return c;
}

Canvas HarborLanterns() {
  Canvas c = Harbor(true);
  for (int i = 0; i < 7; ++i) Lantern(c, 60 + i * 85, 120 + 20 * std::sin(i * 1.3), 11, Hex(0xF09040));
  c.Line(30, 110, 610, 110, 1.5, Hex(0x2A2A2A));
  DrawPerson(c, StoryPerson(3, 1), 2, 200, 300, 30);
  DrawPerson(c, StoryPerson(2, 1), 2, 330, 310, 30);
  Lantern(c, 380, 420, 16, Hex(0xF8A050));
  return c;
}

Canvas LampFlicker() {
  Canvas c = NightSky(H, false);
  Sea(c, 330, H, Hex(0x1A2A4A), Hex(0x0A1428), 631, Hex(0x8090C0), 120);
  Ridge(c, 380, 70, 0.005, Hex(0x1A2030), Hex(0x0A0C14), 632, H, 150, W);
  Lighthouse(c, 420, 350, 240, 0.25);
  return c;
}

Canvas LightShining() {
  Canvas c = NightSky(H, false);
  Sea(c, 330, H, Hex(0x1A2A4A), Hex(0x0A1428), 641, Hex(0xFFF0C0), 220);
  Ridge(c, 380, 70, 0.005, Hex(0x1A2030), Hex(0x0A0C14), 642, H, 150, W);
  Lighthouse(c, 420, 350, 240, 1);
  Beam(c, 420, 160, kPi - 0.15, 0.1, 640, Hex(0xFFF4C8), 0.9);
  Beam(c, 420, 160, -0.1, 0.06, 400, Hex(0xFFF4C8), 0.5);
  Houses(c, 643, 470, 0.8, 0, 200, 1);
  return c;
}

Canvas Festival() {
  Canvas c = NightSky(H, false);
  Firework(c, 180, 120, 90, Hex(0xFF7080), 651);
  Firework(c, 440, 90, 110, Hex(0x80C0FF), 652);
  Firework(c, 560, 200, 60, Hex(0xFFE080), 653);
  c.FillBox(0, 330, W, H, Hex(0x2A2030));
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 10; ++i) Lantern(c, 20 + i * 68 + row * 30, 300 + row * 30, 9, Hex(0xF07040));
  DrawPerson(c, StoryPerson(4, 1), 2, 90, 390, 26);
  DrawPerson(c, StoryPerson(3, 2), 2, 220, 380, 28);
  DrawPerson(c, StoryPerson(2, 3), 2, 380, 390, 30);
  DrawPerson(c, StoryPerson(5, 1), 2, 530, 395, 26);
  return c;
}

Canvas RainyShop() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0xD8C8A8), H, Hex(0xB8A888)));
  Canvas outside = RainyStreet();
  for (int y = 60; y < 280; ++y)
    for (int x = 60; x < 300; ++x) c.At(x, y) = outside.At(x + 200, y + 60);
  Window(c, 60, 60, 300, 280, [&](double x, double y) { return c.At(static_cast<int>(x), static_cast<int>(y)); },
         Hex(0x6A4A30));
  Shelves(c, 380, W, 40, 320, 661);
  c.FillBox(0, 330, W, H, Hex(0x8A6A4A));
  c.FillBox(0, 330, W, 344, Hex(0x6A4A30));
  DrawPerson(c, StoryPerson(2, 2), 2, 330, 250, 40);
  c.Glow(330, 40, 260, Hex(0xFFE0B0), 0.3);
  return c;
}

Canvas TrainWindow() {
  Canvas c(W, H);
  c.FillAll(Solid(Hex(0x8A9A8A)));
  Canvas view(W, H);
  Sky(view, Hex(0x5A6AAA), Hex(0xF0B888), 0, 260);
  Sun(view, 420, 250, 18, Hex(0xFFA060));
  Sea(view, 260, H, Hex(0xC88870), Hex(0x4A5A8A), 671, Hex(0xFFD0A0), 160);
  CapeView(view, 262, 0, 672, Hex(0x4A4A5A), 560, 60);
  for (int y = 70; y < 330; ++y)
    for (int x = 70; x < 570; ++x) c.At(x, y) = view.At(x, y);
  c.Fill(Minus(Box(50, 50, 590, 350), RoundBox(70, 70, 570, 330, 26)), Solid(Hex(0xC8C8C0)), 50, 50, 590, 350);
  c.FillBox(0, 350, W, 372, Hex(0xB8B8B0));
  c.FillBox(0, 372, W, H, Hex(0x3A5A8A));
  for (int i = 0; i < 6; ++i) c.Line(i * 120 + 20, 372, i * 120 + 40, H, 3, Hex(0x2A4A7A));
  return c;
}

}  // namespace

Canvas ScenePicture(int n) {
  switch (n) {
    case 3: return Station();
    case 4: return HillRoad();
    case 5: return GrandmaRoom(false);
    case 6: return Beach();
    case 7: return LighthouseScene();
    case 8: return ShoppingStreet();
    case 9: return Library();
    case 10: return NightRoom();
    case 11: return Breakwater(false);
    case 12: return Harbor(false);
    case 13: return RainyStreet();
    case 14: return NightSky(H, true);
    case 51: return Panorama();
    case 52: return MioAtDoor();
    case 53: return SeaGlass();
    case 54: return Logbook();
    case 55: return OldPhoto();
    case 56: return LampRoom(false, true);
    case 57: return LensSparkle();
    case 58: return Breakwater(true);
    case 59: return UmbrellaRain();
    case 60: return Memory();
    case 61: return HarborLanterns();
    case 62: return LampRoom(true, true);
    case 63: return LampFlicker();
    case 64: return LightShining();
    case 65: return Festival();
    case 66: return RainyShop();
    case 67: return TrainWindow();
    default: return GrandmaRoom(true);
  }
}

Canvas TitlePicture() {
  Canvas c(W, H);
  Sky(c, Hex(0x0C1638), Hex(0xE8A890), 0, 330);
  Stars(c, 911, 260, 220, 0.9);
  Sea(c, 330, H, Hex(0xB08890), Hex(0x1A2446), 912, Hex(0xFFE0C0), 240);
  Ridge(c, 350, 90, 0.004, Hex(0x222A48), Hex(0x10142A), 913, H, 330, W);
  Lighthouse(c, 520, 300, 200, 1);
  Beam(c, 520, 140, kPi + 0.35, 0.08, 700, Hex(0xFFF0C8), 0.6);
  // The name, with a soft halo.
  // The name above the menu buttons, with a soft halo.
  const double tx = 187, ty = 36;
  c.Glow(tx, ty + 40, 200, Hex(0x6070C0), 0.35);
  c.TextCentered(tx + 2, ty + 3, 80, "MIREL", Hex(0x1A2040), 0.13, 0.6);
  c.TextCentered(tx, ty, 80, "MIREL", Hex(0xF8F4E8), 0.13);
  c.TextCentered(tx, ty + 100, 14, "A LIGHT BY THE SEA", Hex(0xD8DCF0), 0.12);
  return c;
}

Canvas GalleryPicture() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0x1A2450), H, Hex(0x3A5A8A)));
  Rng r(921);
  for (int i = 0; i < 40; ++i) c.Glow(r.Range(0, W), r.Range(0, H), r.Range(20, 60), Hex(0x6A80C0), 0.15);
  c.TextCentered(320, 40, 40, "GALLERY", Hex(0xF0F0F8), 0.12);
  c.Line(120, 100, 520, 100, 2, Hex(0xA0B0E0));
  return c;
}

Canvas StartupPicture() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0xFFFFFF), H, Hex(0xDCE8F6)));
  Lighthouse(c, 320, 250, 120, 0.5);
  // Above the "Loading now" strip (224, 292, 200x30), which covers the picture while it loads.
  c.TextCentered(320, 258, 24, "MIREL", Hex(0x3A4A7A), 0.12);
  return c;
}

Canvas OpeningPicture() {
  Canvas c(W, H);
  c.FillAll(VGrad(0, Hex(0x0A1030), H, Hex(0x1A2A5A)));
  c.Glow(320, 200, 120, Hex(0xFFE8B0), 0.6);
  c.FillEllipse(320, 200, 6, 6, Hex(0xFFF8E8));
  c.TextCentered(320, 300, 20, "A STORY OF THE CAPE LIGHT", Hex(0xD8DCF0), 0.12);
  return c;
}

Canvas FinalPicture(int k) {
  Canvas c(W, H);
  if (k == 1) {
    Sky(c, Hex(0x3A5A9A), Hex(0xF8D0B0), 0, 300);
    Sun(c, 200, 300, 20, Hex(0xFFC080));
    Sea(c, 300, H, Hex(0xE8B0A0), Hex(0x3A5A8A), 931, Hex(0xFFE8C8), 220);
    CapeView(c, 305, 0.8, 932, Hex(0x3A4A6A), 500, 110);
  } else {
    Sky(c, Hex(0x7AB8F0), Hex(0xF6FAFF), 0, 320);
    Clouds(c, 941, 5, 60, 200, Hex(0xFFFFFF), 0.9);
    Sea(c, 320, H, Hex(0x6AA8D8), Hex(0xC8E4F4), 942, Hex(0xFFFFFF), 200);
    CapeView(c, 325, 0, 943, Hex(0x7AB06A), 120, 110);
    c.TextCentered(320, 130, 60, "MIREL", Hex(0x2A4A8A), 0.12);
  }
  return c;
}

}  // namespace mirel::demo
