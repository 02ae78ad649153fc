// The fast draw-pixels kernels: unsigned-byte rows converted straight into
// the draw buffer's memory, RGB ones only where the window owns the screen.
#include <string.h>

#include "core/context.h"
#include "pixels/px_enums.h"
#include "pixels/px_fast_draw.h"
#include "pixels/px_fast_draw_walk.h"
#include "raster/s_buffers.h"
#include "raster/s_dither.h"

namespace {

using fast_draw::DrawnMemory;
using fast_draw::DrawPart;
using fast_draw::DrawVisible;

// Where each 8-bit component goes in a 16-bit pixel: the context's bit
// counts, the buffer's shifts.
struct Fields {
  uint32_t down[3], shift[3], max[3];

  explicit Fields(const GlContext *gc) {
    const uint32_t bits[3] = {gc->modes.redBits, gc->modes.greenBits, gc->modes.blueBits};
    const GlColorBuffer *cfb = gc->drawBuffer;
    const uint32_t shifts[3] = {cfb->redShift, cfb->greenShift, cfb->blueShift};
    for (int k = 0; k < 3; k++) {
      const uint32_t n = bits[k] < 8 ? bits[k] : 8;
      down[k] = 8 - n;
      shift[k] = shifts[k] & 15;
      max[k] = (1u << n) - 1;
    }
  }
  uint16_t Truncated(uint32_t r, uint32_t g, uint32_t b) const {
    return uint16_t((r >> down[0]) << shift[0] | (g >> down[1]) << shift[1] |
                    (b >> down[2]) << shift[2]);
  }
  uint16_t Dithered(uint32_t r, uint32_t g, uint32_t b, int32_t x, int32_t y) const {
    const uint32_t d = uint32_t(__glIntDitherTable[(uint32_t(x) & 3) + 4 * (uint32_t(y) & 3)]);
    return uint16_t(((r * max[0] + d) >> 8) << shift[0] | ((g * max[1] + d) >> 8) << shift[1] |
                    ((b * max[2] + d) >> 8) << shift[2]);
  }
};

void Store16(uint8_t *dst, uint16_t v) { memcpy(dst, &v, 2); }

// Each pixel through write(dst, src, x, y), source groups of `bytes`.
template <typename Write>
auto EachPixel(uint32_t bytes, Write write) {
  return [bytes, write](uint8_t *dst, const uint8_t *src, int32_t x, int32_t y, int32_t columns,
                        int32_t dir) {
    for (int32_t c = 0; c < columns; c++, x += dir, dst += 2 * dir, src += bytes)
      write(dst, src, x, y);
  };
}

// Byte offsets of red, green, blue and alpha in a four-byte source pixel.
struct Order {
  uint32_t r, g, b, a;
};
Order OrderOf(GLenum format) {
  if (format == GL_BGRA_EXT) return {2, 1, 0, 3};
  if (format == GL_ABGR_EXT) return {3, 2, 1, 0};
  return {0, 1, 2, 3};
}

// Red, green and blue from the first three bytes of each group of `bytes`.
void DrawTruncated(GlContext *gc, const GlPixelSpanInfo *info, uint32_t bytes) {
  const Fields f(gc);
  DrawVisible(gc, info, EachPixel(bytes, [f](uint8_t *dst, const uint8_t *s, int32_t, int32_t) {
                Store16(dst, f.Truncated(s[0], s[1], s[2]));
              }));
}

}  // namespace

// Indexes copied as they are; the kernel runs only off the front buffer,
// which no other window shares, so the clip list is not consulted.
void __glDrawPixels_FastCI8(GlContext *gc, const GlPixelSpanInfo *info) {
  const GlDrawableBuffer *buffer = DrawnMemory(gc);
  GlFastDrawPart part;
  if (!buffer || !__glClipFastDraw(info, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, &part))
    return;
  DrawPart(gc, info, buffer, part, fast_draw::CopyIndexRow);
}

void __glDrawPixels_FastRGB16(GlContext *gc, const GlPixelSpanInfo *info) {
  DrawTruncated(gc, info, 3);
}

void __glDrawPixels_FastRGB16_Dither(GlContext *gc, const GlPixelSpanInfo *info) {
  const Fields f(gc);
  DrawVisible(gc, info, EachPixel(3, [f](uint8_t *dst, const uint8_t *s, int32_t x, int32_t y) {
                Store16(dst, f.Dithered(s[0], s[1], s[2], x, y));
              }));
}

// Alpha is ignored.
void __glDrawPixels_FastRGBAubyte16(GlContext *gc, const GlPixelSpanInfo *info) {
  DrawTruncated(gc, info, 4);
}

// Pixels whose alpha byte fails the alpha test keep what the buffer held.
void __glDrawPixels_FastRGBA16_Atest(GlContext *gc, const GlPixelSpanInfo *info) {
  const Fields f(gc);
  const Order o = OrderOf(info->srcFormat);
  const uint8_t *passes = gc->alphaTestTable;
  if (passes == nullptr) return;
  DrawVisible(gc, info,
              EachPixel(4, [f, o, passes](uint8_t *dst, const uint8_t *s, int32_t, int32_t) {
                if (passes[s[o.a]]) Store16(dst, f.Truncated(s[o.r], s[o.g], s[o.b]));
              }));
}
