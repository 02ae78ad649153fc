// The viewport check of a back end, through its contexts: whether the
// viewport lies inside the clip box the scissor gives, in the clip box's row
// order and with sums that do not wrap, and the validation a change forces,
// also inside glBegin and when a resize arrives in the middle of a primitive.
//
// A back end runs these by instantiating the suite with its fixture, a
// LifeTest that provides
//   GlContext *CreateContext(const GlModes &modes);  // its creator
//   static void CheckViewport(GlContext *gc);        // its viewport check
// for example
//   INSTANTIATE_TYPED_TEST_SUITE_P(Core, ViewportScenarios, CoreBackEnd);
// Include it from one source file per test program: it defines the tests.
#pragma once

#include <gtest/gtest.h>

#include <limits.h>
#include <stdint.h>

#include "core/context.h"
#include "core/current.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace viewport_scenarios {

template <class BackEnd>
class ViewportScenarios : public BackEnd {};

TYPED_TEST_SUITE_P(ViewportScenarios);

// The validations the real procedure ran since the counter was reset, and
// what the last of them saw.
inline int gValidations;
inline int32_t gBeginModeSeen;
inline uint32_t gDirtySeen;
inline void (*gRealValidate)(GlContext *);
inline void CountingValidate(GlContext *gc) {
  gValidations++;
  gBeginModeSeen = gc->beginMode;
  gDirtySeen = gc->dirtyMask;
  gRealValidate(gc);
}

TYPED_TEST_P(ViewportScenarios, IsInsideExactlyWhenItsPixelsAre) {
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
      {"top-down, huge box", true, true, {1, 1, INT_MAX, INT_MAX}, {1, 1, 639, 479}, true},
      {"top-down, huge box, row 0", true, true, {1, 1, INT_MAX, INT_MAX}, {1, 0, 639, 479},
       false},
      // Sums that do not fit 32 bits must not wrap back into the window.
      {"right edge past 2^31", false, false, {}, {INT_MAX - 6144 - 100, 0, 2048, 10}, false},
      {"top edge past 2^31", false, false, {}, {0, INT_MAX - 6144 - 100, 10, 2048}, false},
      {"far left", false, false, {}, {INT_MIN, 0, 2048, 10}, false},
      {"top-down, far below", true, false, {}, {0, INT_MIN, 10, 2048}, false},
      {"top-down, far above", true, false, {}, {0, INT_MAX - 10, 10, 2048}, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    life_test::TestWindow window(640, 480, c.yInverted);
    this->UseWindow(&window);
    GlContext *gc = this->CreateContext(TestModes());
    ASSERT_NE(gc, nullptr);
    ASSERT_TRUE(life_test::Bind(gc));
    if (c.scissored) {
      gc->state.enables.general |= __GL_SCISSOR_TEST_ENABLE;
      gc->dispatch.Scissor(c.scissor[0], c.scissor[1], c.scissor[2], c.scissor[3]);
    }
    gc->dispatch.Viewport(c.viewport[0], c.viewport[1], c.viewport[2], c.viewport[3]);
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    // The back end's own check agrees with what the commands left.
    gc->transform.viewportInside = c.inside ? 0u : 1u;
    this->CheckViewport(gc);
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING) << "a change asks for validation";
    EXPECT_EQ(gc->dispatch.GetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(life_test::Release(gc));
    this->Destroy(gc);
    this->UseWindow(nullptr);
  }
}

// Only a change of containment asks for validation; inside glBegin it runs
// at once and the primitive goes on.
TYPED_TEST_P(ViewportScenarios, TransitionsValidateOnlyWhenContainmentChanges) {
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
  life_test::TestWindow window(640, 480);
  this->UseWindow(&window);
  GlContext *gc = this->CreateContext(TestModes());
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(life_test::Bind(gc));
  gRealValidate = gc->procs.validate;
  gc->procs.validate = CountingValidate;
  uint32_t before = gc->transform.viewportInside;
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    gc->state.viewport.x = s.x;
    gc->state.viewport.width = s.width;
    gc->beginMode = s.inBegin ? __GL_IN_BEGIN : __GL_NOT_IN_BEGIN;
    gValidations = 0;
    gBeginModeSeen = -1;
    gDirtySeen = 0;
    this->CheckViewport(gc);
    EXPECT_EQ(gc->transform.viewportInside, s.inside);
    EXPECT_EQ(gValidations, s.validations);
    const bool changed = s.inside != before;
    if (s.inBegin) {
      EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN) << "the primitive goes on";
      if (s.validations) {
        EXPECT_EQ(gBeginModeSeen, __GL_VALIDATE_PENDING) << "validation sees a pending state";
        EXPECT_EQ(gDirtySeen & __GL_DIRTY_GENERIC, __GL_DIRTY_GENERIC);
      }
    } else {
      EXPECT_EQ(gc->beginMode, changed ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
      if (changed) {
        EXPECT_EQ(gc->dirtyMask & __GL_DIRTY_GENERIC, __GL_DIRTY_GENERIC);
      }
    }
    before = gc->transform.viewportInside;
  }
  gc->beginMode = __GL_NOT_IN_BEGIN;
  gc->procs.validate = gRealValidate;
  ASSERT_TRUE(life_test::Release(gc));
  this->Destroy(gc);
  this->UseWindow(nullptr);
}

// A resize delivered through the drawable lock in the middle of a primitive
// reaches the back end's size notification, which revalidates at once.
TYPED_TEST_P(ViewportScenarios, ResizeInsideBeginRevalidatesAndThePrimitiveContinues) {
  struct Case {
    const char *what;
    bool yInverted;
  } cases[] = {{"normal rows", false}, {"top-down rows", true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    life_test::TestWindow window(640, 480, c.yInverted);
    this->UseWindow(&window);
    GlContext *gc = this->CreateContext(TestModes());
    ASSERT_NE(gc, nullptr);
    WglContext &wgl = this->wgl;
    this->OnThread([&] {
      ASSERT_TRUE(life_test::Bind(gc));
      ASSERT_EQ(gc->transform.viewportInside, 1u);
      gRealValidate = gc->procs.validate;
      gc->procs.validate = CountingValidate;
      gValidations = 0;
      gc->dispatch.Begin(GL_TRIANGLES);
      ASSERT_EQ(gc->beginMode, __GL_IN_BEGIN);
      ASSERT_EQ(gValidations, 1) << "the pending validation of the binding";

      // The window shrinks: the layer records it, the next drawable lock
      // delivers it.
      window.Resize(320, 240);
      wgl.flags |= WGL_PENDING_SIZE;
      __GL_LOCK_DRAWABLE(gc, "viewport_scenarios");
      EXPECT_EQ(wgl.flags & WGL_PENDING_SIZE, 0u);
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
      ASSERT_TRUE(life_test::Release(gc));
    });
    this->Destroy(gc);
    this->UseWindow(nullptr);
  }
}

REGISTER_TYPED_TEST_SUITE_P(ViewportScenarios, IsInsideExactlyWhenItsPixelsAre,
                            TransitionsValidateOnlyWhenContainmentChanges,
                            ResizeInsideBeginRevalidatesAndThePrimitiveContinues);

}  // namespace viewport_scenarios
