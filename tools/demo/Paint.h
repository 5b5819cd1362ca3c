#pragma once
// A small software painter for the demo pictures: anti-aliased shapes,
// gradients and a stroke font, all in plain arithmetic so that the same
// sources always give the same pixels.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/Image.h"

namespace mirel::demo {

struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb Hex(uint32_t rgb);
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double k);
uint32_t Pack(Rgb c);  // clamped and rounded to 0x00RRGGBB
Rgb Unpack(uint32_t p);

// Deterministic pseudo-random numbers (xorshift), independent of the
// standard library's distributions.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 2654435761u + 0x9E3779B97F4A7C15ull) {}
  uint64_t Next();
  double Unit();                       // [0, 1)
  double Range(double lo, double hi);  // [lo, hi)

 private:
  uint64_t s_;
};
// Smooth value noise in [0, 1].
double Noise1(double x, uint32_t seed);
double Noise2(double x, double y, uint32_t seed);

struct Pt {
  double x = 0, y = 0;
};

using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<Rgb(double x, double y)>;

Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Polygon(std::vector<Pt> pts);
Shape Box(double x0, double y0, double x1, double y1);
Shape RoundBox(double x0, double y0, double x1, double y1, double r);
Shape Capsule(double x0, double y0, double x1, double y1, double radius);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);

Paint Solid(Rgb c);
Paint VGrad(double y0, Rgb c0, double y1, Rgb c1);
Paint HGrad(double x0, Rgb c0, double x1, Rgb c1);

class Canvas {
 public:
  Canvas(int w, int h, Rgb fill = {});
  int w, h;
  std::vector<Rgb> px;

  Rgb& At(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
  const Rgb& At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  void Blend(int x, int y, Rgb c, double a);

  // Paints the shape over the bounding box (x0, y0)-(x1, y1); edge pixels
  // get partial coverage.
  void Fill(const Shape& s, const Paint& p, double x0, double y0, double x1, double y1, double alpha = 1);
  void FillAll(const Paint& p);
  void FillEllipse(double cx, double cy, double rx, double ry, Rgb c, double alpha = 1);
  void FillPoly(const std::vector<Pt>& pts, Rgb c, double alpha = 1);
  void FillBox(double x0, double y0, double x1, double y1, Rgb c, double alpha = 1);
  void Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha = 1);
  // A soft radial light added over the picture.
  void Glow(double cx, double cy, double r, Rgb c, double strength);
  // Stroke font for upper-case letters, digits and a few signs; x is the
  // left edge, y the top, size the letter height.
  void Text(double x, double y, double size, std::string_view s, Rgb c, double weight = 0.12, double alpha = 1);
  void TextCentered(double cx, double y, double size, std::string_view s, Rgb c, double weight = 0.12,
                    double alpha = 1);
  static double TextWidth(double size, std::string_view s);

  void Paste(const Canvas& src, int dx, int dy);
  Canvas Crop(int x, int y, int cw, int ch) const;
  // Box-filtered reduction to the given size.
  Canvas Resized(int nw, int nh) const;
  Image ToImage() const;
};

}  // namespace mirel::demo
