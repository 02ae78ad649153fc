// Internal: exact comparisons for the SiS 6326 drawing model. Coordinates
// are integers in units of 2^-24 pixel below 2^50, so products need 128 bits,
// which a 32-bit build has no type for.
#pragma once

#include <stdint.h>

namespace platform {

struct U128 {
  uint64_t hi, lo;
};

inline U128 Multiply(uint64_t a, uint64_t b) {
  uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (p00 & 0xFFFFFFFFu) | (middle << 32)};
}

inline int Sign(int64_t v) { return (v > 0) - (v < 0); }

inline uint64_t Magnitude(int64_t v) { return v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v); }

// The sign of a*b - c*d, exactly.
inline int CompareProducts(int64_t a, int64_t b, int64_t c, int64_t d) {
  int s1 = Sign(a) * Sign(b), s2 = Sign(c) * Sign(d);
  if (s1 != s2) return s1 > s2 ? 1 : -1;
  if (s1 == 0) return 0;
  U128 m1 = Multiply(Magnitude(a), Magnitude(b)), m2 = Multiply(Magnitude(c), Magnitude(d));
  int order = m1.hi != m2.hi ? (m1.hi > m2.hi ? 1 : -1) : m1.lo != m2.lo ? (m1.lo > m2.lo ? 1 : -1) : 0;
  return s1 > 0 ? order : -order;
}

}  // namespace platform
