// The stencil and depth stages of lines against the buffers' own
// per-fragment procedures along the run's pixels: every function of each
// depth width, stencil settings, plain and stippled, random segments in
// every direction.
#include <gtest/gtest.h>

#include <string>

#include "raster/s_line.h"
#include "raster/s_line_walk.h"
#include "tests/raster/fragment_stages/stage_reference.h"

namespace fragment_stages {
namespace {

constexpr int32_t kW = 48, kH = 40;

const StageCase kStages[] = {
    {"depth", Stage::kDepth, __glDepthTestLine, __glDepthTestStippledLine},
    {"depth with stencil operations", Stage::kDepthStencil, __glDepthTestStencilLine,
     __glDepthTestStencilStippledLine},
    {"depth pass", Stage::kDepthPass, __glDepthPassLine, __glDepthPassStippledLine},
    {"stencil", Stage::kStencil, __glStencilTestLine, __glStencilTestStippledLine},
};

// A segment inside the buffer set up in gc->line; false when it has no
// pixels.
bool SetLine(SpanContext &ctx, std::mt19937 &rng) {
  GlVertex a{}, b{};
  auto coord = [&](int32_t n) { return float(kBias) + 0.5f + float(rng() % (n * 16)) / 16.0f; };
  a.window = {coord(kW - 2), coord(kH - 2), 0, 1};
  b.window = {coord(kW - 2), coord(kH - 2), 0, 1};
  ctx.gc()->state.line.aliasedWidth = 1;
  __glInitLineData(ctx.gc(), &a, &b);
  ctx.sh().length = ctx.gc()->line.pixelCount;
  ctx.sh().done = 0;
  return ctx.sh().length > 0;
}

void CrossCheck(SpanContext &ctx, const StageCase &stage, std::mt19937 &rng) {
  const GlShader &sh = ctx.sh();
  for (int i = 0; i < 60; i++) {
    for (bool stippled : {false, true}) {
      if (!SetLine(ctx, rng)) continue;
      SCOPED_TRACE("segment " + std::to_string(i) + (stippled ? " stippled" : " plain"));
      ctx.Scramble(rng);
      // The per-pixel path along the run's DDA, at the depth the run steps to.
      auto perPixel = [&](const std::vector<uint32_t> &in) {
        line_walk::Dda dda(ctx.gc()->line);
        return PerPixelOutcome(ctx, stage.stage, stippled, in, [&](int32_t k) {
          if (k > 0) dda.Step();
          return RunPixel{dda.x, dda.y,
                          sh.z + uint32_t(k >> 5) * uint32_t(sh.dzdxBig) +
                              uint32_t(k & 31) * uint32_t(sh.dzdx)};
        });
      };
      ASSERT_NO_FATAL_FAILURE(CompareRun(ctx, stage, stippled, rng, perPixel));
    }
  }
}

TEST(LineDepthStencil, DepthStagesAgreeWithThePerPixelPath) {
  std::mt19937 rng(11);
  for (const StageCase &stage : kStages) {
    if (!TestsDepth(stage.stage)) continue;
    for (const DepthKind &kind : kDepthKinds)
      for (GLenum func : kFunctions)
        for (bool write : {true, false}) {
          SCOPED_TRACE(std::string(stage.name) + ", " + kind.name + ", function " +
                       std::to_string(func) + (write ? ", writing" : ", masked"));
          SpanContext ctx(kind.bits, kW, kH);
          ctx.SetDepth(func, write, kind.descending);
          ctx.SetStencil(GL_ALWAYS, 0x5A, 0xFF, GL_KEEP, GL_INCR, GL_INVERT, 0x3F);
          CrossCheck(ctx, stage, rng);
        }
  }
}

TEST(LineDepthStencil, StencilStagesAgreeWithTheStencilBuffersProcedures) {
  std::mt19937 rng(12);
  for (const StageCase &stage : kStages) {
    if (TestsDepth(stage.stage)) continue;
    for (GLenum func : kFunctions) {
      SCOPED_TRACE(std::string(stage.name) + ", function " + std::to_string(func));
      SpanContext ctx(16, kW, kH);
      ctx.SetStencil(func, 0x35, 0x0F, GL_INVERT, GL_KEEP, GL_DECR, 0xFF);
      CrossCheck(ctx, stage, rng);
    }
  }
}

}  // namespace
}  // namespace fragment_stages
