// A core context bound to a test window with memory for its back colour
// buffer (any RGB or colour-index format), depth (16, 24 or 32 bits) and
// 8-bit stencil; drawing through glBegin / glEnd in GL window coordinates
// (an orthographic projection onto the window, z taken as window z), and
// the comparison of the memory with the reference renderer.
#pragma once

#include <math.h>
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/core/context/memory_window_fixture.h"
#include "tests/raster/scene/scene_reference.h"

namespace scene_test {

constexpr int32_t kWidth = 64, kHeight = 48;
// How far a colour may be from the exact one and still round the other way:
// the fill sets up its gradients in single precision (differences of vertex
// values times 1 / area) and steps them per pixel, which loses up to about
// 2^-14 of the values' size (seen with 12-bit indexes), and 1/64 besides.
inline double ColorSlack(double value) { return 1.0 / 64 + fabs(value) / 16384; }

class SceneTest : public life_test::MemoryWindowTest {
 protected:
  // Binds a new context of this format; false on failure (reported).
  bool Open(const ColorFormat &format, uint32_t depthBits = 16, bool yInverted = false);
  // glClear of colour, depth (1.0) and stencil, and the reference's start.
  void ClearAll(SceneReference *ref, uint32_t stencil = 0);
  // The state and the primitive through the entries, and into the reference.
  void Apply(const SceneState &s);
  void Send(const ScenePrimitive &p);
  // One vertex: its colour (the index in c[0] in colour-index formats),
  // then its position.
  void SendVertex(double x, double y, double z, const double c[4]);
  void Run(SceneReference *ref, const std::vector<SceneStep> &steps);

  SceneTarget Target() const;
  // Every memory pixel against the reference; returns the ambiguous count.
  int Compare(const SceneReference &ref, const std::string &what);

  ColorFormat format{};
  bool yInverted = false;
};

// Colour-index scenes: index = component x the format's index range, not
// rounded, so that the colours of planar quads and polygons stay affine:
// the driver may split a quad along either diagonal (it takes the other
// one than the reference), which gives the same image only for a plane.
double IndexRange(const ColorFormat &f);
std::vector<SceneStep> ForFormat(const std::vector<SceneStep> &steps, const ColorFormat &f);

}  // namespace scene_test
