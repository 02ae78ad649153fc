// glClear below its entry: each buffer named clears itself, in a fixed
// order, and takes the buffer lock it needs itself.
#include "raster/s_clear.h"

#include "core/context.h"
#include "core/s_error.h"
#include "raster/s_buffers.h"

namespace {

constexpr GLbitfield kBufferBits =
    GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT;
static_assert(kBufferBits == 0x4700, "the four buffer bits");

void ClearColor(GlColorBuffer *cfb) {
  if (cfb && cfb->clear) cfb->clear(cfb);
}

void ClearColorBuffers(GlContext *gc) {
  GlColorBuffer *back = gc->modes.doubleBufferMode ? gc->back : nullptr;
  switch (gc->state.raster.drawBuffer) {
    case GL_FRONT:
      ClearColor(gc->front);
      break;
    case GL_BACK:
      ClearColor(back);
      break;
    case GL_FRONT_AND_BACK:
      ClearColor(gc->front);
      ClearColor(back);
      break;
    default:  // GL_NONE
      break;
  }
}

}  // namespace

void __glClearBuffers(GlContext *gc, GLbitfield mask) {
  if (mask & ~kBufferBits) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (gc->renderMode != GL_RENDER) return;
  const GlModes &modes = gc->modes;
  if (mask & GL_COLOR_BUFFER_BIT) ClearColorBuffers(gc);
  if ((mask & GL_ACCUM_BUFFER_BIT) && modes.haveAccumBuffer && gc->accumBuffer.clear)
    gc->accumBuffer.clear(&gc->accumBuffer);
  if ((mask & GL_STENCIL_BUFFER_BIT) && modes.haveStencilBuffer && gc->stencilBuffer.clear)
    gc->stencilBuffer.clear(&gc->stencilBuffer);
  if ((mask & GL_DEPTH_BUFFER_BIT) && modes.haveDepthBuffer && gc->depthBuffer.clear)
    gc->depthBuffer.clear(&gc->depthBuffer);
}
