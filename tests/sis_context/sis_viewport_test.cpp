// The SiS context's viewport check: whether the viewport lies inside the
// clip box, in the clip box's row order and with sums that do not wrap, and
// the validation a change forces, also inside glBegin.
#include <gtest/gtest.h>

#include <limits.h>

#include "core/context.h"
#include "core/s_state.h"
#include "sis/sis_context_ops.h"
#include "tests/sis_context/sis_fixture.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_current.h"

namespace sis_test {
namespace {

using life_test::Bind;
using life_test::Release;
using life_test::TestWindow;

class SiSViewport : public SiSLifeTest {};

TEST_F(SiSViewport, IsInsideExactlyWhenItsPixelsAre) {
  struct Case {
    const char *what;
    bool yInverted;
    bool scissored;
    int32_t scissor[4];
    int32_t viewport[4];
    bool inside;
  } cases[] = {
      {"the whole window", false, false, {}, {0, 0, 640, 480}, true},
      {"one column left", false, false, {}, {-1, 0, 640, 480}, false},
      {"one column right", false, false, {}, {1, 0, 640, 480}, false},
      {"one row below", false, false, {}, {0, -1, 10, 10}, false},
      {"one row above", false, false, {}, {0, 471, 10, 10}, false},
      {"bottom-up, the box", false, true, {0, 0, 100, 100}, {0, 0, 100, 100}, true},
      {"bottom-up, above the box", false, true, {0, 0, 100, 100}, {0, 380, 100, 100}, false},
      {"top-down, the whole window", true, false, {}, {0, 0, 640, 480}, true},
      {"top-down, the box", true, true, {0, 0, 100, 100}, {0, 0, 100, 100}, true},
      // Read unflipped these rows would match the box's rows exactly.
      {"top-down, above the box", true, true, {0, 0, 100, 100}, {0, 380, 100, 100}, false},
      {"top-down, high box", true, true, {0, 300, 100, 180}, {0, 380, 100, 100}, true},
      {"top-down, one row over", true, true, {0, 300, 100, 180}, {0, 299, 100, 100}, false},
      // Sums that do not fit 32 bits must not wrap back into the window.
      {"right edge past 2^31", false, false, {}, {INT_MAX - 6144 - 100, 0, 2048, 10}, false},
      {"top edge past 2^31", false, false, {}, {0, INT_MAX - 6144 - 100, 10, 2048}, false},
      {"far left", false, false, {}, {INT_MIN, 0, 2048, 10}, false},
      {"top-down, far below", true, false, {}, {0, INT_MIN, 10, 2048}, false},
      {"top-down, far above", true, false, {}, {0, INT_MAX - 10, 10, 2048}, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(640, 480, c.yInverted);
    UseWindow(&window);
    GlContext *gc = CreateSiS(TestModes());
    ASSERT_NE(gc, nullptr);
    ASSERT_TRUE(Bind(gc));
    if (c.scissored) {
      gc->state.enables.general |= __GL_SCISSOR_TEST_ENABLE;
      gc->dispatch.Scissor(c.scissor[0], c.scissor[1], c.scissor[2], c.scissor[3]);
    }
    gc->dispatch.Viewport(c.viewport[0], c.viewport[1], c.viewport[2], c.viewport[3]);
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    // The device's own check agrees with what the commands left.
    gc->transform.viewportInside = c.inside ? 0u : 1u;
    sis::CheckViewport(gc);
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING) << "a change asks for validation";
    EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(Release(gc));
    Destroy(gc);
    UseWindow(nullptr);
  }
}

int gValidations;
void (*gRealValidate)(GlContext *);
void CountingValidate(GlContext *gc) {
  gValidations++;
  gRealValidate(gc);
}

// Only a change of containment asks for validation; inside glBegin it runs
// at once and the primitive goes on.
TEST_F(SiSViewport, TransitionsValidateOnlyWhenContainmentChanges) {
  struct Step {
    const char *what;
    int32_t x, width;
    bool inBegin;
    uint32_t inside;
    int validations;
  } steps[] = {
      {"inside, as bound", 0, 640, false, 1, 0},
      {"still inside", 10, 600, false, 1, 0},
      {"outside", -5, 600, false, 0, 0},  // pending: the next drawing validates
      {"outside again", -6, 600, false, 0, 0},
      {"inside, in glBegin", 0, 640, true, 1, 1},
      {"outside, in glBegin", 1, 640, true, 0, 1},
      {"still outside, in glBegin", 2, 640, true, 0, 0},
  };
  TestWindow window(640, 480);
  UseWindow(&window);
  GlContext *gc = CreateSiS(TestModes());
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(Bind(gc));
  gRealValidate = gc->procs.validate;
  gc->procs.validate = CountingValidate;
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    gc->state.viewport.x = s.x;
    gc->state.viewport.width = s.width;
    gc->beginMode = s.inBegin ? __GL_IN_BEGIN : __GL_NOT_IN_BEGIN;
    gValidations = 0;
    sis::CheckViewport(gc);
    EXPECT_EQ(gc->transform.viewportInside, s.inside);
    EXPECT_EQ(gValidations, s.validations);
    if (s.inBegin) {
      EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
    }
  }
  gc->beginMode = __GL_NOT_IN_BEGIN;
  gc->procs.validate = gRealValidate;
  ASSERT_TRUE(Release(gc));
  Destroy(gc);
}

// A resize delivered through the drawable lock in the middle of a primitive
// reaches the SiS size notification, which revalidates at once.
TEST_F(SiSViewport, ResizeInsideBeginRevalidatesAndThePrimitiveContinues) {
  const bool orders[] = {false, true};
  for (bool yInverted : orders) {
    SCOPED_TRACE(yInverted ? "top-down rows" : "normal rows");
    TestWindow window(640, 480, yInverted);
    UseWindow(&window);
    GlContext *gc = CreateSiS(TestModes());
    ASSERT_NE(gc, nullptr);
    ASSERT_TRUE(Bind(gc));
    ASSERT_EQ(gc->transform.viewportInside, 1u);
    gRealValidate = gc->procs.validate;
    gc->procs.validate = CountingValidate;
    gValidations = 0;
    gc->dispatch.Begin(GL_TRIANGLES);
    ASSERT_EQ(gc->beginMode, __GL_IN_BEGIN);
    ASSERT_EQ(gValidations, 1) << "the pending validation of the binding";

    window.Resize(320, 240);
    wgl.flags |= WGL_PENDING_SIZE;
    __GL_LOCK_DRAWABLE(gc, "sis_viewport_test");
    EXPECT_EQ(gc->constants.width, 320);
    EXPECT_EQ(gc->constants.height, 240);
    EXPECT_EQ(gc->transform.viewportInside, 0u);
    EXPECT_EQ(gValidations, 2) << "validated at once";
    EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
    __GL_UNLOCK_DRAWABLE(gc);

    gc->dispatch.End();
    EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
    EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
    gc->procs.validate = gRealValidate;
    ASSERT_TRUE(Release(gc));
    Destroy(gc);
    UseWindow(nullptr);
  }
}

}  // namespace
}  // namespace sis_test
