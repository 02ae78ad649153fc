// A scalar model of the fast path's texel filters on a FilterTexture of
// RGBA8 texels: every tap read from the stored bytes (border included) or
// the border colour, the bilinear weights as exact integer products of the
// 1/65535 fractions, the sum of byte-to-float values times weights exact
// (128-bit integers) and floored once, and the level blend through its own
// square table. Coordinates are 64-bit, so that scaling never overflows.
#pragma once

#include <stdint.h>

#include <array>

#include "tests/pixels/tex_filters/filter_fixture.h"

namespace tex_ref {

typedef std::array<uint8_t, 4> Texel;

// k x (1/255) in single precision, the rule of constants.uByteToFloat.
float ByteToFloat(uint8_t k);
// The byte product (S[a] + S[b] - S[a - b]) >> 1 with S[k] = k^2 / 255.
uint32_t Product(uint32_t a, uint32_t b);

class Model {
 public:
  Model(FilterTexture &t, int32_t border) : t_(t), border_(border) {}

  // The texel at interior (row, col) of level n, or what lies outside.
  Texel At(int32_t n, int32_t row, int32_t col) const;
  // Level n at texel units (16.16, unbounded).
  Texel Nearest(int32_t n, int64_t s, int64_t t) const;
  Texel Linear(int32_t n, int64_t s, int64_t t) const;
  // Normalised coordinates scaled into level n.
  Texel Sample(bool linear, int32_t n, int32_t s, int32_t t) const;
  // The mipmap filters for a 16.16 lambda.
  Texel NearestLevel(bool linear, uint32_t lod, int32_t s, int32_t t) const;
  Texel BlendLevels(bool linear, uint32_t lod, int32_t s, int32_t t) const;

 private:
  FilterTexture &t_;
  int32_t border_;
};

}  // namespace tex_ref
