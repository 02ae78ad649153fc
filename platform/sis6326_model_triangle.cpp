// The SiS 6326 drawing model: triangles. Coverage is decided exactly on
// coordinates taken in units of 2^-24 pixel, comparing 128-bit products;
// attributes are planes evaluated in double precision.
#include <algorithm>
#include <cmath>

#include "platform/sis6326_model.h"
#include "platform/sis6326_model_exact.h"
#include "platform/sis6326_model_internal.h"
#include "platform/sis6326_model_texture.h"

namespace platform {
namespace {

constexpr double kUnit = 16777216.0;  // 2^24 units per pixel
constexpr int64_t kHalf = int64_t(1) << 23;

// A chip coordinate in units, with the 0.5 of the buffer frame added.
int64_t Units(float c) { return int64_t(std::floor(double(c) * kUnit + 0.5)) + kHalf; }

struct Point {
  int64_t x, y;
};

// Whether the centre (cx, cy) lies in the triangle by the coverage rule:
// yMin < cy <= yMax and xLeft(cy) < cx <= xRight(cy). At cy the triangle's
// boundary crossings are compared with cx: xLeft < cx when some crossing
// lies left of cx, cx <= xRight when some crossing lies at or right of it.
bool Covers(const Point v[3], int64_t cx, int64_t cy) {
  int64_t yMin = std::min({v[0].y, v[1].y, v[2].y}), yMax = std::max({v[0].y, v[1].y, v[2].y});
  if (!(yMin < cy && cy <= yMax)) return false;
  bool someLeft = false, someAtOrRight = false;
  for (int k = 0; k < 3; ++k) {
    const Point &a = v[k], &b = v[(k + 1) % 3];
    if (a.y == b.y) {
      if (a.y != cy) continue;
      for (int64_t x : {a.x, b.x}) (x < cx ? someLeft : someAtOrRight) = true;
      continue;
    }
    if (cy < std::min(a.y, b.y) || cy > std::max(a.y, b.y)) continue;
    // cx - crossing has the sign of (cx - ax)(by - ay) - (cy - ay)(bx - ax) over (by - ay).
    int s = CompareProducts(cx - a.x, b.y - a.y, cy - a.y, b.x - a.x) * Sign(b.y - a.y);
    (s > 0 ? someLeft : someAtOrRight) = true;
  }
  return someLeft && someAtOrRight;
}

// Plane through three values over buffer coordinates.
struct Plane {
  double v0, dx, dy, x0, y0;
  double At(double x, double y) const { return v0 + dx * (x - x0) + dy * (y - y0); }
};

Plane PlaneOf(const double x[3], const double y[3], double v0, double v1, double v2) {
  double ax = x[1] - x[0], ay = y[1] - y[0], bx = x[2] - x[0], by = y[2] - y[0];
  double det = ax * by - bx * ay;
  return {v0, ((v1 - v0) * by - (v2 - v0) * ay) / det, ((v2 - v0) * ax - (v1 - v0) * bx) / det,
          x[0], y[0]};
}

// The texture terms of a textured triangle (F3, F4): planes of A = S·Q,
// B = T·Q, C = Q (S, T and 1 without mode bit 9) and of rho × C.
struct TexturePlanes {
  Plane a, b, c, rhoC;
};

TexturePlanes TexturePlanesOf(const SiS6326Event &e, const ChipVertex v[3], const double x[3],
                              const double y[3]) {
  bool perspective = (StateWord(e, 0x8A00) & (1u << 9)) != 0;
  double a[3], b[3], c[3];
  for (int k = 0; k < 3; ++k) {
    c[k] = perspective ? double(v[k].q) : 1.0;
    a[k] = double(v[k].s) * c[k];
    b[k] = double(v[k].t) * c[k];
  }
  TexturePlanes p;
  p.a = PlaneOf(x, y, a[0], a[1], a[2]);
  p.b = PlaneOf(x, y, b[0], b[1], b[2]);
  p.c = PlaneOf(x, y, c[0], c[1], c[2]);
  int width, height;
  Level0Size(e, &width, &height);
  double rhoC[3];
  for (int k = 0; k < 3; ++k) {
    Gradients g = {NarrowFloat(a[k]), NarrowFloat(p.a.dx), NarrowFloat(p.a.dy),
                   NarrowFloat(b[k]), NarrowFloat(p.b.dx), NarrowFloat(p.b.dy),
                   NarrowFloat(c[k]), NarrowFloat(p.c.dx), NarrowFloat(p.c.dy)};
    rhoC[k] = double(VertexRho(g, float(width), float(height))) * c[k];
  }
  p.rhoC = PlaneOf(x, y, rhoC[0], rhoC[1], rhoC[2]);
  return p;
}

bool CommandValid(uint32_t command) {
  uint32_t rest = command & ~0x80u;
  for (uint32_t shade : {0x40000u, 0x100000u})
    for (uint32_t kind : {0x500u, 0x600u})
      if (rest == (0x6002u | shade | kind)) return true;
  return false;
}

// Vertex order and the side bit on the chips that take ordered vertices (B4).
bool CheckOrder(const SiS6326Event &e, const ChipVertex v[3], Judge &judge) {
  if (judge.quiet) return true;  // a footprint: the order changes no pixel
  bool side = (e.value & 0x80) != 0;
  if (!ChipTakesOrderedVertices()) {
    if (side) return judge.Fail("B4", "side bit 0x80 set on a chip that takes any order");
    return true;
  }
  if (v[0].y > v[1].y || v[0].y > v[2].y || v[2].y < v[1].y)
    return judge.Fail("B4", "vertices not ordered top to bottom (y %g, %g, %g)", double(v[0].y),
                      double(v[1].y), double(v[2].y));
  double top = v[0].y, bottom = v[2].y;
  if (top == bottom) return true;
  double along = double(v[0].x) + (double(v[2].x) - v[0].x) * (double(v[1].y) - top) / (bottom - top);
  constexpr double kNear = 1.0 / 1024.0;
  if (double(v[1].x) < along - kNear && !side)
    return judge.Fail("B4", "middle vertex left of the long edge but side bit clear");
  if (double(v[1].x) > along + kNear && side)
    return judge.Fail("B4", "middle vertex right of the long edge but side bit set");
  return true;
}

}  // namespace

bool TriangleVertices(const SiS6326Event &e, double x[3], double y[3]) {
  if ((e.value & 0x6000) != 0x6000) return false;
  Judge quiet{0, true, false};
  for (int k = 0; k < 3; ++k) {
    ChipVertex v;
    if (!ReadVertex(e, k, quiet, &v)) return false;
    x[k] = double(v.x) + 0.5;
    y[k] = double(v.y) + 0.5;
  }
  return true;
}

bool RasterTriangle(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit) {
  if (!CommandValid(e.value)) return judge.Fail("C1", "triangle command 0x%X", e.value);
  ChipVertex v[3];
  for (int k = 0; k < 3; ++k)
    if (!ReadVertex(e, k, judge, &v[k])) return false;
  if (!CheckOrder(e, v, judge)) return false;
  if ((e.value & 0x40000) && (v[0].colourWord != v[1].colourWord || v[0].colourWord != v[2].colourWord))
    return judge.Fail("C1", "flat triangle with colour words 0x%08X, 0x%08X, 0x%08X", v[0].colourWord,
                      v[1].colourWord, v[2].colourWord);
  Point p[3];
  double x[3], y[3];
  for (int k = 0; k < 3; ++k) {
    p[k] = {Units(v[k].x), Units(v[k].y)};
    x[k] = double(p[k].x) / kUnit;
    y[k] = double(p[k].y) / kUnit;
  }
  if (CompareProducts(p[1].x - p[0].x, p[2].y - p[0].y, p[1].y - p[0].y, p[2].x - p[0].x) == 0)
    return true;  // no area: nothing covered
  ClipBox clip = ClipOf(e);
  int left = std::max(clip.left, int(std::floor(std::min({x[0], x[1], x[2]}))) - 1);
  int right = std::min(clip.right, int(std::ceil(std::max({x[0], x[1], x[2]}))) + 1);
  int top = std::max(clip.top, int(std::floor(std::min({y[0], y[1], y[2]}))) - 1);
  int bottom = std::min(clip.bottom, int(std::ceil(std::max({y[0], y[1], y[2]}))) + 1);
  if (left >= right || top >= bottom) return true;
  Plane a = PlaneOf(x, y, v[0].a, v[1].a, v[2].a), r = PlaneOf(x, y, v[0].r, v[1].r, v[2].r);
  Plane g = PlaneOf(x, y, v[0].g, v[1].g, v[2].g), b = PlaneOf(x, y, v[0].b, v[1].b, v[2].b);
  Plane z = PlaneOf(x, y, v[0].z, v[1].z, v[2].z);
  bool textured = Textured(e.value);
  TexturePlanes texture = {};
  if (textured) texture = TexturePlanesOf(e, v, x, y);
  for (int j = top; j < bottom; ++j) {
    int64_t cy = int64_t(j) * int64_t(kUnit) + kHalf;
    double yc = j + 0.5;
    for (int i = left; i < right; ++i) {
      if (!Covers(p, int64_t(i) * int64_t(kUnit) + kHalf, cy)) continue;
      double xc = i + 0.5;
      double depth = std::min(1.0, std::max(0.0, z.At(xc, yc)));
      Fragment f = {i, j, a.At(xc, yc), r.At(xc, yc), g.At(xc, yc), b.At(xc, yc), depth};
      if (textured) {
        double q = texture.c.At(xc, yc);
        f.s = NarrowFloat(texture.a.At(xc, yc) / q);
        f.t = NarrowFloat(texture.b.At(xc, yc) / q);
        f.rho = NarrowFloat(texture.rhoC.At(xc, yc) / q);
      }
      if (!visit(f)) return true;
    }
  }
  return true;
}

}  // namespace platform
