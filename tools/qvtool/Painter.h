// A small painter for pictures drawn by code: colours, shapes with smoothed edges, masked pictures.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/Surface.h"

namespace qv::tool::paint {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// `a` moved t/255 of the way towards `b`.
inline Rgb Mix(Rgb a, Rgb b, int t) {
  t = t < 0 ? 0 : t > 255 ? 255 : t;
  return {a.r + (b.r - a.r) * t / 255, a.g + (b.g - a.g) * t / 255, a.b + (b.b - a.b) * t / 255};
}

inline Rgb Darker(Rgb c, int percent) {
  return {c.r * percent / 100, c.g * percent / 100, c.b * percent / 100};
}

struct Box {
  int left, top, right, bottom;  // right and bottom excluded
};

// A picture to paint on: a plain one, or a masked one whose mask half starts at `maskColumn`.
struct Layer {
  core::Surface& surface;
  int maskColumn = -1;
  int Width() const { return maskColumn < 0 ? surface.Width() : maskColumn; }
};

inline Rgb Get(const core::Surface& s, int x, int y) {
  const uint8_t* p = s.Row(y) + x * 3;
  return {p[2], p[1], p[0]};
}

inline uint8_t Byte(int v) {
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

inline void Put(uint8_t* p, Rgb c) {
  p[0] = Byte(c.b);
  p[1] = Byte(c.g);
  p[2] = Byte(c.r);
}

inline void Put(core::Surface& s, int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return;
  Put(s.Row(y) + x * 3, c);
}

// A masked picture of w x h visible pixels: nothing painted yet, so all of it is see-through.
inline core::Surface Masked(int w, int h) {
  core::Surface s(2 * w, h);
  for (int y = 0; y < h; ++y) {
    std::fill(s.Row(y) + w * 3, s.Row(y) + w * 6, uint8_t{255});
  }
  return s;
}

// How much of pixel (x, y) a shape covers, in sixteenths. Pixels whose corners agree with their
// centre are taken as wholly in or out, which is exact for shapes wider than a pixel.
template <class Inside>
int Coverage(const Inside& inside, int x, int y) {
  const bool centre = inside(x + 0.5, y + 0.5);
  if (inside(x, y) == centre && inside(x + 1.0, y) == centre && inside(x, y + 1.0) == centre &&
      inside(x + 1.0, y + 1.0) == centre) {
    return centre ? 16 : 0;
  }
  int n = 0;
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) n += inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) ? 1 : 0;
  }
  return n;
}

// Paints a shape within `box` in the colour `colour(x, y)`; on a masked picture the shape's mask
// value is `mask` (0 opaque), with the edges in between.
template <class Inside, class Colour>
inline void Paint(Layer layer, Box box, const Inside& inside, const Colour& colour, int mask = 0) {
  core::Surface& s = layer.surface;
  box = {std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, layer.Width()),
         std::min(box.bottom, s.Height())};
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const int cover = Coverage(inside, x, y);
      if (cover == 0) continue;
      const int t = cover * 255 / 16;
      if (layer.maskColumn < 0) {
        Put(s, x, y, Mix(Get(s, x, y), colour(x, y), t));
        continue;
      }
      const int under = s.Row(y)[(layer.maskColumn + x) * 3];
      Put(s, x, y, under == 255 ? colour(x, y) : Mix(Get(s, x, y), colour(x, y), t));
      const int m = under + (mask - under) * cover / 16;
      Put(s, layer.maskColumn + x, y, {m, m, m});
    }
  }
}

inline auto Flat(Rgb c) {
  return [c](int, int) { return c; };
}

inline auto VerticalRamp(Rgb top, Rgb bottom, int y0, int y1) {
  return [=](int, int y) { return Mix(top, bottom, (y - y0) * 255 / std::max(y1 - y0 - 1, 1)); };
}

// Fills a rectangle (no edges to smooth); on a masked picture also its mask.
template <class Colour>
inline void Fill(Layer layer, Box box, const Colour& colour, int mask = 0) {
  core::Surface& s = layer.surface;
  const int left = std::max(box.left, 0), right = std::min(box.right, layer.Width());
  const int top = std::max(box.top, 0), bottom = std::min(box.bottom, s.Height());
  const Rgb grey{mask, mask, mask};
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = s.Row(y);
    for (int x = left; x < right; ++x) {
      Put(row + x * 3, colour(x, y));
      if (layer.maskColumn >= 0) Put(row + (layer.maskColumn + x) * 3, grey);
    }
  }
}

inline auto Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

inline Box Around(double cx, double cy, double rx, double ry) {
  return {static_cast<int>(cx - rx) - 1, static_cast<int>(cy - ry) - 1,
          static_cast<int>(cx + rx) + 2, static_cast<int>(cy + ry) + 2};
}

inline void Oval(Layer layer, double cx, double cy, double rx, double ry, Rgb c, int mask = 0) {
  Paint(layer, Around(cx, cy, rx, ry), Ellipse(cx, cy, rx, ry), Flat(c), mask);
}

inline auto RoundedRect(Box b, double radius) {
  return [=](double x, double y) {
    if (x < b.left || x > b.right || y < b.top || y > b.bottom) return false;
    const double left = b.left + radius, right = b.right - radius;
    const double top = b.top + radius, bottom = b.bottom - radius;
    const double cx = x < left ? left : x > right ? right : x;
    const double cy = y < top ? top : y > bottom ? bottom : y;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
}

struct Point {
  double x, y;
};

inline auto Triangle(Point a, Point b, Point c) {
  return [=](double x, double y) {
    auto side = [&](Point p, Point q) { return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x); };
    const double d1 = side(a, b), d2 = side(b, c), d3 = side(c, a);
    return !((d1 < 0 || d2 < 0 || d3 < 0) && (d1 > 0 || d2 > 0 || d3 > 0));
  };
}

template <class Inside>
inline void Shape(Layer layer, Box box, const Inside& inside, Rgb c, int mask = 0) {
  Paint(layer, box, inside, Flat(c), mask);
}

// A deterministic sequence for scattered details.
class Scatter {
 public:
  explicit Scatter(uint32_t seed) : state_(seed) {}
  int Next(int limit) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<uint32_t>(std::max(limit, 1)));
  }

 private:
  uint32_t state_;
};

}  // namespace qv::tool::paint
