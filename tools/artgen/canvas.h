// A tiny anti-aliased rasteriser for the suite's artwork: shapes are coverage functions over pixel centres
// (signed distances for circles, rings, rounded boxes, strokes and arcs; supersampling for polygons), paints
// are solid colours or gradients, and masks carry blurred shadows.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace artgen {

struct Rgb {
  float r = 0, g = 0, b = 0;  // 0..255
};

Rgb Lerp(Rgb a, Rgb b, float t);
Rgb Scale(Rgb a, float k);
Rgb Grey(float v);

struct Stop {
  float t;
  Rgb colour;
};
using Gradient = std::vector<Stop>;
Rgb Sample(const Gradient& g, float t);

struct Box {
  float x0, y0, x1, y1;
};
Box Join(Box a, Box b);
Box Meet(Box a, Box b);

// Coverage 0..1 of the pixel whose centre is (x, y); `box` bounds where it can be non-zero.
struct Shape {
  std::function<float(float, float)> at;
  Box box;
};

using Paint = std::function<Rgb(float, float)>;

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill);
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb Get(int x, int y) const { return px_[static_cast<std::size_t>(y) * width_ + x]; }
  void Set(int x, int y, Rgb c) { px_[static_cast<std::size_t>(y) * width_ + x] = c; }
  void Blend(int x, int y, Rgb c, float alpha);
  void Fill(const Shape& shape, const Paint& paint, float opacity = 1.0f);
  void Fill(const Shape& shape, Rgb colour, float opacity = 1.0f);
  // Copies `src` with its top left corner at (x, y).
  void Draw(const Canvas& src, int x, int y);

 private:
  int width_, height_;
  std::vector<Rgb> px_;
};

// Signed-distance shapes.
Shape Circle(float cx, float cy, float r);
Shape Ellipse(float cx, float cy, float rx, float ry);
Shape Ring(float cx, float cy, float r0, float r1);
Shape RoundRect(float x0, float y0, float x1, float y1, float radius);
Shape Rect(float x0, float y0, float x1, float y1);
Shape Stroke(float x0, float y0, float x1, float y1, float width);  // round caps
// A circular arc stroke; angles in the dial convention: 0 points down, growing clockwise on the screen.
Shape Arc(float cx, float cy, float r, float width, float a0, float a1);
struct Pt {
  float x, y;
};
Shape Polygon(std::vector<Pt> pts);  // non-zero winding, 4 x 4 samples a pixel
Shape Polyline(const std::vector<Pt>& pts, float width);

Shape Union(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Translate(Shape s, float dx, float dy);
Shape Fade(Shape s, std::function<float(float, float)> alpha);  // coverage times alpha

// The point at angle a and radius r around (cx, cy), in the dial convention.
Pt Polar(float cx, float cy, float r, float a);

Paint Solid(Rgb c);
Paint Linear(float x0, float y0, float x1, float y1, Gradient g);
Paint Radial(float cx, float cy, float r, Gradient g);

// A coverage image the size of a canvas, for blurs.
class Mask {
 public:
  Mask(int width, int height);
  static Mask Of(const Shape& s, int width, int height);
  float Get(int x, int y) const;
  void Set(int x, int y, float v) { v_[static_cast<std::size_t>(y) * width_ + x] = v; }
  void Blur(float radius);  // three box passes, close to a Gaussian
  Shape AsShape() const;    // shares a copy of the mask
 private:
  int width_, height_;
  std::vector<float> v_;
};

void DropShadow(Canvas& c, const Shape& s, float dx, float dy, float blur, Rgb colour, float alpha);
void InnerShadow(Canvas& c, const Shape& s, float dx, float dy, float blur, Rgb colour, float alpha);
// A light line along the lower right outside edge of a sunken shape (or inside, for a raised one).
void EdgeLight(Canvas& c, const Shape& s, float dx, float dy, Rgb colour, float alpha);

// Deterministic noise, so that every run draws the same bytes.
class Random {
 public:
  explicit Random(uint32_t seed) : s_(seed ? seed : 1) {}
  uint32_t Next();
  float Unit();  // -1..1
 private:
  uint32_t s_;
};

// Brushed aluminium around `base`: long horizontal streaks of about +-amplitude levels.
void BrushedMetal(Canvas& c, uint32_t seed, float base, float amplitude);

}  // namespace artgen
