// The block fills every clear ends in: 32-bit words (the MMX fill on MMX
// processors), and 16-bit and 8-bit units reduced to words with their
// unaligned heads and tails written singly.
#include <stdint.h>
#include <string.h>

#include "codegen/og_fill.h"
#include "core/context.h"
#include "raster/s_clear.h"

namespace {

inline void Store32(uint8_t *p, uint32_t v) { memcpy(p, &v, 4); }
inline void Store16(uint8_t *p, uint16_t v) { memcpy(p, &v, 2); }

// Whether {value, value} survives a 64-bit floating-point load and store:
// zero, or a normal number that is not a NaN or infinity.
bool SurvivesAsDouble(uint32_t value) {
  const uint32_t exponent = value & 0x7FF00000u;
  return value == 0 || (exponent >= 0x00100000u && exponent <= 0x7FC00000u);
}

// One 32-bit store to reach 8-byte alignment, then pairs of words, then the
// odd word left.
uint8_t *FillWide(uint8_t *p, uint32_t words, uint32_t value) {
  if (reinterpret_cast<uintptr_t>(p) & 7) {
    Store32(p, value);
    p += 4;
    words--;
  }
  const uint64_t pair = (uint64_t(value) << 32) | value;
  for (uint32_t n = words / 2; n; n--, p += 8) memcpy(p, &pair, 8);
  if (words & 1) {
    Store32(p, value);
    p += 4;
  }
  return p;
}

// The odd words first, then groups of eight.
uint8_t *FillWords(uint8_t *p, uint32_t words, uint32_t value) {
  for (uint32_t n = words & 7; n; n--, p += 4) Store32(p, value);
  for (uint32_t n = words >> 3; n; n--, p += 32)
    for (int i = 0; i < 8; i++) Store32(p + 4 * i, value);
  return p;
}

// A contiguous block small enough to count in one word is one row.
bool OneRun(int32_t width, int32_t height, int32_t skip) {
  return skip == 0 && uint64_t(width) * uint64_t(height) <= 0x3FFFFFFFu;
}

}  // namespace

void __glI386MemClear4(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
                       uint32_t value) {
  const bool empty = width <= 0 || height <= 0;
  if (__glMMXFillRect(gc, dst, empty ? 0 : uint32_t(width), empty ? 0 : uint32_t(height),
                      uint32_t(skip), value))
    return;
  if (empty) return;
  uint8_t *p = static_cast<uint8_t *>(dst);
  uint32_t words = uint32_t(width), rows = uint32_t(height);
  if (OneRun(width, height, skip)) {
    words *= rows;
    rows = 1;
  }
  const bool wide = SurvivesAsDouble(value);
  for (; rows; rows--) {
    p = wide ? FillWide(p, words, value) : FillWords(p, words, value);
    p += skip;
  }
}

void __glI386MemClear2(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
                       uint16_t value) {
  if (width <= 0 || height <= 0) return;
  const uint32_t word = uint32_t(value) | (uint32_t(value) << 16);
  uint8_t *p = static_cast<uint8_t *>(dst);
  if (OneRun(width, height, skip)) {
    uint32_t pixels = uint32_t(width) * uint32_t(height);
    if (reinterpret_cast<uintptr_t>(p) & 3) {
      Store16(p, value);
      p += 2;
      pixels--;
    }
    if (pixels & 1) {
      Store16(p + 2 * (pixels - 1), value);
      pixels--;
    }
    if (pixels) __glI386MemClear4(gc, p, int32_t(pixels / 2), 1, 0, word);
    return;
  }
  const int32_t rowBytes = 2 * width + skip;
  // A misaligned first pixel and an odd last one of every row go singly;
  // the rows narrow and the skip grows by what they took.
  if (reinterpret_cast<uintptr_t>(p) & 3) {
    for (int32_t y = 0; y < height; y++) Store16(p + y * rowBytes, value);
    p += 2;
    width--;
    skip += 2;
  }
  if (width & 1) {
    for (int32_t y = 0; y < height; y++) Store16(p + y * rowBytes + 2 * (width - 1), value);
    width--;
    skip += 2;
  }
  if (width > 0) __glI386MemClear4(gc, p, width / 2, height, skip, word);
}

// The bytes before the first whole word and after the last one are stored
// singly: merging them into their words would rewrite bytes outside the
// block, which may be another window's pixels or lie outside the memory.
void __glI386MemClear1(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
                       uint8_t value) {
  if (width <= 0 || height <= 0) return;
  const uint32_t word = value * 0x01010101u;
  uint8_t *p = static_cast<uint8_t *>(dst);
  uint32_t run = uint32_t(width), rows = uint32_t(height);
  if (OneRun(width, height, skip)) {
    run *= rows;
    rows = 1;
  }
  for (; rows; rows--, p += run + skip) {
    if (run < 4) {
      memset(p, value, run);
      continue;
    }
    const uint32_t head = (4 - (reinterpret_cast<uintptr_t>(p) & 3)) & 3;
    const uint32_t words = (run - head) / 4;
    const uint32_t tail = run - head - 4 * words;
    for (uint32_t i = 0; i < head; i++) p[i] = value;
    __glI386MemClear4(gc, p + head, int32_t(words), 1, 0, word);
    for (uint32_t i = 0; i < tail; i++) p[head + 4 * words + i] = value;
  }
}
