#include "pixels/px_pack.h"

#include "core/context.h"

namespace {

// n low bits, and n high bits, of a byte.
uint8_t LowBits(int n) { return uint8_t((1u << n) - 1); }
uint8_t HighBits(int n) { return uint8_t(0xFF00u >> n); }

uint8_t Reversed(uint8_t b) {
  b = uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
  return uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

}  // namespace

void __glUnpackBitmap(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                      GLint components, const GLubyte *src, GLubyte *dest) {
  if (width <= 0 || height <= 0 || components <= 0) return;
  int64_t groupsPerRow = modes->rowLength > 0 ? modes->rowLength : width;
  int64_t alignment = modes->alignment > 0 ? modes->alignment : 1;
  int64_t rowStride = (components * groupsPerRow + 7) / 8;
  rowStride = (rowStride + alignment - 1) / alignment * alignment;
  int64_t firstBit = int64_t(components) * modes->skipPixels;
  const GLubyte *row = src + modes->skipRows * rowStride + firstBit / 8;
  int offset = int(firstBit % 8);
  auto get = [modes](GLubyte b) { return modes->lsbFirst ? Reversed(b) : b; };

  int64_t bitsPerRow = int64_t(components) * width;
  for (GLsizei y = 0; y < height; y++, row += rowStride) {
    const GLubyte *s = row;
    for (int64_t remaining = bitsPerRow; remaining > 0; remaining -= 8, s++) {
      uint8_t b = get(s[0]);
      if (offset != 0) {
        b = uint8_t((b & LowBits(8 - offset)) << offset);
        // The next byte is read only when the row goes on into it.
        if (remaining > 8 - offset) b |= uint8_t((get(s[1]) & HighBits(offset)) >> (8 - offset));
      }
      if (remaining < 8) b &= HighBits(int(remaining));
      *dest++ = b;
    }
  }
}

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

void __glFillImage(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   const void *pixels, GLubyte *dest) {
  if (type != GL_BITMAP || (format != GL_COLOR_INDEX && format != GL_STENCIL_INDEX)) return;
  __glUnpackBitmap(&gc->pixel.unpackModes, width, height, 1, static_cast<const GLubyte *>(pixels), dest);
}

void __glConvertStipple(GlContext *gc) {
  const GLubyte *bytes = gc->state.polygonStipple.stipple;
  for (int i = 0; i < 32; i++, bytes += 4)
    gc->polygon.stipple[i] = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 |
                             uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}
