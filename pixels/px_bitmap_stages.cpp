// Bitmaps in the span chains: one float per bit (1.0 set, 0.0 clear) from
// the start bit of the first byte on, and back into bits. The bit order
// decides which bit of a byte comes first: the least significant with
// lsbFirst, else the most significant.
#include "core/context.h"
#include "core/gl_convert.h"
#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"

namespace {

// The mask of bit position k (0 = first) of a byte.
uint8_t BitMask(uint32_t lsbFirst, int k) {
  return lsbFirst ? uint8_t(1u << k) : uint8_t(0x80u >> k);
}

// Calls take(bit set) for each of `count` bits from the start bit on.
template <typename Take>
void WalkBits(const GlPixelSpanInfo *info, const void *in, int32_t count, Take take) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  int k = info->srcStartBit;
  for (int32_t i = 0; i < count; i++) {
    take((*s & BitMask(info->srcLsbFirst, k)) != 0);
    if (++k == 8) k = 0, s++;
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanUnpackBitmap2) {
  GLfloat *d = static_cast<GLfloat *>(out);
  const GLfloat one = gc->constants.one;
  WalkBits(info, in, info->spanWidth, [&d, one](bool set) { *d++ = set ? one : 0.0f; });
}

// Walks the width source bits: the first is always taken; each later one
// lies run[k] bits after the one taken before it.
__GL_SPAN_STAGE(__glSpanUnpackBitmap) {
  GLfloat *d = static_cast<GLfloat *>(out);
  const GLfloat one = gc->constants.one;
  const int16_t *run = info->pixelArray;
  int32_t countdown = 1;
  WalkBits(info, in, info->width, [&](bool set) {
    if (--countdown != 0) return;
    *d++ = set ? one : 0.0f;
    countdown = *run++;
  });
}

// Bytes wholly covered by the span are written outright; the first and last
// are read and only the span's bits changed.
__GL_SPAN_STAGE(__glSpanPackBitmap) {
  const GLfloat *s = static_cast<const GLfloat *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  const uint32_t lsbFirst = info->dstLsbFirst;
  int k = info->dstStartBit;
  int32_t left = info->spanWidth;
  while (left > 0) {
    uint8_t bits = 0, covered = 0;
    for (; k < 8 && left > 0; k++, left--) {
      const uint8_t mask = BitMask(lsbFirst, k);
      covered |= mask;
      if (__glTruncateToInt64(*s++) & 1) bits |= mask;
    }
    *d = covered == 0xFF ? bits : uint8_t((*d & ~covered) | bits);
    d++;
    k = 0;
  }
}
