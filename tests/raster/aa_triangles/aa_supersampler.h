// An independent model of antialiased-triangle coverage: the triangle
// snapped to 1/8 pixel, each pixel sampled on an n x n grid by exact
// orientation tests (window coordinates unbiased).
#pragma once

#include <math.h>

#include <algorithm>
#include <map>
#include <utility>

namespace aa_model {

struct Point {
  double x, y;
};

// A window coordinate snapped as the fill snaps it (with the pixel-centre
// shift of a half on the 1/8 grid).
inline double Snap(double c) { return floor((c + 0.5) * 8.0) / 8.0 - 0.5; }

inline double Cross(Point o, Point a, Point b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Whether sample s is inside for the edge p-q, r being the third vertex. A
// sample on the edge belongs to the triangle when r lies left of the edge
// taken upwards (rightwards on a level edge).
inline bool InsideEdge(Point p, Point q, Point r, Point s) {
  if (p.y > q.y || (p.y == q.y && p.x > q.x)) std::swap(p, q);
  const double side = Cross(p, q, s), third = Cross(p, q, r);
  if (side == 0) return third > 0;
  return (side > 0) == (third > 0);
}

// Coverage of every touched pixel of the snapped triangle.
inline std::map<std::pair<int, int>, double> Supersample(const Point v[3], int n) {
  std::map<std::pair<int, int>, double> m;
  const int x0 = int(floor(std::min({v[0].x, v[1].x, v[2].x}))) - 1;
  const int x1 = int(ceil(std::max({v[0].x, v[1].x, v[2].x}))) + 1;
  const int y0 = int(floor(std::min({v[0].y, v[1].y, v[2].y}))) - 1;
  const int y1 = int(ceil(std::max({v[0].y, v[1].y, v[2].y}))) + 1;
  for (int y = y0; y <= y1; y++) {
    for (int x = x0; x <= x1; x++) {
      int inside = 0;
      for (int l = 0; l < n; l++) {
        for (int k = 0; k < n; k++) {
          const Point s = {x + (k + 0.5) / n, y + (l + 0.5) / n};
          inside += InsideEdge(v[0], v[1], v[2], s) && InsideEdge(v[1], v[2], v[0], s) &&
                    InsideEdge(v[2], v[0], v[1], s);
        }
      }
      if (inside) m[{x, y}] = double(inside) / (n * n);
    }
  }
  return m;
}

}  // namespace aa_model
