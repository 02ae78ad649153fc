// The colour-index buffer's clear and its generic clear rectangle.
#include <math.h>

#include "core/context.h"
#include "raster/s_ci.h"
#include "raster/s_color_clear.h"
#include "raster/s_shader.h"

namespace ci {

void Clear(GlColorBuffer *cfb) { __glClearColorBufferLocked(cfb, __LINE__, "s_ci"); }

void ClearRect(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  GlContext *gc = cfb->buf.gc;
  uint32_t &flags = gc->polygon.shader.modeFlags;
  const uint32_t saved = flags;
  flags &= ~__GL_SHADE_LOGIC_OP;
  // The integer part of the clear index, as every other clear route takes
  // it: the store's rounding offset (below 1) then leaves it unchanged.
  GlFragment frag{};
  frag.color.r = truncf(gc->state.raster.clearIndex);
  for (frag.y = y0; frag.y < y1; frag.y++)
    for (frag.x = x0; frag.x < x1; frag.x++) cfb->store(cfb, &frag);
  flags = saved;
}

}  // namespace ci
