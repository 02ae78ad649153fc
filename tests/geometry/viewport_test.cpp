// The viewport mapping, the depth range and window z, the scissor clip box
// on normal and top-down drawables, and the way back from window
// coordinates to the application's.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "raster/s_buffers.h"
#include "tests/geometry/xform_fixture.h"
#include "wgl/wgl_drawable.h"

namespace {

const float kEpsilon = 1.0f / 2048;

// A drawable bound to the context, with a depth buffer whose reversed flag
// the test sets, and a lock that counts and can deliver one pending resize
// (as the window-system layer does when it takes the lock).
class Drawable {
 public:
  explicit Drawable(GlContext *gc) : gc_(gc) {
    memset(&drawable_, 0, sizeof drawable_);
    drawable_.lock = [](GlDrawable *, GlContext *gc) { self().Lock(gc); };
    drawable_.unlock = [](GlDrawable *) { self().unlocks++; };
    drawable_.depth.corePrivate = &depth_;
    drawable_.width = gc->constants.width;
    drawable_.height = gc->constants.height;
    drawable_.yInverted = gc->constants.yInverted;
    gc->drawablePrivate = &drawable_;
    gc->modes.haveDepthBuffer = 1;
    self_ = this;
  }
  ~Drawable() {
    gc_->drawablePrivate = nullptr;
    self_ = nullptr;
  }
  void setReversed(bool reversed) { depth_.reversed = reversed; }
  void resizeAtNextLock(int32_t width, int32_t height) {
    pendingWidth_ = width;
    pendingHeight_ = height;
    pending_ = true;
  }
  const GlRect &coreClipRect() const { return drawable_.coreClipRect; }
  bool coreClipRectValid() const { return drawable_.coreClipRectValid; }

  int locks = 0, unlocks = 0;
  // What the depth range held while the resize ran.
  GLfloat zScaleDuringResize = 0;

 private:
  static Drawable &self() { return *self_; }
  void Lock(GlContext *gc) {
    locks++;
    if (!pending_) return;
    pending_ = false;  // cleared first: the delivery takes the lock again
    // What a size change does: the new size, the clip box, the viewport,
    // and (as a fast depth clear may) the depth range re-applied.
    gc->constants.width = pendingWidth_;
    gc->constants.height = pendingHeight_;
    gc->procs.computeClipBox(gc);
    __glUpdateViewport(gc);
    __glUpdateDepthRange(gc);
    zScaleDuringResize = gc->state.viewport.zScale;
  }

  static inline Drawable *self_ = nullptr;
  GlContext *gc_;
  GlDrawable drawable_;
  GlDepthBufferPrivate depth_{};
  bool pending_ = false;
  int32_t pendingWidth_ = 0, pendingHeight_ = 0;
};

// ---- Viewport ----

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

const DrawableSize kNormal{640, 480, false}, kTopDown{640, 480, true};

INSTANTIATE_TEST_SUITE_P(
    Cases, Viewport,
    testing::Values(
        ViewportCase{"Window", kNormal, 0, 0, 640, 480, 640, 480, 320, 6464, 240, 6384},
        ViewportCase{"WindowTopDown", kTopDown, 0, 0, 640, 480, 640, 480, 320, 6464, -240,
                     6384 - kEpsilon},
        ViewportCase{"Inner", kNormal, 10, 20, 100, 50, 100, 50, 50, 6204, 25, 6189},
        ViewportCase{"InnerTopDown", kTopDown, 10, 20, 100, 50, 100, 50, 50, 6204, -25,
                     6579 - kEpsilon},
        ViewportCase{"OddSizes", kNormal, 0, 0, 641, 481, 641, 481, 320.5f, 6464.5f, 240.5f,
                     6384.5f},
        ViewportCase{"Clamped", kNormal, 0, 0, 3000, 100, 2048, 100, 1024, 7168, 50, 6194},
        ViewportCase{"NegativeCornerAndClamped", kNormal, -100, -50, 3000, 5000, 2048, 2048,
                     1024, 7068, 1024, 7118},
        ViewportCase{"NegativeCornerTopDown", kTopDown, -10, -10, 20, 20, 20, 20, 10, 6144, -10,
                     6624 - kEpsilon},
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

// ---- Depth range and window z ----

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
  Drawable drawable(x.gc());
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
  Drawable drawable(x.gc());
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
  Drawable drawable(x.gc());
  glViewport(0, 0, 640, 480);
  drawable.resizeAtNextLock(800, 600);
  glDepthRange(0.25, 0.75);
  const GlViewport &vp = x.gc()->state.viewport;
  EXPECT_EQ(vp.zScale, 0.25f);
  EXPECT_EQ(vp.zCenter, 0.5f);
  EXPECT_EQ(drawable.zScaleDuringResize, 0.25f);
  // The viewport follows the new height at once.
  EXPECT_EQ(vp.yCenter, 600 - kEpsilon - 240 + 6144);
  EXPECT_EQ(x.tm().clipBox[3], 6144 + 600);
  EXPECT_EQ(drawable.locks, drawable.unlocks);
  EXPECT_EQ(drawable.locks, 2);
}

// ---- Scissor and clip box ----

struct ClipCase {
  const char *name;
  DrawableSize drawable;
  bool scissorTest;
  GLint x, y;
  GLsizei width, height;
  GlRect box;  // before the bias, rows top-down on inverted drawables
};

class ClipBox : public testing::TestWithParam<ClipCase> {};

TEST_P(ClipBox, FromScissorAndWindow) {
  const ClipCase &c = GetParam();
  XformContext x(c.drawable);
  Drawable drawable(x.gc());
  if (c.scissorTest) x.gc()->state.enables.general |= __GL_SCISSOR_TEST_ENABLE;
  glScissor(c.x, c.y, c.width, c.height);
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  const int32_t *box = x.tm().clipBox;
  EXPECT_EQ(box[0], c.box.x0 + 6144);
  EXPECT_EQ(box[1], c.box.y0 + 6144);
  EXPECT_EQ(box[2], c.box.x1 + 6144);
  EXPECT_EQ(box[3], c.box.y1 + 6144);
  // The drawable receives the same rectangle without the bias.
  EXPECT_TRUE(drawable.coreClipRectValid());
  EXPECT_EQ(drawable.coreClipRect().x0, c.box.x0);
  EXPECT_EQ(drawable.coreClipRect().y0, c.box.y0);
  EXPECT_EQ(drawable.coreClipRect().x1, c.box.x1);
  EXPECT_EQ(drawable.coreClipRect().y1, c.box.y1);
  const GlScissor &s = x.gc()->state.scissor;
  EXPECT_EQ(s.x, c.x);
  EXPECT_EQ(s.y, c.y);
  EXPECT_EQ(s.width, c.width);
  EXPECT_EQ(s.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipBox,
    testing::Values(
        ClipCase{"TestOffIsTheWindow", kNormal, false, 1, 2, 3, 4, {0, 0, 640, 480}},
        ClipCase{"TestOffTopDown", kTopDown, false, 1, 2, 3, 4, {0, 0, 640, 480}},
        ClipCase{"Inside", kNormal, true, 10, 20, 30, 40, {10, 20, 40, 60}},
        ClipCase{"InsideTopDown", kTopDown, true, 0, 0, 10, 10, {0, 470, 10, 480}},
        ClipCase{"InsideTopDownOffset", kTopDown, true, 10, 20, 30, 40, {10, 420, 40, 460}},
        ClipCase{"ClampedToTheWindow", kNormal, true, -5, -7, 1000, 1000, {0, 0, 640, 480}},
        ClipCase{"ClampedTopDown", kTopDown, true, -5, 400, 100, 1000, {0, 0, 95, 80}},
        ClipCase{"ZeroWidth", kNormal, true, 10, 10, 0, 10, {0, 0, 0, 0}},
        ClipCase{"ZeroHeight", kNormal, true, 10, 10, 10, 0, {0, 0, 0, 0}},
        ClipCase{"RightOfTheWindow", kNormal, true, 640, 0, 10, 10, {0, 0, 0, 0}},
        ClipCase{"AboveTheWindow", kNormal, true, 0, 480, 10, 10, {0, 0, 0, 0}},
        ClipCase{"LeftOfTheWindow", kNormal, true, -20, 0, 10, 10, {0, 0, 0, 0}},
        ClipCase{"EmptyTopDown", kTopDown, true, 700, 0, 10, 10, {0, 480, 0, 480}},
        // Sums that would wrap in 32 bits.
        ClipCase{"HugeScissor", kNormal, true, 1, 1, INT_MAX, INT_MAX, {1, 1, 640, 480}},
        ClipCase{"HugeScissorTopDown", kTopDown, true, 1, 1, INT_MAX, INT_MAX, {1, 0, 640, 479}},
        ClipCase{"HugeFromFarLeft", kNormal, true, -10, -10, INT_MAX, INT_MAX, {0, 0, 640, 480}},
        ClipCase{"HugeFromMostNegative", kNormal, true, INT_MIN, INT_MIN, INT_MAX, INT_MAX,
                 {0, 0, 0, 0}},
        ClipCase{"HugeFromFarRight", kNormal, true, INT_MAX, INT_MAX, INT_MAX, INT_MAX,
                 {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<ClipCase> &info) { return std::string(info.param.name); });

TEST(Scissor, ChangeMarksAndAppliesOnce) {
  XformContext x;
  glScissor(1, 2, 3, 4);
  EXPECT_EQ(x.gc()->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(x.gc()->dirtyMask, __GL_DIRTY_SCISSOR);
  EXPECT_EQ(XformContext::counts().computeClipBox, 1);
  EXPECT_EQ(XformContext::counts().applyScissor, 1);
}

TEST(Scissor, TheStoredBoxChangesNothing) {
  XformContext x;
  glScissor(1, 2, 3, 4);
  x.gc()->beginMode = __GL_NOT_IN_BEGIN;
  x.gc()->dirtyMask = 0;
  XformContext::counts() = XformCounts();
  glScissor(1, 2, 3, 4);
  EXPECT_EQ(x.gc()->beginMode, __GL_NOT_IN_BEGIN);
  EXPECT_EQ(x.gc()->dirtyMask, 0u);
  EXPECT_EQ(XformContext::counts().computeClipBox, 0);
  EXPECT_EQ(XformContext::counts().applyScissor, 0);
}

// Unbound, the clip box is still computed and no drawable is touched.
TEST(ClipBoxUnbound, NeedsNoDrawable) {
  XformContext x(kTopDown);
  x.gc()->state.enables.general |= __GL_SCISSOR_TEST_ENABLE;
  glScissor(0, 0, 10, 10);
  EXPECT_EQ(x.tm().clipBox[1], 6144 + 470);
  EXPECT_EQ(x.tm().clipBox[3], 6144 + 480);
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
  EXPECT_EQ(__glReturnWindowY(topDown.gc(), 6144), 480 - kEpsilon);
  EXPECT_EQ(__glReturnWindowY(topDown.gc(), 6144 + 479.5f), 0.5f - kEpsilon);
}

}  // namespace
