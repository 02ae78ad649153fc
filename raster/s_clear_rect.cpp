// The plain clear rectangles: one pixel value over the whole rectangle,
// handed to the block fills.
#include "raster/s_clear_rect.h"

#include <stdint.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/s_setters.h"
#include "raster/s_buffers.h"
#include "raster/s_clear.h"

bool __glClearTarget(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     GlClearTarget *target) {
  GlContext *gc = cfb->buf.gc;
  const GlDrawableBuffer *buffer = cfb->buf.drawableBuf;
  const int64_t width = int64_t(x1) - x0, height = int64_t(y1) - y0;
  if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) return false;
  if (gc == nullptr || buffer == nullptr || buffer->base == nullptr) return false;
  target->gc = gc;
  target->first = __glPixelAddress(gc, buffer, x0, y0);
  target->width = int32_t(width);
  target->height = int32_t(height);
  target->rowBytes = __glRowBytes(buffer);
  target->elementSize = buffer->elementSize;
  return true;
}

void __glI386ClearRectRGB(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  GlClearTarget t;
  if (!__glClearTarget(cfb, x0, y0, x1, y1, &t)) return;
  GlContext *gc = t.gc;
  const GlColorBuffer *front = gc->front;
  const GlColor &c = gc->state.raster.clear;
  const GLfloat half = gc->constants.half;
  // The clear colour is clamped to [0, 1]: every product lies in the channel.
  uint32_t value = uint32_t(c.r * front->redScale + half) << cfb->redShift |
                   uint32_t(c.g * front->greenScale + half) << cfb->greenShift |
                   uint32_t(c.b * front->blueScale + half) << cfb->blueShift;
  if (gc->modes.alphaMask) value |= uint32_t(c.a * front->alphaScale + half) << cfb->alphaShift;

  const int32_t rowSkip = t.rowBytes - t.width * int32_t(t.elementSize);
  switch (t.elementSize) {
    case 1:
      __glI386MemClear1(gc, t.first, t.width, t.height, rowSkip, uint8_t(value));
      break;
    case 2:
      __glI386MemClear2(gc, t.first, t.width, t.height, rowSkip, uint16_t(value));
      break;
    case 4:
      __glI386MemClear4(gc, t.first, t.width, t.height, rowSkip, value);
      break;
    default:
      // 3-byte buffers have a clear of their own; this one never runs there.
      break;
  }
}

void __glI386ClearRectCI_8(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  GlClearTarget t;
  if (!__glClearTarget(cfb, x0, y0, x1, y1, &t)) return;
  // Truncated, as every other route of the clear stores it.
  const uint32_t index = uint32_t(__glTruncateToInt(t.gc->state.raster.clearIndex)) & cfb->redMax;
  __glI386MemClear1(t.gc, t.first, t.width, t.height, t.rowBytes - t.width, uint8_t(index));
}
