// glAccum from its entry: the errors it reports before it waits for the
// back end, the render modes in which it changes nothing, the buffers each
// operation locks, GL_RETURN's per-fragment operations, and clip boxes
// wider than the colours the operations read at a time.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/current.h"
#include "core/gl_entries.h"
#include "raster/s_accum.h"
#include "tests/raster/ancillary/accum_fixture.h"

namespace ancillary_test {
namespace {

const GLfloat k565[4] = {31, 63, 31, 255};

// The context current on this thread while it lives.
class Current {
 public:
  explicit Current(GlContext *gc) { __glSetTLSCXValue(gc); }
  ~Current() { __glSetTLSCXValue(&__wglPlaceholderContext); }
};

std::vector<uint8_t> Bytes(PixelMemory &memory) {
  const GlDrawableBuffer *b = memory.buffer();
  return std::vector<uint8_t>(b->base, b->base + b->size);
}

TEST(AccumEntry, ErrorsComeBeforeTheWaitAndOtherModesChangeNothing) {
  struct Case {
    const char *what;
    bool haveAccum, colorIndex;
    int32_t beginMode;
    GLenum renderMode;
    GLenum op;
    GLenum error;
    int waits;
    bool changes;
  } cases[] = {
      {"GL_ACCUM", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, GL_ACCUM, GL_NO_ERROR, 1, true},
      {"GL_LOAD", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, GL_LOAD, GL_NO_ERROR, 1, true},
      {"GL_RETURN", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, GL_RETURN, GL_NO_ERROR, 1, true},
      {"GL_MULT", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, GL_MULT, GL_NO_ERROR, 1, true},
      {"GL_ADD", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, GL_ADD, GL_NO_ERROR, 1, true},
      {"an operation above GL_ADD", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, 0x105,
       GL_INVALID_ENUM, 0, false},
      {"an operation below GL_ACCUM", true, false, __GL_NOT_IN_BEGIN, GL_RENDER, 0xFF,
       GL_INVALID_ENUM, 0, false},
      {"no accumulation buffer", false, false, __GL_NOT_IN_BEGIN, GL_RENDER, GL_ACCUM,
       GL_INVALID_OPERATION, 0, false},
      {"colour index", true, true, __GL_NOT_IN_BEGIN, GL_RENDER, GL_LOAD, GL_INVALID_OPERATION,
       0, false},
      {"no buffer and a bad operation: the buffer first", false, false, __GL_NOT_IN_BEGIN,
       GL_RENDER, 0x105, GL_INVALID_OPERATION, 0, false},
      {"inside glBegin", true, false, __GL_IN_BEGIN, GL_RENDER, GL_ACCUM, GL_INVALID_OPERATION,
       0, false},
      {"selection", true, false, __GL_NOT_IN_BEGIN, GL_SELECT, GL_ACCUM, GL_NO_ERROR, 1, false},
      {"feedback", true, false, __GL_NOT_IN_BEGIN, GL_FEEDBACK, GL_RETURN, GL_NO_ERROR, 1,
       false},
      {"selection, bad operation", true, false, __GL_NOT_IN_BEGIN, GL_SELECT, 0x105,
       GL_INVALID_ENUM, 0, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(3, 2);
    GlContext *gc = ctx.gc();
    AccumFixture accum(&ctx, k565);
    accum.picture = [](int32_t x, int32_t y) { return GlColor{GLfloat(x), GLfloat(y), 3, 4}; };
    const int16_t start[4] = {100, 200, 300, 400};
    for (int32_t y = 0; y < 2; y++)
      for (int32_t x = 0; x < 3; x++) accum.Set(x, y, start);
    const std::vector<uint8_t> before = Bytes(accum.memory());
    gc->modes.haveAccumBuffer = c.haveAccum;
    gc->modes.colorIndexMode = c.colorIndex;
    gc->modes.rgbMode = !c.colorIndex;
    gc->beginMode = c.beginMode;
    gc->renderMode = c.renderMode;
    Current current(gc);
    __glim_Accum(c.op, 0.5f);
    EXPECT_EQ(gc->error, c.error);
    EXPECT_EQ(accum.waits, c.waits);
    const bool changed = Bytes(accum.memory()) != before || !accum.returned.empty();
    EXPECT_EQ(changed, c.changes);
  }
}

TEST(AccumEntry, EachOperationLocksItsBuffers) {
  struct Case {
    GLenum op;
    std::vector<std::string> locks;
  } cases[] = {
      {GL_ACCUM, {"lock 17", "unlock 17"}},  // the read buffer (front) too
      {GL_LOAD, {"lock 17", "unlock 17"}},
      {GL_RETURN, {"lock 20", "unlock 20"}},  // the draw buffer (back) too
      {GL_MULT, {"lock 16", "unlock 16"}},
      {GL_ADD, {"lock 16", "unlock 16"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.op);
    AncillaryContext ctx(3, 2);
    GlContext *gc = ctx.gc();
    AccumFixture accum(&ctx, k565);
    gc->drawBuffer = gc->back;
    gc->drawBufferMask = __GL_BACK_BUFFER_MASK;
    ctx.TakeBufferLocks();
    __glAccumOp(gc, c.op, 1.0f);
    EXPECT_EQ(ctx.TakeBufferLocks(), c.locks);
    // An empty clip box touches nothing.
    ctx.SetClipBox(1, 1, 1, 2);
    __glAccumOp(gc, c.op, 1.0f);
    EXPECT_TRUE(ctx.TakeBufferLocks().empty());
  }
}

// The values returned meet only ownership, the scissor, dithering and the
// write masks: blending and the logic op are off while they are stored,
// and on again, with procedures picked for them, afterwards.
TEST(AccumReturn, BlendingAndTheLogicOpAreOffWhileValuesReturn) {
  constexpr uint32_t kBlend = __GL_BLEND_ENABLE, kLogic = __GL_COLOR_LOGIC_OP_ENABLE;
  constexpr uint32_t kOther = __GL_DITHER_ENABLE | __GL_DEPTH_TEST_ENABLE;
  struct Case {
    const char *what;
    uint32_t enables;
  } cases[] = {
      {"neither", kOther},
      {"blending", kOther | kBlend},
      {"logic op", kLogic},
      {"both", kOther | kBlend | kLogic},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(4, 3);
    GlContext *gc = ctx.gc();
    AccumFixture accum(&ctx, k565);
    gc->state.enables.general = c.enables;
    gc->beginMode = __GL_NOT_IN_BEGIN;
    __glAccumOp(gc, GL_RETURN, 0.75f);
    const uint32_t during = c.enables & ~(kBlend | kLogic);
    ASSERT_EQ(accum.returned.size(), 3u);
    for (const ReturnedSpan &span : accum.returned) EXPECT_EQ(span.enables, during);
    const std::vector<uint32_t> validations =
        during == c.enables ? std::vector<uint32_t>{} : std::vector<uint32_t>{during, c.enables};
    EXPECT_EQ(accum.validations, validations);
    EXPECT_EQ(gc->state.enables.general, c.enables);
    EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
  }
}

TEST(AccumReturn, GoesToEachBufferDrawn) {
  struct Case {
    const char *what;
    bool both;
    GLenum drawn;  // GL_FRONT, GL_BACK or GL_NONE
    std::vector<std::string> order;
  } cases[] = {
      {"front", false, GL_FRONT, {"front 0", "front 1"}},
      {"back", false, GL_BACK, {"back 0", "back 1"}},
      {"front and back: front first, row by row", true, GL_BACK,
       {"front 0", "back 0", "front 1", "back 1"}},
      {"none", false, GL_NONE, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(2, 2);
    GlContext *gc = ctx.gc();
    AccumFixture accum(&ctx, k565);
    gc->drawBoth = c.both;
    gc->drawBuffer = c.drawn == GL_BACK ? gc->back : gc->front;
    gc->drawBufferMask = c.both                ? __GL_FRONT_BUFFER_MASK | __GL_BACK_BUFFER_MASK
                         : c.drawn == GL_FRONT ? __GL_FRONT_BUFFER_MASK
                         : c.drawn == GL_BACK  ? __GL_BACK_BUFFER_MASK
                                               : 0;
    __glAccumOp(gc, GL_RETURN, 1.0f);
    std::vector<std::string> order;
    for (const ReturnedSpan &span : accum.returned)
      order.push_back(std::string(span.cfb == gc->front ? "front " : "back ") +
                      std::to_string(span.y - kBias));
    EXPECT_EQ(order, c.order);
  }
}

// A clip box of any width: the colours are read a chunk of a row at a time,
// every pixel once, in order; returned rows go whole.
TEST(AccumWide, ClipBoxesWiderThanAChunkOfARow) {
  for (int32_t width : {__GL_ACCUM_CHUNK - 1, __GL_ACCUM_CHUNK, __GL_ACCUM_CHUNK + 1, 4096, 5000}) {
    SCOPED_TRACE(width);
    AncillaryContext ctx(width, 2);
    GlContext *gc = ctx.gc();
    AccumFixture accum(&ctx, k565);
    accum.picture = [](int32_t x, int32_t y) {
      return GlColor{GLfloat(x % 32), GLfloat((x / 32) % 64), GLfloat(y), 255};
    };
    __glAccumOp(gc, GL_LOAD, 1.0f);
    __glAccumOp(gc, GL_ACCUM, 0.5f);
    for (int32_t y = 0; y < 2; y++)
      for (int32_t x = 0; x < width; x++) {
        int16_t got[4];
        accum.Get(x, y, got);
        ASSERT_EQ(got[0], int16_t((x % 32) * 1057 + int32_t((x % 32) * 528.5f))) << x;
      }
    // Each row read in chunks that join up, twice (once per operation).
    int32_t expectX = 0, expectY = 0;
    for (const ReadCall &read : accum.reads) {
      EXPECT_LE(read.count, __GL_ACCUM_CHUNK);
      EXPECT_GT(read.count, 0);
      EXPECT_EQ(read.x - kBias, expectX);
      EXPECT_EQ(read.y - kBias, expectY);
      expectX += read.count;
      if (expectX == width) expectX = 0, expectY = (expectY + 1) % 2;
    }
    EXPECT_EQ(expectX, 0);
    __glAccumOp(gc, GL_RETURN, 1.0f);
    ASSERT_EQ(accum.returned.size(), 2u);
    EXPECT_EQ(accum.returned[0].count, width);
    EXPECT_TRUE(accum.memory().GuardsIntact());
  }
}

}  // namespace
}  // namespace ancillary_test
