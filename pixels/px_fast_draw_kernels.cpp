// The fast draw-pixels kernels: unsigned-byte rows converted straight into
// the draw buffer's memory, RGB ones only where the window owns the screen.
#include <string.h>

#include "core/context.h"
#include "pixels/px_enums.h"
#include "pixels/px_fast_draw.h"
#include "raster/s_buffers.h"
#include "raster/s_dither.h"

namespace {

int32_t Moved(int32_t v, int32_t by) {
  const int64_t sum = int64_t(v) + by;
  return sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : int32_t(sum);
}

// The draw buffer's memory, or none while it has no pixels.
const GlDrawableBuffer *DrawnMemory(const GlContext *gc) {
  const GlDrawableBuffer *buffer = gc->drawBuffer ? gc->drawBuffer->buf.drawableBuf : nullptr;
  return buffer && buffer->base ? buffer : nullptr;
}

// Calls row(dst, src, x, y, columns, dir) for each row of the part.
template <typename Row>
void DrawPart(const GlContext *gc, const GlPixelSpanInfo *info, const GlDrawableBuffer *buffer,
              const GlFastDrawPart &part, Row row) {
  const int32_t rowDir = info->zoomy > 0.0f ? 1 : -1;
  const int32_t colDir = info->endCol > info->startCol ? 1 : -1;
  const uint8_t *src = static_cast<const uint8_t *>(info->srcCurrent) +
                       int64_t(part.skipRows) * info->srcRowIncrement +
                       int64_t(part.skipColumns) * info->srcGroupIncrement;
  for (int32_t r = 0; r < part.rows; r++) {
    const int32_t y = part.y + r * rowDir;
    row(__glPixelAddress(gc, buffer, part.x, y), src, part.x, y, part.columns, colDir);
    src += info->srcRowIncrement;
  }
}

// The parts inside each visible rectangle of the window.
template <typename Row>
void DrawVisible(const GlContext *gc, const GlPixelSpanInfo *info, Row row) {
  const GlDrawableBuffer *buffer = DrawnMemory(gc);
  const GlDrawable *drawable = gc->drawablePrivate;
  if (!buffer || !drawable || !drawable->clipRects) return;
  const int32_t dx = gc->constants.viewportXAdjust, dy = gc->constants.viewportYAdjust;
  for (int32_t i = 0; i < drawable->clipCount; i++) {
    const GlRect &r = drawable->clipRects[i];
    const GlRect window = {Moved(r.x0, dx), Moved(r.y0, dy), Moved(r.x1, dx), Moved(r.y1, dy)};
    GlFastDrawPart part;
    if (__glClipFastDraw(info, window, &part)) DrawPart(gc, info, buffer, part, row);
  }
}

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
  DrawPart(gc, info, buffer, part,
           [](uint8_t *dst, const uint8_t *src, int32_t, int32_t, int32_t columns, int32_t dir) {
             if (dir > 0) {
               memcpy(dst, src, size_t(columns));
               return;
             }
             for (int32_t c = 0; c < columns; c++) *dst-- = *src++;
           });
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
