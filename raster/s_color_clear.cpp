// Colour clears: the lock bracket around them, the front buffer's visible
// rectangles and the clip box of every other buffer, and the generic clear
// rectangle through the fragment store.
#include "raster/s_color_clear.h"

#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"

namespace {

// The clear rectangles write the bound drawable buffer's memory directly:
// without it (unbound, or no pixels while locked) there is nothing to clear.
bool HasPixels(const GlColorBuffer *cfb) {
  return cfb->buf.gc && cfb->buf.drawableBuf && cfb->buf.drawableBuf->base;
}

}  // namespace

void __glClearColorBufferClipBox(GlColorBuffer *cfb) {
  GlContext *gc = cfb->buf.gc;
  if (!HasPixels(cfb) || cfb->clearRect == nullptr) return;
  const int32_t *box = gc->transform.clipBox;
  cfb->clearRect(cfb, box[0], box[1], box[2], box[3]);
}

void __glClearRegionRects(GlColorBuffer *cfb,
                          void (*clearRect)(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                            int32_t y1)) {
  GlContext *gc = cfb->buf.gc;
  if (!HasPixels(cfb) || clearRect == nullptr) return;
  __GL_LOCK_DRAWABLE(gc, gc->modes.rgbMode ? "s_rgb" : "s_ci");
  const GlDrawable *drawable = gc->drawablePrivate;
  if (drawable && drawable->clipRects) {
    const int32_t dx = gc->constants.viewportXAdjust, dy = gc->constants.viewportYAdjust;
    const int32_t *box = gc->transform.clipBox;
    // The scissor box bounds the clear as it bounds drawing.
    for (int32_t i = 0; i < drawable->clipCount; i++) {
      const GlRect &r = drawable->clipRects[i];
      const int32_t x0 = r.x0 + dx > box[0] ? r.x0 + dx : box[0];
      const int32_t y0 = r.y0 + dy > box[1] ? r.y0 + dy : box[1];
      const int32_t x1 = r.x1 + dx < box[2] ? r.x1 + dx : box[2];
      const int32_t y1 = r.y1 + dy < box[3] ? r.y1 + dy : box[3];
      if (x0 < x1 && y0 < y1) clearRect(cfb, x0, y0, x1, y1);
    }
  }
  __GL_UNLOCK_DRAWABLE(gc);
}

void __glClearColorBufferLocked(GlColorBuffer *cfb, bool backEndClear, int line,
                                const char *file) {
  GlContext *gc = cfb->buf.gc;
  if (gc == nullptr) return;
  GlDrawable *drawable = gc->drawablePrivate;
  GlDrawableBuffer *buffer = cfb->buf.drawableBuf;
  __glLockDrawable(gc, line, file);
  if (buffer && buffer->lock) buffer->lock(buffer, drawable);
  if (gc->lockDevice) gc->lockDevice(gc);
  // Only the front buffer shares the screen with other windows; which
  // record is cleared decides, not the draw buffer.
  if (cfb == gc->front)
    __glClearRegionRects(cfb, cfb->clearRect);
  else if (backEndClear && gc->colorClear)
    gc->colorClear(cfb);
  else
    __glClearColorBufferClipBox(cfb);
  if (gc->unlockDevice) gc->unlockDevice(gc);
  if (buffer && buffer->unlock) buffer->unlock(buffer, drawable);
  __glUnlockDrawable(gc);
}

void __glClearRectThroughStore(GlColorBuffer *cfb, const GlColor &color, int32_t x0, int32_t y0,
                               int32_t x1, int32_t y1) {
  uint32_t &flags = cfb->buf.gc->polygon.shader.modeFlags;
  const uint32_t saved = flags;
  flags &= ~(__GL_SHADE_BLEND | __GL_SHADE_LOGIC_OP);
  GlFragment frag{};
  frag.color = color;
  for (frag.y = y0; frag.y < y1; frag.y++)
    for (frag.x = x0; frag.x < x1; frag.x++) cfb->store(cfb, &frag);
  flags = saved;
}
