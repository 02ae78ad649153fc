// CheckViewport: whether the biased viewport lies inside the clip box, in
// the clip box's row order, and the validation a change forces, also in the
// middle of a primitive.
#include <gtest/gtest.h>

#include <limits.h>

#include <memory>
#include <ostream>

#include "core/context.h"
#include "core/s_backend.h"
#include "tests/context/life_fixture.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_current.h"

namespace life_test {
namespace {

int gValidations;
int32_t gBeginModeSeen;
void CountValidate(GlContext *gc) {
  gValidations++;
  gBeginModeSeen = gc->beginMode;
}

// A zeroed context with the window bias, a drawable size and row order, and
// a clip box.
std::unique_ptr<GlContext> Record(int32_t width, int32_t height, bool yInverted,
                                  const int32_t clipBox[4]) {
  auto gc = std::make_unique<GlContext>();
  gc->constants.viewportXAdjust = 6144;
  gc->constants.viewportYAdjust = 6144;
  gc->constants.width = width;
  gc->constants.height = height;
  gc->constants.yInverted = yInverted;
  for (int i = 0; i < 4; i++) gc->transform.clipBox[i] = clipBox[i];
  gc->procs.validate = CountValidate;
  return gc;
}

struct ViewportCase {
  const char *what;
  bool yInverted;
  int32_t clipBox[4];  // biased, rows in the drawable's order
  int32_t x, y, width, height;
  bool inside;
};

void PrintTo(const ViewportCase &c, std::ostream *os) { *os << c.what; }

// A 640 x 480 window; B is the bias.
constexpr int32_t B = 6144;
const ViewportCase kViewports[] = {
    {"the whole window", false, {B, B, B + 640, B + 480}, 0, 0, 640, 480, true},
    {"a part", false, {B, B, B + 640, B + 480}, 10, 20, 100, 100, true},
    {"one column left", false, {B, B, B + 640, B + 480}, -1, 0, 640, 480, false},
    {"one row below", false, {B, B, B + 640, B + 480}, 0, -1, 10, 10, false},
    {"one column right", false, {B, B, B + 640, B + 480}, 1, 0, 640, 480, false},
    {"one row above", false, {B, B, B + 640, B + 480}, 0, 471, 10, 10, false},
    {"the scissor box", false, {B, B, B + 100, B + 100}, 0, 0, 100, 100, true},
    {"above the scissor box", false, {B, B, B + 100, B + 100}, 0, 380, 100, 100, false},
    // Top-down rows: the scissor box (0, 0, 100, 100) is rows 380 to 480.
    {"top-down: the whole window", true, {B, B, B + 640, B + 480}, 0, 0, 640, 480, true},
    {"top-down: the scissor box", true, {B, B + 380, B + 100, B + 480}, 0, 0, 100, 100, true},
    {"top-down: inside, low in the box", true, {B, B + 380, B + 100, B + 480}, 10, 5, 50, 50,
     true},
    // Read unflipped these rows would match the box's rows exactly.
    {"top-down: at the top, outside the box", true, {B, B + 380, B + 100, B + 480}, 0, 380, 100,
     100, false},
    {"top-down: one row above the box", true, {B, B + 380, B + 100, B + 480}, 0, 1, 100, 100,
     false},
    {"top-down: one row below the window", true, {B, B, B + 640, B + 480}, 0, -1, 640, 480,
     false},
    // Sums that do not fit 32 bits: the right edge must not wrap to a small
    // value.
    {"right edge past 2^31", false, {B, B, B + 640, B + 480}, INT_MAX - B - 100, 0, 2048, 10,
     false},
    {"top edge past 2^31", false, {B, B, B + 640, B + 480}, 0, INT_MAX - B - 100, 10, 2048,
     false},
    {"far left", false, {B, B, B + 640, B + 480}, INT_MIN, 0, 2048, 10, false},
    {"top-down far below", true, {B, B, B + 640, B + 480}, 0, INT_MIN, 10, 2048, false},
};

class CheckViewport : public testing::TestWithParam<ViewportCase> {};

TEST_P(CheckViewport, ComparesInTheClipBoxRowOrder) {
  const ViewportCase &c = GetParam();
  for (uint32_t before : {0u, 1u}) {
    SCOPED_TRACE(before ? "was inside" : "was outside");
    auto gc = Record(640, 480, c.yInverted, c.clipBox);
    gc->state.viewport.x = c.x;
    gc->state.viewport.y = c.y;
    gc->state.viewport.width = c.width;
    gc->state.viewport.height = c.height;
    gc->transform.viewportInside = before;
    gValidations = 0;
    core::CheckViewport(gc.get());
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    const bool changed = before != (c.inside ? 1u : 0u);
    EXPECT_EQ(gc->beginMode, changed ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
    EXPECT_EQ(gc->dirtyMask, changed ? __GL_DIRTY_GENERIC : 0u);
    EXPECT_EQ(gValidations, 0) << "outside glBegin the next drawing validates";
  }
}

INSTANTIATE_TEST_SUITE_P(Viewports, CheckViewport, testing::ValuesIn(kViewports));

TEST(CheckViewportInsideBegin, ValidatesAtOnceAndStaysInsideBegin) {
  struct Case {
    const char *what;
    uint32_t before;
    int validations;
  } cases[] = {{"containment changes", 0, 1}, {"containment stays", 1, 0}};
  const int32_t box[4] = {B, B, B + 640, B + 480};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    auto gc = Record(640, 480, false, box);
    gc->state.viewport.width = 640;
    gc->state.viewport.height = 480;
    gc->transform.viewportInside = c.before;
    gc->beginMode = __GL_IN_BEGIN;
    gValidations = 0;
    gBeginModeSeen = -1;
    core::CheckViewport(gc.get());
    EXPECT_EQ(gValidations, c.validations);
    if (c.validations) {
      EXPECT_EQ(gBeginModeSeen, __GL_VALIDATE_PENDING) << "validation sees a pending state";
      EXPECT_EQ(gc->dirtyMask & __GL_DIRTY_GENERIC, __GL_DIRTY_GENERIC);
    }
    EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN) << "the primitive goes on";
    EXPECT_EQ(gc->transform.viewportInside, 1u);
  }
}

// ---- The same check through the commands, with the clip box the scissor
// gives ----

class ScissoredViewport : public LifeTest {};

TEST_F(ScissoredViewport, IsInsideExactlyWhenItsPixelsAre) {
  struct Case {
    const char *what;
    bool yInverted;
    int32_t scissor[4];
    int32_t viewport[4];
    bool inside;
  } cases[] = {
      {"bottom-up, the box", false, {0, 0, 100, 100}, {0, 0, 100, 100}, true},
      {"bottom-up, above the box", false, {0, 0, 100, 100}, {0, 380, 100, 100}, false},
      {"top-down, the box", true, {0, 0, 100, 100}, {0, 0, 100, 100}, true},
      {"top-down, above the box", true, {0, 0, 100, 100}, {0, 380, 100, 100}, false},
      {"top-down, high box", true, {0, 300, 100, 180}, {0, 380, 100, 100}, true},
      {"top-down, one row over", true, {0, 300, 100, 180}, {0, 299, 100, 100}, false},
      {"top-down, huge box", true, {1, 1, INT_MAX, INT_MAX}, {1, 1, 639, 479}, true},
      {"top-down, huge box, row 0", true, {1, 1, INT_MAX, INT_MAX}, {1, 0, 639, 479}, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(640, 480, c.yInverted);
    UseWindow(&window);
    GlContext *gc = CreateBound(TestModes());
    ASSERT_NE(gc, nullptr);
    gc->state.enables.general |= __GL_SCISSOR_TEST_ENABLE;
    gc->dispatch.Scissor(c.scissor[0], c.scissor[1], c.scissor[2], c.scissor[3]);
    gc->dispatch.Viewport(c.viewport[0], c.viewport[1], c.viewport[2], c.viewport[3]);
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(Release(gc));
    Destroy(gc);
    UseWindow(nullptr);
  }
}

// ---- A resize delivered through the drawable lock in the middle of a
// primitive ----

class ResizeInsideBegin : public LifeTest {};

int gBoundValidations;
void (*gRealValidate)(GlContext *);
void CountingValidate(GlContext *gc) {
  gBoundValidations++;
  gRealValidate(gc);
}

TEST_F(ResizeInsideBegin, RevalidatesAndThePrimitiveContinues) {
  struct Case {
    const char *what;
    bool yInverted;
  } cases[] = {{"normal rows", false}, {"top-down rows", true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(640, 480, c.yInverted);
    UseWindow(&window);
    GlContext *gc = Create(TestModes());
    ASSERT_NE(gc, nullptr);
    OnThread([&] {
      ASSERT_TRUE(Bind(gc));
      ASSERT_EQ(gc->transform.viewportInside, 1u);
      gRealValidate = gc->procs.validate;
      gc->procs.validate = CountingValidate;
      gBoundValidations = 0;
      gc->dispatch.Begin(GL_TRIANGLES);
      ASSERT_EQ(gc->beginMode, __GL_IN_BEGIN);
      ASSERT_EQ(gBoundValidations, 1) << "the pending validation of the binding";

      // The window shrinks: the layer records it, the next drawable lock
      // delivers it.
      window.Resize(320, 240);
      wgl.flags |= WGL_PENDING_SIZE;
      __GL_LOCK_DRAWABLE(gc, "backend_viewport_test");
      EXPECT_EQ(wgl.flags & WGL_PENDING_SIZE, 0u);
      EXPECT_EQ(gc->constants.width, 320);
      EXPECT_EQ(gc->constants.height, 240);
      EXPECT_EQ(gc->transform.viewportInside, 0u);
      EXPECT_EQ(gBoundValidations, 2) << "validated at once";
      EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
      __GL_UNLOCK_DRAWABLE(gc);

      gc->dispatch.End();
      EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
      EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
      gc->procs.validate = gRealValidate;
      ASSERT_TRUE(Release(gc));
    });
    Destroy(gc);
    UseWindow(nullptr);
  }
}

}  // namespace
}  // namespace life_test
