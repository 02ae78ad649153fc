// glScissor and the clip box on normal and top-down drawables, with sums
// that would wrap in 32 bits.
#include <gtest/gtest.h>

#include <limits.h>

#include <string>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/drawable_stub.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

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
  DrawableStub drawable(x.gc());
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

}  // namespace
