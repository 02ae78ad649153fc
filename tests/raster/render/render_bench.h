// The bench of the render front-end tests: a zeroed context whose fill,
// line, point, validation and wait slots record what reaches them, four
// vertices a, b, c and p (p stands for a provoking vertex that the clipper
// made), and a way to set the face state through the triangle picker.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_shader.h"
#include "tests/core/services/service_context.h"

// What the tests share: the signature of the triangle render procedures,
// the shading flags, and a counter-clockwise (front under GL_CCW) and a
// clockwise window triangle a, b, c.
typedef GlTriangleProc Render;
inline constexpr uint32_t SMOOTH = __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR;
inline constexpr uint32_t FLAT = 0;
inline constexpr uint32_t TWO = __GL_SHADE_TWOSIDED;
inline constexpr float kFront[6] = {10, 10, 20, 10, 10, 20};
inline constexpr float kBack[6] = {10, 10, 10, 20, 20, 10};

class RenderBench {
 public:
  RenderBench();
  ~RenderBench();
  RenderBench(const RenderBench &) = delete;
  RenderBench &operator=(const RenderBench &) = delete;

  GlContext *gc() const { return ctx_.gc(); }
  GlVertex *a() { return &v_[0]; }
  GlVertex *b() { return &v_[1]; }
  GlVertex *c() { return &v_[2]; }
  GlVertex *p() { return &v_[3]; }
  GlVertex *vertex(char name);

  // Window x, y of a, b and c.
  void Place(const float xy[6]);
  // Face state through __glGenericPickTriangleProcs; the recording fill is
  // put back afterwards. cull 0 leaves culling off.
  void PickFaces(GLenum frontFace, bool yInverted, GLenum cull, GLenum frontMode = GL_FILL,
                 GLenum backMode = GL_FILL);
  void SetFlags(uint32_t flags) { gc()->polygon.shader.modeFlags = flags; }

  // "fill a b c", "line c a", "point b", "triangle a b c", "validate<2> a 0x9".
  const std::vector<std::string> &calls() const { return calls_; }
  // At each fill, line or point call: where the colour pointers of a, b, c
  // and p point, "a0 b0 c1 p1" (vertex and set; "?" elsewhere).
  const std::vector<std::string> &colors() const { return colors_; }
  int waits() const { return waits_; }
  void Clear();

  // A copy of the four vertices.
  struct Snapshot {
    GlVertex v[4];
  };
  Snapshot Take() const;
  // Every vertex equals the snapshot bit for bit, but for `has` bits that
  // validation added.
  void ExpectUnchanged(const Snapshot &before) const;
  // Every colour pointer points at its own front set.
  void ExpectFrontColors() const;

  // Recorders, also for tests that install them in other slots.
  static void GLFASTCALL RecordFill(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
  static void RecordLine(GlContext *gc, GlVertex *a, GlVertex *b);
  static void RecordPoint(GlContext *gc, GlVertex *v);
  static void GLFASTCALL RecordTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
  static void CountWait(GlContext *gc);

 private:
  template <int kClass>
  static uint32_t RecordValidate(GlContext *gc, GlVertex *v, uint32_t mask);
  std::string Name(const GlVertex *v) const;
  std::string ColorState() const;
  void Note(const std::string &call, bool draws);
  void InstallRecorders();

  static RenderBench *current_;
  ServiceContext ctx_;
  GlVertex v_[4];
  std::vector<std::string> calls_;
  std::vector<std::string> colors_;
  int waits_ = 0;
};
