// A scalar model of the software texture sampler, written from the OpenGL
// 1.1 texture rules and the driver's rounding, independent of its filters:
// the switch-over value, lambda as half a piecewise-linear log2 of rho,
// the level choice of the four mipmap filters, nearest texels by truncation,
// linear taps round u - 0.5 with GL_REPEAT or GL_CLAMP (taps outside a
// borderless level take the border colour), weights in single precision
// summed in extended precision and truncated.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <array>
#include <vector>

#include "core/gl_defs.h"

namespace tex_draw_test {

using Texel = std::array<uint8_t, 4>;  // R, G, B, A

struct ModelLevel {
  int32_t width = 0, height = 0;
  std::vector<Texel> texels;  // row-major, row 0 first
  const Texel &At(int32_t row, int32_t col) const { return texels[size_t(row * width + col)]; }
};

struct ModelTexture {
  std::vector<ModelLevel> levels;  // level 0 first, down to 1 x 1 when mipmapped
  GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR, magFilter = GL_LINEAR;
  GLenum wrapS = GL_REPEAT, wrapT = GL_REPEAT;
  Texel border = {0, 0, 0, 0};
};

// Level k of `side` >> k texels a side, texel (row, col) from `texel`.
template <typename F>
ModelLevel MakeLevel(int32_t width, int32_t height, F texel) {
  ModelLevel l;
  l.width = width, l.height = height;
  for (int32_t row = 0; row < height; row++)
    for (int32_t col = 0; col < width; col++) l.texels.push_back(texel(row, col));
  return l;
}

// Half the piecewise-linear log2 of rho (rho > 1), in single precision;
// a value past every level for NaN or rho beyond the integer range.
float ModelLambda(float rho);

// The bytes handed to the environment for a fragment at s, t with level of
// detail rho.
Texel ModelSample(const ModelTexture &tex, float s, float t, float rho);

}  // namespace tex_draw_test
