// Scenes of the render tests: vertices on a grid of 1/16 pixel (exact in the
// driver's window coordinates), depths on a grid of 2^-10, colours on a grid
// of 1/64, and planar quads and polygons whose colours and depths are
// affine in x and y, so that any split into triangles draws the same image
// (their depth coefficients are multiples of 2^-10, so that depths stay
// exact and the plane stays flat).
#pragma once

#include <math.h>
#include <stdint.h>

#include <vector>

#include "tests/raster/scene/scene_reference.h"

namespace scene_test {

inline double Grid(double v, double step) { return floor(v / step + 0.5) * step; }

// A vertex with the colour and depth of an affine field.
struct AffineField {
  double z0, zx, zy;
  double c0[4], cx[4], cy[4];
  SceneVertex At(double x, double y) const {
    SceneVertex v{x, y, z0 + zx * x + zy * y, {}};
    for (int k = 0; k < 4; k++) v.c[k] = c0[k] + cx[k] * x + cy[k] * y;
    return v;
  }
};

inline SceneVertex V(double x, double y, double z, double r, double g, double b, double a = 1) {
  return SceneVertex{x, y, z, {r, g, b, a}};
}

// A deterministic generator of grid values.
class SceneRandom {
 public:
  explicit SceneRandom(uint32_t seed) : s_(seed * 2654435761u + 12345) {}
  uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  double Uniform(double lo, double hi, double step) {
    const uint32_t n = uint32_t((hi - lo) / step);
    return lo + double(Next() % (n + 1)) * step;
  }
  SceneVertex Vertex(double x0, double x1, double y0, double y1, double z0 = 0.0625,
                     double z1 = 0.9375) {
    return SceneVertex{Uniform(x0, x1, 1.0 / 16),
                       Uniform(y0, y1, 1.0 / 16),
                       Uniform(z0, z1, 1.0 / 1024),
                       {Uniform(0, 1, 1.0 / 64), Uniform(0, 1, 1.0 / 64), Uniform(0, 1, 1.0 / 64),
                        Uniform(0, 1, 1.0 / 64)}};
  }

 private:
  uint32_t s_;
};

}  // namespace scene_test
