// The RGB colour buffer's clear and its two own clear rectangles: the
// generic one through the store and the 3-byte word fill.
#include <string.h>

#include "core/context.h"
#include "raster/s_color_clear.h"
#include "raster/s_color_pixel.h"
#include "raster/s_rgb.h"

namespace rgb {

void Clear(GlColorBuffer *cfb) { __glClearColorBufferLocked(cfb, true, __LINE__, "s_rgb"); }

void ClearRect(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  GlContext *gc = cfb->buf.gc;
  const GlColor &clear = gc->state.raster.clear;
  const GlColorBuffer *front = gc->front ? gc->front : cfb;
  __glClearRectThroughStore(cfb,
                            {clear.r * front->redScale, clear.g * front->greenScale,
                             clear.b * front->blueScale, clear.a * front->alphaScale},
                            x0, y0, x1, y1);
}

void ClearRect_24(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  const int32_t width = x1 - x0;
  if (width < 1 || y1 - y0 < 1) return;
  GlContext *gc = cfb->buf.gc;
  const GlColor &clear = gc->state.raster.clear;
  const GlColorBuffer *front = gc->front ? gc->front : cfb;
  // The pixel in memory order: blue in byte 0, green in 1, red in 2, as the
  // 3-byte stores keep it.
  const uint32_t packed = (__glRoundBits(clear.r * front->redScale) & 0xFF) << 16 |
                          (__glRoundBits(clear.g * front->greenScale) & 0xFF) << 8 |
                          (__glRoundBits(clear.b * front->blueScale) & 0xFF);
  // Four pixels are three words.
  const uint32_t words[3] = {packed | packed << 24, packed >> 8 | packed << 16,
                             packed >> 16 | packed << 8};
  const int32_t rowBytes = __glRowBytes(cfb->buf.drawableBuf);
  uint8_t *row = __glPixelAddress(gc, cfb->buf.drawableBuf, x0, y0);
  for (int32_t y = y0; y < y1; y++, row += rowBytes) {
    uint8_t *p = row;
    int32_t left = width;
    // Single pixels up to the first word boundary: (address & 3) of them.
    int32_t head = int32_t(reinterpret_cast<uintptr_t>(p) & 3);
    if (head > left) head = left;
    for (; head > 0; head--, left--, p += 3) __glWrite24(p, packed);
    for (; left >= 4; left -= 4, p += 12) memcpy(p, words, sizeof words);
    for (; left > 0; left--, p += 3) __glWrite24(p, packed);
  }
}

}  // namespace rgb
