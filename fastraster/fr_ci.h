// The colour-index kernels of an 8-bit index buffer: fused pixel kernels
// (generate the index and write it), colour kernels (16.16 indices into
// FrSpan.colors, then procs.afterColors) and combine kernels (logic op,
// optionally dithered, onto the buffer). Slots of the two 16-slot tables:
// 0x01 dither (pixel kernels only), 0x02 iterated index, 0x04 the texel
// byte replaces the index, 0x08 the texel byte is added to it; 0x0C-0x0F
// are empty. Combine slot: logic op - GL_CLEAR, + 0x10 when dithering.
#pragma once

#include <stdint.h>

#include "fastraster/fr_kernel_table.h"

constexpr bool FrCiColorMember(uint32_t slot) { return slot < 16 && (slot & 0x0C) != 0x0C; }

extern const FrKernelTable<16> __fr_ci_pix_table;
extern const FrKernelTable<16> __fr_ci_genclr_table;
extern const FrKernelTable<32> __fr_ci_combine_table;
