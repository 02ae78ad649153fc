// The depth buffer object: its range, and whether the bound drawable's depth
// buffer runs from far to near, which the depth range reads.
#include "core/context.h"
#include "core/s_standin.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_drawable.h"

namespace {

// Stand-in: the depth buffer's test-and-store procedures replace it.
void Pick(GlContext *, GlDepthBuffer *, int32_t) { __glStandInCalled("Depth Pick"); }

}  // namespace

void __glInitDepth(GlDepthBuffer *dfb, GlContext *gc) {
  __glInitBuffer(&dfb->buf, gc);
  dfb->pick = Pick;
  uint32_t bits = gc->modes.depthBits;
  dfb->scale = bits >= 32 ? UINT32_MAX : (uint32_t(1) << bits) - 1;
}

GLbool8 __glDepthBufferReversed(GlContext *gc) {
  const GlDrawable *drawable = gc->drawablePrivate;
  if (drawable == nullptr || !gc->modes.haveDepthBuffer) return 0;
  const GlDepthBufferPrivate *priv =
      static_cast<const GlDepthBufferPrivate *>(drawable->depth.corePrivate);
  return priv ? priv->reverse : 0;
}
