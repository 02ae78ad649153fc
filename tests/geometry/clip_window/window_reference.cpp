#include "tests/geometry/clip_window/window_reference.h"

#include <math.h>

#include <algorithm>

namespace clip_window_test {
namespace {

// One side of the box: keeps what `inside` accepts, cutting where `cut`
// says.
template <typename Inside, typename Cut>
Poly ClipSide(const Poly &in, Inside inside, Cut cut) {
  Poly out;
  for (size_t i = 0; i < in.size(); ++i) {
    const Pt &s = in[(i + in.size() - 1) % in.size()], &p = in[i];
    if (inside(p)) {
      if (!inside(s)) out.push_back(cut(s, p));
      out.push_back(p);
    } else if (inside(s)) {
      out.push_back(cut(s, p));
    }
  }
  return out;
}

Pt AtX(Pt s, Pt p, double x) {
  const double t = (x - s.x) / (p.x - s.x);
  return {x, s.y + t * (p.y - s.y)};
}

Pt AtY(Pt s, Pt p, double y) {
  const double t = (y - s.y) / (p.y - s.y);
  return {s.x + t * (p.x - s.x), y};
}

}  // namespace

Poly ClipToBox(const Poly &poly, double x0, double y0, double x1, double y1) {
  Poly r = ClipSide(
      poly, [&](Pt p) { return p.x >= x0; }, [&](Pt s, Pt p) { return AtX(s, p, x0); });
  r = ClipSide(
      r, [&](Pt p) { return p.x <= x1; }, [&](Pt s, Pt p) { return AtX(s, p, x1); });
  r = ClipSide(
      r, [&](Pt p) { return p.y >= y0; }, [&](Pt s, Pt p) { return AtY(s, p, y0); });
  return ClipSide(
      r, [&](Pt p) { return p.y <= y1; }, [&](Pt s, Pt p) { return AtY(s, p, y1); });
}

double SignedArea(const Poly &poly) {
  double twice = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const Pt &p = poly[i], &q = poly[(i + 1) % poly.size()];
    twice += p.x * q.y - q.x * p.y;
  }
  return twice / 2;
}

double LineDistance(Pt a, Pt b, Pt p) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = sqrt(dx * dx + dy * dy);
  if (length == 0) return sqrt((p.x - a.x) * (p.x - a.x) + (p.y - a.y) * (p.y - a.y));
  return fabs(dx * (p.y - a.y) - dy * (p.x - a.x)) / length;
}

bool OnSegment(Pt a, Pt b, Pt p, double margin) {
  if (LineDistance(a, b, p) > margin) return false;
  return p.x >= std::min(a.x, b.x) - margin && p.x <= std::max(a.x, b.x) + margin &&
         p.y >= std::min(a.y, b.y) - margin && p.y <= std::max(a.y, b.y) + margin;
}

int TriangleSide(const Pt tri[3], Pt p, double margin) {
  const double twiceArea =
      (tri[1].x - tri[0].x) * (tri[2].y - tri[0].y) - (tri[2].x - tri[0].x) * (tri[1].y - tri[0].y);
  if (fabs(twiceArea) < 2e-9) return -1;
  const double sign = twiceArea > 0 ? 1 : -1;
  double nearest = INFINITY;
  for (int i = 0; i < 3; ++i) {
    const Pt &a = tri[i], &b = tri[(i + 1) % 3];
    const double dx = b.x - a.x, dy = b.y - a.y;
    // Signed distance, positive on the inner side.
    const double d = sign * (dx * (p.y - a.y) - dy * (p.x - a.x)) / sqrt(dx * dx + dy * dy);
    nearest = std::min(nearest, d);
  }
  if (nearest > margin) return 1;
  return nearest < -margin ? -1 : 0;
}

int BoxSide(double x0, double y0, double x1, double y1, Pt p, double margin) {
  const double nearest = std::min({p.x - x0, x1 - p.x, p.y - y0, y1 - p.y});
  if (nearest > margin) return 1;
  return nearest < -margin ? -1 : 0;
}

std::array<double, 3> Barycentric(const Pt tri[3], Pt p) {
  const double area = SignedArea({tri[0], tri[1], tri[2]});
  std::array<double, 3> w;
  for (int i = 0; i < 3; ++i) {
    const Pt &b = tri[(i + 1) % 3], &c = tri[(i + 2) % 3];
    w[i] = SignedArea({p, b, c}) / area;
  }
  return w;
}

}  // namespace clip_window_test
