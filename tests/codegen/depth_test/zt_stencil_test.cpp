// The stencil spanlets around a generated depth test: the depth-fail
// operation reached through the routine's empty hand-on, compiled and
// generated spanlets calling each other under the register contract.
#include <gtest/gtest.h>

#include "core/context.h"
#include "fastraster/fr_stencil.h"
#include "tests/codegen/depth_test/zt_fixture.h"

namespace zt_test {
namespace {

uint32_t drawn;
void GLFASTCALL Draw(uint32_t mask, FrSpan *) { drawn |= mask; }

class ZtStencilTest : public ZtTest {
 protected:
  // Stencil GL_EQUAL 1; fail ZERO, depth fail REPLACE (7), pass INCR; depth
  // GL_LESS with writes on a 32-bit buffer holding 1000.
  void Chain(uint32_t depthKey) {
    SetKey(depthKey);
    GlStencilState &st = gc->state.stencil;
    st.testFunc = GL_EQUAL;
    st.reference = 7;
    st.mask = 0x1;  // 7 & 1 == 1
    st.writeMask = 0xFF;
    GlProcs &p = gc->procs;
    p.afterStencilTest = reinterpret_cast<FrSpanletProc>(OGGenerateZT(gc));
    p.afterDepthTest = __glFRStencilPostDepthCleanup;
    p.stencilOpSFail = __glFRPickStencilOpProc(GL_ZERO);
    p.stencilOpZFail = __glFRPickStencilOpProc(GL_REPLACE);
    p.stencilOpZPass = __glFRPickStencilOpProc(GL_INCR);
    p.afterStencilCleanup = Draw;
    for (int i = 0; i < 32; i++) {
      stencil[i] = uint8_t(i % 3 == 0 ? 2 : 1);  // every third pixel fails the stencil test
      depth[i] = 1000;
    }
    span = FrSpan{};
    span.gc = gc;
    span.direction = 1;
    span.sbuf = stencil;
    span.zbuf = reinterpret_cast<FrAddress>(depth);
    drawn = 0;
  }
  void RunChain(uint32_t mask) {
    RunFastChecked(reinterpret_cast<const void *>(__glFRStencilTest), mask,
                   uint32_t(reinterpret_cast<uintptr_t>(&span)), {});
  }

  uint8_t stencil[32];
  uint32_t depth[32];
  FrSpan span;
};

TEST_F(ZtStencilTest, DepthFailingPixelsGetTheDepthFailOperation) {
  Chain((GL_LESS & 7) | OG_ZT_STENCIL | OG_ZT_WRITE);
  span.z = 500;  // first 16 pixels pass the depth test, the rest fail
  span.dzdx = 32;
  RunChain(0xFFFFFFFFu);
  uint32_t wantDrawn = 0;
  for (int i = 0; i < 32; i++) {
    const bool stencilPass = i % 3 != 0;
    const bool depthPass = 500 + 32 * i < 1000;
    SCOPED_TRACE(i);
    if (!stencilPass) {
      EXPECT_EQ(stencil[i], 0);
      EXPECT_EQ(depth[i], 1000u);
    } else if (!depthPass) {
      EXPECT_EQ(stencil[i], 7);
      EXPECT_EQ(depth[i], 1000u);
    } else {
      EXPECT_EQ(stencil[i], 2);
      EXPECT_EQ(depth[i], uint32_t(500 + 32 * i));
      wantDrawn |= 0x80000000u >> i;
    }
  }
  EXPECT_EQ(drawn, wantDrawn);
}

TEST_F(ZtStencilTest, EveryPixelFailingTheDepthTestStillGetsItsOperation) {
  Chain((GL_LESS & 7) | OG_ZT_STENCIL | OG_ZT_WRITE);
  span.z = 2000;
  RunChain(0xFFFFFFFFu);
  EXPECT_EQ(drawn, 0u);
  for (int i = 0; i < 32; i++) EXPECT_EQ(stencil[i], i % 3 == 0 ? 0 : 7) << i;
  Chain((GL_NEVER & 7) | OG_ZT_STENCIL);
  RunChain(0xFFFFFFFFu);
  EXPECT_EQ(drawn, 0u);
  for (int i = 0; i < 32; i++) EXPECT_EQ(stencil[i], i % 3 == 0 ? 0 : 7) << i;
}

}  // namespace
}  // namespace zt_test
