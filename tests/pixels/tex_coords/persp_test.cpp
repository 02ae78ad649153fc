// The perspective wrappers: the base procedure first (the fast form skips it
// under an identity texture matrix), then s, t and q times 1/w unless the
// vertex carries a clip code.
#include "pixels/px_texgen.h"
#include "tests/pixels/tex_params/tex_param_fixture.h"

namespace tex_param_test {
namespace {

int baseCalls;
// Stands for a generation procedure: counts, and writes known coordinates.
void Base(GlContext *, GlVertex *v) {
  ++baseCalls;
  v->texture = {2, 4, 6, 8};
}

TEST_F(TexParamTest, PerspectiveWrappersRunTheBaseThenDivide) {
  struct Case {
    const char *what;
    GlVertexProc wrapper;
    bool identity;
    uint32_t has;
    int calls;
    GlCoord want;
  } cases[] = {
      {"plain, identity", __glCalcTexturePersp, true, 0, 1, {1, 2, 6, 4}},
      {"plain, general", __glCalcTexturePersp, false, 0, 1, {1, 2, 6, 4}},
      {"plain, clipped", __glCalcTexturePersp, false, __GL_CLIP_NEAR, 1, {2, 4, 6, 8}},
      {"plain, user plane", __glCalcTexturePersp, true, 0x80000000u, 1, {2, 4, 6, 8}},
      {"fast, identity", __glFastCalcTexturePersp, true, 0, 0, {5, 6, 7, 4}},
      {"fast, identity, clipped", __glFastCalcTexturePersp, true, __GL_CLIP_LEFT, 0,
       {10, 12, 7, 8}},
      {"fast, general", __glFastCalcTexturePersp, false, 0, 1, {1, 2, 6, 4}},
      {"fast, other bits only", __glFastCalcTexturePersp, false,
       __GL_HAS_SIZE4 | __GL_HAS_EYE | __GL_HAS_EDGEFLAG_BOUNDARY, 1, {1, 2, 6, 4}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    if (!c.identity) glRotatef(30, 0, 0, 1);
    gc->procs.calcTextureBase = Base;
    baseCalls = 0;
    GlVertex v{};
    v.has = c.has;
    v.window.w = 0.5f;
    v.texture = {10, 12, 7, 8};
    c.wrapper(gc, &v);
    EXPECT_EQ(baseCalls, c.calls);
    EXPECT_EQ(v.texture.x, c.want.x);
    EXPECT_EQ(v.texture.y, c.want.y);
    EXPECT_EQ(v.texture.z, c.want.z);
    EXPECT_EQ(v.texture.w, c.want.w);
  }
}

}  // namespace
}  // namespace tex_param_test
