// The stencil spanlets: the eight functions under value masks, every
// operation under write masks, right-to-left chunks at falling addresses,
// and the order of the fail, depth-fail and pass operations.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <random>
#include <string>
#include <vector>

#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_stencil.h"

namespace {

struct Call {
  std::string what;
  uint32_t mask;
};
std::vector<Call> calls;

template <char const *kName>
void GLFASTCALL Record(uint32_t mask, FrSpan *) {
  calls.push_back({kName, mask});
}
constexpr char kSFail[] = "sfail", kZFail[] = "zfail", kZPass[] = "zpass", kNext[] = "next";

class StencilTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
    GlProcs &p = gc->procs;
    p.stencilOpSFail = Record<kSFail>;
    p.stencilOpZFail = Record<kZFail>;
    p.stencilOpZPass = Record<kZPass>;
    p.afterStencilTest = p.afterStencilCleanup = Record<kNext>;
    span.gc = gc;
    calls.clear();
  }
  void TearDown() override { free(gc); }

  // Points sbuf at the chunk's first byte of `bytes` (walk order kept in
  // memory order for +1, reversed for -1).
  void Point(int direction) {
    span.direction = direction;
    span.sbuf = direction > 0 ? memory + 8 : memory + 8 + 31;
  }
  uint8_t &Byte(int i) { return span.sbuf[i * span.direction]; }

  GlContext *gc = nullptr;
  FrSpan span{};
  uint8_t memory[48] = {};
  std::mt19937 rng{105};
};

bool Passes(GLenum func, uint32_t r, uint32_t v) {
  switch (func) {
    case GL_NEVER: return false;
    case GL_LESS: return r < v;
    case GL_EQUAL: return r == v;
    case GL_LEQUAL: return r <= v;
    case GL_GREATER: return r > v;
    case GL_NOTEQUAL: return r != v;
    case GL_GEQUAL: return r >= v;
    default: return true;
  }
}

TEST_F(StencilTest, EightFunctionsUnderValueMasks) {
  for (GLenum func = GL_NEVER; func <= GL_ALWAYS; func++)
    for (int n = 0; n < 40; n++) {
      GlStencilState &st = gc->state.stencil;
      st.testFunc = func;
      st.reference = uint16_t(rng() % 4 ? rng() & 0xFF : rng());
      st.mask = uint16_t(rng() % 3 ? 0xFFFF : rng() % 2 ? 0x0F : rng());
      Point(rng() % 2 ? 1 : -1);
      for (uint8_t &b : memory) b = uint8_t(rng() % 3 ? rng() : st.reference);
      const uint32_t mask = rng() % 3 ? 0xFFFFFFFFu : uint32_t(rng());
      const uint32_t m = uint32_t(int32_t(int16_t(st.mask)));
      const uint32_t r = uint8_t(st.reference & m);
      uint32_t pass = 0;
      for (int i = 0; i < 32; i++)
        if ((mask & (0x80000000u >> i)) && Passes(func, r, Byte(i) & m)) pass |= 0x80000000u >> i;
      calls.clear();
      __glFRStencilTest(mask, &span);
      EXPECT_EQ(span.passMask, pass);
      std::vector<std::string> order;
      for (const Call &c : calls) order.push_back(c.what);
      std::vector<std::string> want;
      if (mask & ~pass) want.push_back(kSFail);
      if (pass) want.push_back(kNext);
      ASSERT_EQ(order, want) << func;
      if (mask & ~pass) {
        EXPECT_EQ(calls[0].mask, mask & ~pass);
      }
      if (pass) {
        EXPECT_EQ(calls.back().mask, pass);
      }
    }
}

TEST_F(StencilTest, AFunctionOutOfRangeFailsEveryPixel) {
  gc->state.stencil.testFunc = GL_ALWAYS + 1;
  Point(1);
  __glFRStencilTest(0xF0000000u, &span);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].what, kSFail);
}

TEST_F(StencilTest, OperationsKeepTheBitsOutsideTheWriteMask) {
  struct Row {
    GLenum op;
    uint8_t before, after;
  };
  gc->state.stencil.writeMask = 0x0F;
  gc->state.stencil.reference = 0x3C;
  const Row rows[] = {{GL_INVERT, 0xA5, 0xAA}, {GL_ZERO, 0xA5, 0xA0}, {GL_REPLACE, 0xA5, 0xAC},
                      {GL_KEEP, 0xA5, 0xA5},   {GL_INCR, 0xA5, 0xA6}, {GL_DECR, 0xA5, 0xA4},
                      {GL_INCR, 0xFF, 0xFF},   {GL_DECR, 0x00, 0x00}, {GL_INCR, 0xAF, 0xA0}};
  for (const Row &r : rows) {
    Point(1);
    Byte(0) = r.before;
    __glFRPickStencilOpProc(r.op)(0x80000000u, &span);
    EXPECT_EQ(Byte(0), r.after) << std::hex << r.op << " on " << int(r.before);
  }
  EXPECT_EQ(__glFRPickStencilOpProc(GL_ONE), nullptr);
}

TEST_F(StencilTest, OperationsTouchOnlyLivePixelsAtFallingAddressesRightToLeft) {
  gc->state.stencil.writeMask = 0xFF;
  for (int direction : {1, -1}) {
    for (uint8_t &b : memory) b = 0x40;
    Point(direction);
    __glFRStencilIncrement(0xA0000001u, &span);
    for (int i = 0; i < 32; i++)
      EXPECT_EQ(Byte(i), (0xA0000001u & (0x80000000u >> i)) ? 0x41 : 0x40) << i;
    EXPECT_EQ(memory[7], 0x40);
    EXPECT_EQ(memory[40], 0x40);
  }
  Point(-1);
  __glFRStencilZero(0x80000000u, &span);
  EXPECT_EQ(memory[8 + 31], 0);
}

TEST_F(StencilTest, NeverWithReplaceReplacesEveryLiveByteAndDrawsNothing) {
  gc->state.stencil.testFunc = GL_NEVER;
  gc->state.stencil.reference = 0x77;
  gc->state.stencil.writeMask = 0xFF;
  gc->procs.stencilOpSFail = __glFRPickStencilOpProc(GL_REPLACE);
  Point(1);
  __glFRStencilTest(0xFFFF0000u, &span);
  EXPECT_TRUE(calls.empty());
  for (int i = 0; i < 32; i++) EXPECT_EQ(Byte(i), i < 16 ? 0x77 : 0) << i;
}

TEST_F(StencilTest, CleanupSplitsTheStencilSurvivorsByTheDepthResult) {
  span.passMask = 0xFF00FF00u;
  __glFRStencilPostDepthCleanup(0x0F000F00u, &span);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].what, kZFail);
  EXPECT_EQ(calls[0].mask, 0xF000F000u);
  EXPECT_EQ(calls[1].what, kZPass);
  EXPECT_EQ(calls[1].mask, 0x0F000F00u);
  EXPECT_EQ(calls[2].what, kNext);
  calls.clear();
  __glFRStencilPostDepthCleanup(0, &span);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].what, kZFail);
  EXPECT_EQ(calls[0].mask, 0xFF00FF00u);
}

}  // namespace
