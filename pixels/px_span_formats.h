// How the components of a colour format map to the R, G, B, A slots of an
// RGBA group: for each component in the format's order, the slots it fills
// (bit 0 red .. bit 3 alpha). Expansion, the colour transfer and reduction
// all read this one table.
#pragma once

#include <stdint.h>

struct GlSpanFormat {
  uint8_t components;
  uint8_t slots[4];
};

enum GlSpanFormatIndex {
  kFormatRed,
  kFormatGreen,
  kFormatBlue,
  kFormatAlpha,
  kFormatRGB,
  kFormatBGR,
  kFormatRGBA,
  kFormatABGR,
  kFormatBGRA,
  kFormatLuminance,
  kFormatLuminanceAlpha,
  kFormatRedAlpha,
  kFormatIntensity,
};

inline constexpr GlSpanFormat kSpanFormats[] = {
    {1, {0x1}},
    {1, {0x2}},
    {1, {0x4}},
    {1, {0x8}},
    {3, {0x1, 0x2, 0x4}},
    {3, {0x4, 0x2, 0x1}},
    {4, {0x1, 0x2, 0x4, 0x8}},
    {4, {0x8, 0x4, 0x2, 0x1}},
    {4, {0x4, 0x2, 0x1, 0x8}},
    {1, {0x7}},
    {2, {0x7, 0x8}},
    {2, {0x1, 0x8}},
    {1, {0xF}},
};

// The slot (0 red .. 3 alpha) a reduction takes a component from: the first
// slot the component fills.
constexpr int __glSpanFormatSlot(const GlSpanFormat &f, int component) {
  return __builtin_ctz(f.slots[component]);
}
