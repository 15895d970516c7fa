#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace artgen {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kBig = 1e6f;

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
float Cover(float distance) { return Clamp01(0.5f - distance); }

Box Around(float cx, float cy, float r) { return {cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1}; }

float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
  float vx = x1 - x0, vy = y1 - y0;
  float len2 = vx * vx + vy * vy;
  float t = len2 > 0 ? Clamp01(((px - x0) * vx + (py - y0) * vy) / len2) : 0;
  float dx = px - (x0 + t * vx), dy = py - (y0 + t * vy);
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

Rgb Lerp(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb Grey(float v) { return {v, v, v}; }

Rgb Sample(const Gradient& g, float t) {
  if (g.empty()) return {};
  if (t <= g.front().t) return g.front().colour;
  for (std::size_t i = 1; i < g.size(); ++i) {
    if (t <= g[i].t) {
      float span = g[i].t - g[i - 1].t;
      return Lerp(g[i - 1].colour, g[i].colour, span > 0 ? (t - g[i - 1].t) / span : 1);
    }
  }
  return g.back().colour;
}

Box Join(Box a, Box b) {
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}
Box Meet(Box a, Box b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), px_(static_cast<std::size_t>(width) * height, fill) {}

void Canvas::Blend(int x, int y, Rgb c, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  Rgb& p = px_[static_cast<std::size_t>(y) * width_ + x];
  p = Lerp(p, c, alpha > 1 ? 1 : alpha);
}

void Canvas::Fill(const Shape& shape, const Paint& paint, float opacity) {
  int x0 = std::max(0, static_cast<int>(std::floor(shape.box.x0)));
  int y0 = std::max(0, static_cast<int>(std::floor(shape.box.y0)));
  int x1 = std::min(width_, static_cast<int>(std::ceil(shape.box.x1)) + 1);
  int y1 = std::min(height_, static_cast<int>(std::ceil(shape.box.y1)) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      float a = shape.at(fx, fy) * opacity;
      if (a > 0) Blend(x, y, paint(fx, fy), a);
    }
  }
}

void Canvas::Fill(const Shape& shape, Rgb colour, float opacity) { Fill(shape, Solid(colour), opacity); }

void Canvas::Draw(const Canvas& src, int x, int y) {
  for (int j = 0; j < src.height(); ++j) {
    for (int i = 0; i < src.width(); ++i) {
      if (x + i >= 0 && y + j >= 0 && x + i < width_ && y + j < height_) Set(x + i, y + j, src.Get(i, j));
    }
  }
}

Shape Circle(float cx, float cy, float r) {
  return {[=](float x, float y) { return Cover(std::hypot(x - cx, y - cy) - r); }, Around(cx, cy, r)};
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
  return {[=](float x, float y) {
            float k = std::hypot((x - cx) / rx, (y - cy) / ry);
            return Cover((k - 1) * std::min(rx, ry));
          },
          {cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1}};
}

Shape Ring(float cx, float cy, float r0, float r1) {
  return {[=](float x, float y) {
            float d = std::hypot(x - cx, y - cy);
            return Cover(std::max(r0 - d, d - r1));
          },
          Around(cx, cy, r1)};
}

Shape RoundRect(float x0, float y0, float x1, float y1, float radius) {
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  return {[=](float x, float y) {
            float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
            float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            float inside = std::min(std::max(qx, qy), 0.0f);
            return Cover(outside + inside - radius);
          },
          {x0 - 1, y0 - 1, x1 + 1, y1 + 1}};
}

Shape Rect(float x0, float y0, float x1, float y1) { return RoundRect(x0, y0, x1, y1, 0); }

Shape Stroke(float x0, float y0, float x1, float y1, float width) {
  float h = width / 2;
  return {[=](float x, float y) { return Cover(SegmentDistance(x, y, x0, y0, x1, y1) - h); },
          {std::min(x0, x1) - h - 1, std::min(y0, y1) - h - 1, std::max(x0, x1) + h + 1,
           std::max(y0, y1) + h + 1}};
}

Pt Polar(float cx, float cy, float r, float a) { return {cx - r * std::sin(a), cy + r * std::cos(a)}; }

Shape Arc(float cx, float cy, float r, float width, float a0, float a1) {
  float h = width / 2;
  Pt p0 = Polar(cx, cy, r, a0), p1 = Polar(cx, cy, r, a1);
  return {[=](float x, float y) {
            // Angle of the point in the dial convention, 0..2pi.
            float a = std::atan2(-(x - cx), y - cy);
            if (a < 0) a += 2 * kPi;
            float d;
            if (a >= a0 && a <= a1) {
              d = std::fabs(std::hypot(x - cx, y - cy) - r);
            } else {
              d = std::min(std::hypot(x - p0.x, y - p0.y), std::hypot(x - p1.x, y - p1.y));
            }
            return Cover(d - h);
          },
          Around(cx, cy, r + h)};
}

Shape Polygon(std::vector<Pt> pts) {
  Box box{kBig, kBig, -kBig, -kBig};
  for (const Pt& p : pts) box = Join(box, {p.x - 1, p.y - 1, p.x + 1, p.y + 1});
  auto shared = std::make_shared<std::vector<Pt>>(std::move(pts));
  return {[shared](float x, float y) {
            const std::vector<Pt>& v = *shared;
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy) {
              for (int sx = 0; sx < 4; ++sx) {
                float px = x - 0.5f + (sx + 0.5f) / 4, py = y - 0.5f + (sy + 0.5f) / 4;
                int winding = 0;
                for (std::size_t i = 0; i < v.size(); ++i) {
                  const Pt& a = v[i];
                  const Pt& b = v[(i + 1) % v.size()];
                  if (a.y <= py) {
                    if (b.y > py && (b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y) > 0) ++winding;
                  } else if (b.y <= py && (b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y) < 0) {
                    --winding;
                  }
                }
                if (winding != 0) ++inside;
              }
            }
            return inside / 16.0f;
          },
          box};
}

Shape Polyline(const std::vector<Pt>& pts, float width) {
  Shape s = Stroke(pts[0].x, pts[0].y, pts[0].x, pts[0].y, width);
  for (std::size_t i = 1; i < pts.size(); ++i) {
    s = Union(s, Stroke(pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, width));
  }
  return s;
}

Shape Union(Shape a, Shape b) {
  Box box = Join(a.box, b.box);
  return {[a, b](float x, float y) { return std::max(a.at(x, y), b.at(x, y)); }, box};
}
Shape Intersect(Shape a, Shape b) {
  Box box = Meet(a.box, b.box);
  return {[a, b](float x, float y) { return std::min(a.at(x, y), b.at(x, y)); }, box};
}
Shape Subtract(Shape a, Shape b) {
  Box box = a.box;
  return {[a, b](float x, float y) { return std::min(a.at(x, y), 1 - b.at(x, y)); }, box};
}
Shape Translate(Shape s, float dx, float dy) {
  Box box{s.box.x0 + dx, s.box.y0 + dy, s.box.x1 + dx, s.box.y1 + dy};
  return {[s, dx, dy](float x, float y) { return s.at(x - dx, y - dy); }, box};
}
Shape Fade(Shape s, std::function<float(float, float)> alpha) {
  Box box = s.box;
  return {[s, alpha](float x, float y) { return s.at(x, y) * Clamp01(alpha(x, y)); }, box};
}

Paint Solid(Rgb c) {
  return [c](float, float) { return c; };
}

Paint Linear(float x0, float y0, float x1, float y1, Gradient g) {
  float vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
  return [=](float x, float y) { return Sample(g, ((x - x0) * vx + (y - y0) * vy) / len2); };
}

Paint Radial(float cx, float cy, float r, Gradient g) {
  return [=](float x, float y) { return Sample(g, std::hypot(x - cx, y - cy) / r); };
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), v_(static_cast<std::size_t>(width) * height, 0.0f) {}

Mask Mask::Of(const Shape& s, int width, int height) {
  Mask m(width, height);
  int x0 = std::max(0, static_cast<int>(std::floor(s.box.x0)));
  int y0 = std::max(0, static_cast<int>(std::floor(s.box.y0)));
  int x1 = std::min(width, static_cast<int>(std::ceil(s.box.x1)) + 1);
  int y1 = std::min(height, static_cast<int>(std::ceil(s.box.y1)) + 1);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) m.Set(x, y, s.at(x + 0.5f, y + 0.5f));
  }
  return m;
}

float Mask::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return v_[static_cast<std::size_t>(y) * width_ + x];
}

void Mask::Blur(float radius) {
  int r = std::max(1, static_cast<int>(std::lround(radius / 1.7f)));
  std::vector<float> tmp(v_.size());
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        float sum = 0;
        for (int k = -r; k <= r; ++k) sum += Get(x + k, y);
        tmp[static_cast<std::size_t>(y) * width_ + x] = sum / (2 * r + 1);
      }
    }
    v_.swap(tmp);
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        float sum = 0;
        for (int k = -r; k <= r; ++k) sum += Get(x, y + k);
        tmp[static_cast<std::size_t>(y) * width_ + x] = sum / (2 * r + 1);
      }
    }
    v_.swap(tmp);
  }
}

Shape Mask::AsShape() const {
  auto copy = std::make_shared<Mask>(*this);
  return {[copy](float x, float y) {
            return copy->Get(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
          },
          {0, 0, static_cast<float>(width_), static_cast<float>(height_)}};
}

void DropShadow(Canvas& c, const Shape& s, float dx, float dy, float blur, Rgb colour, float alpha) {
  Mask m = Mask::Of(Translate(s, dx, dy), c.width(), c.height());
  m.Blur(blur);
  c.Fill(m.AsShape(), colour, alpha);
}

void InnerShadow(Canvas& c, const Shape& s, float dx, float dy, float blur, Rgb colour, float alpha) {
  Mask shifted = Mask::Of(Translate(s, dx, dy), c.width(), c.height());
  shifted.Blur(blur);
  Shape inner = shifted.AsShape();
  c.Fill({[s, inner](float x, float y) { return s.at(x, y) * (1 - inner.at(x, y)); }, s.box}, colour, alpha);
}

void EdgeLight(Canvas& c, const Shape& s, float dx, float dy, Rgb colour, float alpha) {
  Shape moved = Translate(s, dx, dy);
  c.Fill({[s, moved](float x, float y) { return moved.at(x, y) * (1 - s.at(x, y)); }, Join(s.box, moved.box)},
         colour, alpha);
}

uint32_t Random::Next() {
  s_ ^= s_ << 13;
  s_ ^= s_ >> 17;
  s_ ^= s_ << 5;
  return s_;
}

float Random::Unit() { return static_cast<float>(Next() % 20001) / 10000.0f - 1.0f; }

void BrushedMetal(Canvas& c, uint32_t seed, float base, float amplitude) {
  const int w = c.width(), h = c.height();
  Random rnd(seed);
  std::vector<float> row(static_cast<std::size_t>(w) + 160);
  float drift = 0;
  for (int y = 0; y < h; ++y) {
    // Each row is noise smeared along x; a slow drift between rows keeps neighbouring streaks related.
    drift = 0.85f * drift + 0.15f * rnd.Unit();
    for (float& v : row) v = rnd.Unit();
    std::vector<float> smooth(row.size(), 0.0f);
    const int r = 18;
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t x = 0; x < row.size(); ++x) {
        float sum = 0;
        int n = 0;
        for (int k = -r; k <= r; ++k) {
          long i = static_cast<long>(x) + k;
          if (i < 0 || i >= static_cast<long>(row.size())) continue;
          sum += row[static_cast<std::size_t>(i)];
          ++n;
        }
        smooth[x] = sum / n;
      }
      row.swap(smooth);
    }
    for (int x = 0; x < w; ++x) {
      float streak = row[static_cast<std::size_t>(x) + 80] * 9.0f;  // the smoothing shrinks it about ninefold
      float v = base + amplitude * (0.55f * streak + 0.35f * drift * 2.0f) + 0.5f * rnd.Unit();
      c.Set(x, y, Grey(v));
    }
  }
}

}  // namespace artgen
