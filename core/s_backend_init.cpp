// What the first binding of a context sets up: its buffer objects (the
// procedure table's fill is in s_backend_procs.cpp).
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_entry.h"
#include "raster/s_buffers.h"

namespace core {

void InitBuffers(GlContext *gc) {
  __glDelayValidate(gc, __GL_DIRTY_ALL);
  const GlModes &modes = gc->modes;
  gc->front = &gc->frontBuffer;
  gc->drawBuffer = gc->front;
  gc->readBuffer = gc->front;
  if (modes.doubleBufferMode) gc->back = &gc->backBuffer;
  void (*initColor)(GlColorBuffer *, GlContext *) =
      modes.colorIndexMode ? __glInitCI : __glInitRGB;
  initColor(gc->front, gc);
  if (gc->back) initColor(gc->back, gc);
  if (modes.haveAccumBuffer) __glInitAccum64(&gc->accumBuffer, gc);
  if (modes.haveDepthBuffer)
    __glInitDepth(&gc->depthBuffer, gc);
  else
    gc->depthBuffer.scale = __GL_NO_DEPTH_BUFFER_SCALE;
  if (modes.haveStencilBuffer) __glInitStencil8(&gc->stencilBuffer, gc);
  gc->obtainSLock = ObtainSLock;
  gc->releaseSLock = ReleaseSLock;
  gc->lockDevice = LockDevice;
  gc->unlockDevice = UnlockDevice;
  // Without video memory of its own the device clears every colour buffer
  // through the buffer's rectangle fill.
  gc->colorClear = __glClearColorBufferClipBox;
}

}  // namespace core
