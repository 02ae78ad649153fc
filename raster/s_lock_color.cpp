// The narrow render locks: the one lockable colour buffer drawn, alone or
// with the depth buffer. The buffer picker installs them only when every
// buffer they lock has lock and unlock procedures.
#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_assert.h"
#include "raster/s_buffers.h"

namespace {

GlDrawableBuffer *ColorLockBuffer(GlContext *gc) {
  return gc->colorLockBuffer ? gc->colorLockBuffer->buf.drawableBuf : nullptr;
}

void Lock(GlContext *gc, GlDrawableBuffer *drawableBuf) {
  __GL_ASSERT(drawableBuf && drawableBuf->lock, "drawableBuf->lock", "s_buffer");
  drawableBuf->lock(drawableBuf, gc->drawablePrivate);
}

void Unlock(GlContext *gc, GlDrawableBuffer *drawableBuf) {
  __GL_ASSERT(drawableBuf && drawableBuf->unlock, "drawableBuf->unlock", "s_buffer");
  drawableBuf->unlock(drawableBuf, gc->drawablePrivate);
}

}  // namespace

void __glLockColorBuffer(GlContext *gc) {
  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  if (gc->obtainSLock(gc)) return;
  Lock(gc, ColorLockBuffer(gc));
  if (gc->lockDevice) gc->lockDevice(gc);
}

void __glUnlockColorBuffer(GlContext *gc) {
  if (gc->sLockDepth == 1 && gc->unlockDevice) gc->unlockDevice(gc);
  if (!gc->releaseSLock(gc)) Unlock(gc, ColorLockBuffer(gc));
  __GL_UNLOCK_DRAWABLE(gc);
}

void __glLockColorBufferDepthBuffer(GlContext *gc) {
  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  if (gc->obtainSLock(gc)) return;
  Lock(gc, ColorLockBuffer(gc));
  Lock(gc, gc->depthBuffer.buf.drawableBuf);
  if (gc->lockDevice) gc->lockDevice(gc);
}

void __glUnlockColorBufferDepthBuffer(GlContext *gc) {
  if (gc->sLockDepth == 1 && gc->unlockDevice) gc->unlockDevice(gc);
  if (!gc->releaseSLock(gc)) {
    Unlock(gc, ColorLockBuffer(gc));
    Unlock(gc, gc->depthBuffer.buf.drawableBuf);
  }
  __GL_UNLOCK_DRAWABLE(gc);
}
