// The buffer picker: the colour buffer drawn, the buffer masks, the single
// locked colour buffer and the render lock procedures.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "raster/s_shader.h"
#include "tests/core/pickers/picker_fixture.h"
#include "wgl/wgl_drawable.h"

namespace {

void LockBuffer(GlDrawableBuffer *, GlDrawable *) {}
void UnlockBuffer(GlDrawableBuffer *, GlDrawable *) {}

enum Drawn { kFront, kBack, kUnchanged };
// Which drawable buffers have lock and unlock procedures (kDepthLockOnly,
// kFrontLockOnly: a lock procedure but no unlock).
enum Lockable {
  kNone = 0,
  kFrontLocks = 1,
  kBackLocks = 2,
  kBothLock = 3,
  kDepthLocks = 4,
  kDepthLockOnly = 8,
  kFrontLockOnly = 16,
};

struct Case {
  const char *name;
  GLenum drawBuffer;
  bool doubleBuffered;
  int lockable;
  uint32_t flags;
  Drawn drawn;
  bool both;
  Drawn colorLock;  // kUnchanged: none
  uint32_t renderMask, drawMask;
  const char *lock, *unlock;
};

constexpr uint32_t DEPTH = __GL_SHADE_DEPTH_TEST | __GL_SHADE_DEPTH_ITER;
constexpr uint32_t STENCIL = __GL_SHADE_STENCIL_TEST;

const Case kCases[] = {
    {"front, lockable", GL_FRONT, false, kFrontLocks, 0, kFront, false, kFront, 0x1, 0x1,
     "__glLockColorBuffer", "__glUnlockColorBuffer"},
    {"front, lockable, with depth", GL_FRONT, false, kFrontLocks | kDepthLocks, DEPTH, kFront,
     false, kFront, 0x21, 0x1, "__glLockColorBufferDepthBuffer",
     "__glUnlockColorBufferDepthBuffer"},
    // The narrow pair locks the depth buffer unconditionally.
    {"front, lockable, with depth, the depth buffer not lockable", GL_FRONT, false, kFrontLocks,
     DEPTH, kFront, false, kFront, 0x21, 0x1, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"front, lockable, with depth, the depth buffer without unlock", GL_FRONT, false,
     kFrontLocks | kDepthLockOnly, DEPTH, kFront, false, kFront, 0x21, 0x1,
     "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"front with depth and stencil", GL_FRONT, false, kFrontLocks, DEPTH | STENCIL, kFront, false,
     kFront, 0x61, 0x1, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"front with stencil alone", GL_FRONT, false, kFrontLocks, STENCIL, kFront, false, kFront, 0x41,
     0x1, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"front, not lockable", GL_FRONT, false, kNone, 0, kFront, false, kUnchanged, 0x0, 0x1,
     "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"front, not lockable, with depth", GL_FRONT, false, kNone, DEPTH, kFront, false, kUnchanged,
     0x20, 0x1, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    // The narrow pair would unlock it unconditionally.
    {"front with a lock but no unlock", GL_FRONT, false, kFrontLockOnly | kDepthLocks, DEPTH,
     kFront, false, kUnchanged, 0x20, 0x1, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"back, lockable", GL_BACK, true, kBackLocks, 0, kBack, false, kBack, 0x4, 0x4,
     "__glLockColorBuffer", "__glUnlockColorBuffer"},
    {"back, lockable, with depth", GL_BACK, true, kBothLock | kDepthLocks, DEPTH, kBack, false,
     kBack, 0x24, 0x4, "__glLockColorBufferDepthBuffer", "__glUnlockColorBufferDepthBuffer"},
    {"back, lockable, with depth, the depth buffer not lockable", GL_BACK, true, kBothLock, DEPTH,
     kBack, false, kBack, 0x24, 0x4, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"both buffers, both lockable", GL_FRONT_AND_BACK, true, kBothLock, 0, kBack, true, kUnchanged,
     0x5, 0x5, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"both buffers, the front lockable, with depth", GL_FRONT_AND_BACK, true, kFrontLocks, DEPTH,
     kBack, true, kUnchanged, 0x21, 0x5, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"both buffers, neither lockable", GL_FRONT_AND_BACK, true, kNone, 0, kBack, true, kUnchanged,
     0x0, 0x5, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"both buffers of a single-buffered visual draw the front", GL_FRONT_AND_BACK, false,
     kFrontLocks, 0, kFront, false, kFront, 0x1, 0x1, "__glLockColorBuffer",
     "__glUnlockColorBuffer"},
    // The narrow pairs need a colour buffer to lock.
    {"no colour buffer", GL_NONE, true, kBothLock | kDepthLocks, 0, kUnchanged, false, kUnchanged,
     0x0, 0x0, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
    {"no colour buffer, with depth", GL_NONE, true, kBothLock | kDepthLocks, DEPTH, kUnchanged,
     false, kUnchanged, 0x20, 0x0, "__glLockRenderBuffers", "__glUnlockRenderBuffers"},
};

TEST(BufferPicker, DrawnBufferMasksAndLocks) {
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    if (c.doubleBuffered) ctx.SetDoubleBuffered();
    GlDrawableBuffer front = {}, back = {}, depth = {};
    gc->frontBuffer.buf.drawableBuf = &front;
    gc->backBuffer.buf.drawableBuf = &back;
    gc->depthBuffer.buf.drawableBuf = &depth;
    for (auto [buffer, bit] : {std::pair{&front, kFrontLocks}, std::pair{&back, kBackLocks},
                               std::pair{&depth, kDepthLocks}}) {
      if (c.lockable & bit) {
        buffer->lock = LockBuffer;
        buffer->unlock = UnlockBuffer;
      }
    }
    if (c.lockable & kDepthLockOnly) depth.lock = LockBuffer;
    if (c.lockable & kFrontLockOnly) front.lock = LockBuffer;
    gc->state.raster.drawBuffer = c.drawBuffer;
    ctx.SetFlags(__GL_SHADE_RGB | c.flags);
    // What an earlier pick left: cleared or replaced.
    GlColorBuffer earlier = {};
    gc->drawBuffer = &earlier;
    gc->drawBoth = 1;
    gc->colorLockBuffer = &earlier;
    __glGenericPickBufferProcs(gc);
    GlColorBuffer *const buffers[] = {&gc->frontBuffer, &gc->backBuffer, &earlier};
    EXPECT_EQ(gc->drawBuffer, buffers[c.drawn]);
    EXPECT_EQ(gc->drawBoth, c.both);
    EXPECT_EQ(gc->colorLockBuffer, c.colorLock == kUnchanged ? nullptr : buffers[c.colorLock]);
    EXPECT_EQ(gc->renderBufferMask, c.renderMask);
    EXPECT_EQ(gc->drawBufferMask, c.drawMask);
    EXPECT_EQ(NameOf(gc->lockRenderBuffers), c.lock);
    EXPECT_EQ(NameOf(gc->unlockRenderBuffers), c.unlock);
    EXPECT_EQ(NameOf(gc->lockBuffers), "__glLockBuffers");
    EXPECT_EQ(NameOf(gc->unlockBuffers), "__glUnlockBuffers");
  }
}

TEST(BufferPicker, AColourBufferNotBoundIsNotLockable) {
  RasterPickerContext ctx;
  GlContext *gc = ctx.gc();
  gc->frontBuffer.buf.drawableBuf = nullptr;
  __glGenericPickBufferProcs(gc);
  EXPECT_EQ(gc->colorLockBuffer, nullptr);
  EXPECT_EQ(gc->renderBufferMask, 0u);
}

// The depth buffer of the colour-and-depth pair must be bound and lockable.
TEST(BufferPicker, ADepthBufferNotBoundTakesTheGeneralPair) {
  RasterPickerContext ctx;
  GlContext *gc = ctx.gc();
  GlDrawableBuffer front = {};
  front.lock = LockBuffer;
  front.unlock = UnlockBuffer;
  gc->frontBuffer.buf.drawableBuf = &front;
  gc->depthBuffer.buf.drawableBuf = nullptr;
  gc->state.raster.drawBuffer = GL_FRONT;
  ctx.SetFlags(__GL_SHADE_RGB | DEPTH);
  __glGenericPickBufferProcs(gc);
  EXPECT_EQ(gc->renderBufferMask, 0x21u);
  EXPECT_EQ(NameOf(gc->lockRenderBuffers), "__glLockRenderBuffers");
  EXPECT_EQ(NameOf(gc->unlockRenderBuffers), "__glUnlockRenderBuffers");
}

TEST(BufferPicker, ReadMaskFollowsTheReadBuffer) {
  struct Case {
    GLenum readBuffer;
    uint32_t mask;
  } cases[] = {{GL_FRONT, 0x1}, {GL_BACK, 0x4}, {GL_AUX0, 0x0}, {GL_NONE, 0x0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.readBuffer);
    RasterPickerContext ctx;
    ctx.SetDoubleBuffered();
    ctx.gc()->pixel.readBuffer = c.readBuffer;
    ctx.gc()->readBufferMask = 0xFF;
    __glGenericPickBufferProcs(ctx.gc());
    EXPECT_EQ(ctx.gc()->readBufferMask, c.mask);
  }
}

}  // namespace
