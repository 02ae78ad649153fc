// The buffer locks: the drawable's lock at every level, the drawable
// buffers in their fixed order and the device only at the outermost one,
// released the other way with the device first; the lock-site trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/s_buffers.h"
#include "tests/raster/buffers/lock_fixture.h"

namespace raster_buffers_test {
namespace {

using Log = std::vector<std::string>;

constexpr uint32_t kEvery = __GL_FRONT_BUFFER_MASK | __GL_BACK_BUFFER_MASK |
                            __GL_DEPTH_BUFFER_MASK | __GL_STENCIL_BUFFER_MASK |
                            __GL_ACCUM_BUFFER_MASK;

TEST(BufferLock, TakesTheBuffersOfTheMaskInOrderAndGivesThemBack) {
  struct Case {
    const char *what;
    bool doubleBuffered;
    uint32_t mask;
    unsigned locks, unlocks;
    bool device;
    Log lock, unlock;
  } cases[] = {
      {"every buffer",
       true,
       kEvery,
       kAll,
       kAll,
       true,
       {"lock drawable", "lock front", "lock back", "lock depth", "lock stencil", "lock accum",
        "lock device"},
       {"unlock device", "unlock front", "unlock back", "unlock depth", "unlock stencil",
        "unlock accum", "unlock drawable"}},
      {"the ancillary buffers: depth, stencil, then accumulation",
       true,
       __GL_ACCUM_BUFFER_MASK | __GL_STENCIL_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK,
       kAll,
       kAll,
       true,
       {"lock drawable", "lock depth", "lock stencil", "lock accum", "lock device"},
       {"unlock device", "unlock depth", "unlock stencil", "unlock accum", "unlock drawable"}},
      {"only what the mask names",
       true,
       __GL_BACK_BUFFER_MASK,
       kAll,
       kAll,
       true,
       {"lock drawable", "lock back", "lock device"},
       {"unlock device", "unlock back", "unlock drawable"}},
      {"buffers without procedures are skipped",
       true,
       kEvery,
       kF | kS,
       kB | kS,
       true,
       {"lock drawable", "lock front", "lock stencil", "lock device"},
       {"unlock device", "unlock back", "unlock stencil", "unlock drawable"}},
      {"no device lock",
       true,
       __GL_FRONT_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK,
       kAll,
       kAll,
       false,
       {"lock drawable", "lock front", "lock depth"},
       {"unlock front", "unlock depth", "unlock drawable"}},
      {"an empty mask still takes the drawable and the device",
       true,
       0,
       kAll,
       kAll,
       true,
       {"lock drawable", "lock device"},
       {"unlock device", "unlock drawable"}},
      {"a single-buffered visual has no back buffer to lock",
       false,
       __GL_FRONT_BUFFER_MASK | __GL_BACK_BUFFER_MASK,
       kAll,
       kAll,
       true,
       {"lock drawable", "lock front", "lock device"},
       {"unlock device", "unlock front", "unlock drawable"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LockContext lc(c.doubleBuffered);
    lc.SetProcedures(c.locks, c.unlocks);
    lc.SetDevice(c.device);
    GlContext *gc = lc.gc();
    __glLockBuffers(gc, c.mask);
    EXPECT_EQ(lc.Take(), c.lock);
    EXPECT_EQ(gc->sLockDepth, 1);
    __glUnlockBuffers(gc, c.mask);
    EXPECT_EQ(lc.Take(), c.unlock);
    EXPECT_EQ(gc->sLockDepth, 0);
  }
}

// The render lock's buffers are those of renderBufferMask.
TEST(BufferLock, TheGeneralRenderPairLocksTheRenderMask) {
  LockContext lc;
  GlContext *gc = lc.gc();
  gc->renderBufferMask = __GL_BACK_BUFFER_MASK | __GL_STENCIL_BUFFER_MASK;
  __glLockRenderBuffers(gc);
  EXPECT_EQ(lc.Take(), (Log{"lock drawable", "lock back", "lock stencil", "lock device"}));
  __glUnlockRenderBuffers(gc);
  EXPECT_EQ(lc.Take(), (Log{"unlock device", "unlock back", "unlock stencil", "unlock drawable"}));
}

// The narrow pairs lock the one colour buffer drawn, and the depth buffer.
TEST(BufferLock, TheNarrowPairsLockTheColourBufferAndTheDepthBuffer) {
  struct Case {
    const char *what;
    void (*lock)(GlContext *);
    void (*unlock)(GlContext *);
    bool back;  // the colour buffer locked, else the front
    bool device;
    Log locked, unlocked;
  } cases[] = {
      {"colour, the front",
       __glLockColorBuffer,
       __glUnlockColorBuffer,
       false,
       true,
       {"lock drawable", "lock front", "lock device"},
       {"unlock device", "unlock front", "unlock drawable"}},
      {"colour, the back, no device",
       __glLockColorBuffer,
       __glUnlockColorBuffer,
       true,
       false,
       {"lock drawable", "lock back"},
       {"unlock back", "unlock drawable"}},
      {"colour and depth",
       __glLockColorBufferDepthBuffer,
       __glUnlockColorBufferDepthBuffer,
       true,
       true,
       {"lock drawable", "lock back", "lock depth", "lock device"},
       {"unlock device", "unlock back", "unlock depth", "unlock drawable"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LockContext lc;
    lc.SetDevice(c.device);
    GlContext *gc = lc.gc();
    gc->colorLockBuffer = c.back ? gc->back : gc->front;
    gc->renderBufferMask = kEvery;  // the narrow pairs do not read it
    c.lock(gc);
    EXPECT_EQ(lc.Take(), c.locked);
    EXPECT_EQ(gc->sLockDepth, 1);
    c.unlock(gc);
    EXPECT_EQ(lc.Take(), c.unlocked);
    EXPECT_EQ(gc->sLockDepth, 0);
  }
}

// A lock taken inside another takes the drawable's lock again but neither
// the buffers nor the device; the device is released only by the outermost
// unlock, before the buffers.
TEST(BufferLock, NestedLocksTakeOnlyTheDrawable) {
  enum Op { kLockRender, kUnlockRender, kLockPixels, kUnlockPixels, kLockColor, kUnlockColor };
  struct Step {
    Op op;
    Log log;
    uint8_t depth;  // sLockDepth after the step
  };
  struct Case {
    const char *what;
    std::vector<Step> steps;
  } cases[] = {
      {"pixels inside the render lock",
       {{kLockRender, {"lock drawable", "lock front", "lock depth", "lock device"}, 1},
        {kLockPixels, {"lock drawable"}, 2},
        {kUnlockPixels, {"unlock drawable"}, 1},
        {kUnlockRender, {"unlock device", "unlock front", "unlock depth", "unlock drawable"}, 0}}},
      {"three deep, mixed pairs",
       {{kLockPixels, {"lock drawable", "lock back", "lock accum", "lock device"}, 1},
        {kLockColor, {"lock drawable"}, 2},
        {kLockRender, {"lock drawable"}, 3},
        {kUnlockRender, {"unlock drawable"}, 2},
        {kUnlockColor, {"unlock drawable"}, 1},
        {kUnlockPixels, {"unlock device", "unlock back", "unlock accum", "unlock drawable"}, 0}}},
      {"the lock taken again after a release",
       {{kLockColor, {"lock drawable", "lock front", "lock device"}, 1},
        {kUnlockColor, {"unlock device", "unlock front", "unlock drawable"}, 0},
        {kLockColor, {"lock drawable", "lock front", "lock device"}, 1},
        {kUnlockColor, {"unlock device", "unlock front", "unlock drawable"}, 0}}},
  };
  const uint32_t pixels = __GL_BACK_BUFFER_MASK | __GL_ACCUM_BUFFER_MASK;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LockContext lc;
    GlContext *gc = lc.gc();
    gc->renderBufferMask = __GL_FRONT_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK;
    gc->colorLockBuffer = gc->front;
    int step = 0;
    for (const Step &s : c.steps) {
      SCOPED_TRACE(step++);
      switch (s.op) {
        case kLockRender:
          __glLockRenderBuffers(gc);
          break;
        case kUnlockRender:
          __glUnlockRenderBuffers(gc);
          break;
        case kLockPixels:
          __glLockBuffers(gc, pixels);
          break;
        case kUnlockPixels:
          __glUnlockBuffers(gc, pixels);
          break;
        case kLockColor:
          __glLockColorBuffer(gc);
          break;
        case kUnlockColor:
          __glUnlockColorBuffer(gc);
          break;
      }
      EXPECT_EQ(lc.Take(), s.log);
      EXPECT_EQ(gc->sLockDepth, s.depth);
      EXPECT_EQ(lc.drawable()->lockDepth, s.depth) << "one trace entry per level";
    }
  }
}

// Each level pushes {line, file} and its release clears the entry again.
TEST(BufferLock, EveryLevelPushesAndPopsTheLockSite) {
  struct Pair {
    const char *what;
    void (*lock)(GlContext *);
    void (*unlock)(GlContext *);
  } pairs[] = {
      {"general", [](GlContext *gc) { __glLockBuffers(gc, kEvery); },
       [](GlContext *gc) { __glUnlockBuffers(gc, kEvery); }},
      {"render", __glLockRenderBuffers, __glUnlockRenderBuffers},
      {"colour", __glLockColorBuffer, __glUnlockColorBuffer},
      {"colour and depth", __glLockColorBufferDepthBuffer, __glUnlockColorBufferDepthBuffer},
  };
  for (const Pair &outer : pairs) {
    for (const Pair &inner : pairs) {
      SCOPED_TRACE(std::string(outer.what) + " around " + inner.what);
      LockContext lc;
      GlContext *gc = lc.gc();
      GlDrawable *d = lc.drawable();
      gc->colorLockBuffer = gc->front;
      outer.lock(gc);
      inner.lock(gc);
      ASSERT_EQ(d->lockDepth, 2);
      for (int i = 0; i < 2; i++) {
        EXPECT_STREQ(d->lockFiles[i], "s_buffer") << i;
        EXPECT_GT(d->lockLines[i], 0) << i;
      }
      inner.unlock(gc);
      EXPECT_EQ(d->lockDepth, 1);
      EXPECT_EQ(d->lockLines[1], 0);
      EXPECT_EQ(d->lockFiles[1], nullptr);
      outer.unlock(gc);
      EXPECT_EQ(d->lockDepth, 0);
      EXPECT_EQ(d->lockLines[0], 0);
      EXPECT_EQ(d->lockFiles[0], nullptr);
    }
  }
}

// Without a drawable nothing is locked but the device, and nothing breaks.
TEST(BufferLock, AnUnboundContextLocksOnlyTheDevice) {
  LockContext lc;
  GlContext *gc = lc.gc();
  gc->drawablePrivate = nullptr;
  gc->frontBuffer.buf.drawableBuf = gc->backBuffer.buf.drawableBuf = nullptr;
  __glLockBuffers(gc, kEvery);
  EXPECT_EQ(lc.Take(), (Log{"lock device"}));
  __glUnlockBuffers(gc, kEvery);
  EXPECT_EQ(lc.Take(), (Log{"unlock device"}));
}

// The narrow pairs lock unconditionally: a buffer without the procedure
// they need is a broken invariant of the lock choice, reported by name.
TEST(BufferLockDeathTest, TheNarrowPairsCheckTheirProcedures) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char *what;
    unsigned locks, unlocks;
    bool withDepth;
    const char *message;
  } cases[] = {
      {"colour buffer without lock", kAll & ~kF, kAll, false, "drawableBuf->lock"},
      {"colour buffer without unlock", kAll, kAll & ~kF, false, "drawableBuf->unlock"},
      {"depth buffer without lock", kAll & ~kD, kAll, true, "drawableBuf->lock"},
      {"depth buffer without unlock", kAll, kAll & ~kD, true, "drawableBuf->unlock"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DEATH(
        {
          LockContext lc;
          lc.SetProcedures(c.locks, c.unlocks);
          GlContext *gc = lc.gc();
          gc->colorLockBuffer = gc->front;
          if (c.withDepth) {
            __glLockColorBufferDepthBuffer(gc);
            __glUnlockColorBufferDepthBuffer(gc);
          } else {
            __glLockColorBuffer(gc);
            __glUnlockColorBuffer(gc);
          }
        },
        c.message);
  }
}

}  // namespace
}  // namespace raster_buffers_test
