// The ordered-dither matrix shared by the colour stores, the dithered
// clears and the fast pixel kernels: pixel (x, y) takes entry
// [4 * (y & 3) + (x & 3)].
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"

// 0 .. 15; a store rounds with the offset (2 * entry + 1) / 32.
extern const uint8_t __glDitherTable[16];
// (entry + 0.5) / 16 - 0.5: added before rounding to nearest, the same offset.
extern const GLfloat __glFloatDitherTable[16];
// 17 times the entry (0 .. 255): the fast pixel kernels add it to a
// component times its largest value and keep the top byte.
extern const int32_t __glIntDitherTable[16];
