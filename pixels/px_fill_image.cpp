// Client images into packed form: rows read with the unpack modes, copied
// (byte-swapped where asked) or, for bitmaps, shifted bit by bit into rows
// that start on a byte and run most significant bit first.
#include <string.h>

#include <array>

#include "core/context.h"
#include "core/s_error.h"
#include "fastraster/fr_tables.h"
#include "pixels/px_pack.h"
#include "pixels/px_unpack.h"

namespace {

// [n] holds the n low bits of a byte, or its n high bits, n = 0 to 8.
constexpr std::array<uint8_t, 9> BitMasks(bool high) {
  std::array<uint8_t, 9> masks{};
  for (int n = 0; n <= 8; n++) masks[n] = uint8_t(high ? 0xFF00u >> n : (1u << n) - 1);
  return masks;
}
constexpr std::array<uint8_t, 9> LowBitsMask = BitMasks(false);
constexpr std::array<uint8_t, 9> HighBitsMask = BitMasks(true);

// No image of this process lies 2^31 bytes or more past its first byte.
constexpr int64_t kReach = int64_t(1) << 31;

// Where the client image lies, in bytes from the client pointer.
struct Source {
  int64_t rowStride, imageStride, start;
  int bitOffset;  // bitmaps: the first bit's position in its byte
};

int64_t AlignUp(int64_t bytes, GLint alignment) {
  const int64_t a = alignment > 0 ? alignment : 1;
  return (bytes + a - 1) / a * a;
}

// Strides and start in 64 bits; false when any byte the image reaches lies
// beyond kReach.
bool Locate(const GlPixelStoreModes &m, int64_t width, int64_t height, int64_t depth,
            int64_t components, int64_t elementSize, bool bitmap, Source &s) {
  const int64_t groups = m.rowLength > 0 ? m.rowLength : width;
  int64_t rowBytes;
  if (bitmap) {
    s.rowStride = AlignUp((components * groups + 7) / 8, m.alignment);
    const int64_t bit = components * m.skipPixels;
    s.start = m.skipRows * s.rowStride + bit / 8;
    s.bitOffset = int(bit % 8);
    rowBytes = (s.bitOffset + components * width + 7) / 8;
    depth = 1;
  } else {
    s.rowStride = AlignUp(elementSize * components * groups, m.alignment);
    s.start = m.skipRows * s.rowStride + m.skipPixels * elementSize * components;
    s.bitOffset = 0;
    rowBytes = width * components * elementSize;
  }
  s.imageStride = s.rowStride * height;
  if (s.rowStride >= kReach || s.imageStride >= kReach || s.start >= kReach || s.start < 0)
    return false;
  const int64_t end = s.start + (depth - 1) * s.imageStride + (height - 1) * s.rowStride + rowBytes;
  return end < kReach;
}

void FillElements(const uint8_t *src, const Source &s, int64_t width, int64_t height,
                  int64_t depth, int64_t components, int64_t elementSize, bool swap,
                  uint8_t *dest) {
  const int64_t rowBytes = width * components * elementSize;
  for (int64_t image = 0; image < depth; image++, src += s.imageStride) {
    if (!swap && rowBytes == s.rowStride) {
      memcpy(dest, src, size_t(rowBytes * height));
      dest += rowBytes * height;
      continue;
    }
    const uint8_t *row = src;
    for (int64_t y = 0; y < height; y++, row += s.rowStride) {
      if (!swap) {
        memcpy(dest, row, size_t(rowBytes));
        dest += rowBytes;
        continue;
      }
      for (const uint8_t *e = row; e < row + rowBytes; e += elementSize)
        for (int64_t k = elementSize - 1; k >= 0; k--) *dest++ = e[k];
    }
  }
}

void FillBits(const uint8_t *src, const Source &s, int64_t rowBits, int64_t height, bool lsbFirst,
              uint8_t *dest) {
  auto get = [lsbFirst](uint8_t b) { return lsbFirst ? __glMsbToLsbTable[b] : b; };
  const int o = s.bitOffset;
  const uint8_t *row = src;
  for (int64_t y = 0; y < height; y++, row += s.rowStride) {
    const uint8_t *p = row;
    for (int64_t remaining = rowBits; remaining > 0; remaining -= 8, p++) {
      uint8_t b = get(p[0]);
      if (o != 0) {
        b = uint8_t((b & LowBitsMask[8 - o]) << o);
        // The next byte is read only when the row goes on into it.
        if (remaining > 8 - o) b |= uint8_t((get(p[1]) & HighBitsMask[o]) >> (8 - o));
      }
      if (remaining < 8) b &= HighBitsMask[remaining];
      *dest++ = b;
    }
  }
}

}  // namespace

GLbool8 __glFillImageWithModes(const GlPixelStoreModes *modes, GLsizei width, GLsizei height,
                               GLsizei depth, GLenum format, GLenum type, const void *pixels,
                               GLubyte *dest) {
  const bool bitmap = type == GL_BITMAP;
  const int64_t components = __glElementsPerGroup(format, type);
  const int64_t elementSize = __glBytesPerElement(type);
  if (width <= 0 || height <= 0 || (!bitmap && depth <= 0) || elementSize == 0) return 1;
  Source s;
  if (!Locate(*modes, width, height, depth, components, elementSize, bitmap, s)) {
    __glSetError(GL_INVALID_VALUE);
    return 0;
  }
  const uint8_t *src = static_cast<const uint8_t *>(pixels) + s.start;
  if (bitmap)
    FillBits(src, s, components * width, height, modes->lsbFirst, dest);
  else
    FillElements(src, s, width, height, depth, components, elementSize,
                 modes->swapBytes && elementSize > 1, dest);
  return 1;
}

GLbool8 __glFillImage3D(GlContext *gc, GLsizei width, GLsizei height, GLsizei depth,
                        GLenum format, GLenum type, const void *pixels, GLubyte *dest) {
  return __glFillImageWithModes(&gc->pixel.unpackModes, width, height, depth, format, type,
                                pixels, dest);
}

GLbool8 __glFillImage(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                      const void *pixels, GLubyte *dest) {
  return __glFillImage3D(gc, width, height, 1, format, type, pixels, dest);
}
