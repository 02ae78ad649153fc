// The general buffer lock: the drawable's lock at every level, the drawable
// buffers and the device only at the outermost one.
#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_buffers.h"

namespace {

// The drawable buffers of a mask in lock order: front, back, depth,
// stencil, accumulation. Unbound or absent buffers give none.
int BuffersOf(GlContext *gc, uint32_t mask, GlDrawableBuffer *out[5]) {
  GlDrawable *drawable = gc->drawablePrivate;
  int count = 0;
  auto add = [&](uint32_t bit, GlDrawableBuffer *buffer) {
    if ((mask & bit) && buffer) out[count++] = buffer;
  };
  add(__GL_FRONT_BUFFER_MASK, gc->front ? gc->front->buf.drawableBuf : nullptr);
  add(__GL_BACK_BUFFER_MASK, gc->back ? gc->back->buf.drawableBuf : nullptr);
  if (drawable) {
    add(__GL_DEPTH_BUFFER_MASK, &drawable->depth);
    add(__GL_STENCIL_BUFFER_MASK, &drawable->stencil);
    add(__GL_ACCUM_BUFFER_MASK, &drawable->accum);
  }
  return count;
}

}  // namespace

void __glLockBuffers(GlContext *gc, uint32_t mask) {
  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  if (gc->obtainSLock(gc)) return;
  GlDrawableBuffer *buffers[5];
  const int count = BuffersOf(gc, mask, buffers);
  for (int i = 0; i < count; i++)
    if (buffers[i]->lock) buffers[i]->lock(buffers[i], gc->drawablePrivate);
  if (gc->lockDevice) gc->lockDevice(gc);
}

void __glUnlockBuffers(GlContext *gc, uint32_t mask) {
  // The device goes first, and only when this is the outermost level.
  if (gc->sLockDepth == 1 && gc->unlockDevice) gc->unlockDevice(gc);
  if (!gc->releaseSLock(gc)) {
    GlDrawableBuffer *buffers[5];
    const int count = BuffersOf(gc, mask, buffers);
    for (int i = 0; i < count; i++)
      if (buffers[i]->unlock) buffers[i]->unlock(buffers[i], gc->drawablePrivate);
  }
  __GL_UNLOCK_DRAWABLE(gc);
}

void __glLockBuffersIfInstalled(GlContext *gc, uint32_t mask) {
  if (gc->lockBuffers) gc->lockBuffers(gc, mask);
}

void __glUnlockBuffersIfInstalled(GlContext *gc, uint32_t mask) {
  if (gc->unlockBuffers) gc->unlockBuffers(gc, mask);
}

void __glLockRenderBuffers(GlContext *gc) { __glLockBuffers(gc, gc->renderBufferMask); }

void __glUnlockRenderBuffers(GlContext *gc) { __glUnlockBuffers(gc, gc->renderBufferMask); }
