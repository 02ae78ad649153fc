// Binding and release through the exports, as the window-system layer calls
// them: which table goes to the operating system and when, what a release
// refuses, and what it leaves on the thread.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "raster/s_buffers.h"
#include "tests/core/backend/release_cases.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

bool Holds(const GlDispatchState &table, const GlDispatchState &expected) {
  return memcmp(&table, &expected, sizeof table) == 0;
}

class Binding : public LifeTest {
 protected:
  void SetUp() override {
    LifeTest::SetUp();
    window = std::make_unique<TestWindow>(320, 240);
    UseWindow(window.get());
    gc = Create(TestModes());
    ASSERT_NE(gc, nullptr);
  }
  void TearDown() override {
    if (__glGetTLSCXValue() == gc) {
      gc->renderMode = GL_RENDER;
      gc->beginMode = __GL_NOT_IN_BEGIN;
      Release(gc);
    }
    Destroy(gc);
    LifeTest::TearDown();
  }
  std::unique_ptr<TestWindow> window;
  GlContext *gc = nullptr;
};

TEST_F(Binding, FirstBindingPublishesTheImmediateTableThroughValidation) {
  ASSERT_TRUE(Bind(gc));
  auto handed = TakeHanded();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0], &gc->dispatch);
  EXPECT_TRUE(Holds(gc->dispatch, __glImmedState));
  EXPECT_TRUE(Holds(gc->listCompDispatch, __glListCompState));
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
  EXPECT_EQ(gc->dirtyMask, 0u) << "validated";
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING) << "the first drawing validates again";
}

TEST_F(Binding, LaterBindingsLeaveThePublicationToTheDriver) {
  ASSERT_TRUE(Bind(gc));
  ASSERT_TRUE(Release(gc));
  TakeHanded();
  ASSERT_TRUE(Bind(gc));
  EXPECT_TRUE(TakeHanded().empty());
  EXPECT_TRUE(Holds(gc->dispatch, __glImmedState));
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
  EXPECT_EQ(gc->dirtyMask & __GL_DIRTY_DEPTH, __GL_DIRTY_DEPTH) << "binding marks the depth state";
}

TEST_F(Binding, AnOpenListHandsTheCompileTableToTheLoader) {
  ASSERT_TRUE(Bind(gc));
  gc->dispatch.NewList(5, GL_COMPILE);
  ASSERT_EQ(gc->dlist.currentList, 5u);
  ASSERT_TRUE(Release(gc)) << "a list may stay open across a release";
  TakeHanded();

  ASSERT_TRUE(Bind(gc));
  auto handed = TakeHanded();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_TRUE(Holds(*handed[0], __glListCompState));
  EXPECT_TRUE(Holds(gc->dispatch, __glListCompState));
  EXPECT_TRUE(Holds(gc->savedDispatch, __glImmedState));
  EXPECT_EQ(gc->dispatchState, &gc->savedDispatch);

  gc->dispatch.EndList();
  EXPECT_TRUE(Holds(gc->dispatch, __glImmedState));
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
}

// The depth range is applied again at every binding, and the same whichever
// way the depth buffer the binding attached stores depth.
TEST_F(Binding, EveryBindingAppliesTheRangeWhicheverWayTheDepthBufferRuns) {
  struct Case {
    const char *what;
    uint8_t reversed;
  } cases[] = {
      {"near to far", 0},
      {"far to near", 1},
  };
  ASSERT_TRUE(Bind(gc));
  gc->dispatch.DepthRange(0.25, 0.75);
  ASSERT_TRUE(Release(gc));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlDepthBufferPrivate *rec =
        static_cast<GlDepthBufferPrivate *>(window->drawable()->depth.corePrivate);
    ASSERT_NE(rec, nullptr) << "made by the first binding";
    rec->reverse = c.reversed;
    ASSERT_TRUE(Bind(gc));
    EXPECT_EQ(gc->state.viewport.zScale, 0.25f);
    EXPECT_EQ(gc->state.viewport.zCenter, 0.5f);
    EXPECT_EQ(gc->state.viewport.zNear, 0.25) << "the range as given stays";
    ASSERT_TRUE(Release(gc));
  }
}

TEST_F(Binding, ReleaseIsRefusedWhileAPrimitiveOrASelectionIsUnderWay) {
  backend_test::ExpectReleaseFollowsTheModes(gc, *window);
}

TEST_F(Binding, BindsEveryBufferTheVisualHasToItsDrawableSlot) {
  struct Case {
    const char *what;
    GlModes modes;
  } cases[] = {
      {"everything", TestModes(true, true, 16, 8, true)},
      {"front only", TestModes(true, false, 0, 0, false)},
      {"colour index, depth", TestModes(false, false, 24, 0, false)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlContext *other = Create(c.modes);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(Bind(other));
    GlDrawable *d = window->drawable();
    struct Slot {
      const char *name;
      const GlBuffer *buf;
      const GlDrawableBuffer *slot;
      bool present;
    } slots[] = {
        {"front", &other->frontBuffer.buf, &d->front, true},
        {"back", &other->backBuffer.buf, &d->back, c.modes.doubleBufferMode != 0},
        {"accumulation", &other->accumBuffer.buf, &d->accum, c.modes.haveAccumBuffer != 0},
        {"depth", &other->depthBuffer.buf, &d->depth, c.modes.haveDepthBuffer != 0},
        {"stencil", &other->stencilBuffer.buf, &d->stencil, c.modes.haveStencilBuffer != 0},
    };
    for (const Slot &s : slots) {
      EXPECT_EQ(s.buf->drawableBuf, s.present ? s.slot : nullptr) << s.name;
      EXPECT_EQ(s.buf->gc, s.present ? other : nullptr) << s.name;
    }
    EXPECT_EQ(other->back, c.modes.doubleBufferMode ? &other->backBuffer : nullptr);
    EXPECT_EQ(other->front, &other->frontBuffer);
    EXPECT_EQ(d->freePrivate, __glFreePrivate);
    ASSERT_TRUE(Release(other));
    for (const Slot &s : slots) EXPECT_EQ(s.buf->drawableBuf, nullptr) << s.name;
    other->exports.destroyContext(other);
  }
}

// The layer noticed a new window size before the context's first binding:
// the notification arrives at the binding's first drawable lock, before the
// context has procedures, and the binding takes the size itself.
TEST_F(Binding, ASizeChangePendingAtTheFirstBindingIsTakenByTheBinding) {
  window->Resize(200, 150);
  wgl.flags |= WGL_PENDING_SIZE;
  ASSERT_TRUE(Bind(gc));
  EXPECT_EQ(wgl.flags & WGL_PENDING_SIZE, 0u);
  EXPECT_EQ(gc->constants.width, 200);
  EXPECT_EQ(gc->constants.height, 150);
  EXPECT_EQ(gc->state.viewport.width, 200);
  EXPECT_EQ(gc->state.viewport.height, 150);
}

TEST_F(Binding, SharingTakesTheOtherContextsListsAndTextures) {
  GlContext *other = Create(TestModes());
  ASSERT_NE(other, nullptr);
  EXPECT_NE(gc->dlist.namesArray, other->dlist.namesArray);
  EXPECT_TRUE(gc->exports.shareContext(gc, other));
  EXPECT_EQ(gc->dlist.namesArray, other->dlist.namesArray);
  EXPECT_EQ(gc->dlist.dlistArray, other->dlist.dlistArray);
  EXPECT_EQ(gc->texture.shared, other->texture.shared);
  EXPECT_NE(gc->dlist.arena, other->dlist.arena) << "each compiles into its own arena";
  other->exports.destroyContext(other);
  // gc still holds what it shares.
  EXPECT_NE(gc->dlist.namesArray, nullptr);
}

}  // namespace
}  // namespace life_test
