// Every failure of the matrix, viewport, depth-range, scissor and clip-plane
// commands: the error recorded, and nothing else changed (the whole state,
// the transform machine, every stack element and clip plane, the begin mode
// and the dirty bits).
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

const double kNaN = nan("");

struct Snapshot {
  std::vector<uint8_t> bytes;
  explicit Snapshot(GlContext *gc) {
    Add(&gc->state, sizeof gc->state);
    Add(&gc->transform, sizeof gc->transform);
    const GlConstants &k = gc->constants;
    Add(gc->transform.modelViewStack, sizeof(GlTransform) * k.maxModelViewStackDepth);
    Add(gc->transform.projectionStack, sizeof(GlTransform) * k.maxProjectionStackDepth);
    Add(gc->transform.textureStack, sizeof(GlTransform) * k.maxTextureStackDepth);
    Add(gc->state.transform.eyeClipPlanes, sizeof(GlCoord) * k.numberOfClipPlanes);
    Add(&gc->beginMode, sizeof gc->beginMode);
    Add(&gc->dirtyMask, sizeof gc->dirtyMask);
  }
  void Add(const void *p, size_t n) {
    const uint8_t *b = static_cast<const uint8_t *>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
};

struct ErrorCase {
  const char *name;
  void (*setUp)();  // may be null
  void (*command)();
  GLenum error;
};

class Failure : public testing::TestWithParam<ErrorCase> {};

TEST_P(Failure, RecordsTheErrorAndChangesNothing) {
  const ErrorCase &c = GetParam();
  XformContext x;
  glTranslatef(1, 2, 3);  // something to keep
  if (c.setUp) c.setUp();
  ASSERT_EQ(x.error(), GLenum(GL_NO_ERROR));
  x.gc()->dirtyMask = 0;
  x.gc()->beginMode = __GL_NOT_IN_BEGIN;
  XformContext::counts() = XformCounts();
  Snapshot before(x.gc());
  c.command();
  EXPECT_EQ(x.error(), c.error);
  EXPECT_TRUE(Snapshot(x.gc()).bytes == before.bytes);
  EXPECT_EQ(XformContext::counts().applyViewport, 0);
  EXPECT_EQ(XformContext::counts().applyScissor, 0);
  EXPECT_EQ(XformContext::counts().pickVertex, 0);
}

void Projection() { glMatrixMode(GL_PROJECTION); }
void Texture() { glMatrixMode(GL_TEXTURE); }
void FillModelView() {
  for (int i = 1; i < 32; ++i) glPushMatrix();
}
void FillProjection() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
}
void FillTexture() {
  glMatrixMode(GL_TEXTURE);
  for (int i = 1; i < 10; ++i) glPushMatrix();
}
const GLdouble kPlane[4] = {1, 2, 3, 4};

INSTANTIATE_TEST_SUITE_P(
    Cases, Failure,
    testing::Values(
        ErrorCase{"ModeBelow", nullptr, [] { glMatrixMode(GL_MODELVIEW - 1); }, GL_INVALID_ENUM},
        ErrorCase{"ModeAbove", nullptr, [] { glMatrixMode(GL_TEXTURE + 1); }, GL_INVALID_ENUM},
        ErrorCase{"ModeZero", nullptr, [] { glMatrixMode(0); }, GL_INVALID_ENUM},
        ErrorCase{"PushModelView", FillModelView, [] { glPushMatrix(); }, GL_STACK_OVERFLOW},
        ErrorCase{"PushProjection", FillProjection, [] { glPushMatrix(); }, GL_STACK_OVERFLOW},
        ErrorCase{"PushTexture", FillTexture, [] { glPushMatrix(); }, GL_STACK_OVERFLOW},
        ErrorCase{"PopModelView", nullptr, [] { glPopMatrix(); }, GL_STACK_UNDERFLOW},
        ErrorCase{"PopProjection", Projection, [] { glPopMatrix(); }, GL_STACK_UNDERFLOW},
        ErrorCase{"PopTexture", Texture, [] { glPopMatrix(); }, GL_STACK_UNDERFLOW},
        ErrorCase{"FrustumNearZero", nullptr, [] { glFrustum(-1, 1, -1, 1, 0, 10); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumNearNegative", nullptr, [] { glFrustum(-1, 1, -1, 1, -1, 10); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumFarZero", nullptr, [] { glFrustum(-1, 1, -1, 1, 1, 0); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumFarNegative", nullptr, [] { glFrustum(-1, 1, -1, 1, 1, -5); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumLeftIsRight", Projection, [] { glFrustum(2, 2, -1, 1, 1, 10); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumBottomIsTop", nullptr, [] { glFrustum(-1, 1, 3, 3, 1, 10); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumNearIsFar", nullptr, [] { glFrustum(-1, 1, -1, 1, 4, 4); },
                  GL_INVALID_VALUE},
        // Differences that vanish only in single precision.
        ErrorCase{"FrustumWidthZeroAsSingle", nullptr, [] { glFrustum(0, 1e-50, -1, 1, 1, 2); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumDepthZeroAsSingle", nullptr,
                  [] { glFrustum(-1, 1, -1, 1, 1e-50, 2e-50); }, GL_INVALID_VALUE},
        ErrorCase{"FrustumNearNaN", nullptr, [] { glFrustum(-1, 1, -1, 1, kNaN, 2); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumFarNaN", nullptr, [] { glFrustum(-1, 1, -1, 1, 1, kNaN); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumLeftNaN", nullptr, [] { glFrustum(kNaN, 1, -1, 1, 1, 2); },
                  GL_INVALID_VALUE},
        ErrorCase{"FrustumTopNaN", nullptr, [] { glFrustum(-1, 1, -1, kNaN, 1, 2); },
                  GL_INVALID_VALUE},
        ErrorCase{"OrthoLeftIsRight", nullptr, [] { glOrtho(1, 1, -1, 1, -1, 1); },
                  GL_INVALID_VALUE},
        ErrorCase{"OrthoBottomIsTop", Texture, [] { glOrtho(-1, 1, 0, 0, -1, 1); },
                  GL_INVALID_VALUE},
        ErrorCase{"OrthoNearIsFar", Projection, [] { glOrtho(-1, 1, -1, 1, 2, 2); },
                  GL_INVALID_VALUE},
        ErrorCase{"OrthoNaN", nullptr, [] { glOrtho(-1, kNaN, -1, 1, -1, 1); }, GL_INVALID_VALUE},
        ErrorCase{"OrthoInfinities", nullptr,
                  [] { glOrtho(-1, 1, -1, 1, INFINITY, INFINITY); }, GL_INVALID_VALUE},
        ErrorCase{"ViewportNegativeWidth", nullptr, [] { glViewport(0, 0, -1, 10); },
                  GL_INVALID_VALUE},
        ErrorCase{"ViewportNegativeHeight", nullptr, [] { glViewport(0, 0, 10, INT_MIN); },
                  GL_INVALID_VALUE},
        ErrorCase{"ScissorNegativeWidth", nullptr, [] { glScissor(0, 0, INT_MIN, 10); },
                  GL_INVALID_VALUE},
        ErrorCase{"ScissorNegativeHeight", nullptr, [] { glScissor(0, 0, 10, -1); },
                  GL_INVALID_VALUE},
        ErrorCase{"ClipPlaneSix", nullptr, [] { glClipPlane(GL_CLIP_PLANE0 + 6, kPlane); },
                  GL_INVALID_ENUM},
        ErrorCase{"ClipPlaneBelow", nullptr, [] { glClipPlane(GL_CLIP_PLANE0 - 1, kPlane); },
                  GL_INVALID_ENUM},
        ErrorCase{"ClipPlaneZero", nullptr, [] { glClipPlane(0, kPlane); }, GL_INVALID_ENUM}),
    [](const testing::TestParamInfo<ErrorCase> &info) { return std::string(info.param.name); });

// ---- Between glBegin and glEnd every command is refused ----

struct InsideCase {
  const char *name;
  void (*command)();
};

class InsideBegin : public testing::TestWithParam<InsideCase> {};

TEST_P(InsideBegin, RecordsInvalidOperationAndChangesNothing) {
  XformContext x;
  glTranslatef(1, 2, 3);
  glPushMatrix();
  x.gc()->dirtyMask = 0;
  x.gc()->beginMode = __GL_IN_BEGIN;
  XformContext::counts() = XformCounts();
  Snapshot before(x.gc());
  GetParam().command();
  EXPECT_EQ(x.error(), GLenum(GL_INVALID_OPERATION));
  EXPECT_TRUE(Snapshot(x.gc()).bytes == before.bytes);
  EXPECT_EQ(XformContext::counts().applyViewport, 0);
  EXPECT_EQ(XformContext::counts().applyScissor, 0);
  EXPECT_EQ(XformContext::counts().computeClipBox, 0);
  x.gc()->beginMode = __GL_NOT_IN_BEGIN;
}

const GLfloat kMatrixF[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1};
const GLdouble kMatrixD[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1};

INSTANTIATE_TEST_SUITE_P(
    Entries, InsideBegin,
    testing::Values(
        InsideCase{"MatrixMode", [] { glMatrixMode(GL_PROJECTION); }},
        InsideCase{"LoadIdentity", [] { glLoadIdentity(); }},
        InsideCase{"LoadMatrixf", [] { glLoadMatrixf(kMatrixF); }},
        InsideCase{"LoadMatrixd", [] { glLoadMatrixd(kMatrixD); }},
        InsideCase{"MultMatrixf", [] { glMultMatrixf(kMatrixF); }},
        InsideCase{"MultMatrixd", [] { glMultMatrixd(kMatrixD); }},
        InsideCase{"Rotatef", [] { glRotatef(10, 1, 0, 0); }},
        InsideCase{"Rotated", [] { glRotated(10, 1, 0, 0); }},
        InsideCase{"Scalef", [] { glScalef(2, 2, 2); }},
        InsideCase{"Scaled", [] { glScaled(2, 2, 2); }},
        InsideCase{"Translatef", [] { glTranslatef(1, 1, 1); }},
        InsideCase{"Translated", [] { glTranslated(1, 1, 1); }},
        InsideCase{"Frustum", [] { glFrustum(-1, 1, -1, 1, 1, 2); }},
        InsideCase{"Ortho", [] { glOrtho(-1, 1, -1, 1, 1, 2); }},
        InsideCase{"PushMatrix", [] { glPushMatrix(); }},
        InsideCase{"PopMatrix", [] { glPopMatrix(); }},
        InsideCase{"Viewport", [] { glViewport(1, 2, 3, 4); }},
        InsideCase{"DepthRange", [] { glDepthRange(0.25, 0.5); }},
        InsideCase{"Scissor", [] { glScissor(1, 2, 3, 4); }},
        InsideCase{"ClipPlane", [] { glClipPlane(GL_CLIP_PLANE0, kMatrixD); }},
        // The checks of the arguments come after the begin test.
        InsideCase{"BadMode", [] { glMatrixMode(0); }},
        InsideCase{"BadViewport", [] { glViewport(0, 0, -1, -1); }},
        InsideCase{"BadClipPlane", [] { glClipPlane(0, kMatrixD); }},
        InsideCase{"BadFrustum", [] { glFrustum(-1, 1, -1, 1, 0, 2); }}),
    [](const testing::TestParamInfo<InsideCase> &info) { return std::string(info.param.name); });

// Null matrix and plane pointers are ignored rather than read.
TEST(NullPointers, AreIgnored) {
  XformContext x;
  Snapshot before(x.gc());
  glLoadMatrixf(nullptr);
  glLoadMatrixd(nullptr);
  glMultMatrixf(nullptr);
  glMultMatrixd(nullptr);
  glClipPlane(GL_CLIP_PLANE0, nullptr);
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(Snapshot(x.gc()).bytes == before.bytes);
}

}  // namespace
