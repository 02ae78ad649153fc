// A bound context with the vertex cache switched on or off in-process, and
// a scene of numbered vertices given through the immediate entries, so that
// a drawing can be recorded both ways and compared.
#pragma once

#include <math.h>

#include <functional>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/geometry/varray/prim_stream.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace vcache_test {

using prim_stream::Call;

inline const char *const kModeNames[] = {"points",       "lines",  "line loop",  "line strip",
                                         "triangles",    "triangle strip", "triangle fan",
                                         "quads",        "quad strip",     "polygon"};

// What each vertex of a block is given besides its position.
struct Attributes {
  bool color = true;
  bool normal = false;
  bool texture = false;
  bool edgeFlags = false;  // every third vertex starts a hidden edge
  bool index = false;
};

class VcacheTest : public varray_test::VarrayTest {
 protected:
  // Switches the cache and validates, as a context reset with "__GL_VCACHE"
  // would pick.
  void Cache(bool on) {
    gc->vcache.enabled = on;
    gc->dirtyMask |= __GL_DIRTY_ALL;
    gc->beginMode = __GL_VALIDATE_PENDING;
    ValidatePending();
  }

  // Vertex `id` on a ring (convex for consecutive vertices), `scale` above
  // 1 putting some outside the frustum; z carries the id.
  static void Position(int id, GLfloat scale, GLfloat out[4]) {
    const double a = 2 * M_PI * id / 101.0;
    out[0] = GLfloat(cos(a)) * scale;
    out[1] = GLfloat(sin(a)) * scale * (id % 3 == 1 ? 0.5f : 1.0f);
    out[2] = prim_stream::ZOf(id);
    out[3] = 1.0f;
  }

  static void Give(int id, GLfloat scale, const Attributes &a) {
    if (a.color) {
      const GLubyte c[] = {GLubyte(id * 7), GLubyte(id * 7 + 50), GLubyte(id * 7 + 100),
                           GLubyte(255 - id)};
      glColor4ubv(c);
    }
    if (a.index) glIndexf(GLfloat(id % 16));
    if (a.normal) {
      const double t = 2 * M_PI * id / 101.0;
      glNormal3f(GLfloat(cos(t)), GLfloat(sin(t)), id % 4 == 0 ? -0.5f : 0.5f);
    }
    if (a.texture) glTexCoord4f(GLfloat(id) / 8, 1.0f - GLfloat(id) / 16, 0.25f, 1.0f);
    if (a.edgeFlags) glEdgeFlag(id % 3 != 0);
    GLfloat p[4];
    Position(id, scale, p);
    if (id % 2)
      glVertex4fv(p);
    else
      glVertex3fv(p);
  }

  static void Block(GLenum mode, int count, GLfloat scale = 0.8f, Attributes a = {}) {
    glBegin(mode);
    for (int id = 0; id < count; ++id) Give(id, scale, a);
    glEnd();
  }

  // A block whose material changes every fifth vertex, through glMaterial
  // or, under colour material, glColor; it starts from the same grey
  // material each time, so two runs light alike.
  static void MaterialChangingBlock(GLenum mode, int count, bool colorMaterial,
                                    const Attributes &a) {
    const GLfloat grey[] = {0.8f, 0.8f, 0.8f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
    glColor4fv(grey);
    glBegin(mode);
    for (int id = 0; id < count; ++id) {
      if (id % 5 == 2) {
        const GLfloat c[] = {GLfloat(id % 7) / 7, 0.5f, GLfloat(id % 3) / 3, 1.0f};
        if (colorMaterial)
          glColor4fv(c);
        else
          glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, c);
      }
      Give(id, 0.8f, a);
    }
    glEnd();
  }

  // The render stream of `draw` with the cache on or off.
  std::vector<Call> Record(bool cache, const std::function<void()> &draw) {
    Cache(cache);
    prim_stream::Install(gc);
    prim_stream::Take();
    draw();
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    std::vector<Call> calls = prim_stream::Take();
    // A lit colour is computed when the rasterizer needs it, which the two
    // paths reach at different points: the lit colours are compared in
    // feedback, which computes them all.
    if (gc->state.enables.general & __GL_LIGHTING_ENABLE)
      for (Call &c : calls)
        for (GlVertex &v : c.vertices) v.colors[__GL_FRONTFACE] = GlColor{};
    return calls;
  }
};

}  // namespace vcache_test
