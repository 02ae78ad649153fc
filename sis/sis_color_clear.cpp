// The colour clear of the SiS context's back buffer: one 2D fill when the
// chip reaches the buffer and every channel may be written, else the
// buffer's own rectangle clear.
#include "core/context.h"
#include "sis/sis_clear.h"
#include "sis/sis_context.h"

void __glSiSInitRGB(GlColorBuffer *cfb, GlContext *gc) { __glInitRGB(cfb, gc); }

void SiSHALColorClear(GlColorBuffer *cfb) {
  GlContext *gc = cfb->buf.gc;
  if (gc == nullptr) return;
  const int32_t *box = gc->transform.clipBox;
  if (box[2] <= box[0] || box[3] <= box[1]) return;
  const GlDrawableBuffer *buffer = cfb->buf.drawableBuf;
  // The fill writes whole pixels: masked channels need the per-pixel clear.
  if (cfb->destMask != 0 || !sis::ChipReaches(gc, buffer)) {
    __glClearColorBufferClipBox(cfb);
    return;
  }
  // The buffer's own maxima: the context's scales are 8-bit ones, which
  // would overflow the channels of a 16-bit pixel. The setter keeps the
  // clear colour in [0, 1]; the fill truncates and does not dither.
  const GlColor &clear = gc->state.raster.clear;
  const uint32_t packed = uint32_t(clear.r * cfb->redScale) << cfb->redShift |
                          uint32_t(clear.g * cfb->greenScale) << cfb->greenShift |
                          uint32_t(clear.b * cfb->blueScale) << cfb->blueShift;
  sis::Fill2D(gc, buffer, box[0], box[1], box[2], box[3], packed);
}
