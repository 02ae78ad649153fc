// The pixel layouts of the fast path, indexed by FrFbType, and the rules
// every kernel and store span uses to move between a pixel and 8-bit
// components: unpacking (a field's top bit becomes bit 7, low bits zero),
// packing (a component's top bits, truncated) and ordered dithering.
#pragma once

#include <stdint.h>

#include "fastraster/fr_pick.h"

// One colour field of a pixel; bits 0 means the layout has none.
struct FrField {
  uint8_t shift, bits;
};

struct FrPixelFormat {
  uint8_t bytes;  // 0: no fast-path layout has this code
  FrField red, green, blue, alpha;
};

// Indexed by the FR_FB_* code. The colour-index layout keeps its index in
// `red`.
inline constexpr FrPixelFormat kFrPixelFormats[14] = {
    {},
    /* FR_FB_CI8    */ {1, {0, 8}, {}, {}, {}},
    /* FR_FB_RGB332 */ {1, {5, 3}, {2, 3}, {0, 2}, {}},
    {},
    /* FR_FB_RGB555 */ {2, {10, 5}, {5, 5}, {0, 5}, {}},
    /* FR_FB_RGB565 */ {2, {11, 5}, {5, 6}, {0, 5}, {}},
    /* FR_FB_A1RGB5 */ {2, {10, 5}, {5, 5}, {0, 5}, {15, 1}},
    /* FR_FB_RGB8   */ {3, {16, 8}, {8, 8}, {0, 8}, {}},
    {},
    {},
    /* FR_FB_XRGB8  */ {4, {16, 8}, {8, 8}, {0, 8}, {}},
    {},
    {},
    /* FR_FB_ARGB8  */ {4, {16, 8}, {8, 8}, {0, 8}, {24, 8}},
};

// A field of `pixel` as an 8-bit component, left-aligned (5-bit 31 -> 248).
constexpr uint32_t FrUnpackField(uint32_t pixel, FrField f) {
  if (!f.bits) return 0;
  return ((pixel >> f.shift) & ((1u << f.bits) - 1)) << (8 - f.bits);
}
// An 8-bit component into its field: the top bits, in place.
constexpr uint32_t FrPackField(uint32_t c, FrField f) {
  if (!f.bits) return 0;
  return (c >> (8 - f.bits)) << f.shift;
}
// The largest unpacked value of a field: the clamp ceiling of blending.
constexpr uint32_t FrFieldCeiling(FrField f) { return f.bits ? (0xFF00u >> f.bits) & 0xFF : 0; }

struct FrRGBA {
  uint32_t r, g, b, a;
};

constexpr FrRGBA FrUnpack(const FrPixelFormat &f, uint32_t pixel) {
  return {FrUnpackField(pixel, f.red), FrUnpackField(pixel, f.green),
          FrUnpackField(pixel, f.blue), FrUnpackField(pixel, f.alpha)};
}
// Unused bits (bit 15 of RGB555, the top byte of XRGB8) come out 0.
constexpr uint32_t FrPack(const FrPixelFormat &f, FrRGBA c) {
  return FrPackField(c.r, f.red) | FrPackField(c.g, f.green) | FrPackField(c.b, f.blue) |
         FrPackField(c.a, f.alpha);
}

// Dithers component c (0..255) for a field of `bits` < 8 with dither entry d
// (matrix value x 4096): c - (c >> bits) + (d >> (8 + bits)), at most 255.
// The field then takes its top bits as in packing.
constexpr uint32_t FrDitherComponent(uint32_t c, uint32_t bits, uint32_t d) {
  return c - (c >> bits) + (d >> (8 + bits));
}
// A 16.16 colour index dithered: its integer part after adding d.
constexpr uint32_t FrDitherIndex(uint32_t index, uint32_t d) { return (index + d) >> 16; }
