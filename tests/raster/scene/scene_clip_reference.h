// The reference's clipping, in double precision: object vertices through
// the modelview and projection, the triangle clipped against the six
// frustum planes and the enabled user planes (vertex values taken linearly
// along each clipped edge in clip coordinates), divided, mapped to the
// window, and its pixels covered with an edge epsilon: a pixel centre
// within kClipEdgeEpsilon of the clipped polygon's outline (perpendicular
// distance) may fall either side and is left out of the comparison.
//
// Why 2^-8 pixel: the driver computes the new vertices in single precision
// (the clip parameter, the lerp of clip coordinates, the divide by w and the
// viewport, a few units in the last place of coordinates below 2^8, so
// below 2^-14 pixel each), holds window x and y next to the viewport bias
// (a step of 2^-11), and walks edges with a rounded slope; 2^-8 is eight of
// those steps.
#pragma once

#include <array>
#include <vector>

#include "tests/raster/scene/scene_reference.h"

namespace scene_test {

constexpr double kClipEdgeEpsilon = 1.0 / 256;

// How far the driver's window x and y of a new corner may lie from the
// exact ones: the viewport bias leaves them a step of 2^-11, and they were
// seen up to 2^-12 off (46.666504 for 46.666667). The depth plane of a
// clipped polygon tilts with its corners, by its slope times this.
constexpr double kClipPositionError = 1.0 / 2048;

// Column-major, as OpenGL keeps matrices.
struct Mat4 {
  double m[16];
  static Mat4 Identity();
  static Mat4 Ortho(double l, double r, double b, double t, double n, double f);
  static Mat4 Frustum(double l, double r, double b, double t, double n, double f);
  static Mat4 Translate(double x, double y, double z);
  std::array<double, 4> Apply(const std::array<double, 4> &v) const;
};

struct ClipSetup {
  Mat4 modelview = Mat4::Identity();
  Mat4 projection = Mat4::Identity();
  // Enabled user planes in eye coordinates: a point p is kept where
  // plane . p >= 0.
  std::vector<std::array<double, 4>> eyePlanes;
};

// A vertex in object coordinates (w = 1) with its colour.
struct ObjectVertex {
  double x, y, z;
  double c[4];
};

struct WindowVertex {
  double x, y, z;  // GL window coordinates, z in [0, 1]
  double c[4];
};

// The triangle clipped and mapped to the window: an empty list when
// nothing of it is left.
std::vector<WindowVertex> ClipTriangle(const ClipSetup &setup, const ObjectVertex *const v[3],
                                       int32_t width, int32_t height);

// The polygon's pixels into the reference: coverage with the edge epsilon,
// colour and depth from its plane in window space (the colour of
// `provoking` when flat), facing and culling from its window winding.
void DrawClipped(SceneReference *ref, const SceneState &s, const std::vector<WindowVertex> &poly,
                 const ObjectVertex &provoking, uint64_t surface);

}  // namespace scene_test
