// Set-up, reset and release of the transform state: what the reset leaves,
// and clean failure (nothing left allocated) at every allocation of the
// set-up.
#include <gtest/gtest.h>

#include <string.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/xform_fixture.h"
#include "tests/support/counting_imports.h"

namespace {

bool IsIdentity(const GlMatrix &m) {
  for (int i = 0; i < 16; ++i)
    if (m.matrix[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
  return m.matrixType == __GL_MT_IDENTITY;
}

TEST(TransformReset, LeavesTheInitialState) {
  XformContext x;
  GlContext *gc = x.gc();
  GlTransformMachine &tm = x.tm();
  EXPECT_EQ(gc->state.transform.matrixMode, GLenum(GL_MODELVIEW));
  EXPECT_EQ(tm.modelView, tm.modelViewStack);
  EXPECT_EQ(tm.projection, tm.projectionStack);
  EXPECT_EQ(tm.texture, tm.textureStack);
  EXPECT_TRUE(IsIdentity(tm.modelView->matrix));
  EXPECT_TRUE(IsIdentity(tm.modelView->inverseTranspose));
  EXPECT_TRUE(IsIdentity(tm.modelView->mvp));
  EXPECT_TRUE(IsIdentity(tm.projection->matrix));
  EXPECT_TRUE(IsIdentity(tm.texture->matrix));
  EXPECT_EQ(tm.modelView->stale, 0);
  EXPECT_EQ(tm.modelView->sequence, tm.projection->sequence);
  EXPECT_EQ(tm.projectionSequence, 0u);
  // Identity matrices take the 2D-without-rotation procedures; the inverse
  // transpose the general four-component one for planes.
  EXPECT_EQ(tm.modelView->matrix.xf3, __glXForm3_2DNRW);
  EXPECT_EQ(tm.modelView->mvp.xf4, __glXForm4_2DNRW);
  EXPECT_EQ(tm.projection->matrix.xf2, __glXForm2_2DNRW);
  EXPECT_EQ(tm.texture->matrix.xf4, __glXForm4_2DNRW);
  EXPECT_EQ(tm.modelView->inverseTranspose.xf4, __glXForm4);
  EXPECT_EQ(tm.modelView->inverseTranspose.xf3, __glXForm3_2DNRW);
  EXPECT_EQ(gc->state.viewport.zNear, 0.0);
  EXPECT_EQ(gc->state.viewport.zFar, 1.0);
  EXPECT_EQ(gc->state.viewport.zScale, 0.5f);
  EXPECT_EQ(gc->state.viewport.zCenter, 0.5f);
  const GlCoord cull = {0, 0, 1, 0};
  EXPECT_EQ(memcmp(&tm.cullEyePos, &cull, sizeof cull), 0);
  EXPECT_EQ(memcmp(&tm.cullObjPos, &cull, sizeof cull), 0);
  EXPECT_EQ(tm.cullObjPosInForce, 0);
  for (int i = 0; i < 2 * 6 + 12; ++i) {
    EXPECT_EQ(tm.clipTemp[i].color, &tm.clipTemp[i].colors[__GL_FRONTFACE]) << i;
    EXPECT_EQ(tm.clipTemp[i].has, __GL_HAS_SIZE4) << i;
  }
  for (int i = 0; i < 6; ++i) {
    const GlCoord &p = gc->state.transform.eyeClipPlanes[i];
    EXPECT_TRUE(p.x == 0 && p.y == 0 && p.z == 0 && p.w == 0) << i;
  }
  EXPECT_EQ(gc->state.current.normal[0], 0.0f);
  EXPECT_EQ(gc->state.current.normal[1], 0.0f);
  EXPECT_EQ(gc->state.current.normal[2], 1.0f);
}

// The reset marks the model-view change, like any other.
TEST(TransformReset, MarksTheTransformDirty) {
  XformContext x;
  GlContext *gc = x.gc();
  gc->dirtyMask = 0;
  gc->beginMode = __GL_NOT_IN_BEGIN;
  __glInitTransformState(gc);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_TRANSFORM);
}

// A second reset starts over: stamps and tops as new, whatever came before.
TEST(TransformReset, StartsOverAfterUse) {
  XformContext x;
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glFrustum(-1, 1, -1, 1, 1, 2);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(1, 2, 3);
  const GLdouble plane[4] = {1, 2, 3, 4};
  glClipPlane(GL_CLIP_PLANE0 + 2, plane);
  __glInitTransformState(x.gc());
  EXPECT_EQ(x.tm().modelView, x.tm().modelViewStack);
  EXPECT_EQ(x.tm().projection, x.tm().projectionStack);
  EXPECT_EQ(x.tm().projectionSequence, 0u);
  EXPECT_EQ(x.tm().modelView->sequence, x.tm().projection->sequence);
  EXPECT_TRUE(IsIdentity(x.tm().modelView->mvp));
  const GlCoord &p = x.gc()->state.transform.eyeClipPlanes[2];
  EXPECT_TRUE(p.x == 0 && p.y == 0 && p.z == 0 && p.w == 0);
}

// The set-up's allocations: the clip planes, the three stacks and the
// clipper's vertex pool, each refused in turn.
class TransformSetUp : public testing::TestWithParam<int> {};

TEST_P(TransformSetUp, FailsCleanly) {
  CountingImports::reset();
  GlContext *gc =
      static_cast<GlContext *>(CountingImports::imports.calloc(nullptr, 1, sizeof(GlContext)));
  gc->imports = CountingImports::imports;
  gc->constants.numberOfClipPlanes = 6;
  gc->constants.maxModelViewStackDepth = 32;
  gc->constants.maxProjectionStackDepth = 2;
  gc->constants.maxTextureStackDepth = 10;
  int failAt = GetParam();
  CountingImports::failAllocation(failAt);
  GLbool8 ok = __glEarlyInitTransformState(gc);
  EXPECT_EQ(ok != 0, failAt == 0);
  __glFreeTransformState(gc);
  __glFreeTransformState(gc);  // twice is harmless
  EXPECT_EQ(gc->state.transform.eyeClipPlanes, nullptr);
  EXPECT_EQ(gc->transform.modelViewStack, nullptr);
  EXPECT_EQ(gc->transform.clipTemp, nullptr);
  CountingImports::imports.free(nullptr, gc);
  EXPECT_EQ(CountingImports::live(), 0);
  CountingImports::reset();
}

INSTANTIATE_TEST_SUITE_P(Allocation, TransformSetUp, testing::Values(0, 1, 2, 3, 4, 5));

TEST(TransformSetUp, AllocatesWhatTheConstantsSay) {
  CountingImports::reset();
  {
    XformContext x;
    // The context record, the clip planes, three stacks and the vertex pool.
    EXPECT_EQ(CountingImports::live(), 6);
  }
  EXPECT_EQ(CountingImports::live(), 0);
}

// The stack procedures follow the matrix mode.
TEST(MatrixMode, PicksTheStackProcedures) {
  XformContext x;
  const struct {
    GLenum mode;
    GlContextProc push, pop, identity;
  } cases[] = {
      {GL_PROJECTION, __glPushProjectionMatrix, __glPopProjectionMatrix,
       __glLoadIdentityProjectionMatrix},
      {GL_TEXTURE, __glPushTextureMatrix, __glPopTextureMatrix, __glLoadIdentityTextureMatrix},
      {GL_MODELVIEW, __glPushModelViewMatrix, __glPopModelViewMatrix,
       __glLoadIdentityModelViewMatrix},
  };
  for (const auto &c : cases) {
    glMatrixMode(c.mode);
    EXPECT_EQ(x.gc()->state.transform.matrixMode, c.mode);
    EXPECT_EQ(x.gc()->procs.pushMatrix, c.push);
    EXPECT_EQ(x.gc()->procs.popMatrix, c.pop);
    EXPECT_EQ(x.gc()->procs.loadIdentity, c.identity);
  }
}

}  // namespace
