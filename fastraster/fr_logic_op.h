// The sixteen logic ops by code (GL_CLEAR = 0 .. GL_SET = 15) over whole
// words, as templates so that a kernel's op is fixed at compile time. The
// RGB and colour-index combine kernels share them; the caller keeps the
// pixel's width.
#pragma once

#include <stdint.h>

template <unsigned Op>
inline uint32_t FrLogicOp(uint32_t src, uint32_t dst) {
  static_assert(Op < 16);
  switch (Op) {
    case 0: return 0;
    case 1: return src & dst;
    case 2: return src & ~dst;
    case 3: return src;
    case 4: return ~src & dst;
    case 5: return dst;
    case 6: return src ^ dst;
    case 7: return src | dst;
    case 8: return ~(src | dst);
    case 9: return ~(src ^ dst);
    case 10: return ~dst;
    case 11: return src | ~dst;
    case 12: return ~src;
    case 13: return ~src | dst;
    case 14: return ~(src & dst);
    default: return ~0u;
  }
}

// CLEAR, NOOP, INVERT and SET ignore the source: a kernel for them neither
// reads the colours nor the dither row.
constexpr bool FrLogicOpIgnoresSource(unsigned op) {
  return op == 0 || op == 5 || op == 10 || op == 15;
}
