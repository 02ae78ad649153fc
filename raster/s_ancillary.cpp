// The stencil and accumulation buffer objects. Their pixel work arrives with
// the rasterizer; here they are only bound like every buffer.
#include "core/context.h"
#include "raster/s_buffers.h"

void __glInitStencil8(GlStencilBuffer *sfb, GlContext *gc) { __glInitBuffer(&sfb->buf, gc); }

void __glInitAccum64(GlAccumBuffer *afb, GlContext *gc) { __glInitBuffer(&afb->buf, gc); }
