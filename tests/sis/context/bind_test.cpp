// Binding a SiS context: what the first binding sets up and reports, what a
// later one keeps and re-applies, the window and serial it records, release,
// sharing, swapping, window changes and destruction.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <set>
#include <string>

#include "core/context.h"
#include "core/current.h"
#include "core/s_backend.h"
#include "core/s_context.h"
#include "raster/s_buffers.h"
#include "sis/sis_clear.h"
#include "sis/sis_context_ops.h"
#include "sis/sis_hw.h"
#include "tests/core/backend/release_cases.h"
#include "tests/core/context/renderer_names.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_ddraw.h"

namespace sis_test {
namespace {

using life_test::Bind;
using life_test::Release;
using life_test::TestWindow;

class SiSBinding : public SiSLifeTest {
 protected:
  void SetUp() override {
    SiSLifeTest::SetUp();
    window = std::make_unique<TestWindow>(320, 240);
    UseWindow(window.get());
  }
  void TearDown() override {
    for (GlContext *gc : made) {
      if (__glGetTLSCXValue() == gc) {
        gc->renderMode = GL_RENDER;
        gc->beginMode = __GL_NOT_IN_BEGIN;
        EXPECT_TRUE(Release(gc));
      }
    }
    for (GlContext *gc : made) gc->exports.destroyContext(gc);
    EXPECT_EQ(CountingImports::live(), 0) << "blocks left allocated";
    SiSLifeTest::TearDown();
  }
  GlContext *Make(const GlModes &modes = TestModes()) {
    GlContext *gc = CreateSiS(modes);
    if (gc) made.push_back(gc);
    return gc;
  }
  std::unique_ptr<TestWindow> window;
  std::vector<GlContext *> made;
};

TEST_F(SiSBinding, FirstBindingReportsTheSiSStringsForEveryProcessorWord) {
  // The reset ORs in what the processor has; the words preset here come on
  // top, whatever this processor is.
  const GlCpuFlags presets[] = {0, __GL_CPU_MMX, __GL_CPU_K3D, __GL_CPU_MMX | __GL_CPU_K3D};
  const GlModes modes = TestModes();
  GlContext *core = __glCoreCreateContext(&imports, &modes);
  ASSERT_NE(core, nullptr);
  made.push_back(core);
  ASSERT_TRUE(Bind(core));
  const std::string coreExtensions = core->constants.extensions;
  ASSERT_TRUE(Release(core));
  for (GlCpuFlags preset : presets) {
    SCOPED_TRACE("preset processor word " + std::to_string(preset));
    GlContext *gc = Make();
    ASSERT_NE(gc, nullptr);
    gc->constants.cpuFlags = preset;
    ASSERT_TRUE(Bind(gc));
    EXPECT_EQ(gc->constants.cpuFlags & preset, preset);
    EXPECT_STREQ(gc->constants.vendor, "SiS");
    const renderer_test::RendererNames *names =
        renderer_test::RendererNamesFor(gc->constants.cpuFlags);
    ASSERT_NE(names, nullptr) << "an unknown processor word";
    EXPECT_STREQ(gc->constants.renderer, names->sis);
    EXPECT_STREQ(gc->constants.version, "1.0");
    EXPECT_EQ(coreExtensions, gc->constants.extensions) << "the reset's extensions stay";
    ASSERT_TRUE(Release(gc));
  }
}

TEST_F(SiSBinding, FirstBindingSetsUpBuffersProceduresAndTheWindowsViewport) {
  // The primary surface's address is recorded by the first binding only.
  static uint8_t screens[2][16];
  void *const saved = lpPrimaryBase;
  GlContext *gc = Make();
  ASSERT_NE(gc, nullptr);
  for (int binding = 0; binding < 2; binding++) {
    SCOPED_TRACE(binding ? "later binding" : "first binding");
    lpPrimaryBase = screens[binding];
    ASSERT_TRUE(Bind(gc));
    EXPECT_EQ(Tail(gc)->frameBufferBase, screens[0]);
    ASSERT_TRUE(Release(gc));
  }
  lpPrimaryBase = saved;
  ASSERT_TRUE(Bind(gc));
  EXPECT_EQ(gc->flags & (__GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED),
            __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED);
  struct Slot {
    const char *name;
    const void *actual, *expected;
  } slots[] = {
      {"obtainSLock", (const void *)gc->obtainSLock, (const void *)__glSiSsLock},
      {"releaseSLock", (const void *)gc->releaseSLock, (const void *)__glSiSsUnlock},
      {"lockDevice", (const void *)gc->lockDevice, (const void *)sis::LockDevice},
      {"unlockDevice", (const void *)gc->unlockDevice, (const void *)sis::UnlockDevice},
      {"colorClear", (const void *)gc->colorClear, (const void *)SiSHALColorClear},
      {"depth clear", (const void *)gc->depthBuffer.clear, (const void *)SiSHALDepthClear},
      {"applyViewport", (const void *)gc->procs.applyViewport, (const void *)sis::ApplyViewport},
      {"applyScissor", (const void *)gc->procs.applyScissor, (const void *)sis::ApplyScissor},
      {"flush", (const void *)gc->procs.flush, (const void *)sis::Flush},
      {"finish", (const void *)gc->procs.finish, (const void *)sis::Finish},
      {"waitIdle", (const void *)gc->procs.waitIdle, (const void *)sis::WaitIdle},
  };
  for (const Slot &s : slots) EXPECT_EQ(s.actual, s.expected) << s.name;
  EXPECT_EQ(gc->front, &gc->frontBuffer);
  EXPECT_EQ(gc->back, &gc->backBuffer);
  const GlViewport &vp = gc->state.viewport;
  EXPECT_EQ(vp.x, 0);
  EXPECT_EQ(vp.y, 0);
  EXPECT_EQ(vp.width, 320);
  EXPECT_EQ(vp.height, 240);
  EXPECT_EQ(gc->state.scissor.width, 320);
  EXPECT_EQ(gc->state.scissor.height, 240);
  EXPECT_EQ(gc->dispatchState, &gc->dispatch);
  ASSERT_TRUE(Release(gc));
}

TEST_F(SiSBinding, LaterBindingKeepsTheStateAndStringsAndAppliesTheNewWindowSize) {
  GlContext *gc = Make();
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(Bind(gc));
  gc->dispatch.Viewport(10, 20, 100, 50);
  gc->dispatch.ClearColor(0.25f, 0.5f, 0.75f, 1.0f);
  const GlColor clear = gc->state.raster.clear;
  const char *renderer = gc->constants.renderer;
  ASSERT_TRUE(Release(gc));

  window->Resize(200, 150);
  gc->constants.vendor = "kept";  // a reset would write "SiS" again
  ASSERT_TRUE(Bind(gc));
  EXPECT_STREQ(gc->constants.vendor, "kept");
  EXPECT_EQ(gc->constants.renderer, renderer);
  EXPECT_EQ(memcmp(&gc->state.raster.clear, &clear, sizeof clear), 0);
  EXPECT_EQ(gc->state.viewport.x, 10);
  EXPECT_EQ(gc->state.viewport.width, 100);
  EXPECT_EQ(gc->constants.width, 200) << "the new size is applied";
  EXPECT_EQ(gc->constants.height, 150);
  EXPECT_EQ(gc->transform.clipBox[2] - gc->transform.clipBox[0], 200);
  EXPECT_EQ(gc->transform.clipBox[3] - gc->transform.clipBox[1], 150);
  EXPECT_EQ(gc->flags & __GL_GC_REAPPLY_VIEWPORT, 0u);
  gc->constants.vendor = "SiS";
  ASSERT_TRUE(Release(gc));
}

// The window is compared at every binding: a move to another window names
// the register state anew; staying on one keeps the name.
TEST_F(SiSBinding, MovingToAnotherWindowDrawsANewSerial) {
  struct Step {
    uintptr_t window;
    bool newSerial;
  } steps[] = {
      {0x100, true},   // the first binding records the window
      {0x100, false},  // the same window again
      {0x200, true},   // another window
      {0x200, false},
      {0x100, true},   // back: still a serial never seen before
      {0, true},       // a memory bitmap has no window
      {0, false},
  };
  GlContext *gc = Make();
  ASSERT_NE(gc, nullptr);
  std::set<uint64_t> seen = {Tail(gc)->serial};
  uint64_t last = Tail(gc)->serial;
  int i = 0;
  for (const Step &s : steps) {
    SCOPED_TRACE("step " + std::to_string(i++));
    BindRecordTo(Window(s.window));
    ASSERT_TRUE(Bind(gc));
    EXPECT_EQ(Tail(gc)->hwnd, Window(s.window));
    if (s.newSerial) {
      EXPECT_TRUE(seen.insert(Tail(gc)->serial).second) << "a serial seen before";
    } else {
      EXPECT_EQ(Tail(gc)->serial, last);
    }
    last = Tail(gc)->serial;
    ASSERT_TRUE(Release(gc));
  }
}

TEST_F(SiSBinding, TwoContextsOnOneWindowHaveDifferentSerials) {
  BindRecordTo(Window(0x300));
  GlContext *a = Make(), *b = Make();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  for (int round = 0; round < 2; round++) {
    for (GlContext *gc : {a, b}) {
      ASSERT_TRUE(Bind(gc));
      ASSERT_TRUE(Release(gc));
    }
    EXPECT_EQ(Tail(a)->hwnd, Tail(b)->hwnd);
    EXPECT_NE(Tail(a)->serial, Tail(b)->serial);
  }
}

TEST_F(SiSBinding, ReleaseIsRefusedWhileAPrimitiveOrASelectionIsUnderWay) {
  GlContext *gc = Make();
  ASSERT_NE(gc, nullptr);
  backend_test::ExpectReleaseFollowsTheModes(gc, *window);
}

TEST_F(SiSBinding, SharingTakesTheOtherContextsListsAndTextures) {
  GlContext *owner = Make(), *sharer = CreateSiS(TestModes());
  ASSERT_NE(owner, nullptr);
  ASSERT_NE(sharer, nullptr);
  EXPECT_NE(sharer->dlist.namesArray, owner->dlist.namesArray);
  EXPECT_TRUE(sharer->exports.shareContext(sharer, owner));
  EXPECT_EQ(sharer->dlist.namesArray, owner->dlist.namesArray);
  EXPECT_EQ(sharer->dlist.dlistArray, owner->dlist.dlistArray);
  EXPECT_EQ(sharer->texture.shared, owner->texture.shared);
  EXPECT_NE(sharer->dlist.arena, owner->dlist.arena) << "each compiles into its own arena";
  // The sharer goes first; the owner keeps what they shared.
  EXPECT_TRUE(sharer->exports.destroyContext(sharer));
  EXPECT_NE(owner->dlist.namesArray, nullptr);
  ASSERT_TRUE(Bind(owner));
  ASSERT_TRUE(Release(owner));
}

int gWaits;
void CountWait(GlContext *) { gWaits++; }

TEST_F(SiSBinding, SwapWaitsForTheChip) {
  GlContext *gc = Make();
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(Bind(gc));
  gWaits = 0;
  gc->procs.waitIdle = CountWait;
  gc->exports.swapBuffers(gc);
  EXPECT_EQ(gWaits, 1);
  gc->procs.waitIdle = core::WaitIdle;
  ASSERT_TRUE(Release(gc));
}

TEST_F(SiSBinding, SizeNotificationsResizeOnlyABoundContextAndRefuseHugeSizes) {
  GlContext *gc = Make();
  ASSERT_NE(gc, nullptr);
  EXPECT_TRUE(gc->exports.notifyChangeBufferSize(gc, 0, 0, 50, 60))
      << "before the first binding there is nothing to resize";
  EXPECT_EQ(gc->constants.width, 0);
  ASSERT_TRUE(Bind(gc));
  struct Case {
    const char *what;
    uint32_t width, height;
    bool accepted;
    int32_t widthAfter, heightAfter;
  } cases[] = {
      {"smaller", 100, 80, true, 100, 80},
      {"width above the signed range", 0x80000000u, 80, false, 100, 80},
      {"height above the signed range", 100, 0xFFFFFFFFu, false, 100, 80},
      {"back to the window", 320, 240, true, 320, 240},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    if (c.accepted) window->Resize(int32_t(c.width), int32_t(c.height));
    EXPECT_EQ(gc->exports.notifyChangeBufferSize(gc, 0, 0, c.width, c.height) != 0, c.accepted);
    EXPECT_EQ(gc->constants.width, c.widthAfter);
    EXPECT_EQ(gc->constants.height, c.heightAfter);
  }
  window->Resize(0, 0);
  gc->exports.notifyDestroyBuffers(gc);
  EXPECT_EQ(gc->constants.width, 0) << "a destroyed window has no size";
  EXPECT_EQ(gc->constants.height, 0);
  ASSERT_TRUE(Release(gc));
}

TEST_F(SiSBinding, DestructionFreesEverythingWhateverTheContextWentThrough) {
  struct Case {
    const char *what;
    int bindings;
  } cases[] = {{"never bound", 0}, {"bound once", 1}, {"bound twice", 2}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlContext *gc = CreateSiS(TestModes());
    ASSERT_NE(gc, nullptr);
    for (int i = 0; i < c.bindings; i++) {
      ASSERT_TRUE(Bind(gc));
      ASSERT_TRUE(Release(gc));
    }
    EXPECT_TRUE(gc->exports.destroyContext(gc));
    EXPECT_EQ(CountingImports::live(), 0);
  }
}

}  // namespace
}  // namespace sis_test
