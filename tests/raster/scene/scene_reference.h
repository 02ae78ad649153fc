// A per-pixel reference renderer for filled polygons, written from the
// OpenGL rules in double precision: exact coverage (a pixel centre strictly
// inside the left and bottom edges, on the top and right edges included),
// colour and depth interpolated in window space, flat colour from the
// provoking vertex, culling, polygon offset, stipple, scissor, alpha,
// stencil and depth tests. It works in the drawable's own window space, in
// which a top-down drawable's y runs downwards less the viewport epsilon,
// and keeps per pixel the exact colour the store quantises.
//
// Decisions the driver takes at a precision of its own (depth compares of
// unequal values closer than the target's depth epsilon, alpha within the
// alpha table's step of the reference) mark the pixel ambiguous; an
// ambiguous pixel is left out of every later comparison.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/gl_defs.h"
#include "tests/raster/color/color_fixture.h"

namespace scene_test {

// Stored depths the span may be off by: it steps depth by dzdx >> shift, a
// truncation that drifts up to one stored unit a pixel over the 32 pixels
// of a word before the value is taken afresh, and window z is a float.
constexpr double kDepthDrift = 34;
// Alpha within this of the reference may fall on either side of the alpha
// table's entry (256 entries, truncated).
constexpr double kAlphaEpsilon = 1.5 / 255;

// GL window coordinates: x right, y up from the window's bottom row, z in
// [0, 1]; colour in [0, 1] (RGBA) or the colour index in c[0].
struct SceneVertex {
  double x, y, z;
  double c[4];
};

struct ScenePrimitive {
  GLenum mode;
  std::vector<SceneVertex> v;
};

struct StencilState {
  bool on = false;
  GLenum func = GL_ALWAYS;
  uint32_t ref = 0, mask = 0xFF;
  GLenum fail = GL_KEEP, zfail = GL_KEEP, zpass = GL_KEEP;
  uint32_t writeMask = 0xFF;
};

struct SceneState {
  bool smooth = true;
  GLenum frontFace = GL_CCW;
  bool cull = false;
  GLenum cullFace = GL_BACK;
  bool depthTest = false;
  GLenum depthFunc = GL_LESS;
  bool depthWrite = true;
  bool offset = false;
  double factor = 0, units = 0;
  bool stipple = false;
  uint8_t pattern[128] = {};  // 32 rows of 4 bytes, the first column in bit 7
  bool scissor = false;
  int32_t box[4] = {};  // x, y, width, height
  bool alphaTest = false;
  GLenum alphaFunc = GL_ALWAYS;
  double alphaRef = 0;
  StencilState stencil;
  // Blending is applied by the drivers' paths only; the reference draws
  // the source colour.
  bool blend = false;
  GLenum blendSrc = GL_ONE, blendDst = GL_ZERO;
};

// One primitive drawn in one state.
struct SceneStep {
  SceneState state;
  ScenePrimitive primitive;
};

struct SceneTarget {
  ColorFormat format;
  int32_t width, height;
  bool yInverted;
  double epsilon;     // a top-down drawable's y is height - epsilon - GL y
  double scale[4];    // colour buffer scales; indexes 1
  uint32_t depthMax;  // the stored depth of window z 1.0
  double offsetUnit;  // window z of one unit of glPolygonOffset: 2^24 depth-buffer units
  // Window z closer than this is a tie the driver may decide either way.
  double DepthEpsilon() const { return (kDepthDrift + 4) / depthMax + 1.0 / (1 << 22); }
  uint32_t stencilBits;
};

struct RefPixel {
  bool ambiguous = false;
  bool drawn = false;
  uint32_t writes = 0;   // fragments that reached the colour
  uint32_t initial = 0;  // the pixel before the first fragment reached it
  double color[4] = {};  // at colour-buffer scale, not yet rounded
  double depth = 1.0;
  double depthSlack = 0;  // window z the stored depth may be off by besides the drift
  uint64_t surface = 0;  // what wrote the depth: 0 the clear, else the triangle
  uint32_t stencil = 0;
};

class SceneReference {
 public:
  explicit SceneReference(const SceneTarget &target);
  const SceneTarget &target() const { return t_; }
  // Pixel (column, row) of the drawable's memory.
  RefPixel &At(int32_t x, int32_t row) { return pixels_[size_t(row) * t_.width + x]; }
  // Every pixel's colour as the memory holds it, depth and stencil as cleared.
  void Clear(const std::vector<uint32_t> &colors, uint32_t stencil);
  void Draw(const SceneStep &step);
  // A triangle as the primitive's decomposition hands it on: vertices in
  // winding order and the vertex whose colour flat shading takes.
  void Triangle(const SceneState &s, const SceneVertex *a, const SceneVertex *b,
                const SceneVertex *c, const SceneVertex *provoking);
  // One fragment of a polygon the caller covered itself (clipped geometry):
  // through the tests and into the pixel, its depth plane named `surface`,
  // its depth known to within `zSlack` (window z).
  void Shade(const SceneState &s, int32_t x, int32_t row, const double color[4], double z,
             uint64_t surface, double zSlack) {
    Fragment(s, x, row, color, z, false, surface, zSlack);
  }
  // The device window y of GL window y.
  double DeviceY(double y) const;
  // The GL row of a memory row.
  int32_t GlRow(int32_t row) const { return t_.yInverted ? t_.height - 1 - row : row; }

 private:
  void Fragment(const SceneState &s, int32_t x, int32_t row, const double color[4], double z,
                bool exactDepth, uint64_t surface, double zSlack = 0);
  SceneTarget t_;
  std::vector<RefPixel> pixels_;
};

// Whether the centre of pixel (i, j) is covered by the device-space
// triangle a, b, c, by the coverage rule, computed exactly. Coordinates must
// lie on a grid of 2^-12. `tie` (optional) is set when the centre lies
// within 2^-10 pixel of an edge (along its row), or exactly on an edge
// whose slope (x per row) is no float: the fill places edges with window x
// in single precision next to the 6144 bias (a step of 2^-11) and walks a
// rounded slope, so such a centre may fall either side. Exact ties on edges
// of float slopes are not ties: they follow the rule.
bool Covers(const double a[2], const double b[2], const double c[2], int32_t i, int32_t j,
            bool *tie = nullptr);

// The triangles of a primitive in GL order: (first, second, third,
// provoking) indexes into the vertex list.
struct TriangleIndexes {
  int32_t a, b, c, provoking;
};
std::vector<TriangleIndexes> Decompose(GLenum mode, int32_t count);

}  // namespace scene_test
