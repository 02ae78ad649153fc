// The RGB pixel-generation kernels: the fused last spanlet of a chain that
// computes the colour of every live pixel of a chunk (flat or iterated,
// combined with its texel, dithered or not) and stores the packed pixel
// straight into the draw buffer. One table of 64 slots per class, indexed
// by the colour key: bit 0x01 dither, 0x02 iterated colour, 0x3C texture
// code (fr_texenv.h; code 8 is untextured like 0, 14 and 15 do nothing).
#pragma once

#include <stdint.h>

#include "fastraster/fr_kernel_table.h"

// Texture codes 2, 6 and 7 have no kernel; every other slot is filled.
constexpr bool FrGenPixMember(uint32_t slot) {
  const uint32_t code = slot >> 2;
  return slot < 64 && code != 2 && code != 6 && code != 7;
}

extern const FrKernelTable<64> __fr_rgb_pix_2;  // RGB332
extern const FrKernelTable<64> __fr_rgb_pix_4;  // RGB555
extern const FrKernelTable<64> __fr_rgb_pix_5;  // RGB565
extern const FrKernelTable<64> __fr_rgb_pix_a;  // XRGB8

// Slots 0x38-0x3F of every class: returns at once, writes and calls nothing.
void GLFASTCALL __glGenPixelsNothing(uint32_t mask, FrSpan *span);

// By FrFbType: the class's table (entry 1 the colour-index pixel kernels),
// null where the fast path has none, RGB8 included.
extern const FrSpanletProc *const __glGenPixTab[16];
