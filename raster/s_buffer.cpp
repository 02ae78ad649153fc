// Binding the context's buffer objects to the drawable it is made current
// on, and releasing them.
#include "core/context.h"
#include "core/gl_assert.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_drawable.h"

void __glInitBuffer(GlBuffer *buf, GlContext *) {
  buf->gc = nullptr;
  buf->drawableBuf = nullptr;
  buf->resize = nullptr;
  buf->makeCurrent = __glMakeCurrentBuffer;
  buf->loseCurrent = __glLoseCurrentBuffer;
  buf->free = nullptr;
}

void __glMakeCurrentBuffer(GlBuffer *buf, GlDrawableBuffer *drawableBuf, GlContext *gc) {
  buf->gc = gc;
  buf->drawableBuf = drawableBuf;
}

void __glLoseCurrentBuffer(GlBuffer *buf) {
  buf->gc = nullptr;
  buf->drawableBuf = nullptr;
}

namespace {

void Bind(GlBuffer *buf, GlDrawableBuffer *drawableBuf, GlContext *gc) {
  if (buf->makeCurrent) buf->makeCurrent(buf, drawableBuf, gc);
}

void Unbind(GlBuffer *buf) {
  if (buf->loseCurrent) buf->loseCurrent(buf);
}

}  // namespace

void __glMakeCurrentBuffers(GlContext *gc) {
  GlDrawable *drawable = gc->imports.getDrawablePrivate ? gc->imports.getDrawablePrivate(gc)
                                                        : nullptr;
  gc->drawablePrivate = drawable;
  if (drawable == nullptr) return;
  drawable->freePrivate = __glFreePrivate;

  // Every window coordinate the picked procedures compute depends on the
  // row order.
  if (drawable->yInverted != gc->constants.yInverted) {
    __GL_ASSERT(gc->beginMode != __GL_IN_BEGIN, "__gl_beginMode != __GL_IN_BEGIN", "s_buffer");
    gc->beginMode = __GL_VALIDATE_PENDING;
    gc->dirtyMask |= __GL_DIRTY_ALL;
  }
  // The raster position stays put in the window. The row order goes in
  // first: a resize that the lock delivers reads it.
  __glKeepRasterPosition(gc, gc->constants.height, drawable->yInverted);
  gc->constants.yInverted = drawable->yInverted;

  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  __glKeepRasterPosition(gc, drawable->height, drawable->yInverted);
  gc->constants.width = drawable->width;
  gc->constants.height = drawable->height;
  const GlModes &modes = gc->modes;
  Bind(&gc->frontBuffer.buf, &drawable->front, gc);
  if (modes.doubleBufferMode) Bind(&gc->backBuffer.buf, &drawable->back, gc);
  if (modes.haveAccumBuffer) Bind(&gc->accumBuffer.buf, &drawable->accum, gc);
  if (modes.haveDepthBuffer) Bind(&gc->depthBuffer.buf, &drawable->depth, gc);
  if (modes.haveStencilBuffer) Bind(&gc->stencilBuffer.buf, &drawable->stencil, gc);
  __GL_UNLOCK_DRAWABLE(gc);
}

void __glLoseCurrentBuffers(GlContext *gc) {
  if (gc->drawablePrivate == nullptr) return;
  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  const GlModes &modes = gc->modes;
  Unbind(&gc->frontBuffer.buf);
  if (modes.doubleBufferMode) Unbind(&gc->backBuffer.buf);
  if (modes.haveAccumBuffer) Unbind(&gc->accumBuffer.buf);
  if (modes.haveDepthBuffer) Unbind(&gc->depthBuffer.buf);
  if (modes.haveStencilBuffer) Unbind(&gc->stencilBuffer.buf);
  __GL_UNLOCK_DRAWABLE(gc);
  // A released context must not reach a drawable that may be freed before
  // it is bound again.
  gc->drawablePrivate = nullptr;
}

void __glFreeBufData(GlContext *gc) {
  GlBuffer *buffers[] = {&gc->frontBuffer.buf, &gc->backBuffer.buf, &gc->stencilBuffer.buf,
                         &gc->depthBuffer.buf, &gc->accumBuffer.buf};
  for (GlBuffer *buf : buffers)
    if (buf->free) buf->free(buf, gc);
}

void __glFreePrivate(GlDrawable *drawable) {
  GlDrawableBuffer *buffers[] = {&drawable->front, &drawable->back, &drawable->accum,
                                 &drawable->depth, &drawable->stencil};
  for (GlDrawableBuffer *buffer : buffers)
    if (buffer->freePrivate) buffer->freePrivate(buffer, drawable);
  drawable->corePrivate = nullptr;
}
