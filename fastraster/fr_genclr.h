// The RGB colour-generation kernels: spanlets that write the colour of every
// live pixel of a chunk into FrSpan.colors (texel combined with the flat or
// iterated colour by the texture function, and A when asked for) and hand
// the chunk on unchanged to procs.afterColors. One table of 64 slots per
// class, indexed by the colour key: bit 0x01 write A, 0x02 iterated colour,
// 0x3C texture code (fr_texenv.h).
#pragma once

#include <stdint.h>

#include "fastraster/fr_kernel_table.h"
#include "fastraster/fr_texenv.h"

// A slot holds a kernel when its texture code has one; the alpha-texture
// codes (texel entry of one byte) only with bit 0x01. Slots 0x14-0x17
// (code 5) and 0x34, 0x36 (code 13 without A) are filled but never picked:
// code 5 blends as code 4, and 0x34, 0x36 blend as code 13, leaving A.
constexpr bool FrGenColorMember(uint32_t slot) {
  const FrTexCode &code = kFrTexCodes[(slot >> 2) & 15];
  return slot < 64 && code.color != FrColorRule::kNone && (code.texelBytes != 1 || (slot & 1));
}

extern const FrKernelTable<64> __fr_rgb_genclr_2;  // RGB332
extern const FrKernelTable<64> __fr_rgb_genclr_4;  // RGB555
extern const FrKernelTable<64> __fr_rgb_genclr_5;  // RGB565
extern const FrKernelTable<64> __fr_rgb_genclr_a;  // XRGB8 and RGB8

// By FrFbType: the class's table, null where the fast path has none; entry
// 1 (colour index) holds the colour-index kernels (fr_ci.h).
extern const FrSpanletProc *const __glGenColorTab[16];
