// The reference for the depth and stencil stages of spans and lines: each
// pixel of the run through the depth buffer's store and the stencil
// buffer's own procedures, and what the stage must leave from that.
#pragma once

#include <stdint.h>

#include <vector>

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

}  // namespace fragment_stages
