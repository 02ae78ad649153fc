// glScissor and the clip box: the region of the drawable fragments may
// touch, in biased window coordinates with rows top-down on inverted
// drawables. The box's corners are summed in 64 bits, so no scissor box
// given by the application can wrap around.
#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "geometry/s_xform.h"

void GLENTRY __glim_Scissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  GlContext *gc = __glContextForRectangle(width, height);
  if (!gc) return;
  GlScissor *s = &gc->state.scissor;
  if (s->x == x && s->y == y && s->width == width && s->height == height) return;
  s->x = x;
  s->y = y;
  s->width = width;
  s->height = height;
  __glDelayValidate(gc, __GL_DIRTY_SCISSOR);
  gc->procs.computeClipBox(gc);
  gc->procs.applyScissor(gc);
}

void __glComputeClipBox(GlContext *gc) {
  const GlConstants *k = &gc->constants;
  int64_t w = k->width, h = k->height;
  int64_t x0 = 0, y0 = 0, x1 = w, y1 = h;
  if (gc->state.enables.general & __GL_SCISSOR_TEST_ENABLE) {
    const GlScissor *s = &gc->state.scissor;
    x0 = s->x;
    y0 = s->y;
    x1 = x0 + s->width;
    y1 = y0 + s->height;
    if (x1 < 0 || y1 < 0 || x1 <= x0 || y1 <= y0 || x0 >= w || y0 >= h) {
      x0 = y0 = x1 = y1 = 0;
    } else {
      if (x0 < 0) x0 = 0;
      if (y0 < 0) y0 = 0;
      if (x1 > w) x1 = w;
      if (y1 > h) y1 = h;
    }
  }
  int64_t top = y0, bottom = y1;
  if (k->yInverted) {
    top = h - y1;
    bottom = h - y0;
  }
  if (gc->drawablePrivate)
    __wglSetCoreClipRect(gc->drawablePrivate, int32_t(x0), int32_t(top), int32_t(x1 - x0),
                         int32_t(bottom - top));
  int32_t *box = gc->transform.clipBox;
  box[0] = int32_t(x0 + k->viewportXAdjust);
  box[1] = int32_t(top + k->viewportYAdjust);
  box[2] = int32_t(x1 + k->viewportXAdjust);
  box[3] = int32_t(bottom + k->viewportYAdjust);
}
