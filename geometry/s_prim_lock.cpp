// The render lock around every hand-off to the rasterizer or the clipper. It
// nests, so that array drawing and the vertex cache can hold the buffers
// across many primitives and each primitive then costs a count.
#include "core/context.h"
#include "geometry/s_prim.h"

void __glRenderLock(GlContext *gc) {
  if (++gc->renderLockCount == 1 && gc->lockRenderBuffers) gc->lockRenderBuffers(gc);
}

void __glRenderUnlock(GlContext *gc) {
  if (--gc->renderLockCount == 0 && gc->unlockRenderBuffers) gc->unlockRenderBuffers(gc);
}
