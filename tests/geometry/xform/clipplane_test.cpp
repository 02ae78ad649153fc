// User clip planes: stored in eye coordinates through the inverse of the
// model-view matrix in force, checked against double precision.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/matrix_reference.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

// The plane as a row vector times the inverse model-view.
std::array<double, 4> EyePlane(const Ref &modelView, const GLdouble plane[4]) {
  return RefApply(RefTranspose(RefInverse(modelView)), {plane[0], plane[1], plane[2], plane[3]});
}

struct PlaneCase {
  const char *name;
  void (*modelView)();
  Ref (*reference)();
  GLenum plane;
  GLdouble equation[4];
};

class ClipPlane : public testing::TestWithParam<PlaneCase> {};

TEST_P(ClipPlane, IsStoredInEyeCoordinates) {
  const PlaneCase &c = GetParam();
  XformContext x;
  c.modelView();
  glClipPlane(c.plane, c.equation);
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  std::array<double, 4> want = EyePlane(c.reference(), c.equation);
  const GlCoord &got = x.gc()->state.transform.eyeClipPlanes[c.plane - GL_CLIP_PLANE0];
  EXPECT_NEAR(got.x, want[0], 1e-5);
  EXPECT_NEAR(got.y, want[1], 1e-5);
  EXPECT_NEAR(got.z, want[2], 1e-5);
  EXPECT_NEAR(got.w, want[3], 1e-5);
  EXPECT_EQ(x.tm().modelView->stale, 0);
  EXPECT_EQ(x.gc()->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_TRUE(x.gc()->dirtyMask & __GL_DIRTY_GENERIC);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipPlane,
    testing::Values(
        PlaneCase{"Identity", [] {}, RefIdentity, GL_CLIP_PLANE0, {1, 2, 3, 4}},
        PlaneCase{"Translated", [] { glTranslatef(0, 0, -5); },
                  [] { return RefTranslate(0, 0, -5); }, GL_CLIP_PLANE0 + 1, {0, 0, 1, 0}},
        PlaneCase{"Scaled", [] { glScalef(2, 4, 0.5f); }, [] { return RefScale(2, 4, 0.5); },
                  GL_CLIP_PLANE0 + 2, {1, 1, 1, -1}},
        PlaneCase{"RotatedAndTranslated",
                  [] {
                    glRotatef(30, 1, 2, 3);
                    glTranslatef(1, -2, 3);
                  },
                  [] { return RefProduct(RefTranslate(1, -2, 3), RefRotate(30, 1, 2, 3)); },
                  GL_CLIP_PLANE0 + 5, {0.5, -1, 2, 7}},
        PlaneCase{"General",
                  [] {
                    const GLfloat m[16] = {2, 0.5f, 0, 0.25f, 0, 1, 0.5f, 0, 1, 0, 3, 0.5f,
                                           1, 2, 3, 2};
                    glLoadMatrixf(m);
                  },
                  [] {
                    return Ref{2, 0.5, 0, 0.25, 0, 1, 0.5, 0, 1, 0, 3, 0.5, 1, 2, 3, 2};
                  },
                  GL_CLIP_PLANE0 + 3, {1, -1, 0.5, 2}}),
    [](const testing::TestParamInfo<PlaneCase> &info) { return std::string(info.param.name); });

TEST(ClipPlaneExactly, UnderATranslation) {
  XformContext x;
  glTranslatef(0, 0, -5);
  const GLdouble plane[4] = {0, 0, 1, 0};
  glClipPlane(GL_CLIP_PLANE0, plane);
  const GlCoord &got = x.gc()->state.transform.eyeClipPlanes[0];
  EXPECT_EQ(got.x, 0);
  EXPECT_EQ(got.y, 0);
  EXPECT_EQ(got.z, 1);
  EXPECT_EQ(got.w, 5);
}

// Only the eye-space plane is kept: a later model-view change leaves it.
TEST(ClipPlaneExactly, DoesNotMoveWithTheModelView) {
  XformContext x;
  const GLdouble plane[4] = {1, 0, 0, 1};
  glClipPlane(GL_CLIP_PLANE0 + 4, plane);
  glTranslatef(10, 10, 10);
  const GlCoord &got = x.gc()->state.transform.eyeClipPlanes[4];
  EXPECT_EQ(got.x, 1);
  EXPECT_EQ(got.w, 1);
}

// A singular model-view keeps the previous inverse transpose, and the clip
// plane goes through that one.
TEST(ClipPlaneSingular, UsesThePreviousInverseTranspose) {
  XformContext x;
  glScalef(2, 2, 2);
  const GLdouble plane[4] = {1, 1, 1, 1};
  glClipPlane(GL_CLIP_PLANE0, plane);  // inverse transpose of the scale now
  GlMatrix before = x.tm().modelView->inverseTranspose;
  const GLfloat flat[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  glLoadMatrixf(flat);
  EXPECT_EQ(x.tm().modelView->stale, 1);
  glClipPlane(GL_CLIP_PLANE0 + 1, plane);
  const GlMatrix &after = x.tm().modelView->inverseTranspose;
  EXPECT_EQ(memcmp(after.matrix, before.matrix, sizeof after.matrix), 0);
  EXPECT_EQ(after.matrixType, uint32_t(__GL_MT_GENERAL));
  EXPECT_EQ(x.tm().modelView->stale, 0);
  const GlCoord &p = x.gc()->state.transform.eyeClipPlanes[1];
  EXPECT_EQ(p.x, 0.5f);
  EXPECT_EQ(p.y, 0.5f);
  EXPECT_EQ(p.z, 0.5f);
  EXPECT_EQ(p.w, 1.0f);
}

}  // namespace
