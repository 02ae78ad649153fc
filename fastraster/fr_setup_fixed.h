// The number tricks of the pre-built set-up. Window coordinates carry a bias
// of 6144 and, half a pixel added, lie in [4096, 8192), where a float has 11
// fraction bits: integer parts and fractions come straight from the bits.
// Float-to-fixed conversions add 1.5 x 2^36 (16.16) or 1.5 x 2^52 (integer)
// in double precision, which rounds to nearest and leaves the result in the
// low word, wrapped.
#pragma once

#include <stdint.h>
#include <string.h>

inline uint32_t FrFloatBits(float f) {
  uint32_t u;
  memcpy(&u, &f, 4);
  return u;
}
inline float FrBitsFloat(uint32_t u) {
  float f;
  memcpy(&f, &u, 4);
  return f;
}

// The depth scale of a 16-bit buffer.
constexpr uint32_t kFrDepthScale16 = 0xFFFF0000u;

// The bits of 4096.0 and of the width of [4096, 8192) in them.
constexpr uint32_t kFrRangeStart = 0x45800000u;
constexpr uint32_t kFrRangeWidth = 0x00800000u;

// A shifted coordinate lies in [4096, 8192); NaN, infinities and negative
// values do not.
inline bool FrInRange(float shifted) { return FrFloatBits(shifted) - kFrRangeStart < kFrRangeWidth; }
// Down to a multiple of 1/16 (within the range).
inline float FrSnap(float shifted) { return FrBitsFloat(FrFloatBits(shifted) & ~0x7Fu); }
// On a top-down drawable the viewport puts window y one float step (1/2048,
// the viewport epsilon) below its place on the grid, which keeps the
// drawable's last row inside it. Snapping y down would move such a vertex a
// whole 1/16 and every edge with it; instead y goes to the grid shifted by
// that step, where the generic fill's rows and edges lie. May leave the range
// at its low end: callers check the result.
inline float FrSnapTopDown(float shifted) {
  return FrBitsFloat(((FrFloatBits(shifted) + 1u) & ~0x7Fu) - 1u);
}
// floor(v) - 6144 for v in [4096, 8192).
inline int32_t FrIntegerPart(float shifted) {
  return int32_t((FrFloatBits(shifted) >> 11) & 0xFFF) - 2048;
}
// f in (-1, 1) as a signed 0.31 number with 22 significant bits.
inline uint32_t FrFraction31(float f) { return (FrFloatBits(f + 3.0f) << 9) ^ 0x80000000u; }

inline uint32_t FrLowWord(double v, double magic) {
  const double sum = v + magic;
  uint64_t bits;
  memcpy(&bits, &sum, 8);
  return uint32_t(bits);
}
// Rounded to nearest as 16.16 fixed point.
inline int32_t FrFixed16(float v) { return int32_t(FrLowWord(v, 103079215104.0)); }
// Rounded to the nearest integer (wrapped to 32 bits).
inline uint32_t FrInteger(float v) { return FrLowWord(v, 6755399441055744.0); }
