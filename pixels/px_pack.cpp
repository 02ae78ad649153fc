// The bitmap copy back into a client layout, and the stored stipple turned
// into the rasterizer's words.
#include "pixels/px_pack.h"

#include "core/context.h"

void __glPackBitmap(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                    const GLubyte *src, GLubyte *dest) {
  if (width <= 0 || height <= 0) return;
  int64_t groupsPerRow = modes->rowLength > 0 ? modes->rowLength : width;
  int64_t alignment = modes->alignment > 0 ? modes->alignment : 1;
  int64_t rowStride = (groupsPerRow + 7) / 8;
  rowStride = (rowStride + alignment - 1) / alignment * alignment;
  const int64_t srcStride = (int64_t(width) + 7) / 8;
  GLubyte *row = dest + modes->skipRows * rowStride;
  for (GLsizei y = 0; y < height; y++, row += rowStride, src += srcStride) {
    for (int64_t x = 0; x < width; x++) {
      const bool on = (src[x / 8] >> (7 - x % 8)) & 1;
      const int64_t p = modes->skipPixels + x;
      const uint8_t mask = uint8_t(modes->lsbFirst ? 1u << (p % 8) : 0x80u >> (p % 8));
      row[p / 8] = on ? uint8_t(row[p / 8] | mask) : uint8_t(row[p / 8] & ~mask);
    }
  }
}

void __glConvertStipple(GlContext *gc) {
  const GLubyte *bytes = gc->state.polygonStipple.stipple;
  for (int i = 0; i < 32; i++, bytes += 4)
    gc->polygon.stipple[i] = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 |
                             uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}
