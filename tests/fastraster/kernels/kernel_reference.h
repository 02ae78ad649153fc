// A scalar model of the RGB colour-generation, pixel-generation and combine
// kernels and of the colour-index kernels, written
// straight from their rule tables: one position at a time, nothing shared
// with the kernel templates or the driver's tables. The kernel tests compare
// every filled slot against it.
#pragma once

#include <stdint.h>

namespace kref {

// Field widths and positions of R, G, B, and the stored pixel size.
struct Class {
  const char *name;
  uint8_t fbType;
  int bytes;
  int bits[3];
  int pos[3];
};
extern const Class kClasses[4];  // RGBa, RGB5, RGB4, RGB2
extern const Class kCI1;         // the 8-bit index buffer (bytes only)

int Ceiling(const Class &c, int comp);  // 256 - 2^(8 - bits)

// (S[a] + S[b] - S[a - b]) >> 1 with S[k] = floor(k * k / 255).
uint32_t Product(int a, int b);

// Everything a colour-generation kernel reads for one chunk.
struct GenInput {
  int32_t r, g, b, a, drdx, dgdx, dbdx, dadx;  // 16.16
  uint8_t env[4];                               // R, G, B, A
  uint8_t texel[32][4];  // the texel of chunk position i (R, G, B, A)
  uint32_t mask;
};
// Fills colors (32 entries of R, G, B, A bytes, the previous contents on
// entry) as the slot's rule says. `saturate`: Cf and Af limited to 0..255
// instead of taking the low 8 bits of the shifted iterator.
void GenColors(const Class &c, int slot, const GenInput &in, uint8_t colors[32][4],
               bool saturate = false);

// Everything a combine kernel reads for one chunk.
struct CombineInput {
  uint8_t colors[32][4];
  const uint32_t *ditherRow;
  uint32_t mask;
};
// Applies the slot's operation to the 32 pixels in dst (walk order: dst[i]
// is the pixel of chunk position i) and returns the dither row pointer as
// the kernel leaves it. `limit`: every field limited to its largest value.
const uint32_t *Combine(const Class &c, int slot, const CombineInput &in, uint32_t dst[32],
                        bool limit = false);

// Stores the slot's pixels into dst (walk order, the pixel of chunk
// position i in dst[i]; dead positions keep theirs) and returns the dither
// row pointer as the kernel leaves it. Iterators are saturated and every
// field limited to its largest value.
const uint32_t *GenPixels(const Class &c, int slot, const GenInput &in, uint32_t flatPixel,
                          const uint32_t *ditherRow, uint32_t dst[32]);

// The colour-index kernels: the index in `r`, its step in `drdx`, the texel
// byte of chunk position i in texel[i][3].
void CiGenColors(int slot, const GenInput &in, uint32_t colors[32]);
const uint32_t *CiGenPixels(int slot, const GenInput &in, uint32_t flatPixel,
                            const uint32_t *ditherRow, uint32_t dst[32]);
const uint32_t *CiCombine(int slot, const uint32_t colors[32], const uint32_t *ditherRow,
                          uint32_t mask, uint32_t dst[32]);

}  // namespace kref
