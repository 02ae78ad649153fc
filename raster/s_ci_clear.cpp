// The colour-index buffer's clear and its generic clear rectangle.
#include <math.h>

#include "core/context.h"
#include "raster/s_ci.h"
#include "raster/s_color_clear.h"

namespace ci {

void Clear(GlColorBuffer *cfb) { __glClearColorBufferLocked(cfb, false, __LINE__, "s_ci"); }

void ClearRect(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  // The integer part of the clear index, as every other clear route takes
  // it: the store's rounding offset (below 1) then leaves it unchanged.
  const GlColor index = {truncf(cfb->buf.gc->state.raster.clearIndex), 0.0f, 0.0f, 0.0f};
  __glClearRectThroughStore(cfb, index, x0, y0, x1, y1);
}

}  // namespace ci
