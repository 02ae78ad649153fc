// What the first binding of a context sets up: its buffer objects, with the
// device's depth initialiser, locks and colour clear (the procedure table's
// fill is in s_backend_procs.cpp).
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_entry.h"
#include "raster/s_buffers.h"

namespace core {

void InitBuffersWith(GlContext *gc, const BufferProcs *procs) {
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
    procs->initDepth(&gc->depthBuffer, gc);
  else
    gc->depthBuffer.scale = __GL_NO_DEPTH_BUFFER_SCALE;
  if (modes.haveStencilBuffer) __glInitStencil8(&gc->stencilBuffer, gc);
  gc->obtainSLock = procs->obtainSLock;
  gc->releaseSLock = procs->releaseSLock;
  gc->lockDevice = procs->lockDevice;
  gc->unlockDevice = procs->unlockDevice;
  gc->colorClear = procs->colorClear;
}

void InitBuffers(GlContext *gc) {
  // Without video memory of its own the device clears every colour buffer
  // through the buffer's rectangle fill.
  static const BufferProcs kProcs = {__glInitDepth, ObtainSLock,  ReleaseSLock,
                                     LockDevice,    UnlockDevice, __glClearColorBufferClipBox};
  InitBuffersWith(gc, &kProcs);
}

}  // namespace core
