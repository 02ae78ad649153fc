// The RGB combine kernels: the last spanlet of a chain that merges the
// generated colours (FrSpan.colors) with the stored pixels by a logic op or
// one of five blend factor pairs, or copies them, optionally dithered. One
// table of 128 slots per class, indexed by the combine key: 0x0F logic op
// (GL_CLEAR = 0) or, with 0x20, blend pair code (source 0, 4, 8 plus
// destination 0..3); 0x10 dither; 0x20 blend; 0x40 alpha test or blend,
// which changes nothing in a kernel.
#pragma once

#include <stdint.h>

#include "fastraster/fr_kernel_table.h"

// Blend pairs with kernels: source code + destination code.
#define FR_BLEND_SRC_ALPHA_ZERO 0x0                 // GL_SRC_ALPHA, GL_ZERO
#define FR_BLEND_SRC_ALPHA_ONE 0x1                  // GL_SRC_ALPHA, GL_ONE
#define FR_BLEND_SRC_ALPHA_ONE_MINUS_SRC_ALPHA 0x3  // GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA
#define FR_BLEND_ONE_MINUS_SRC_ALPHA_SRC_ALPHA 0x6  // GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA
#define FR_BLEND_SATURATE_ONE 0x9                   // GL_SRC_ALPHA_SATURATE, GL_ONE

constexpr bool FrCombineMember(uint32_t slot) {
  if (slot >= 128) return false;
  if (!(slot & 0x20)) return (slot & 0x40) || slot < 0x20;  // logic ops, 0x40 twins
  if (!(slot & 0x40)) return false;                        // blending always sets 0x40
  const uint32_t pair = slot & 0x0F;
  return pair == FR_BLEND_SRC_ALPHA_ZERO || pair == FR_BLEND_SRC_ALPHA_ONE ||
         pair == FR_BLEND_SRC_ALPHA_ONE_MINUS_SRC_ALPHA ||
         pair == FR_BLEND_ONE_MINUS_SRC_ALPHA_SRC_ALPHA || pair == FR_BLEND_SATURATE_ONE;
}

extern const FrKernelTable<128> __fr_rgb_combine_2;  // RGB332
extern const FrKernelTable<128> __fr_rgb_combine_4;  // RGB555
extern const FrKernelTable<128> __fr_rgb_combine_5;  // RGB565
extern const FrKernelTable<128> __fr_rgb_combine_a;  // XRGB8

// By FrFbType: the class's table, null where the fast path has none; entry
// 1 (colour index) holds the colour-index kernels (fr_ci.h).
extern const FrSpanletProc *const __glCombineTab[16];
