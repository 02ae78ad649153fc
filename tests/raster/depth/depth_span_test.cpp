// The depth and stencil stages against the buffers' own per-fragment
// procedures: every function, write enable and depth width (with the
// 24-bit runs and stale epochs), spans of 1 to 70 pixels at random depths,
// plain and stippled. The result words, the return, `done`, the depth
// words and the stencil bytes must all be what the per-pixel path gives;
// stippled stages never touch a dead pixel.
#include <gtest/gtest.h>

#include <string>

#include "tests/raster/fragment_stages/stage_reference.h"

namespace fragment_stages {
namespace {

const StageCase kStages[] = {
    {"depth", Stage::kDepth, __glDepthTestSpan, __glDepthTestStippledSpan},
    {"depth with stencil operations", Stage::kDepthStencil, __glDepthTestStencilSpan,
     __glDepthTestStencilStippledSpan},
    {"depth pass", Stage::kDepthPass, __glDepthPassSpan, __glDepthPassStippledSpan},
    {"stencil", Stage::kStencil, __glStencilTestSpan, __glStencilTestStippledSpan},
};

void CrossCheck(SpanContext &ctx, const StageCase &stage, std::mt19937 &rng) {
  const GlShader &sh = ctx.sh();
  for (int32_t length = 1; length <= 70; length++) {
    for (bool stippled : {false, true}) {
      SCOPED_TRACE("length " + std::to_string(length) + (stippled ? " stippled" : " plain"));
      ctx.Scramble(rng);
      ctx.SetSpan(int32_t(rng() % (kWidth - length + 1)), int32_t(rng() % kHeight), length);
      // The per-pixel path: pixel k at depth z + k dzdx.
      auto perPixel = [&](const std::vector<uint32_t> &in) {
        return PerPixelOutcome(ctx, stage.stage, stippled, in, [&](int32_t k) {
          return RunPixel{sh.x + k, sh.y, sh.z + uint32_t(k) * uint32_t(sh.dzdx)};
        });
      };
      ASSERT_NO_FATAL_FAILURE(CompareRun(ctx, stage, stippled, rng, perPixel));
    }
  }
}

TEST(DepthSpans, EveryFunctionWidthAndWriteEnableAgreesWithThePerPixelPath) {
  std::mt19937 rng(3);
  for (const StageCase &stage : kStages) {
    if (!TestsDepth(stage.stage)) continue;
    for (const DepthKind &kind : kDepthKinds)
      for (GLenum func : kFunctions)
        for (bool write : {true, false}) {
          SCOPED_TRACE(std::string(stage.name) + ", " + kind.name + ", function " +
                       std::to_string(func) + (write ? ", writing" : ", masked"));
          SpanContext ctx(kind.bits);
          ctx.SetDepth(func, write, kind.descending);
          ctx.SetStencil(GL_ALWAYS, 0x5A, 0xFF, GL_KEEP, GL_INCR, GL_INVERT, 0x3F);
          CrossCheck(ctx, stage, rng);
        }
  }
}

// The stencil stages alone, for every function and a spread of
// references, masks and operations.
TEST(DepthSpans, StencilStagesAgreeWithTheStencilBuffersProcedures) {
  struct Setting {
    uint32_t ref, mask, writeMask;
    GLenum fail, zpass;
  } settings[] = {{0x80, 0xFF, 0xFF, GL_ZERO, GL_INCR},   {0x35, 0x0F, 0xFF, GL_INVERT, GL_DECR},
                  {7, 0, 0x0F, GL_REPLACE, GL_REPLACE},   {200, 0xAA, 0xF0, GL_INCR, GL_ZERO},
                  {0, 0xFF, 0, GL_DECR, GL_INVERT}};
  std::mt19937 rng(5);
  for (const StageCase &stage : kStages) {
    if (TestsDepth(stage.stage)) continue;
    for (GLenum func : kFunctions)
      for (const Setting &s : settings) {
        SCOPED_TRACE(std::string(stage.name) + ", function " + std::to_string(func) +
                     ", reference " + std::to_string(s.ref));
        SpanContext ctx(16);
        ctx.SetStencil(func, s.ref, s.mask, s.fail, GL_KEEP, s.zpass, s.writeMask);
        CrossCheck(ctx, stage, rng);
      }
  }
}

}  // namespace
}  // namespace fragment_stages
