// Binding the context's buffer objects to the drawable it is made current
// on, and releasing them.
#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_assert.h"
#include "core/s_entry.h"
#include "raster/s_buffers.h"

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

void __glContextBuffers(GlContext *gc, GlDrawable *drawable,
                        GlContextBuffer buffers[__GL_CONTEXT_BUFFER_COUNT]) {
  auto slotOf = [drawable](GlDrawableBuffer GlDrawable::*slot) {
    return drawable ? &(drawable->*slot) : nullptr;
  };
  const GlModes &modes = gc->modes;
  buffers[0] = {&gc->frontBuffer.buf, __GL_FRONT_BUFFER_MASK, slotOf(&GlDrawable::front), 1};
  buffers[1] = {&gc->backBuffer.buf, __GL_BACK_BUFFER_MASK, slotOf(&GlDrawable::back),
                modes.doubleBufferMode};
  buffers[2] = {&gc->accumBuffer.buf, __GL_ACCUM_BUFFER_MASK, slotOf(&GlDrawable::accum),
                modes.haveAccumBuffer};
  buffers[3] = {&gc->depthBuffer.buf, __GL_DEPTH_BUFFER_MASK, slotOf(&GlDrawable::depth),
                modes.haveDepthBuffer};
  buffers[4] = {&gc->stencilBuffer.buf, __GL_STENCIL_BUFFER_MASK, slotOf(&GlDrawable::stencil),
                modes.haveStencilBuffer};
}

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
    __glDelayValidate(gc, __GL_DIRTY_ALL);
  }
  // The raster position stays put in the window. The row order goes in
  // first: a resize that the lock delivers reads it.
  __glKeepRasterPosition(gc, gc->constants.height, drawable->yInverted);
  gc->constants.yInverted = drawable->yInverted;

  // The render lock the buffer picker chose fits the last drawable's
  // buffers; this one's may lack lock procedures the narrow locks need.
  if (gc->beginMode != __GL_IN_BEGIN) __glDelayValidate(gc, __GL_DIRTY_GENERIC);

  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  __glKeepRasterPosition(gc, drawable->height, drawable->yInverted);
  gc->constants.width = drawable->width;
  gc->constants.height = drawable->height;
  gc->changedBuffers = drawable->changedBuffers;
  GlContextBuffer buffers[__GL_CONTEXT_BUFFER_COUNT];
  __glContextBuffers(gc, drawable, buffers);
  for (const GlContextBuffer &b : buffers)
    if (b.present && b.buf->makeCurrent) b.buf->makeCurrent(b.buf, b.drawableBuf, gc);
  __GL_UNLOCK_DRAWABLE(gc);
}

void __glLoseCurrentBuffers(GlContext *gc) {
  if (gc->drawablePrivate == nullptr) return;
  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  GlContextBuffer buffers[__GL_CONTEXT_BUFFER_COUNT];
  __glContextBuffers(gc, nullptr, buffers);
  for (const GlContextBuffer &b : buffers)
    if (b.present && b.buf->loseCurrent) b.buf->loseCurrent(b.buf);
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
