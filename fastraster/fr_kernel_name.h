// The names of the pre-built kernels: family prefix, class, an underscore
// and the slot in upper-case hexadecimal without leading zeros
// ("__glGenColorsRGB5_2F"). Dumps, traces and the picker's tests print
// them; they are computed, so no list of names can drift from the tables.
#pragma once

#include <stdint.h>

enum FrKernelFamily : uint8_t {
  FR_GEN_COLORS,      // colour generation
  FR_GEN_PIXELS,      // colour generation fused with the store
  FR_COMBINE_PIXELS,  // logic op, blend or copy onto the destination
};

struct FrKernelName {
  char text[40];
};

constexpr const char *FrKernelPrefix(FrKernelFamily family) {
  return family == FR_GEN_COLORS   ? "__glGenColors"
         : family == FR_GEN_PIXELS ? "__glGenPixels"
                                   : "__glCombinePixels";
}

// className is the class's own name ("RGBa", "RGB5", "RGB4", "RGB2", "CI1").
constexpr FrKernelName FrKernelNameOf(FrKernelFamily family, const char *className,
                                      uint32_t slot) {
  FrKernelName out{};
  int n = 0;
  for (const char *s = FrKernelPrefix(family); *s;) out.text[n++] = *s++;
  for (const char *s = className; *s && n < 30;) out.text[n++] = *s++;
  out.text[n++] = '_';
  int digits = 1;
  while (digits < 8 && (slot >> (4 * digits)) != 0) digits++;
  for (int d = digits - 1; d >= 0; d--) out.text[n++] = "0123456789ABCDEF"[(slot >> (4 * d)) & 0xF];
  return out;
}

constexpr bool FrSameText(const char *a, const char *b) {
  while (*a && *a == *b) a++, b++;
  return *a == *b;
}
static_assert(FrSameText(FrKernelNameOf(FR_GEN_COLORS, "RGB5", 0x2F).text, "__glGenColorsRGB5_2F"));
static_assert(FrSameText(FrKernelNameOf(FR_COMBINE_PIXELS, "RGBa", 0).text,
                         "__glCombinePixelsRGBa_0"));
