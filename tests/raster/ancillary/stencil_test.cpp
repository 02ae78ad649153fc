// The stencil buffer: its test and operation maps held against a reference
// of the stencil rules for every stored value, the write mask in stores and
// operations, and the clear.
#include <gtest/gtest.h>

#include <string>

#include "raster/s_stencil.h"
#include "tests/raster/ancillary/ancillary_fixture.h"
#include "tests/raster/ancillary/comparison_reference.h"
#include "tests/support/counting_imports.h"

namespace ancillary_test {
namespace {

// A stencil buffer of `bits` over a window of its own memory, validated.
class StencilFixture {
 public:
  StencilFixture(AncillaryContext *ctx, uint32_t bits = 8)
      : ctx_(ctx), memory_(ctx->width(), ctx->height(), 8) {
    GlContext *gc = ctx->gc();
    gc->modes.haveStencilBuffer = 1;
    gc->modes.stencilBits = bits;
    GlStencilState &s = gc->state.stencil;
    s.testFunc = GL_ALWAYS;
    s.mask = s.writeMask = uint16_t((bits >= 8 ? 256u : 1u << bits) - 1);
    s.fail = s.depthFail = s.depthPass = GL_KEEP;
    __glInitStencil8(sfb(), gc);
    sfb()->buf.makeCurrent(&sfb()->buf, memory_.buffer(), gc);
    Validate();
  }
  ~StencilFixture() { sfb()->buf.free(&sfb()->buf, ctx_->gc()); }
  StencilFixture(const StencilFixture &) = delete;
  StencilFixture &operator=(const StencilFixture &) = delete;

  GlStencilBuffer *sfb() { return &ctx_->gc()->stencilBuffer; }
  PixelMemory &memory() { return memory_; }
  // What validation does after a stencil state change.
  void Validate() {
    GlContext *gc = ctx_->gc();
    gc->tableDirtyMask = __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
    sfb()->pick(gc, sfb());
    gc->tableDirtyMask = 0;
  }

 private:
  AncillaryContext *ctx_;
  PixelMemory memory_;
};

// The stencil rules, written from OpenGL's description: the reference and
// the stored value compared under the value mask.
bool ReferenceTest(GLenum func, uint32_t ref, uint32_t mask, uint32_t stored) {
  return ReferencePasses(func, ref & mask, stored & mask);
}

uint32_t ReferenceOp(GLenum op, uint32_t ref, uint32_t writeMask, uint32_t bits, uint32_t v) {
  const uint32_t top = (1u << bits) - 1;
  uint32_t n = v;
  switch (op) {
    case GL_ZERO:
      n = 0;
      break;
    case GL_REPLACE:
      n = ref;
      break;
    case GL_INCR:
      n = v < top ? v + 1 : top;
      break;
    case GL_DECR:
      n = v > 0 ? v - 1 : 0;
      break;
    case GL_INVERT:
      n = ~v;
      break;
  }
  return ((n & writeMask) | (v & ~writeMask)) & top;
}

const GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                             GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
const GLenum kOps[] = {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT};

TEST(StencilMaps, TheTestAgreesWithTheRulesForEveryStoredValue) {
  struct Masks {
    uint32_t ref, mask;
  } masks[] = {{0, 0xFF}, {5, 0xFF}, {0x80, 0xFF}, {255, 0xFF}, {0x35, 0x0F},
               {0xF0, 0x3C}, {7, 0}, {200, 0xAA}};
  AncillaryContext ctx(16, 16);
  StencilFixture stencil(&ctx);
  GlStencilState &s = ctx.gc()->state.stencil;
  for (GLenum func : kFunctions)
    for (const Masks &m : masks) {
      SCOPED_TRACE(std::to_string(func) + " reference " + std::to_string(m.ref) + " mask " +
                   std::to_string(m.mask));
      s.testFunc = func;
      s.reference = uint16_t(m.ref);
      s.mask = uint16_t(m.mask);
      stencil.Validate();
      for (uint32_t v = 0; v < 256; v++) {
        stencil.memory().Write(int32_t(v % 16), int32_t(v / 16), v);
        ASSERT_EQ(stencil.sfb()->testFunc(stencil.sfb(), kBias + int32_t(v % 16),
                                          kBias + int32_t(v / 16)) != 0,
                  ReferenceTest(func, m.ref, m.mask, v))
            << v;
      }
    }
  // Reference 5, every bit compared, GL_LESS: 0 to 5 fail, 6 to 255 pass.
  s.testFunc = GL_LESS;
  s.reference = 5;
  s.mask = 0xFF;
  stencil.Validate();
  for (uint32_t v = 0; v < 256; v++) EXPECT_EQ(stencil.sfb()->testMap[v], v >= 6 ? 1 : 0) << v;
}

// Each operation map, for each of the three places it serves, against the
// rules with the write mask applied, in buffers of 8 and fewer bits.
TEST(StencilMaps, EachOperationAgreesWithTheRulesForEveryStoredValue) {
  struct Setting {
    uint32_t bits, ref, writeMask;
  } settings[] = {{8, 0, 0xFF}, {8, 0x5A, 0xFF}, {8, 0x5A, 0x0F}, {8, 0xC3, 0},
                  {8, 1, 0xF0}, {4, 9, 0xF},     {4, 3, 0x6},   {1, 1, 1}};
  AncillaryContext ctx(16, 16);
  for (const Setting &set : settings) {
    StencilFixture stencil(&ctx, set.bits);
    GlStencilBuffer *sfb = stencil.sfb();
    GlStencilState &s = ctx.gc()->state.stencil;
    const uint32_t count = 1u << set.bits;
    for (GLenum op : kOps) {
      SCOPED_TRACE(std::to_string(set.bits) + " bits, op " + std::to_string(op) +
                   ", reference " + std::to_string(set.ref) + ", write mask " +
                   std::to_string(set.writeMask));
      s.reference = uint16_t(set.ref);
      s.writeMask = uint16_t(set.writeMask);
      // The same operation in each place, one place at a time.
      void (*const places[])(GlStencilBuffer *, int32_t, int32_t) = {
          sfb->failOp, sfb->passDepthFailOp, sfb->depthPassOp};
      GLenum *const slots[] = {&s.fail, &s.depthFail, &s.depthPass};
      for (int place = 0; place < 3; place++) {
        s.fail = s.depthFail = s.depthPass = GL_KEEP;
        *slots[place] = op;
        stencil.Validate();
        for (int other = 0; other < 3; other++)
          for (uint32_t v = 0; v < count; v++) {
            stencil.memory().Write(3, 4, v);
            places[other](sfb, kBias + 3, kBias + 4);
            ASSERT_EQ(stencil.memory().Read(3, 4),
                      other == place ? ReferenceOp(op, set.ref, set.writeMask, set.bits, v) : v)
                << "place " << other << " value " << v;
          }
      }
    }
  }
}

// The cases OpenGL makes a point of.
TEST(StencilMaps, SaturationAndTheWriteMask) {
  struct Case {
    const char *what;
    GLenum op;
    uint32_t writeMask, stored, result;
  } cases[] = {
      {"GL_INCR keeps 255", GL_INCR, 0xFF, 255, 255},
      {"GL_DECR keeps 0", GL_DECR, 0xFF, 0, 0},
      {"GL_INVERT under write mask 0x0F", GL_INVERT, 0x0F, 0x35, 0x3A},
      {"GL_INCR under write mask 0x0F", GL_INCR, 0x0F, 0x3F, 0x30},
      {"GL_REPLACE under write mask 0", GL_REPLACE, 0, 0x11, 0x11},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(2, 2);
    StencilFixture stencil(&ctx);
    GlStencilState &s = ctx.gc()->state.stencil;
    s.depthPass = c.op;
    s.writeMask = uint16_t(c.writeMask);
    s.reference = 0x77;
    stencil.Validate();
    stencil.memory().Write(1, 1, c.stored);
    stencil.sfb()->depthPassOp(stencil.sfb(), kBias + 1, kBias + 1);
    EXPECT_EQ(stencil.memory().Read(1, 1), c.result);
  }
}

// A byte beyond the bits the buffer has (memory never cleared) indexes the
// maps safely and is taken as the bits there are.
TEST(StencilMaps, BytesBeyondTheBufferBitsAreTakenAsItsBits) {
  AncillaryContext ctx(2, 1);
  StencilFixture stencil(&ctx, 4);
  GlStencilState &s = ctx.gc()->state.stencil;
  s.fail = GL_INCR;
  s.testFunc = GL_EQUAL;
  s.reference = 0x3;
  stencil.Validate();
  stencil.memory().Write(0, 0, 0xF3);
  EXPECT_TRUE(stencil.sfb()->testFunc(stencil.sfb(), kBias, kBias));
  stencil.sfb()->failOp(stencil.sfb(), kBias, kBias);
  EXPECT_EQ(stencil.memory().Read(0, 0), 0x4u);
}

TEST(StencilBuffer, StoreAndFetchHonourTheWriteMask) {
  struct Case {
    uint32_t writeMask, stored, value, result;
  } cases[] = {{0xFF, 0x12, 0x34, 0x34},  {0x0F, 0x12, 0x34, 0x14}, {0, 0x12, 0x34, 0x12},
               {0xF0, 0xAB, 0x1CD, 0xCB}, {0xFF, 0, 0x1FF, 0xFF}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.writeMask);
    AncillaryContext ctx(3, 2);
    StencilFixture stencil(&ctx);
    ctx.gc()->state.stencil.writeMask = uint16_t(c.writeMask);
    stencil.memory().Write(2, 1, c.stored);
    stencil.sfb()->store(stencil.sfb(), kBias + 2, kBias + 1, c.value);
    EXPECT_EQ(stencil.sfb()->fetch(stencil.sfb(), kBias + 2, kBias + 1), c.result);
    EXPECT_EQ(stencil.memory().Read(1, 1), 0xA5u) << "the neighbour is untouched";
  }
}

// The clear, over boxes of every width up to two 8-byte steps and beyond,
// with the full, a partial and an empty write mask, against a per-byte
// reference; bytes outside the box keep their value.
TEST(StencilClear, WritesTheBoxWithTheWriteMask) {
  constexpr int32_t kW = 21, kH = 4;
  struct Mask {
    uint32_t bits, writeMask;
  } masks[] = {{8, 0xFF}, {8, 0x3C}, {8, 0}, {4, 0xF}, {4, 0x5}};
  for (const Mask &m : masks)
    for (int32_t x0 = 0; x0 < 4; x0++)
      for (int32_t width = 0; x0 + width <= kW; width++) {
        SCOPED_TRACE("write mask " + std::to_string(m.writeMask) + ", " +
                     std::to_string(m.bits) + " bits, box from " + std::to_string(x0) +
                     ", " + std::to_string(width) + " wide");
        AncillaryContext ctx(kW, kH);
        StencilFixture stencil(&ctx, m.bits);
        GlStencilState &s = ctx.gc()->state.stencil;
        s.writeMask = uint16_t(m.writeMask);
        s.clear = uint16_t(0x96 & ((1u << m.bits) - 1));
        for (int32_t y = 0; y < kH; y++)
          for (int32_t x = 0; x < kW; x++) stencil.memory().Write(x, y, uint32_t(x * 7 + y * 31));
        ctx.SetClipBox(x0, 1, x0 + width, 3);
        ctx.TakeBufferLocks();
        stencil.sfb()->clear(stencil.sfb());
        for (int32_t y = 0; y < kH; y++)
          for (int32_t x = 0; x < kW; x++) {
            const uint32_t old = uint32_t(x * 7 + y * 31) & 0xFF;
            const bool inside = x >= x0 && x < x0 + width && y >= 1 && y < 3;
            // Every bit the buffer has writable: the clear value itself.
            const uint32_t top = (1u << m.bits) - 1;
            const uint32_t masked = m.writeMask == top
                                        ? s.clear
                                        : (old & ~m.writeMask & 0xFF) | (s.clear & m.writeMask);
            const uint32_t expected = inside ? masked : old;
            ASSERT_EQ(stencil.memory().Read(x, y), expected) << x << ", " << y;
          }
        EXPECT_TRUE(stencil.memory().GuardsIntact());
        if (width > 0) {
          EXPECT_EQ(ctx.TakeBufferLocks(), (std::vector<std::string>{"lock 64", "unlock 64"}));
        }
      }
}

// The maps come from the context's allocator and go back with the buffer;
// without memory the maps of "no stencil work" stand in (nothing fails,
// nothing changes) until a later pick gets memory.
TEST(StencilMaps, AllocatedOnceFreedOnceAndStoodInForWithoutMemory) {
  AncillaryContext ctx(2, 2);
  const int live = CountingImports::live();
  GlContext *gc = ctx.gc();
  {
    StencilFixture stencil(&ctx);
    EXPECT_EQ(CountingImports::live(), live + 1) << "one block for the four maps";
    stencil.Validate();
    EXPECT_EQ(CountingImports::live(), live + 1) << "built again in place";
  }
  EXPECT_EQ(CountingImports::live(), live);
  EXPECT_EQ(gc->stencilBuffer.testMap, nullptr);

  CountingImports::failAllocation(1);
  GlStencilState &s = gc->state.stencil;
  s.testFunc = GL_NEVER;
  s.fail = GL_ZERO;
  __glInitStencil8(&gc->stencilBuffer, gc);
  PixelMemory memory(2, 2, 8);
  GlStencilBuffer *sfb = &gc->stencilBuffer;
  sfb->buf.makeCurrent(&sfb->buf, memory.buffer(), gc);
  __glValidateStencil(gc);
  EXPECT_EQ(CountingImports::live(), live);
  memory.Write(0, 0, 0x42);
  EXPECT_TRUE(sfb->testFunc(sfb, kBias, kBias));
  sfb->failOp(sfb, kBias, kBias);
  EXPECT_EQ(memory.Read(0, 0), 0x42u);
  // The next pick, state changed or not, tries again.
  gc->tableDirtyMask = 0;
  sfb->pick(gc, sfb);
  EXPECT_EQ(CountingImports::live(), live + 1);
  EXPECT_FALSE(sfb->testFunc(sfb, kBias, kBias));
  sfb->failOp(sfb, kBias, kBias);
  EXPECT_EQ(memory.Read(0, 0), 0u);
  sfb->buf.free(&sfb->buf, gc);
  EXPECT_EQ(CountingImports::live(), live);
}

}  // namespace
}  // namespace ancillary_test
