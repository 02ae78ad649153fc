// The single-pixel depth compares against the depth buffer's own
// test-and-store: for every function, write enable and width (with the
// 24-bit buffer's runs and stale epochs), the answer and the word left in
// memory agree.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/s_pick.h"
#include "raster/s_depth.h"
#include "tests/raster/fragment_stages/stage_fixture.h"

namespace fragment_stages {
namespace {

TEST(DepthCompares, AgreeWithTheDepthBuffersOwnStore) {
  std::mt19937 rng(11);
  for (const DepthKind &kind : kDepthKinds)
    for (GLenum func : kFunctions)
      for (bool write : {true, false}) {
        SCOPED_TRACE(std::string(kind.name) + " function " + std::to_string(func) +
                     (write ? " writing" : " masked"));
        SpanContext ctx(kind.bits);
        ctx.SetDepth(func, write, kind.descending);
        GlContext *gc = ctx.gc();
        GlDepthBuffer *dfb = ctx.depth().dfb();
        EXPECT_EQ(gc->procs.depthTestPixel, __glCDTPixel[__glDepthProcIndex(gc)]);
        const uint32_t scale = dfb->scale;
        for (int trial = 0; trial < 300; trial++) {
          ctx.Scramble(rng);
          const int32_t x = int32_t(rng() % kWidth), y = int32_t(rng() % kHeight);
          // Ends, equal neighbours and random depths.
          uint32_t z;
          switch (trial % 5) {
            case 0: z = 0; break;
            case 1: z = scale; break;
            case 2: z = ctx.depth().Fetch(x, y) << ctx.depth().rec()->shift; break;
            default: z = uint32_t(uint64_t(rng()) * scale >> 32); break;
          }
          const std::vector<uint8_t> before = ctx.Snapshot();
          const bool expected = ctx.depth().Store(x, y, z);
          const std::vector<uint8_t> after = ctx.Snapshot();
          ctx.Restore(before);
          const uint32_t stored = __glDepthStoredValue(ctx.depth().rec(), scale, z);
          void *address = ctx.depth().memory().At(x, y);
          ASSERT_EQ(gc->procs.depthTestPixel(gc, address, stored) != 0, expected)
              << "z " << z << " at " << x << ", " << y;
          ASSERT_EQ(ctx.Snapshot(), after) << "z " << z;
        }
      }
}

// The compare-only forms and NEVER never write; ALWAYS passes without
// reading, even a word of another epoch.
TEST(DepthCompares, MaskedFormsAndTheEndsLeaveMemoryAlone) {
  for (const DepthKind &kind : kDepthKinds) {
    SCOPED_TRACE(kind.name);
    SpanContext ctx(kind.bits);
    ctx.SetDepth(GL_LESS, true, kind.descending);
    GlContext *gc = ctx.gc();
    const bool wide = kind.bits > 16;
    for (int32_t index = 0; index < 8; index++) {
      for (bool write : {true, false}) {
        const int32_t row = index + (write ? 0 : 8) + (wide ? 16 : 0);
        SCOPED_TRACE(row);
        ctx.depth().memory().Write(3, 1, 0x12345678u);
        const uint32_t before = ctx.depth().memory().Read(3, 1);
        const GLbool8 passed =
            __glCDTPixel[row](gc, ctx.depth().memory().At(3, 1), wide ? 0x00000010u : 0x10u);
        if (index == 0) {
          EXPECT_FALSE(passed);
        }
        if (index == 7) {
          EXPECT_TRUE(passed);
        }
        if (!write || index == 0 || !passed)
          EXPECT_EQ(ctx.depth().memory().Read(3, 1), before);
        else
          EXPECT_EQ(ctx.depth().memory().Read(3, 1), 0x10u);
      }
    }
  }
}

}  // namespace
}  // namespace fragment_stages
