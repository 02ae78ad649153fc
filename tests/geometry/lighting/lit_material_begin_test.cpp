// glMaterial between glBegin and glEnd: before the material changes, the
// material validator of the primitive in progress lights the vertices that
// are waiting for a later vertex, with the material they were given under;
// vertices lit afterwards take the new material. Runs the real chain: the
// glMaterial entry, the primitive's validator, lazy vertex validation and
// the lighting procedure.
#include <gtest/gtest.h>

#include "core/gl_entries.h"
#include "geometry/s_prim.h"
#include "geometry/s_vertex_procs.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/lit_support.h"

namespace {

// Light 0 white from +z, nothing but diffuse; the front diffuse colour is
// grey 0.5 and the back one 0.25, so a vertex facing the light is lit
// 127.5 in front and, with the normal turned away, 63.75 behind.
void State(LightContext &ctx) {
  GlContext *gc = ctx.gc();
  const GlConstants &k = gc->constants;
  gc->state.light.model.ambient = GlColor{0, 0, 0, 0};
  gc->state.light.model.twoSided = 1;
  ctx.setLights(0x1);
  GlLight &l = ctx.light(0);
  l.ambient = l.specular = GlColor{0, 0, 0, 0};
  l.diffuse = GlColor{k.redScale, k.greenScale, k.blueScale, k.alphaScale};
  l.positionEye = GlCoord{0, 0, 1, 0};
  ctx.material(__GL_FRONTFACE).diffuse = GlColor{0.5f, 0.5f, 0.5f, 1};
  ctx.material(__GL_BACKFACE).diffuse = GlColor{0.25f, 0.25f, 0.25f, 1};
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.validate();
  gc->procs.validateVertex[1] = __glValidateVertex2;
  gc->procs.validateVertex[2] = __glValidateVertex3;
  gc->procs.validateVertex[3] = __glValidateVertex4;
}

// Where the waiting vertices are: the slots filled so far, or the kept ones.
enum class Waiting { kSlots, kKeptOne, kKeptTwo };

struct Case {
  const char *what;
  int32_t beginMode;
  uint32_t smoothNeeds;
  void (*matValidate)(GlContext *);
  Waiting waiting;
  GLenum face, pname;
  GLfloat normalZ;  // 1 faces the light, -1 turns the back face to it
  bool earlyLit;    // the vertices given before the change keep the old colour
};

const Case kCases[] = {
    {"triangles: the vertices in the slots", __GL_IN_BEGIN, __GL_HAS_FRONT_COLOR,
     __glMatValidateVbuf0N, Waiting::kSlots, GL_FRONT, GL_DIFFUSE, 1, true},
    {"a line strip: the kept vertex", __GL_IN_BEGIN, __GL_HAS_FRONT_COLOR, __glMatValidateV1,
     Waiting::kKeptOne, GL_FRONT, GL_DIFFUSE, 1, true},
    {"a triangle strip: both kept vertices", __GL_IN_BEGIN, __GL_HAS_FRONT_COLOR,
     __glMatValidateV1V2, Waiting::kKeptTwo, GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, 1, true},
    {"two-sided: the back colours too", __GL_IN_BEGIN,
     __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR, __glMatValidateVbuf0N, Waiting::kSlots, GL_BACK,
     GL_DIFFUSE, -1, true},
    {"two-sided, a front change leaves the back colours alone", __GL_IN_BEGIN,
     __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR, __glMatValidateVbuf0N, Waiting::kSlots,
     GL_FRONT, GL_DIFFUSE, -1, true},
    {"flat shading needs no colour early: all lit with the new material", __GL_IN_BEGIN, 0,
     __glMatValidateVbuf0N, Waiting::kSlots, GL_FRONT, GL_DIFFUSE, 1, false},
    {"outside glBegin nothing is waiting", __GL_NOT_IN_BEGIN, __GL_HAS_FRONT_COLOR,
     __glMatValidateVbuf0N, Waiting::kSlots, GL_FRONT, GL_DIFFUSE, 1, false},
};

TEST(MaterialInsideBegin, EarlierVerticesKeepTheOldMaterial) {
  const GLfloat red[4] = {1, 0, 0, 1};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    GlContext *gc = ctx.gc();
    CurrentContext current(gc);
    State(ctx);
    GlVertexBuffer &vb = gc->vertexBuffer;
    // Two vertices given, eye coordinates and normals done, no colour yet.
    for (int i = 0; i < 3; i++) {
      vb.slots[i] = LitVertex(GlCoord{GLfloat(i), 0, -5, 1}, GlCoord{0, 0, c.normalZ, 0});
      vb.slots[i].has = __GL_HAS_SIZE3 | __GL_HAS_EYE | __GL_HAS_NORMAL;
    }
    vb.next = &vb.slots[2];
    vb.kept[0] = &vb.slots[1];
    vb.kept[1] = c.waiting == Waiting::kKeptTwo ? &vb.slots[0] : nullptr;
    vb.smoothNeeds = c.smoothNeeds;
    gc->beginMode = c.beginMode;
    gc->procs.matValidate = c.matValidate;
    const int waiting = c.waiting == Waiting::kKeptOne ? 1 : 2;

    __glim_Materialfv(c.face, c.pname, red);
    EXPECT_EQ(gc->error, GLenum(GL_NO_ERROR));

    // The primitive completes: every vertex gets both colours.
    const uint32_t needs = __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR;
    for (int i = 0; i < 3; i++) __glValidateVertex3(gc, &vb.slots[i], needs);
    const int litFace = c.normalZ > 0 ? __GL_FRONTFACE : __GL_BACKFACE;
    const uint32_t faceBits[2] = {__GL_HAS_FRONT_COLOR, __GL_HAS_BACK_COLOR};
    const GLfloat oldGrey[2] = {127.5f, 63.75f};
    for (int i = 0; i < 3; i++) {
      SCOPED_TRACE(testing::Message() << "vertex " << i);
      const bool given = i >= 2 - waiting && i < 2;
      for (int face = 0; face < 2; face++) {
        SCOPED_TRACE(face ? "back" : "front");
        const GlColor &got = vb.slots[i].colors[face];
        GlColor want = {0, 0, 0, 255};  // the face turned away from the light
        if (face == litFace) {
          const bool changed = c.face == GL_FRONT_AND_BACK ||
                               c.face == (face == __GL_FRONTFACE ? GL_FRONT : GL_BACK);
          const bool early = c.earlyLit && given && (c.smoothNeeds & faceBits[face]);
          const GLfloat g = oldGrey[face];
          want = changed && !early ? GlColor{255, 0, 0, 255} : GlColor{g, g, g, 255};
        }
        EXPECT_NEAR(got.r, want.r, 1e-3);
        EXPECT_NEAR(got.g, want.g, 1e-3);
        EXPECT_NEAR(got.b, want.b, 1e-3);
        EXPECT_NEAR(got.a, want.a, 1e-3);
      }
    }
  }
}

}  // namespace
