// The stencil and depth stages of lines against the buffers' own
// per-fragment procedures along the run's pixels: every function of each
// depth width, stencil settings, plain and stippled, random segments in
// every direction.
#include <gtest/gtest.h>

#include <string>

#include "raster/s_line.h"
#include "raster/s_line_walk.h"
#include "tests/raster/fragment_stages/stage_fixture.h"

namespace fragment_stages {
namespace {

constexpr int32_t kW = 48, kH = 40;

enum class Stage { kDepth, kDepthStencil, kDepthPass, kStencil };

struct StageCase {
  const char *name;
  Stage stage;
  GlSpanProc plain, stippled;
};

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

Outcome PerPixel(SpanContext &ctx, Stage stage, bool stippled, const std::vector<uint32_t> &in) {
  GlShader &sh = ctx.sh();
  GlStencilBuffer *sfb = &ctx.gc()->stencilBuffer;
  line_walk::Dda dda(ctx.gc()->line);
  Outcome o{};
  int32_t rejected = 0;
  for (int32_t k = 0; k < sh.length; k++, dda.Step()) {
    const int32_t x = dda.x, y = dda.y;
    bool pass = false;
    if (!stippled || Alive(in, k)) {
      const uint32_t z = sh.z + uint32_t(k >> 5) * uint32_t(sh.dzdxBig) +
                         uint32_t(k & 31) * uint32_t(sh.dzdx);
      switch (stage) {
        case Stage::kDepth:
        case Stage::kDepthStencil:
          pass = ctx.depth().Store(x - kBias, y - kBias, z);
          if (stage == Stage::kDepthStencil)
            (pass ? sfb->depthPassOp : sfb->passDepthFailOp)(sfb, x, y);
          break;
        case Stage::kDepthPass:
          sfb->depthPassOp(sfb, x, y);
          pass = true;
          break;
        case Stage::kStencil:
          pass = sfb->testFunc(sfb, x, y);
          if (!pass) sfb->failOp(sfb, x, y);
          break;
      }
    }
    o.bits.push_back(pass);
    rejected += !pass;
  }
  const bool neverRejects = stage == Stage::kDepthPass;
  if (stippled) {
    o.result = !neverRejects && rejected == sh.length;
  } else {
    o.result = !neverRejects && rejected > 0;
    o.done = !neverRejects && rejected == sh.length;
  }
  if (neverRejects) o.bits.assign(size_t(sh.length), stippled ? 2 : 3);
  o.memory = ctx.Snapshot();
  return o;
}

void CrossCheck(SpanContext &ctx, const StageCase &stage, std::mt19937 &rng) {
  GlShader &sh = ctx.sh();
  const bool depth = stage.stage == Stage::kDepth || stage.stage == Stage::kDepthStencil;
  const uint32_t scale = depth ? ctx.depth().dfb()->scale : 0;
  for (int i = 0; i < 60; i++) {
    for (bool stippled : {false, true}) {
      if (!SetLine(ctx, rng)) continue;
      SCOPED_TRACE("segment " + std::to_string(i) + (stippled ? " stippled" : " plain"));
      ctx.Scramble(rng);
      const uint32_t z = scale ? uint32_t(uint64_t(rng()) * scale >> 32) : 0;
      const int32_t spread = int32_t(scale / 64 / uint32_t(sh.length));
      const int32_t dzdx = scale ? int32_t(rng() % (2 * uint32_t(spread) + 1)) - spread : 0;
      sh.z = z;
      sh.dzdx = dzdx;
      sh.dzdxBig = int32_t(uint32_t(dzdx) << 5);
      std::vector<uint32_t> in(GL_SPAN_STIPPLE_WORDS);
      for (uint32_t &w : in) w = rng() & rng();
      const std::vector<uint8_t> before = ctx.Snapshot();
      const Outcome expected = PerPixel(ctx, stage.stage, stippled, in);
      ctx.Restore(before);
      ctx.words() = in;
      sh.stipplePat = ctx.words().data();
      Outcome got = RunSpan(ctx, stippled ? stage.stippled : stage.plain);
      if (stage.stage == Stage::kDepthPass) got.bits.assign(size_t(sh.length), stippled ? 2 : 3);
      ASSERT_EQ(got, expected) << "z " << z << " dzdx " << dzdx;
    }
  }
}

TEST(LineDepthStencil, DepthStagesAgreeWithThePerPixelPath) {
  std::mt19937 rng(11);
  for (const StageCase &stage : kStages) {
    if (stage.stage == Stage::kStencil || stage.stage == Stage::kDepthPass) continue;
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
    if (stage.stage != Stage::kStencil && stage.stage != Stage::kDepthPass) continue;
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
