// Internal: how the pixels of a bitmap or of the screen are laid out, and the
// conversion of one pixel to and from 0xAARRGGBB. Every GDI copy between two
// different layouts goes through here, as does reading the screen back.
#pragma once

#include <stdint.h>

#include "platform/gdi.h"

namespace platform {

struct PixelLayout {
  int bitCount = 0;           // 1, 4, 8, 16, 24 or 32
  uint32_t masks[3] = {};     // red, green, blue for 16 and 32 bits
  const RGBQUAD *colors = nullptr;  // the colour table for 8 bits or fewer
  int colorCount = 0;
};

// True when a row of `a` can be copied byte for byte into `b`.
bool SameLayout(const PixelLayout &a, const PixelLayout &b);

// A pixel of a row as 0xFFRRGGBB (alpha always 0xFF).
uint32_t ReadArgb(const uint8_t *row, int x, const PixelLayout &layout);
// Writes the colour; layouts with a colour table take the nearest entry.
void WriteArgb(uint8_t *row, int x, const PixelLayout &layout, uint32_t argb);

// Raw pixel values: palette indices, or the packed word.
uint32_t ReadRaw(const uint8_t *row, int x, int bitCount);
void WriteRaw(uint8_t *row, int x, int bitCount, uint32_t value);

// The entry of `colors` closest to the colour (squared distance, first wins).
int NearestColor(const RGBQUAD *colors, int count, uint32_t argb);

// The colour of a channel that a mask selects, widened to 8 bits by
// repeating its high bits (5 bits 0x1F give 0xFF).
uint32_t Widen(uint32_t value, uint32_t mask);

// Bytes of one row of `width` pixels padded to 4 bytes, or 0 on overflow.
uint32_t DwordRowBytes(int width, int bitCount);

}  // namespace platform
