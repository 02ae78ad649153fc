// The fast path's constant tables: ordered dither, squares for the byte
// product, the blend table, chunk masks and bit mirroring. Each is built at
// compile time from its rule (fr_tables.cpp); kernels, store spans, filters
// and generated code (through data()) read them.
#pragma once

#include <stdint.h>

#include <array>

// The 4 x 4 ordered-dither matrix, values 0..15; [y & 3][x & 3].
inline constexpr uint8_t kFrDitherMatrix[4][4] = {
    {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Dither rows are 35 entries wide: a chunk starts at column x & 3 and reads
// 32 entries, so no row wraps inside a chunk.
#define FR_DITHER_ROW 35

// Left to right: entry [r][c] = M[r][c & 3] * 4096.
extern const std::array<uint32_t, 4 * FR_DITHER_ROW> __glFRDitherTable;
// Right to left (x negated): entry [r][c] = M[r][-c & 3] * 4096, so a pixel
// gets its own column's value whichever way it is walked.
extern const std::array<uint32_t, 4 * FR_DITHER_ROW> __glFRDitherTableRtoL;
// Both, indexed by the sign bit of FrSpan.direction.
extern const uint32_t *const __glFRDitherTables[2];

// Squares over 255, addressed from byte 256 by a signed index k:
// [256 + k] = floor(k * k / 255) for k = -255..255, [0] = 0.
extern const std::array<uint8_t, 512> __glSquareTable;
// The same shape over 510: [256 + k] = floor(k * k / 510), k = -256..255.
extern const std::array<uint8_t, 512> __glSquareTable2;
// [a * 256 + b] = floor(a * b / 255).
extern const std::array<uint8_t, 65536> __glBlendTab;

// [n] has the top n bits set (n = 0..32): the mask of a chunk of n pixels.
extern const std::array<uint32_t, 33> __glFRMaskTable;
// [b] = b with its bit order reversed.
extern const std::array<uint8_t, 256> __glMsbToLsbTable;

// floor(k * k / d), the rule of both square tables.
constexpr uint8_t FrSquareOver(int32_t k, int32_t d) { return uint8_t(k * k / d); }

// The byte product P(a, b) for a, b in 0..255: (S[a] + S[b] - S[a - b]) >> 1
// over __glSquareTable. Every kernel, store span and texel filter of the
// fast path multiplies two bytes through it, so their results agree bit for
// bit. Within one of floor(a * b / 255); P(x, 255) = x.
inline uint32_t __glFRProduct(uint32_t a, uint32_t b) {
  const uint8_t *s = __glSquareTable.data() + 256;
  return (uint32_t(s[a]) + s[b] - s[int32_t(a) - int32_t(b)]) >> 1;
}

// A mask computed in screen order (bit 31 = leftmost pixel) turned into the
// walk order of a right-to-left span: the whole word mirrored.
inline uint32_t __glFRMirrorMask(uint32_t mask) {
  return uint32_t(__glMsbToLsbTable[mask >> 24]) |
         uint32_t(__glMsbToLsbTable[(mask >> 16) & 0xFF]) << 8 |
         uint32_t(__glMsbToLsbTable[(mask >> 8) & 0xFF]) << 16 |
         uint32_t(__glMsbToLsbTable[mask & 0xFF]) << 24;
}
