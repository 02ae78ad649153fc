// The ordered-dither matrix and the forms the stores and kernels read.
#include "raster/s_dither.h"

// Rows y & 3, columns x & 3.
// clang-format off
#define DITHER_MATRIX(X) \
  X(0)  X(8)  X(2)  X(10) \
  X(12) X(4)  X(14) X(6)  \
  X(3)  X(11) X(1)  X(9)  \
  X(15) X(7)  X(13) X(5)
// clang-format on

#define PLAIN_DITHER(d) d,
const uint8_t __glDitherTable[16] = {DITHER_MATRIX(PLAIN_DITHER)};
#undef PLAIN_DITHER

#define FLOAT_DITHER(d) ((GLfloat(d) + 0.5f) / 16.0f - 0.5f),
const GLfloat __glFloatDitherTable[16] = {DITHER_MATRIX(FLOAT_DITHER)};
#undef FLOAT_DITHER

// 17 spreads 0 .. 15 over 0 .. 255.
#define INT_DITHER(d) 17 * (d),
const int32_t __glIntDitherTable[16] = {DITHER_MATRIX(INT_DITHER)};
#undef INT_DITHER
