// The SiS draw-pixels kernels. The colour ones convert as the core's do
// (the buffer's shifts, the modes' bit counts, each pixel's dither entry),
// so both devices draw the same image; the index and depth kernels walk the
// same clip list.
#include <string.h>

#include "pixels/px_fast_draw_walk.h"
#include "sis/sis_pixels.h"

void __glSiSDrawPixels_FastRGB16(GlContext *gc, const GlPixelSpanInfo *info) {
  __glDrawPixels_FastRGB16(gc, info);
}

void __glSiSDrawPixels_FastRGB16_Dither(GlContext *gc, const GlPixelSpanInfo *info) {
  __glDrawPixels_FastRGB16_Dither(gc, info);
}

void __glSiSDrawPixels_FastRGBAubyte16(GlContext *gc, const GlPixelSpanInfo *info) {
  __glDrawPixels_FastRGBAubyte16(gc, info);
}

void __glSiSDrawPixels_FastRGBA16_Atest(GlContext *gc, const GlPixelSpanInfo *info) {
  __glDrawPixels_FastRGBA16_Atest(gc, info);
}

void __glSiSDrawPixels_FastCI8(GlContext *gc, const GlPixelSpanInfo *info) {
  const GlDrawableBuffer *buffer = fast_draw::DrawnMemory(gc);
  if (buffer && buffer->elementSize == 1) fast_draw::DrawVisible(gc, info, fast_draw::CopyIndexRow);
}

// The source words go into the depth buffer as they are, byte-swapped
// first when the unpack modes ask for it.
void __glSiSDrawPixels_FastDepthUShort16(GlContext *gc, const GlPixelSpanInfo *info) {
  const GlDrawableBuffer *depth = gc->depthBuffer.buf.drawableBuf;
  if (!depth || depth->elementSize != 2) return;
  const bool swap = info->srcSwapBytes != 0;
  fast_draw::DrawVisibleInto(
      gc, info, depth,
      [swap](uint8_t *dst, const uint8_t *src, int32_t, int32_t, int32_t columns, int32_t dir) {
        for (int32_t c = 0; c < columns; c++, dst += 2 * dir, src += 2) {
          uint16_t v;
          memcpy(&v, src, 2);
          if (swap) v = uint16_t(v << 8 | v >> 8);
          memcpy(dst, &v, 2);
        }
      });
}
