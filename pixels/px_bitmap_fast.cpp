// The fast bitmap renderers: when no per-fragment operation can change a
// pixel, the bitmap's one colour goes straight into a 16-bit RGB or an
// 8-bit index buffer, clipped once against the clip box.
#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/s_pick.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_bitmap_start.h"
#include "raster/s_color_pixel.h"
#include "raster/s_shader.h"

namespace {

// Depth test, stipple, stencil, logic op, blend, alpha test, partial write
// mask, index test and drawing to the front buffer each change or hide
// pixels the kernels would write.
constexpr uint32_t kExcluding = __GL_SHADE_DEPTH_TEST | __GL_SHADE_STIPPLE |
                                __GL_SHADE_STENCIL_TEST | __GL_SHADE_LOGIC_OP |
                                __GL_SHADE_BLEND | __GL_SHADE_ALPHA_TEST | __GL_SHADE_MASK |
                                __GL_SHADE_INDEX_TEST | __GL_SHADE_FRONT_BUFFER;
static_assert(kExcluding == 0x600bb4u, "the flags the fast renderers refuse");

// The pixel the colour stores as, rounded as the fragment store rounds it
// undithered; a buffer with alpha bits keeps its alpha as the store does.
uint16_t RGB16Value(const GlContext *gc, const GlColorBuffer *cfb, const GlColor &c) {
  uint32_t v = __glColorBits(c.r, 0.5f) << cfb->redShift |
               __glColorBits(c.g, 0.5f) << cfb->greenShift |
               __glColorBits(c.b, 0.5f) << cfb->blueShift;
  if (gc->modes.alphaMask != 0) v |= __glColorBits(c.a, 0.5f) << cfb->alphaShift;
  return uint16_t(v);
}

uint8_t CI8Value(const GlContext *, const GlColorBuffer *, const GlColor &c) {
  return uint8_t(__glColorBits(c.r, 0.5f));
}

// The rows i with clip y0 <= y + i * ydir < clip y1 and columns j with clip
// x0 <= x + j < clip x1: [first, last) of each; empty when last <= first.
struct Clipped {
  int64_t firstRow, lastRow, firstCol, lastCol;
};

int64_t Max(int64_t a, int64_t b) { return a > b ? a : b; }
int64_t Min(int64_t a, int64_t b) { return a < b ? a : b; }

Clipped Clip(const GlContext *gc, const GlBitmap *bitmap, const GlBitmapStart &s) {
  const int32_t *box = gc->transform.clipBox;
  Clipped c;
  c.firstCol = Max(0, box[0] - s.x);
  c.lastCol = Min(bitmap->width, box[2] - s.x);
  if (s.ydir > 0) {
    c.firstRow = Max(0, box[1] - s.y);
    c.lastRow = Min(bitmap->height, box[3] - s.y);
  } else {
    c.firstRow = Max(0, s.y - box[3] + 1);
    c.lastRow = Min(bitmap->height, s.y - box[1] + 1);
  }
  return c;
}

template <typename Pixel>
void FastBitmap(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits,
                Pixel (*value)(const GlContext *, const GlColorBuffer *, const GlColor &)) {
  GlColorBuffer *cfb = gc->drawBuffer;
  GlDrawableBuffer *buffer = cfb ? cfb->buf.drawableBuf : nullptr;
  // Only a buffer of this pixel size is written directly.
  if (!buffer || buffer->elementSize != sizeof(Pixel)) return __glRenderBitmap(gc, bitmap, bits);
  GlBitmapStart start;
  if (!__glStartBitmap(gc, bitmap, &start)) return;
  __glMoveBitmapRaster(gc, bitmap);
  if (!bits || bitmap->width <= 0 || bitmap->height <= 0) return;
  const Pixel pixel = value(gc, cfb, start.frag.color);
  const uint32_t mask = gc->renderBufferMask;
  gc->lockBuffers(gc, mask);
  // Clipped under the lock: taking it may deliver a resize.
  const Clipped c = Clip(gc, bitmap, start);
  if (c.firstRow < c.lastRow && c.firstCol < c.lastCol && buffer->base) {
    const size_t stride = (size_t(bitmap->width) + 7) / 8;
    const int32_t x = int32_t(start.x + c.firstCol);
    for (int64_t i = c.firstRow; i < c.lastRow; i++) {
      const GLubyte *row = bits + size_t(i) * stride;
      uint8_t *out = __glPixelAddress(gc, buffer, x, int32_t(start.y + i * start.ydir));
      for (int64_t j = c.firstCol; j < c.lastCol; j++, out += sizeof(Pixel))
        if (row[j >> 3] & (0x80 >> (j & 7))) memcpy(out, &pixel, sizeof pixel);
    }
  }
  gc->unlockBuffers(gc, mask);
}

}  // namespace

void __glRenderBitmap_FastRGB16(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits) {
  FastBitmap<uint16_t>(gc, bitmap, bits, RGB16Value);
}

void __glRenderBitmap_FastCI8(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits) {
  FastBitmap<uint8_t>(gc, bitmap, bits, CI8Value);
}

void __glOptPickRenderBitmapProcs(GlContext *gc) {
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const GlColorBuffer *cfb = gc->drawBuffer;
  // With no colour buffer drawn the draw buffer is the last one named: the
  // generic path's store writes nothing then.
  const bool direct = !(flags & (kExcluding | __GL_SHADE_DITHER)) && cfb != nullptr &&
                      gc->state.raster.drawBuffer != GL_NONE;
  const uint32_t bytes = __glColorBytesPerPixel(gc);
  if (direct && gc->modes.rgbMode && bytes == 2) {
    gc->procs.renderBitmap = __glRenderBitmap_FastRGB16;
  } else if (direct && gc->modes.colorIndexMode && bytes == 1) {
    gc->procs.renderBitmap = __glRenderBitmap_FastCI8;
  } else {
    __glGenericPickRenderBitmapProcs(gc);
  }
}
