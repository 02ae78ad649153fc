// The buffer picker: which colour buffer drawing writes, the masks of the
// buffers drawn, read and locked, and the lock procedures of rendering.
#include "core/context.h"
#include "core/drawable.h"
#include "core/s_pick.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"

namespace {

// Whether a drawable buffer must be locked for direct access.
bool Lockable(const GlDrawableBuffer *buffer) {
  return buffer != nullptr && buffer->lock != nullptr && buffer->unlock != nullptr;
}
bool Lockable(const GlColorBuffer *cfb) { return cfb && Lockable(cfb->buf.drawableBuf); }

struct DrawChoice {
  GlColorBuffer *drawn;  // none: the drawn buffer is left as it was
  uint32_t drawMask;
  uint32_t lockMask;
  bool both;
};

// One colour buffer drawn alone; it is the single locked buffer when it
// needs locking.
DrawChoice DrawOne(GlContext *gc, GlColorBuffer *cfb, uint32_t bit) {
  DrawChoice choice{cfb, bit, 0, false};
  if (Lockable(cfb)) {
    choice.lockMask = bit;
    gc->colorLockBuffer = cfb;
  }
  return choice;
}

DrawChoice PickDrawn(GlContext *gc) {
  // A single-buffered visual has no back buffer: GL_BACK cannot be in force
  // there, and GL_FRONT_AND_BACK draws the front alone.
  switch (gc->state.raster.drawBuffer) {
    case GL_FRONT:
      return DrawOne(gc, gc->front, __GL_FRONT_BUFFER_MASK);
    case GL_BACK:
      if (gc->back) return DrawOne(gc, gc->back, __GL_BACK_BUFFER_MASK);
      return DrawOne(gc, gc->front, __GL_FRONT_BUFFER_MASK);
    case GL_FRONT_AND_BACK: {
      if (!gc->modes.doubleBufferMode || !gc->back)
        return DrawOne(gc, gc->front, __GL_FRONT_BUFFER_MASK);
      // Spans run on the back buffer; the replicating stages repeat the
      // colour work on the front.
      DrawChoice choice{gc->back, __GL_FRONT_BUFFER_MASK | __GL_BACK_BUFFER_MASK, 0, true};
      if (Lockable(gc->front)) choice.lockMask |= __GL_FRONT_BUFFER_MASK;
      if (Lockable(gc->back)) choice.lockMask |= __GL_BACK_BUFFER_MASK;
      return choice;
    }
    default:
      return DrawChoice{nullptr, 0, 0, false};
  }
}

uint32_t ReadMask(const GlContext *gc) {
  switch (gc->pixel.readBuffer) {
    case GL_FRONT:
      return __GL_FRONT_BUFFER_MASK;
    case GL_BACK:
      return __GL_BACK_BUFFER_MASK;
    default:
      return 0;
  }
}

}  // namespace

void __glGenericPickBufferProcs(GlContext *gc) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  gc->colorLockBuffer = nullptr;
  const DrawChoice choice = PickDrawn(gc);
  if (choice.drawn) gc->drawBuffer = choice.drawn;
  gc->drawBoth = choice.both;

  uint32_t lockMask = choice.lockMask;
  if (flags & __GL_SHADE_DEPTH_TEST) lockMask |= __GL_DEPTH_BUFFER_MASK;
  if (flags & __GL_SHADE_STENCIL_TEST) lockMask |= __GL_STENCIL_BUFFER_MASK;

  gc->lockBuffers = __glLockBuffers;
  gc->unlockBuffers = __glUnlockBuffers;
  // The narrower pairs lock every buffer they name without asking, so each
  // is taken only when all of those have lock procedures. Anything else,
  // drawing to no colour buffer included, takes the general pair, which
  // skips a buffer without them.
  gc->lockRenderBuffers = __glLockRenderBuffers;
  gc->unlockRenderBuffers = __glUnlockRenderBuffers;
  const bool oneLockedColourBuffer = !choice.both && gc->colorLockBuffer != nullptr;
  if (oneLockedColourBuffer && lockMask == choice.drawMask + __GL_DEPTH_BUFFER_MASK &&
      Lockable(gc->depthBuffer.buf.drawableBuf)) {
    gc->lockRenderBuffers = __glLockColorBufferDepthBuffer;
    gc->unlockRenderBuffers = __glUnlockColorBufferDepthBuffer;
  } else if (oneLockedColourBuffer && lockMask == choice.drawMask) {
    gc->lockRenderBuffers = __glLockColorBuffer;
    gc->unlockRenderBuffers = __glUnlockColorBuffer;
  }
  gc->renderBufferMask = lockMask;
  gc->drawBufferMask = choice.drawMask;
  gc->readBufferMask = ReadMask(gc);
}
