// The window size as the context sees it, and its changes.
#include <limits.h>

#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_buffers.h"

GLbool8 __glFindWindowSize(GlContext *gc) {
  int32_t x = 0, y = 0;
  uint32_t width = 0, height = 0;
  __GL_LOCK_DRAWABLE(gc, "s_buffer");
  GLbool8 taken = 0;
  if (gc->imports.getDrawableSize(gc, &x, &y, &width, &height) && width <= INT32_MAX &&
      height <= INT32_MAX)
    taken = __glChangeWindowSize(gc, x, y, int32_t(width), int32_t(height));
  __GL_UNLOCK_DRAWABLE(gc);
  return taken;
}

GLbool8 __glChangeWindowSize(GlContext *gc, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
  if (width < 0 || height < 0) return 0;
  if (GlDrawable *drawable = gc->drawablePrivate) {
    __GL_LOCK_DRAWABLE(gc, "s_buffer");
    gc->changedBuffers = drawable->changedBuffers;
    __GL_UNLOCK_DRAWABLE(gc);
  }
  GlContextBuffer buffers[__GL_CONTEXT_BUFFER_COUNT];
  __glContextBuffers(gc, nullptr, buffers);
  for (const GlContextBuffer &b : buffers)
    if (b.present && b.buf->resize && !b.buf->resize(b.buf, x, y, width, height, b.bit))
      return 0;

  GlConstants &c = gc->constants;
  if (width == c.width && height == c.height) return 1;
  __glKeepRasterPosition(gc, height, c.yInverted);
  c.width = width;
  c.height = height;
  gc->procs.computeClipBox(gc);
  gc->procs.applyScissor(gc);
  return 1;
}

void __glKeepRasterPosition(GlContext *gc, int32_t height, uint8_t yInverted) {
  const GlConstants &c = gc->constants;
  GLfloat &y = gc->state.current.rasterPos.window.y;
  if ((yInverted != 0) == (c.yInverted != 0)) {
    // Top-down rows count from the top: the bottom moves with the height.
    if (yInverted && height != c.height) y += GLfloat(int64_t(height) - c.height);
    return;
  }
  // The rows flip, about the top-down window's height.
  typedef long double Ext;
  const Ext rows = Ext(yInverted ? height : c.height) - c.viewportEpsilon;
  y = GLfloat(rows - (Ext(y) - c.fviewportYAdjust) + c.fviewportYAdjust);
}
