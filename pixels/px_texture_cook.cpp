// Cooked copies of texture levels in the draw buffer's pixel format.
#include "pixels/px_texture_cook.h"

#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "pixels/px_texture.h"
#include "raster/s_buffers.h"

namespace {

// Storage formats a cooked copy is made of, by texFormat id, with the bytes
// of one texel.
int32_t TexelBytes(int32_t id) {
  switch (id) {
    case 0: return 1;   // luminance
    case 1: return 2;   // luminance, alpha
    case 2: return 3;   // R, G, B
    case 6: return 4;   // R, G, B, A
    case 12: return 1;  // intensity
    default: return 0;
  }
}

// Bytes per pixel of the draw buffer when a cooked copy can hold it, else 0.
uint32_t PixelBytes(const GlContext *gc) {
  const GlColorBuffer *cfb = gc->drawBuffer;
  if (cfb == nullptr || cfb->buf.drawableBuf == nullptr) return 0;
  const uint32_t size = cfb->buf.drawableBuf->elementSize;
  return size == 1 || size == 2 || size == 4 ? size : 0;
}

// An 8-bit component at the context's depth, in its place in the pixel.
uint32_t Place(uint32_t value, uint32_t bits, uint32_t shift) {
  const uint32_t drop = bits >= 8 ? 0 : 8 - bits;
  return (value >> drop) << shift;
}

struct Rgba {
  uint32_t r, g, b, a;
};

Rgba Components(int32_t id, const uint8_t *t) {
  switch (id) {
    case 0: return {t[0], t[0], t[0], 0};
    case 1: return {t[0], t[0], t[0], t[1]};
    case 2: return {t[0], t[1], t[2], 0};
    case 6: return {t[0], t[1], t[2], t[3]};
    default: return {t[0], t[0], t[0], t[0]};
  }
}

}  // namespace

bool __glCanCookTexture(const GlContext *gc, const GlTextureLevel *level) {
  return level->image != nullptr && level->texFormat != nullptr &&
         TexelBytes(level->texFormatId) != 0 && PixelBytes(gc) != 0;
}

void __glCookSubTexture(GlContext *gc, GlTextureLevel *level, GLint xoffset, GLint yoffset,
                        GLint width, GLint height) {
  if (level->auxImage == nullptr || !__glCanCookTexture(gc, level)) return;
  const GlColorBuffer *cfb = gc->drawBuffer;
  const GlModes &m = gc->modes;
  const int32_t id = level->texFormatId;
  const size_t texelBytes = size_t(TexelBytes(id)), pixelBytes = PixelBytes(gc);
  const int32_t border = level->border;
  for (GLint row = 0; row < height; ++row) {
    // Image and copy share the level's row stride, border included.
    const size_t first =
        size_t(yoffset + border + row) * size_t(level->width) + size_t(xoffset + border);
    const uint8_t *src = level->image + first * texelBytes;
    uint8_t *dst = level->auxImage + first * pixelBytes;
    for (GLint col = 0; col < width; ++col, src += texelBytes, dst += pixelBytes) {
      const Rgba c = Components(id, src);
      const uint32_t pixel =
          Place(c.r, m.redBits, cfb->redShift) | Place(c.g, m.greenBits, cfb->greenShift) |
          Place(c.b, m.blueBits, cfb->blueShift) | Place(c.a, m.alphaBits, cfb->alphaShift);
      if (pixelBytes == 1) {
        *dst = uint8_t(pixel);
      } else if (pixelBytes == 2) {
        const uint16_t p16 = uint16_t(pixel);
        memcpy(dst, &p16, 2);
      } else {
        memcpy(dst, &pixel, 4);
      }
    }
  }
}

void __glCookTexture(GlContext *gc) {
  GlTextureObject *tex = gc->texture.current;
  if (tex == nullptr) return;
  GlTextureLevel *level = tex->levels[0];
  if (level->auxImage != nullptr || !__glCanCookTexture(gc, level)) return;
  const size_t bytes = size_t(level->width) * size_t(level->height) * PixelBytes(gc);
  level->auxImage = static_cast<GLubyte *>(gc->imports.malloc(gc, bytes));
  if (level->auxImage == nullptr) return;
  // The whole level, border included.
  __glCookSubTexture(gc, level, -level->border, -level->border, level->width, level->height);
}
