// Binding the buffer objects to a drawable and following its size: the
// changed-buffers mask, the resize order and its refusal, the raster
// position on top-down drawables, the clip box and scissor, the render
// lock chosen again for the new drawable's buffers, and the freeing of what
// the core keeps with a drawable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "raster/s_buffers.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

std::vector<std::string> gLog;

class BoundWindow : public LifeTest {
 protected:
  void Bound(const GlModes &modes, int32_t width = 640, int32_t height = 480,
             bool yInverted = false) {
    window = std::make_unique<TestWindow>(width, height, yInverted);
    UseWindow(window.get());
    gc = CreateBound(modes);
    ASSERT_NE(gc, nullptr);
    gLog.clear();
  }
  void TearDown() override {
    if (gc) {
      EXPECT_TRUE(Release(gc));
      Destroy(gc);
    }
    LifeTest::TearDown();
  }
  std::unique_ptr<TestWindow> window;
  GlContext *gc = nullptr;
};

TEST_F(BoundWindow, TheChangedBuffersMaskIsTakenAtBindingAndAtEveryResize) {
  Bound(TestModes());
  struct Step {
    const char *what;
    uint32_t drawableMask;
    int32_t width, height;
    bool refuse;
  } steps[] = {
      {"a new size", 0x25, 300, 200, false},
      {"the same size", 0x41, 300, 200, false},
      {"a refused size: taken all the same", 0x10, 100, 100, true},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    window->drawable()->changedBuffers = s.drawableMask;
    gc->frontBuffer.buf.resize = nullptr;
    if (s.refuse)
      gc->frontBuffer.buf.resize = [](GlBuffer *, int32_t, int32_t, int32_t, int32_t, uint32_t) {
        return GLbool8(0);
      };
    EXPECT_EQ(__glChangeWindowSize(gc, 0, 0, s.width, s.height) != 0, !s.refuse);
    EXPECT_EQ(gc->changedBuffers, s.drawableMask);
  }
  gc->frontBuffer.buf.resize = nullptr;

  ASSERT_TRUE(Release(gc));
  window->drawable()->changedBuffers = 0x35;
  ASSERT_TRUE(Bind(gc));
  EXPECT_EQ(gc->changedBuffers, 0x35u);
}

// Each record present is resized in the order front, back, accumulation,
// depth, stencil; the first refusal ends the change with the old size kept.
TEST_F(BoundWindow, BuffersAreResizedInOrderUntilOneRefuses) {
  struct Case {
    const char *what;
    GlModes modes;
    uint32_t refuses;  // bit of the record that refuses, 0: none
    std::vector<std::string> asked;
  } cases[] = {
      {"every buffer", TestModes(true, true, 16, 8, true), 0, {"1", "4", "16", "32", "64"}},
      {"the back refuses", TestModes(true, true, 16, 8, true), 4, {"1", "4"}},
      {"the depth refuses", TestModes(true, true, 16, 8, true), 32, {"1", "4", "16", "32"}},
      {"the stencil refuses", TestModes(true, true, 16, 8, true), 64, {"1", "4", "16", "32", "64"}},
      {"single-buffered, no accumulation",
       TestModes(true, false, 16, 8, false),
       0,
       {"1", "32", "64"}},
      {"front only", TestModes(true, false, 0, 0, false), 1, {"1"}},
  };
  static uint32_t refuses;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Bound(c.modes);
    refuses = c.refuses;
    GlBuffer *records[] = {&gc->frontBuffer.buf, &gc->backBuffer.buf, &gc->accumBuffer.buf,
                           &gc->depthBuffer.buf, &gc->stencilBuffer.buf};
    decltype(GlBuffer::resize) kept[5];
    for (int i = 0; i < 5; i++) {
      kept[i] = records[i]->resize;
      records[i]->resize = [](GlBuffer *, int32_t, int32_t, int32_t, int32_t, uint32_t bit) {
        gLog.push_back(std::to_string(bit));
        return GLbool8(bit != refuses);
      };
    }
    // The scissor's re-application reads the size back and resizes again.
    auto applyScissor = gc->procs.applyScissor;
    gc->procs.applyScissor = [](GlContext *) { return GLbool8(1); };
    EXPECT_EQ(__glChangeWindowSize(gc, 0, 0, 320, 240) != 0, c.refuses == 0);
    gc->procs.applyScissor = applyScissor;
    EXPECT_EQ(gLog, c.asked);
    EXPECT_EQ(gc->constants.width, c.refuses ? 640 : 320);
    EXPECT_EQ(gc->constants.height, c.refuses ? 480 : 240);
    for (int i = 0; i < 5; i++) records[i]->resize = kept[i];
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
    gc = nullptr;
  }
}

// Rows of a top-down drawable count from the top: the raster position's
// window y moves with the height so that it keeps its place from the
// bottom, through either road a new size takes.
TEST_F(BoundWindow, TheRasterPositionFollowsTheBottomOfTopDownDrawables) {
  struct Case {
    const char *what;
    bool yInverted;
    int32_t width, height;
    bool notify;  // through the window-system layer's notification
    float shift;
  } cases[] = {
      {"top-down, 10 rows fewer", true, 640, 470, false, -10},
      {"top-down, 25 rows more, notified", true, 640, 505, true, 25},
      {"top-down, only wider", true, 800, 480, false, 0},
      {"top-down, same size, notified", true, 640, 480, true, 0},
      {"bottom-up, 10 rows fewer", false, 640, 470, false, 0},
      {"bottom-up, taller, notified", false, 640, 600, true, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Bound(TestModes(), 640, 480, c.yInverted);
    const float y = gc->state.current.rasterPos.window.y;
    window->Resize(c.width, c.height);
    if (c.notify)
      EXPECT_TRUE(gc->exports.notifyChangeBufferSize(gc, 0, 0, c.width, c.height));
    else
      EXPECT_TRUE(__glChangeWindowSize(gc, 0, 0, c.width, c.height));
    EXPECT_EQ(gc->state.current.rasterPos.window.y, y + c.shift);
    EXPECT_EQ(gc->constants.height, c.height);
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
    gc = nullptr;
  }
}

// A new size recomputes the clip box, then applies the scissor, and only
// when the size changed.
TEST_F(BoundWindow, ANewSizeRecomputesTheClipBoxThenAppliesTheScissor) {
  Bound(TestModes());
  struct Case {
    const char *what;
    int32_t width, height;
    std::vector<std::string> calls;
  } cases[] = {
      {"smaller", 320, 240, {"computeClipBox", "applyScissor"}},
      {"the same again", 320, 240, {}},
      {"only taller", 320, 241, {"computeClipBox", "applyScissor"}},
  };
  auto computeClipBox = gc->procs.computeClipBox;
  auto applyScissor = gc->procs.applyScissor;
  gc->procs.computeClipBox = [](GlContext *) { gLog.push_back("computeClipBox"); };
  gc->procs.applyScissor = [](GlContext *) {
    gLog.push_back("applyScissor");
    return GLbool8(1);
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    gLog.clear();
    EXPECT_TRUE(__glChangeWindowSize(gc, 0, 0, c.width, c.height));
    EXPECT_EQ(gLog, c.calls);
  }
  gc->procs.computeClipBox = computeClipBox;
  gc->procs.applyScissor = applyScissor;
}

// The clip box after a resize is the scissor box cut to the new window.
TEST_F(BoundWindow, TheClipBoxIsTheScissorBoxInTheNewWindow) {
  struct Case {
    const char *what;
    bool scissor;
    int32_t width, height;
    int32_t box[4];  // unbiased
  } cases[] = {
      {"no scissor", false, 300, 200, {0, 0, 300, 200}},
      {"scissor inside", true, 640, 480, {100, 50, 500, 450}},
      {"scissor cut by the smaller window", true, 300, 200, {100, 50, 300, 200}},
      {"scissor outside the smaller window", true, 90, 40, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Bound(TestModes());
    gc->dispatch.Scissor(100, 50, 400, 400);
    if (c.scissor) gc->dispatch.Enable(GL_SCISSOR_TEST);
    window->Resize(c.width, c.height);
    EXPECT_TRUE(gc->exports.notifyChangeBufferSize(gc, 0, 0, c.width, c.height));
    const int32_t *box = gc->transform.clipBox;
    const int32_t bx = gc->constants.viewportXAdjust, by = gc->constants.viewportYAdjust;
    EXPECT_EQ(box[0] - bx, c.box[0]);
    EXPECT_EQ(box[1] - by, c.box[1]);
    EXPECT_EQ(box[2] - bx, c.box[2]);
    EXPECT_EQ(box[3] - by, c.box[3]);
    EXPECT_TRUE(Release(gc));
    Destroy(gc);
    gc = nullptr;
  }
}

void LockBuffer(GlDrawableBuffer *, GlDrawable *) {}
void UnlockBuffer(GlDrawableBuffer *, GlDrawable *) {}

void GiveLocks(GlDrawable *d, bool depth) {
  for (GlDrawableBuffer *b : {&d->front, &d->back, &d->depth}) {
    if (b == &d->depth && !depth) continue;
    b->lock = LockBuffer;
    b->unlock = UnlockBuffer;
  }
}

// The render lock chosen for one drawable's buffers must not survive a
// binding to a drawable whose depth buffer has no lock procedures: the
// narrow pair would lock it unconditionally.
TEST_F(BoundWindow, BindingChoosesTheRenderLockAgain) {
  Bound(TestModes());
  GiveLocks(window->drawable(), true);
  TestWindow other(640, 480);
  GiveLocks(other.drawable(), false);
  ASSERT_TRUE(Release(gc));
  ASSERT_TRUE(Bind(gc));
  gc->dispatch.Enable(GL_DEPTH_TEST);
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  ASSERT_EQ(gc->lockRenderBuffers, __glLockColorBufferDepthBuffer);

  ASSERT_TRUE(Release(gc));
  UseWindow(&other);
  ASSERT_TRUE(Bind(gc));
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  gc->procs.validate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(gc->lockRenderBuffers, __glLockRenderBuffers);
  EXPECT_EQ(gc->unlockRenderBuffers, __glUnlockRenderBuffers);
  gc->lockRenderBuffers(gc);
  gc->unlockRenderBuffers(gc);
  ASSERT_TRUE(Release(gc));
  UseWindow(window.get());
  ASSERT_TRUE(Bind(gc));
}

// What the core keeps with a drawable goes with it: each buffer's private
// data in the drawable's order, then the core's word.
TEST(FreePrivate, GivesBackEachBuffersDataInOrder) {
  struct Case {
    const char *what;
    unsigned present;  // bits: front, back, accum, depth, stencil
    std::vector<std::string> freed;
  } cases[] = {
      {"every buffer", 31, {"front", "back", "accum", "depth", "stencil"}},
      {"depth and front", 9, {"front", "depth"}},
      {"none", 0, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TestWindow window(8, 8);
    GlDrawable *d = window.drawable();
    static GlDrawable *current;
    current = d;
    GlDrawableBuffer *slots[] = {&d->front, &d->back, &d->accum, &d->depth, &d->stencil};
    for (unsigned i = 0; i < 5; i++)
      if ((c.present >> i) & 1)
        slots[i]->freePrivate = [](GlDrawableBuffer *b, GlDrawable *drawable) {
          const char *names[] = {"front", "back", "accum", "depth", "stencil"};
          GlDrawableBuffer *all[] = {&current->front, &current->back, &current->accum,
                                     &current->depth, &current->stencil};
          for (int j = 0; j < 5; j++)
            if (b == all[j] && drawable == current) gLog.push_back(names[j]);
        };
    int word;
    d->corePrivate = &word;
    gLog.clear();
    __glFreePrivate(d);
    EXPECT_EQ(gLog, c.freed);
    EXPECT_EQ(d->corePrivate, nullptr);
    for (GlDrawableBuffer *slot : slots) slot->freePrivate = nullptr;
  }
}

// Binding installs the core's free-private procedure in the drawable.
TEST_F(BoundWindow, BindingInstallsTheFreePrivateProcedure) {
  Bound(TestModes());
  EXPECT_EQ(window->drawable()->freePrivate, __glFreePrivate);
}

}  // namespace
}  // namespace life_test
