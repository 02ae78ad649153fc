// The dithered clear rectangles. Pixel (x, y) takes dither entry
// [4 * (y & 3) + (x & 3)] and rounds as the fragment stores do, so that
// cleared and drawn pixels share one dither grid.
#include <stdint.h>
#include <string.h>

#include "core/context.h"
#include "core/s_setters.h"
#include "raster/s_buffers.h"
#include "raster/s_clear.h"
#include "raster/s_clear_rect.h"
#include "raster/s_dither.h"

namespace {

// Finished pixels for each dither row and column.
typedef uint32_t DitherPixels[4][4];

// c plus the store's offset (2D + 1) / 32, truncated; the sum is exact in
// a float for every channel value.
uint32_t Dithered(GLfloat c, int entry) {
  return uint32_t(c + GLfloat(2 * __glDitherTable[entry] + 1) / 32.0f);
}

void RgbPixels(GlColorBuffer *cfb, DitherPixels pixels) {
  GlContext *gc = cfb->buf.gc;
  const GlColorBuffer *front = gc->front;
  const GlColor &c = gc->state.raster.clear;
  const GLfloat red = c.r * front->redScale, green = c.g * front->greenScale,
                blue = c.b * front->blueScale, alpha = c.a * front->alphaScale;
  // A format with alpha bits (1-5-5-5) keeps alpha, dithered, as its stores
  // do: left out, every cleared pixel would read back transparent.
  const bool hasAlpha = gc->modes.alphaMask != 0;
  for (int e = 0; e < 16; e++) {
    uint32_t pixel = Dithered(red, e) << cfb->redShift | Dithered(green, e) << cfb->greenShift |
                     Dithered(blue, e) << cfb->blueShift;
    if (hasAlpha) pixel |= Dithered(alpha, e) << cfb->alphaShift;
    pixels[e >> 2][e & 3] = pixel;
  }
}

void IndexPixels(GlColorBuffer *cfb, DitherPixels pixels) {
  // The clear index truncated, as every other route stores it; the dither
  // offsets then round it back to itself.
  GlContext *gc = cfb->buf.gc;
  const uint32_t index =
      uint32_t(__glTruncateToInt(gc->state.raster.clearIndex)) & cfb->redMax & 0xFF;
  for (int e = 0; e < 16; e++) pixels[e >> 2][e & 3] = Dithered(GLfloat(index), e);
}

// 8-bit rows: single bytes up to a word boundary, whole words of four
// pixels, then the bytes left.
void Fill8(const GlClearTarget &t, int32_t x0, int32_t y0, const DitherPixels pixels) {
  for (int32_t j = 0; j < t.height; j++) {
    const uint32_t *row = pixels[(y0 + j) & 3];
    uint8_t *p = t.first + j * t.rowBytes;
    int32_t x = x0;
    const int32_t end = x0 + t.width;
    for (; x < end && (reinterpret_cast<uintptr_t>(p) & 3); x++) *p++ = uint8_t(row[x & 3]);
    const int32_t words = (end - x) / 4;
    const uint32_t word = (row[x & 3] & 0xFF) | (row[(x + 1) & 3] & 0xFF) << 8 |
                          (row[(x + 2) & 3] & 0xFF) << 16 | (row[(x + 3) & 3] & 0xFF) << 24;
    __glI386MemClear4(t.gc, p, words, 1, 0, word);
    p += 4 * words;
    x += 4 * words;
    for (; x < end; x++) *p++ = uint8_t(row[x & 3]);
  }
}

void Store16(uint8_t *p, uint32_t v) {
  const uint16_t pixel = uint16_t(v);
  memcpy(p, &pixel, 2);
}

// 16-bit rows: a single pixel up to a word boundary, two words per four
// pixels, then what is left.
void Fill16(const GlClearTarget &t, int32_t x0, int32_t y0, const DitherPixels pixels) {
  for (int32_t j = 0; j < t.height; j++) {
    const uint32_t *row = pixels[(y0 + j) & 3];
    uint8_t *p = t.first + j * t.rowBytes;
    int32_t x = x0;
    const int32_t end = x0 + t.width;
    if (reinterpret_cast<uintptr_t>(p) & 3) {
      Store16(p, row[x & 3]);
      p += 2;
      x++;
    }
    const uint32_t first = (row[x & 3] & 0xFFFF) | row[(x + 1) & 3] << 16;
    const uint32_t second = (row[(x + 2) & 3] & 0xFFFF) | row[(x + 3) & 3] << 16;
    for (; end - x >= 4; x += 4, p += 8) {
      memcpy(p, &first, 4);
      memcpy(p + 4, &second, 4);
    }
    if (end - x >= 2) {
      memcpy(p, &first, 4);
      p += 4;
      x += 2;
    }
    if (x < end) Store16(p, row[x & 3]);
  }
}

// The finished pixels of each dither position, laid over the rectangle.
void ClearDithered(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                   void (*makePixels)(GlColorBuffer *, DitherPixels),
                   void (*fill)(const GlClearTarget &, int32_t, int32_t, const DitherPixels)) {
  GlClearTarget t;
  if (!__glClearTarget(cfb, x0, y0, x1, y1, &t)) return;
  DitherPixels pixels;
  makePixels(cfb, pixels);
  fill(t, x0, y0, pixels);
}

}  // namespace

void __glI386ClearRectRGB_8_Dither(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                   int32_t y1) {
  ClearDithered(cfb, x0, y0, x1, y1, RgbPixels, Fill8);
}

void __glI386ClearRectRGB_16_Dither(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                    int32_t y1) {
  ClearDithered(cfb, x0, y0, x1, y1, RgbPixels, Fill16);
}

void __glI386ClearRectCI_8_Dither(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1,
                                  int32_t y1) {
  ClearDithered(cfb, x0, y0, x1, y1, IndexPixels, Fill8);
}
