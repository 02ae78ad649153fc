// The stencil and accumulation buffer objects. Their pixel work arrives with
// the rasterizer; here they are only bound like every buffer.
#include "core/context.h"
#include "raster/s_buffers.h"
#include "raster/s_span_standins.h"

namespace {

// Rebuilds the stencil tables only when the function, masks or operations
// changed since the last validation.
void Pick(GlContext *gc, GlStencilBuffer *) {
  if (gc->tableDirtyMask & (__GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP))
    __glValidateStencil(gc);
}

}  // namespace

void __glInitStencil8(GlStencilBuffer *sfb, GlContext *gc) {
  __glInitBuffer(&sfb->buf, gc);
  sfb->pick = Pick;
}

void __glInitAccum64(GlAccumBuffer *afb, GlContext *gc) { __glInitBuffer(&afb->buf, gc); }
