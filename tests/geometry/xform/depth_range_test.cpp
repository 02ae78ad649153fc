// The depth range and window z: clamping, the mapping, and its
// independence of the depth buffer bound (which keeps the direction it
// stores depth in to itself) and of the drawable's lock.
#include <gtest/gtest.h>

#include <math.h>

#include <memory>
#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/drawable_stub.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

struct DepthCase {
  const char *name;
  double zNear, zFar;
  double storedNear, storedFar;
  float zScale, zCenter;
};

// The depth buffer behind the range: none bound, or one running either way.
enum Buffer { kNoDrawable, kForward, kReversed };

class DepthRange : public testing::TestWithParam<DepthCase> {};

TEST_P(DepthRange, ClampsStoresAndMapsWindowZWhateverTheBufferRuns) {
  const DepthCase &c = GetParam();
  for (Buffer buffer : {kNoDrawable, kForward, kReversed}) {
    SCOPED_TRACE(buffer);
    XformContext x;
    std::unique_ptr<DrawableStub> drawable;
    if (buffer != kNoDrawable) {
      drawable = std::make_unique<DrawableStub>(x.gc());
      drawable->setReversed(buffer == kReversed);
    }
    glDepthRange(c.zNear, c.zFar);
    const GlViewport &vp = x.gc()->state.viewport;
    EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(vp.zNear, c.storedNear);
    EXPECT_EQ(vp.zFar, c.storedFar);
    EXPECT_EQ(vp.zScale, c.zScale);
    EXPECT_EQ(vp.zCenter, c.zCenter);
    // Window z, in [0, 1]: the near plane (clip z = -w) and the far plane.
    EXPECT_EQ(-1 * vp.zScale + vp.zCenter, float(c.storedNear));
    EXPECT_EQ(1 * vp.zScale + vp.zCenter, float(c.storedFar));
    EXPECT_EQ(x.gc()->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_EQ(x.gc()->dirtyMask, __GL_DIRTY_DEPTH | __GL_DIRTY_GENERIC);
    if (drawable) {
      EXPECT_EQ(drawable->locks, 0) << "nothing of the drawable is read";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DepthRange,
    testing::Values(DepthCase{"Default", 0, 1, 0, 1, 0.5f, 0.5f},
                    DepthCase{"Clamped", -1, 2, 0, 1, 0.5f, 0.5f},
                    DepthCase{"Inner", 0.25, 0.75, 0.25, 0.75, 0.25f, 0.5f},
                    DepthCase{"ReversedRange", 1, 0, 1, 0, -0.5f, 0.5f},
                    DepthCase{"Point", 0.5, 0.5, 0.5, 0.5, 0, 0.5f},
                    DepthCase{"NaNIsZero", nan(""), 0.5, 0, 0.5, 0.25f, 0.25f},
                    DepthCase{"InfinitiesClamp", -INFINITY, INFINITY, 0, 1, 0.5f, 0.5f},
                    DepthCase{"InnerQuarter", 0.25, 0.5, 0.25, 0.5, 0.125f, 0.375f},
                    DepthCase{"ReversedInner", 1, 0.5, 1, 0.5, -0.25f, 0.75f}),
    [](const testing::TestParamInfo<DepthCase> &info) { return std::string(info.param.name); });

// Re-applying the stored range gives the same mapping whichever way the
// depth buffer runs: polygon offset, feedback, selection and the raster
// position all see window z unreversed.
TEST(DepthRangeUpdate, DoesNotFollowTheBuffersDirection) {
  XformContext x;
  DrawableStub drawable(x.gc());
  glDepthRange(0.2, 0.6);
  const GlViewport &vp = x.gc()->state.viewport;
  const float scale = vp.zScale, center = vp.zCenter;
  EXPECT_EQ(scale, float((0.6 - 0.2) * 0.5));
  EXPECT_EQ(center, float((0.6 + 0.2) * 0.5));
  for (bool reversed : {true, false}) {
    drawable.setReversed(reversed);
    __glUpdateDepthRange(x.gc());
    EXPECT_EQ(vp.zScale, scale) << reversed;
    EXPECT_EQ(vp.zCenter, center) << reversed;
    EXPECT_EQ(vp.zNear, 0.2);
    EXPECT_EQ(vp.zFar, 0.6);
  }
  EXPECT_EQ(drawable.locks, 0);
}

// glDepthRange takes no drawable lock, so a resize the window-system layer
// has pending waits for the next lock; the range is set all the same.
TEST(DepthRangeUpdate, APendingResizeWaitsForTheNextLock) {
  XformContext x(kTopDown);
  DrawableStub drawable(x.gc());
  glViewport(0, 0, 640, 480);
  const GlViewport &vp = x.gc()->state.viewport;
  const float yCenter = vp.yCenter;
  drawable.resizeAtNextLock(800, 600);
  glDepthRange(0.25, 0.75);
  EXPECT_EQ(vp.zScale, 0.25f);
  EXPECT_EQ(vp.zCenter, 0.5f);
  EXPECT_EQ(vp.yCenter, yCenter);
  EXPECT_EQ(drawable.locks, 0);
  EXPECT_EQ(drawable.zScaleDuringResize, 0.0f) << "not delivered";
}

}  // namespace
