// The depth range and window z: clamping, the mapping in the direction the
// depth buffer runs, and a resize delivered by the drawable's lock in the
// middle of the update.
#include <gtest/gtest.h>

#include <math.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/drawable_stub.h"
#include "tests/geometry/xform_fixture.h"

namespace {

struct DepthCase {
  const char *name;
  double zNear, zFar;
  bool reversed;
  double storedNear, storedFar;
  float zScale, zCenter;
};

class DepthRange : public testing::TestWithParam<DepthCase> {};

TEST_P(DepthRange, ClampsStoresAndMapsWindowZ) {
  const DepthCase &c = GetParam();
  XformContext x;
  DrawableStub drawable(x.gc());
  drawable.setReversed(c.reversed);
  glDepthRange(c.zNear, c.zFar);
  const GlViewport &vp = x.gc()->state.viewport;
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(vp.zNear, c.storedNear);
  EXPECT_EQ(vp.zFar, c.storedFar);
  EXPECT_EQ(vp.zScale, c.zScale);
  EXPECT_EQ(vp.zCenter, c.zCenter);
  // Window z, in [0, 1]: the near plane (clip z = -w) and the far plane.
  double nearZ = c.reversed ? 1 - c.storedNear : c.storedNear;
  double farZ = c.reversed ? 1 - c.storedFar : c.storedFar;
  EXPECT_EQ(-1 * vp.zScale + vp.zCenter, float(nearZ));
  EXPECT_EQ(1 * vp.zScale + vp.zCenter, float(farZ));
  EXPECT_EQ(x.gc()->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(x.gc()->dirtyMask, __GL_DIRTY_DEPTH | __GL_DIRTY_GENERIC);
  EXPECT_EQ(drawable.locks, 1);
  EXPECT_EQ(drawable.unlocks, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DepthRange,
    testing::Values(DepthCase{"Default", 0, 1, false, 0, 1, 0.5f, 0.5f},
                    DepthCase{"Clamped", -1, 2, false, 0, 1, 0.5f, 0.5f},
                    DepthCase{"Inner", 0.25, 0.75, false, 0.25, 0.75, 0.25f, 0.5f},
                    DepthCase{"ReversedRange", 1, 0, false, 1, 0, -0.5f, 0.5f},
                    DepthCase{"Point", 0.5, 0.5, false, 0.5, 0.5, 0, 0.5f},
                    DepthCase{"NaNIsZero", nan(""), 0.5, false, 0, 0.5, 0.25f, 0.25f},
                    DepthCase{"InfinitiesClamp", -INFINITY, INFINITY, false, 0, 1, 0.5f, 0.5f},
                    DepthCase{"ReversedBuffer", 0, 1, true, 0, 1, -0.5f, 0.5f},
                    DepthCase{"ReversedBufferInner", 0.25, 0.5, true, 0.25, 0.5, -0.125f,
                              0.625f},
                    DepthCase{"ReversedBufferAndRange", 1, 0.5, true, 1, 0.5, 0.25f, 0.25f}),
    [](const testing::TestParamInfo<DepthCase> &info) { return std::string(info.param.name); });

// Re-applying the stored range follows the depth buffer's direction.
TEST(DepthRangeUpdate, FollowsTheReversedFlag) {
  XformContext x;
  DrawableStub drawable(x.gc());
  glDepthRange(0.2, 0.6);
  const GlViewport &vp = x.gc()->state.viewport;
  float scale = vp.zScale, center = vp.zCenter;
  drawable.setReversed(true);
  __glUpdateDepthRange(x.gc());
  EXPECT_EQ(vp.zScale, -scale);
  EXPECT_EQ(vp.zCenter, float((0.8 + 0.4) * 0.5));
  EXPECT_EQ(vp.zNear, 0.2);
  EXPECT_EQ(vp.zFar, 0.6);
  drawable.setReversed(false);
  __glUpdateDepthRange(x.gc());
  EXPECT_EQ(vp.zScale, scale);
  EXPECT_EQ(vp.zCenter, center);
}

// The lock of the depth range delivers a pending resize, which updates the
// viewport (and here the depth range too) in the middle of the update.
TEST(DepthRangeUpdate, SurvivesAResizeDeliveredByTheLock) {
  XformContext x(kTopDown);
  DrawableStub drawable(x.gc());
  glViewport(0, 0, 640, 480);
  drawable.resizeAtNextLock(800, 600);
  glDepthRange(0.25, 0.75);
  const GlViewport &vp = x.gc()->state.viewport;
  EXPECT_EQ(vp.zScale, 0.25f);
  EXPECT_EQ(vp.zCenter, 0.5f);
  EXPECT_EQ(drawable.zScaleDuringResize, 0.25f);
  // The viewport follows the new height at once.
  EXPECT_EQ(vp.yCenter, 600 - kViewportEpsilon - 240 + 6144);
  EXPECT_EQ(x.tm().clipBox[3], 6144 + 600);
  EXPECT_EQ(drawable.locks, drawable.unlocks);
  EXPECT_EQ(drawable.locks, 2);
}

}  // namespace
