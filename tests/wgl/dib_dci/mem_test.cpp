// The memory kind: block sizes with the spare bytes on both sides, 32-byte
// alignment, element sizes (depth buffers of 17-32 bits in 4 bytes),
// reallocation, failures and freeing.
#include <stdint.h>
#include <string.h>

#include "tests/wgl/dib_dci/kind_fixture.h"

namespace {

class MemKind : public KindTest {
 protected:
  TestDrawable *d_ = nullptr;
  void SetUp() override {
    KindTest::SetUp();
    d_ = Drawable(nullptr, nullptr, Modes(16, 16, 8, true));
  }
  // The buffer slot the case names.
  GlDrawableBuffer *Slot(char which) {
    GlDrawable *gl = d_->gl();
    return which == 'd' ? &gl->depth : which == 'a' ? &gl->accum : which == 's' ? &gl->stencil : &gl->back;
  }
};

struct SizeCase {
  char slot;  // b back, a accumulation, d depth, s stencil
  uint32_t depth;
  int32_t width, height;
  uint32_t elementSize, pitchBytes;
  uint32_t size;  // bytes of pixels
};

// 10 x 10 at 16 bits: 200 bytes of pixels. The block is 263 bytes (200 +
// 63: 16 spare bytes on each side and up to 31 to reach a 32-byte
// boundary), where a block without spare bytes would be 231.
const SizeCase kSizes[] = {
    {'b', 16, 10, 10, 2, 20, 200},   {'b', 8, 7, 3, 1, 7, 21},       {'b', 24, 5, 4, 3, 15, 60},
    {'b', 32, 3, 3, 4, 12, 36},      {'a', 64, 4, 2, 8, 32, 64},     {'d', 16, 10, 10, 2, 20, 200},
    {'d', 17, 10, 1, 4, 40, 40},     {'d', 24, 10, 10, 4, 40, 400},  {'d', 32, 9, 2, 4, 36, 72},
    {'s', 8, 33, 2, 1, 33, 66},      {'b', 16, 0, 0, 2, 0, 0},       {'d', 24, 1, 0, 4, 4, 0},
};

TEST_F(MemKind, SizesAlignmentAndSpareBytes) {
  for (const SizeCase &c : kSizes) {
    SCOPED_TRACE(testing::Message() << c.slot << " depth " << c.depth << " " << c.width << "x" << c.height);
    GlDrawableBuffer *b = Slot(c.slot);
    __wglInitMem(b, &d_->record, c.depth);
    EXPECT_EQ(b->depth, c.depth);
    EXPECT_EQ(b->elementSize, c.elementSize);
    EXPECT_EQ(1u << b->elementSizeLog2, c.elementSize & ~(c.elementSize >> 1));
    ASSERT_EQ(b->update(b, 0, 0, c.width, c.height, d_->gl(), 4), 1u);
    EXPECT_EQ(b->size, c.size);
    EXPECT_EQ(b->width, uint32_t(c.width));
    EXPECT_EQ(b->height, uint32_t(c.height));
    EXPECT_EQ(uint32_t(b->pitchBytes), c.pitchBytes);
    EXPECT_EQ(b->pitch, c.width);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b->base) % BUF_ALIGN, 0u);
    const uint8_t *block = static_cast<uint8_t *>(b->handle);
    EXPECT_GE(b->base - block, 16);
    EXPECT_LT(b->base - block, 16 + BUF_ALIGN);
    // The span code's reach on both sides: under the sanitizer a write
    // outside the block is caught here.
    memset(b->base - 16, 0xA5, 16);
    memset(b->base + c.size, 0x5A, 16);
    memset(b->base, 0x11, c.size);
    b->free(b, d_->gl());
    EXPECT_EQ(b->handle, nullptr);
    EXPECT_EQ(b->base, nullptr);
  }
  EXPECT_EQ(gLiveBlocks, 0);
}

TEST_F(MemKind, EveryUpdateReallocatesAndReportsAChange) {
  GlDrawableBuffer *b = Slot('d');
  __wglInitMem(b, &d_->record, 24);
  const int32_t sizes[][2] = {{10, 10}, {40, 30}, {3, 2}, {3, 2}, {0, 0}, {64, 64}};
  for (const auto &s : sizes) {
    ASSERT_EQ(b->update(b, 5, 6, s[0], s[1], d_->gl(), 32), 1u);
    EXPECT_EQ(gLiveBlocks, 1);
    EXPECT_EQ(b->size, uint32_t(4 * s[0] * s[1]));
    memset(b->base - 16, 0, b->size + 32);
  }
  b->free(b, d_->gl());
  EXPECT_EQ(gLiveBlocks, 0);
}

struct FailureCase {
  bool existing;  // a block exists, so the update reallocates
  int32_t width, height;
  bool allocatorFails;
  const char *message;
};

const FailureCase kFailures[] = {
    {false, 10, 10, true, "Mem: Update: Malloc failed"},
    {true, 20, 20, true, "Mem: Update: Realloc failed"},
    // Sizes no 32-bit block holds are refused, not wrapped.
    {false, 0x10000, 0x10000, false, "Mem: Update: Malloc failed"},
    {true, 0x7FFFFFFF, 2, false, "Mem: Update: Realloc failed"},
    {false, -1, 10, false, "Mem: Update: Malloc failed"},
};

TEST_F(MemKind, FailuresReportAndKeepTheOldBlock) {
  for (const FailureCase &c : kFailures) {
    SCOPED_TRACE(c.message);
    PlatformClearDebugOutput();
    GlDrawableBuffer *b = Slot('b');
    __wglInitMem(b, &d_->record, 16);
    if (c.existing) {
      ASSERT_EQ(b->update(b, 0, 0, 4, 4, d_->gl(), 4), 1u);
    }
    void *before = b->handle;
    uint8_t *base = b->base;
    if (c.allocatorFails) gAllocationsBeforeFailure = 0;
    EXPECT_EQ(b->update(b, 0, 0, c.width, c.height, d_->gl(), 4), 0u);
    gAllocationsBeforeFailure = -1;
    EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    EXPECT_EQ(b->handle, before);
    EXPECT_EQ(b->base, base);
    EXPECT_EQ(b->width, c.existing ? 4u : 0u);
    b->free(b, d_->gl());
    EXPECT_EQ(gLiveBlocks, 0);
  }
}

TEST_F(MemKind, InitialisingKeepsTheWayBackOfAFallenBackBuffer) {
  GlDrawableBuffer *b = Slot('b');
  auto own = [](GlDrawableBuffer *, WglDrawablePrivate *, uint32_t, WglBufferInitProc) {};
  b->ownInit = own;
  b->fallbackInit = __wglInitMem;
  b->width = 7;
  b->base = reinterpret_cast<uint8_t *>(0x1000);
  __wglInitMem(b, &d_->record, 16);
  EXPECT_EQ(b->ownInit, static_cast<WglSurfaceInitProc>(own));
  EXPECT_EQ(b->fallbackInit, __wglInitMem);
  EXPECT_EQ(b->width, 0u);
  EXPECT_EQ(b->base, nullptr);
  EXPECT_NE(b->lock, nullptr);
  EXPECT_NE(b->unlock, nullptr);
  EXPECT_EQ(b->fill, nullptr);
}

}  // namespace
