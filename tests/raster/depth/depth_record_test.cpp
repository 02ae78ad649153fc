// The record a depth buffer keeps with each drawable depth buffer: made at
// the first binding by the buffer's bits per pixel, from the drawable's
// allocator or, without one, the binding context's; kept by later
// bindings; given back with the drawable or the context that lent it.
#include <gtest/gtest.h>

#include <string>

#include "core/s_pick.h"
#include "raster/s_depth.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/support/counting_imports.h"

namespace ancillary_test {
namespace {

void Bind(GlContext *gc, GlDrawableBuffer *buffer, uint32_t visualBits) {
  gc->modes.haveDepthBuffer = 1;
  gc->modes.depthBits = visualBits;
  __glInitDepth(&gc->depthBuffer, gc);
  gc->depthBuffer.buf.makeCurrent(&gc->depthBuffer.buf, buffer, gc);
}

GlDepthBufferPrivate *RecordOf(PixelMemory &memory) {
  return static_cast<GlDepthBufferPrivate *>(memory.buffer()->corePrivate);
}

TEST(DepthRecord, MadeAtTheFirstBindingByTheBuffersBitsPerPixel) {
  struct Case {
    uint32_t bits;
    uint32_t base, shift, depthMask, step;
  } cases[] = {
      {8, 0, 16, 0xFFFF, 0},
      {16, 0, 16, 0xFFFF, 0},
      {17, 0xFF000000u, 7, 0xFFFFFF, __GL_DEPTH_STEP_DOWN},
      {24, 0xFF000000u, 7, 0xFFFFFF, __GL_DEPTH_STEP_DOWN},
      {25, 0, 0, 0xFFFFFFFFu, 0},
      {32, 0, 0, 0xFFFFFFFFu, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.bits);
    AncillaryContext ctx(4, 2);
    GlContext *gc = ctx.gc();
    PixelMemory memory(4, 2, c.bits, c.bits <= 16 ? 2 : 4);
    const int drawableBlocks = AncillaryContext::drawableBlocks;
    const int live = CountingImports::live();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gc->dirtyMask = 0;
    Bind(gc, memory.buffer(), c.bits);
    const GlDepthBufferPrivate *rec = RecordOf(memory);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->base, c.base);
    EXPECT_EQ(rec->shift, c.shift);
    EXPECT_EQ(rec->depthMask, c.depthMask);
    EXPECT_EQ(rec->step, c.step);
    EXPECT_EQ(rec->fullClear, 1) << "new memory holds any epoch: the first clear is full";
    EXPECT_EQ(rec->fastClear, 0);
    EXPECT_EQ(rec->reverse, 0);
    EXPECT_EQ(AncillaryContext::drawableBlocks, drawableBlocks + 1) << "the drawable's allocator";
    EXPECT_EQ(CountingImports::live(), live);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_DEPTH | __GL_DIRTY_SCISSOR);
    EXPECT_EQ(gc->depthBuffer.buf.drawableBuf, memory.buffer());
    EXPECT_EQ(gc->depthBuffer.buf.gc, gc);

    // Given back with the drawable, through its allocator.
    GlDrawableBuffer *buffer = memory.buffer();
    ASSERT_NE(buffer->freePrivate, nullptr);
    buffer->freePrivate(buffer, ctx.drawable());
    EXPECT_EQ(buffer->corePrivate, nullptr);
    EXPECT_EQ(AncillaryContext::drawableBlocks, drawableBlocks);
    gc->depthBuffer.buf.free(&gc->depthBuffer.buf, gc);
    EXPECT_EQ(CountingImports::live(), live);
  }
}

// What the three widths install; the depth the buffers carry is the same
// unit of window z in each (scale), but for 16 bits.
TEST(DepthRecord, EachWidthsInitialisation) {
  struct Case {
    uint32_t visualBits;
    uint32_t scale;
    uint32_t (*fetch)(GlDepthBuffer *, int32_t, int32_t);
    bool fixes;
    int storeAlways;
  } cases[] = {
      {0, 0xFFFF0000u, depth::Fetch16, false, 7},   {16, 0xFFFF0000u, depth::Fetch16, false, 7},
      {17, 0x7FC00000u, depth::FetchFastClear, true, 23},
      {24, 0x7FC00000u, depth::FetchFastClear, true, 23},
      {25, 0x7FC00000u, depth::Fetch, false, 23},   {32, 0x7FC00000u, depth::Fetch, false, 23},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.visualBits);
    AncillaryContext ctx(1, 1);
    GlContext *gc = ctx.gc();
    gc->modes.depthBits = c.visualBits;
    GlDepthBuffer *dfb = &gc->depthBuffer;
    __glInitDepth(dfb, gc);
    EXPECT_EQ(dfb->scale, c.scale);
    EXPECT_EQ(dfb->func, GLenum(GL_LESS));
    EXPECT_EQ(dfb->offsetUnit, 16777216.0f);
    EXPECT_EQ(dfb->fetch, c.fetch);
    EXPECT_EQ(dfb->fix == depth::Fix_zbuffer, c.fixes);
    EXPECT_NE(dfb->fix, nullptr);
    EXPECT_EQ(dfb->storeAlways, __glStoreProcs[c.storeAlways]);
    EXPECT_EQ(dfb->pick, depth::Pick);
    EXPECT_EQ(dfb->clear, depth::Clear);
    EXPECT_NE(dfb->buf.resize, nullptr);
    EXPECT_EQ(dfb->buf.gc, nullptr) << "unbound until the first binding";
    dfb->fix(gc, dfb, 0);  // nothing bound: nothing to do
  }
}

// Later bindings, by this context or another, keep the record and its
// epochs; a resize asks for a full clear.
TEST(DepthRecord, KeptByLaterBindingsAndAskedForAFullClearByAResize) {
  AncillaryContext first(4, 4), second(4, 4);
  PixelMemory memory(4, 4, 24, 4);
  Bind(first.gc(), memory.buffer(), 24);
  GlDepthBufferPrivate *rec = RecordOf(memory);
  rec->fullClear = 0;
  rec->base = 0x42000000u;
  const int drawableBlocks = AncillaryContext::drawableBlocks;
  first.gc()->depthBuffer.buf.loseCurrent(&first.gc()->depthBuffer.buf);
  Bind(second.gc(), memory.buffer(), 24);
  Bind(first.gc(), memory.buffer(), 24);
  EXPECT_EQ(RecordOf(memory), rec);
  EXPECT_EQ(rec->base, 0x42000000u);
  EXPECT_EQ(AncillaryContext::drawableBlocks, drawableBlocks);

  GlBuffer *buf = &second.gc()->depthBuffer.buf;
  EXPECT_TRUE(buf->resize(buf, 0, 0, 4, 4, __GL_DEPTH_BUFFER_MASK));
  EXPECT_EQ(rec->fullClear, 1);
  EXPECT_EQ(second.drawableLocks, 1);
  EXPECT_EQ(second.drawableUnlocks, 1);
  memory.buffer()->freePrivate(memory.buffer(), first.drawable());
}

// A drawable without an allocator borrows the context's: the context gives
// the record back when it goes, and a context still drawing there makes a
// new one.
TEST(DepthRecord, ARecordBorrowedFromAContextGoesBackWithIt) {
  const int live = CountingImports::live();
  PixelMemory memory(3, 3, 24, 4);
  AncillaryContext lender(3, 3, false);
  {
    AncillaryContext other(3, 3, false);
    Bind(lender.gc(), memory.buffer(), 24);
    GlDepthBufferPrivate *borrowed = RecordOf(memory);
    ASSERT_NE(borrowed, nullptr);
    EXPECT_EQ(CountingImports::live(), live + 1) << "the context's allocator";
    Bind(other.gc(), memory.buffer(), 24);
    EXPECT_EQ(RecordOf(memory), borrowed);
    EXPECT_EQ(CountingImports::live(), live + 1);

    // The lender is destroyed: the record goes back.
    lender.gc()->depthBuffer.buf.free(&lender.gc()->depthBuffer.buf, lender.gc());
    EXPECT_EQ(memory.buffer()->corePrivate, nullptr);
    EXPECT_EQ(CountingImports::live(), live);

    // The other context still draws: it makes a record of its own.
    GlDepthBuffer *dfb = &other.gc()->depthBuffer;
    EXPECT_TRUE(dfb->store(dfb, kBias + 1, kBias + 2, 0x1000));
    ASSERT_NE(memory.buffer()->corePrivate, nullptr);
    EXPECT_EQ(CountingImports::live(), live + 1);
    dfb->buf.free(&dfb->buf, other.gc());
    EXPECT_EQ(CountingImports::live(), live);
  }
  // A record given back with its drawable first is not given back twice.
  Bind(lender.gc(), memory.buffer(), 24);
  EXPECT_EQ(CountingImports::live(), live + 1);
  memory.buffer()->freePrivate(memory.buffer(), lender.drawable());
  EXPECT_EQ(CountingImports::live(), live);
  lender.gc()->depthBuffer.buf.free(&lender.gc()->depthBuffer.buf, lender.gc());
  EXPECT_EQ(CountingImports::live(), live);
}

// No memory for the record at the binding: the buffer still tests, stores
// and clears, without clear epochs, and makes its record once it can.
TEST(DepthRecord, WithoutMemoryForTheRecordTheBufferWorksWithoutEpochs) {
  struct Case {
    uint32_t bits;
    uint32_t top;  // the far end in stored units
    uint32_t shift;
  } cases[] = {{16, 0xFFFF, 16}, {24, 0x7FC00000u >> 7, 7}, {32, 0x7FC00000u, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.bits);
    const int blocks = AncillaryContext::drawableBlocks;
    AncillaryContext ctx(4, 3);
    GlContext *gc = ctx.gc();
    PixelMemory memory(4, 3, c.bits, c.bits <= 16 ? 2 : 4);
    AncillaryContext::drawableRefuses = true;
    Bind(gc, memory.buffer(), c.bits);
    EXPECT_EQ(memory.buffer()->corePrivate, nullptr);
    GlDepthBuffer *dfb = &gc->depthBuffer;
    __glGenericPickDepthProcs(gc);
    for (int i = 0; i < 2; i++) {
      dfb->clear(dfb);
      EXPECT_EQ(dfb->fetch(dfb, kBias + 3, kBias + 2), c.top);
      EXPECT_TRUE(dfb->store(dfb, kBias + 1, kBias + 1, 0x4000000));
      EXPECT_FALSE(dfb->store(dfb, kBias + 1, kBias + 1, 0x4000000));
      EXPECT_EQ(dfb->fetch(dfb, kBias + 1, kBias + 1), 0x4000000u >> c.shift);
    }
    if (c.bits == 24) {
      EXPECT_EQ(memory.Read(3, 2) >> 24, 0u) << "no epoch";
    }
    EXPECT_EQ(memory.buffer()->corePrivate, nullptr);
    EXPECT_EQ(AncillaryContext::drawableBlocks, blocks);
    // Memory again: the next use makes the record.
    AncillaryContext::drawableRefuses = false;
    dfb->clear(dfb);
    EXPECT_NE(memory.buffer()->corePrivate, nullptr);
    EXPECT_EQ(AncillaryContext::drawableBlocks, blocks + 1);
    memory.buffer()->freePrivate(memory.buffer(), ctx.drawable());
    EXPECT_EQ(AncillaryContext::drawableBlocks, blocks);
  }
}

// The depth buffer's procedures reach no memory while it is unbound.
TEST(DepthRecord, AnUnboundBufferTouchesNothing) {
  AncillaryContext ctx(2, 2);
  GlContext *gc = ctx.gc();
  gc->modes.haveDepthBuffer = 1;
  gc->modes.depthBits = 24;
  GlDepthBuffer *dfb = &gc->depthBuffer;
  __glInitDepth(dfb, gc);
  EXPECT_EQ(__glDepthPrivate(dfb), nullptr);
  __glValidateZCount(gc);
  EXPECT_EQ(dfb->func, GLenum(GL_LESS));
  dfb->clear(dfb);
  dfb->pick(gc, dfb, 3);
  EXPECT_EQ(dfb->store, __glStoreProcs[3]);
  EXPECT_TRUE(ctx.TakeBufferLocks().empty());
}

}  // namespace
}  // namespace ancillary_test
