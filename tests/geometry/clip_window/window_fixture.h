// A bound context whose procs.renderTriangle is the window-space clipper,
// with recorders behind it: the render procedure it forwards to keeps a
// copy of every triangle, the vertex validators log their calls, and the
// polygon parameter clip interpolates in the plain way (b + t (a - b)) but
// leaves s, t, q and fog at a marker value the clipper must replace.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"
#include "tests/geometry/clip_window/window_reference.h"
#include "tests/core/context/life_fixture.h"
#include "wgl/wgl_drawable.h"

namespace clip_window_test {

// What the parameter clip leaves in s, t, q and fog of a new vertex.
constexpr GLfloat kNotInterpolated = -1234.5f;

// The front and back needs words the fixture sets.
constexpr uint32_t kFrontNeeds = __GL_HAS_FRONT_COLOR | __GL_HAS_TEXTURE | __GL_HAS_FOG;
constexpr uint32_t kBackNeeds = __GL_HAS_BACK_COLOR;

// One call of procs.renderClippedTriangle: the vertices handed over, and
// copies of them as they were during the call.
struct Drawn {
  GlVertex *ptr[3];
  GlVertex v[3];
};

// One call of a vertex validator.
struct Validated {
  int sizeClass;
  GlVertex *v;
  uint32_t needs;
};

// A triangle in drawable coordinates and the boundary flags of its sides
// (bit 0: a -> b, bit 1: b -> c, bit 2: c -> a).
struct Triangle {
  const char *what;
  Pt a, b, c;
  uint32_t edges = 7;
};

struct RectSet {
  const char *what;
  std::vector<GlRect> rects;
};

class WindowClipTest : public life_test::BoundContextTest {
 protected:
  void Bound() override;
  void TearDown() override;

  // The visible rectangles of the window.
  void SetRects(const std::vector<GlRect> &rects) { window->SetClipRects(rects); }
  // Vertex `index` (0..2) of a triangle at drawable (x, y): window
  // coordinates with the bias, validated for both needs words, and
  // attributes of its own; the colour pointer is the caller's to set.
  GlVertex MakeVertex(Pt p, int index, bool boundary = true) const;
  // The three vertices of `t`.
  void MakeTriangle(const Triangle &t, GlVertex out[3]) const;
  // Draws a, b, c through procs.renderTriangle; what reached the render
  // procedure behind the clipper.
  std::vector<Drawn> Draw(GlVertex *a, GlVertex *b, GlVertex *c);
  std::vector<Validated> TakeValidated();
  // Vertices the parameter clip made since the last call.
  int TakeMade();

  // A rectangle's bounds in window coordinates.
  double Left(const GlRect &r) const { return r.x0 + double(xBias); }
  double Right(const GlRect &r) const { return r.x1 + double(xBias); }
  double Low(const GlRect &r) const { return r.y0 + double(yBias); }
  double High(const GlRect &r) const { return r.y1 + double(yBias); }
  Pt Window(Pt p) const { return {double(GLfloat(p.x) + xBias), double(GLfloat(p.y) + yBias)}; }

  GLfloat xBias = 0, yBias = 0;
};

// Window position of a vertex.
inline Pt PosOf(const GlVertex &v) { return {v.window.x, v.window.y}; }

}  // namespace clip_window_test
