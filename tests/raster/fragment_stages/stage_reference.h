// The reference for the depth and stencil stages of spans and lines: each
// pixel of the run through the depth buffer's store and the stencil
// buffer's own procedures, what the stage must leave from that, and one
// run of a stage compared with it.
#pragma once

#include <stdint.h>

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "tests/raster/fragment_stages/stage_fixture.h"

namespace fragment_stages {

enum class Stage { kDepth, kDepthStencil, kDepthPass, kStencil };

// A stage's plain and stippled procedures.
struct StageCase {
  const char *name;
  Stage stage;
  GlSpanProc plain, stippled;
};

inline bool TestsDepth(Stage stage) {
  return stage == Stage::kDepth || stage == Stage::kDepthStencil;
}

// Where pixel k of the run is, and its depth.
struct RunPixel {
  int32_t x, y;
  uint32_t z;
};

// A stage that rejects nothing owns no words: its bits are left as they
// came in.
inline void KeepBitsOfANonRejectingStage(Outcome &o, Stage stage, bool stippled, int32_t length) {
  if (stage == Stage::kDepthPass) o.bits.assign(size_t(length), stippled ? 2 : 3);
}

// The per-pixel path over the shader's run; `pixel(k)` is asked for every k
// in order, dead pixels too, so it may walk the run as it goes.
template <typename PixelOf>
Outcome PerPixelOutcome(SpanContext &ctx, Stage stage, bool stippled,
                        const std::vector<uint32_t> &in, PixelOf pixel) {
  GlShader &sh = ctx.sh();
  GlStencilBuffer *sfb = &ctx.gc()->stencilBuffer;
  Outcome o{};
  int32_t rejected = 0;
  for (int32_t k = 0; k < sh.length; k++) {
    const RunPixel p = pixel(k);
    bool pass = false;
    if (!stippled || Alive(in, k)) {
      switch (stage) {
        case Stage::kDepth:
        case Stage::kDepthStencil:
          pass = ctx.depth().Store(p.x - kBias, p.y - kBias, p.z);
          if (stage == Stage::kDepthStencil)
            (pass ? sfb->depthPassOp : sfb->passDepthFailOp)(sfb, p.x, p.y);
          break;
        case Stage::kDepthPass:
          sfb->depthPassOp(sfb, p.x, p.y);
          pass = true;
          break;
        case Stage::kStencil:
          pass = sfb->testFunc(sfb, p.x, p.y);
          if (!pass) sfb->failOp(sfb, p.x, p.y);
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
  KeepBitsOfANonRejectingStage(o, stage, stippled, sh.length);
  o.memory = ctx.Snapshot();
  return o;
}

// The stage itself over the shader's run.
inline Outcome RunStage(SpanContext &ctx, const StageCase &stage, bool stippled) {
  Outcome o = RunSpan(ctx, stippled ? stage.stippled : stage.plain);
  KeepBitsOfANonRejectingStage(o, stage.stage, stippled, ctx.sh().length);
  return o;
}

// One run of the shader against `reference(in)`, the per-pixel path over
// stipple words `in`: random depths across the range (now and then a step
// that leaves it) and random stipple words, about a quarter dead.
template <typename Reference>
void CompareRun(SpanContext &ctx, const StageCase &stage, bool stippled, std::mt19937 &rng,
                Reference reference) {
  GlShader &sh = ctx.sh();
  const uint32_t scale = TestsDepth(stage.stage) ? ctx.depth().dfb()->scale : 0;
  const uint32_t z = scale ? uint32_t(uint64_t(rng()) * scale >> 32) : 0;
  const int32_t spread = int32_t(scale / 64 / uint32_t(sh.length));
  const int32_t dzdx = scale ? int32_t(rng() % (2 * uint32_t(spread) + 1)) - spread : 0;
  sh.z = z;
  sh.dzdx = dzdx;
  sh.dzdxBig = int32_t(uint32_t(dzdx) << 5);
  std::vector<uint32_t> in(GL_SPAN_STIPPLE_WORDS);
  for (uint32_t &w : in) w = rng() & rng();
  ctx.words() = in;
  const std::vector<uint8_t> before = ctx.Snapshot();
  const Outcome expected = reference(in);
  ctx.Restore(before);
  ctx.words() = in;
  sh.stipplePat = ctx.words().data();
  const Outcome got = RunStage(ctx, stage, stippled);
  ASSERT_EQ(got, expected) << "z " << z << " dzdx " << dzdx;
}

}  // namespace fragment_stages
