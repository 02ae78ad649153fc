// The viewport mapping on normal and top-down drawables, and the way back
// from window coordinates to the application's.
#include <gtest/gtest.h>

#include <limits.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

struct ViewportCase {
  const char *name;
  DrawableSize drawable;
  GLint x, y;
  GLsizei width, height;
  GLint storedWidth, storedHeight;
  float xScale, xCenter, yScale, yCenter;
};

class Viewport : public testing::TestWithParam<ViewportCase> {};

TEST_P(Viewport, StoresAndMaps) {
  const ViewportCase &c = GetParam();
  XformContext x(c.drawable);
  glViewport(c.x, c.y, c.width, c.height);
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  const GlViewport &vp = x.gc()->state.viewport;
  EXPECT_EQ(vp.x, c.x);
  EXPECT_EQ(vp.y, c.y);
  EXPECT_EQ(vp.width, c.storedWidth);
  EXPECT_EQ(vp.height, c.storedHeight);
  EXPECT_EQ(vp.xScale, c.xScale);
  EXPECT_EQ(vp.xCenter, c.xCenter);
  EXPECT_EQ(vp.yScale, c.yScale);
  EXPECT_EQ(vp.yCenter, c.yCenter);
  EXPECT_EQ(XformContext::counts().applyViewport, 1);
  EXPECT_EQ(XformContext::counts().pickVertex, 1);  // the composite re-picked
  EXPECT_EQ(x.gc()->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(x.gc()->dirtyMask, __GL_DIRTY_GENERIC);
}

// Window coordinates of the viewport's corners come back as the corners.
TEST_P(Viewport, ReturnWindowInvertsTheMapping) {
  const ViewportCase &c = GetParam();
  if (c.x > 100000 || c.x < -100000) return;  // beyond single-precision steps of 1
  XformContext x(c.drawable);
  glViewport(c.x, c.y, c.width, c.height);
  const GlViewport &vp = x.gc()->state.viewport;
  for (float ndc : {-1.0f, 0.0f, 1.0f}) {
    float wx = ndc * vp.xScale + vp.xCenter, wy = ndc * vp.yScale + vp.yCenter;
    double ax = c.x + (ndc + 1) / 2 * vp.width, ay = c.y + (ndc + 1) / 2 * vp.height;
    EXPECT_NEAR(__glReturnWindowX(x.gc(), wx), ax, 1e-3) << ndc;
    EXPECT_NEAR(__glReturnWindowY(x.gc(), wy), ay, 1e-3) << ndc;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Viewport,
    testing::Values(
        ViewportCase{"Window", kNormal, 0, 0, 640, 480, 640, 480, 320, 6464, 240, 6384},
        ViewportCase{"WindowTopDown", kTopDown, 0, 0, 640, 480, 640, 480, 320, 6464, -240,
                     6384 - kViewportEpsilon},
        ViewportCase{"Inner", kNormal, 10, 20, 100, 50, 100, 50, 50, 6204, 25, 6189},
        ViewportCase{"InnerTopDown", kTopDown, 10, 20, 100, 50, 100, 50, 50, 6204, -25,
                     6579 - kViewportEpsilon},
        ViewportCase{"OddSizes", kNormal, 0, 0, 641, 481, 641, 481, 320.5f, 6464.5f, 240.5f,
                     6384.5f},
        ViewportCase{"Clamped", kNormal, 0, 0, 3000, 100, 2048, 100, 1024, 7168, 50, 6194},
        ViewportCase{"NegativeCornerAndClamped", kNormal, -100, -50, 3000, 5000, 2048, 2048,
                     1024, 7068, 1024, 7118},
        ViewportCase{"NegativeCornerTopDown", kTopDown, -10, -10, 20, 20, 20, 20, 10, 6144, -10,
                     6624 - kViewportEpsilon},
        ViewportCase{"Empty", kNormal, 5, 5, 0, 0, 0, 0, 0, 6149, 0, 6149},
        ViewportCase{"FarCorner", kNormal, INT_MAX, INT_MIN, 2048, 2048, 2048, 2048, 1024,
                     float(2147483647.0 + 7168), 1024, float(-2147483648.0 + 7168)}),
    [](const testing::TestParamInfo<ViewportCase> &info) { return std::string(info.param.name); });

// A resize can reach the viewport update before the transform state or the
// procedure table exists (the first binding takes the lock early).
TEST(ViewportUpdate, IsSafeBeforeTheTransformStateExists) {
  XformContext x;
  GlContext *gc = x.gc();
  GlTransform *saved = gc->transform.modelView;
  gc->transform.modelView = nullptr;
  gc->state.viewport.width = 100;
  __glUpdateViewport(gc);
  EXPECT_EQ(gc->state.viewport.xScale, 50);
  gc->transform.modelView = saved;
  gc->procs.pickMvpMatrixProcs = nullptr;
  gc->state.viewport.width = 200;
  __glUpdateViewport(gc);
  EXPECT_EQ(gc->state.viewport.xScale, 100);
  EXPECT_EQ(XformContext::counts().pickVertex, 0);
}

// ---- Back to the application's window coordinates ----

TEST(ReturnWindow, RemovesTheBiasAndTheFlip) {
  XformContext normal(kNormal);
  EXPECT_EQ(__glReturnWindowX(normal.gc(), 6144 + 12.5f), 12.5f);
  EXPECT_EQ(__glReturnWindowY(normal.gc(), 6144 + 7.25f), 7.25f);
}

TEST(ReturnWindow, TopDownRowsComeBackBottomUp) {
  XformContext topDown(kTopDown);
  // Row 0 of the window (top) is application y 480 - epsilon, row 479.5 is 0.5 - epsilon.
  EXPECT_EQ(__glReturnWindowY(topDown.gc(), 6144), 480 - kViewportEpsilon);
  EXPECT_EQ(__glReturnWindowY(topDown.gc(), 6144 + 479.5f), 0.5f - kViewportEpsilon);
}

}  // namespace
