#include "tests/fastraster/agreement/agreement_texture.h"

#include <math.h>
#include <stdlib.h>

#include <algorithm>

#include "tests/raster/scene/scene_builders.h"

namespace agreement {
namespace {

bool NearestKind(GLenum filter) {
  return filter == GL_NEAREST || filter == GL_NEAREST_MIPMAP_NEAREST ||
         filter == GL_NEAREST_MIPMAP_LINEAR;
}

// The largest difference of a byte between neighbouring texels of level 0,
// the repeat wrap's neighbours included, for the bilinear bound.
int LargestStep(uint32_t seed) {
  const std::vector<uint8_t> t = SceneTexels(seed, 0);
  const int32_t n = kTextureSize;
  int most = 0;
  for (int32_t y = 0; y < n; y++)
    for (int32_t x = 0; x < n; x++)
      for (int32_t ch = 0; ch < 4; ch++) {
        const int here = t[size_t(4 * (y * n + x) + ch)];
        const int right = t[size_t(4 * (y * n + (x + 1) % n) + ch)];
        const int below = t[size_t(4 * ((y + 1) % n * n + x) + ch)];
        most = std::max({most, abs(here - right), abs(here - below)});
      }
  return most;
}

}  // namespace

std::vector<uint8_t> SceneTexels(uint32_t seed, int32_t level) {
  scene_test::SceneRandom rnd(seed * 7 + 3);
  std::vector<uint8_t> texels;
  for (int32_t l = 0, s = kTextureSize; l <= level; l++, s /= 2) {
    texels.assign(size_t(s * s * 4), 0);
    for (uint8_t &t : texels) t = uint8_t(rnd.Next() >> 8);
  }
  return texels;
}

std::vector<ColorAllowance> TextureAllowances(const AgreementCase &c,
                                              const scene_test::SceneTarget &target,
                                              std::vector<bool> *skip) {
  const TextureState &tex = c.texture;
  // How far the fast path's sample point may be from the exact one, in
  // normalised units: rounding of the start, the row steps and the pixel
  // steps over the largest triangle the window holds, a little for the
  // generic path's single-precision walk, and the 16-pixel segments of the
  // perspective walk (q is 1, so their chords are straight).
  const double bound = (2 + target.width + target.height) * ldexp(1.0, -17) + ldexp(1.0, -14) +
                       16 * ldexp(1.0, -17);
  const double e = bound * kTextureSize;  // in level-0 texels, both axes
  ColorAllowance al;
  // The texture functions' rounding: one field unit, two where a truncated
  // byte product meets another (modulate, and blend's two products).
  al.units = tex.env == GL_MODULATE || tex.env == GL_BLEND ? 2 : 1;
  const bool nearest = NearestKind(tex.minFilter) || NearestKind(tex.magFilter);
  const bool linear = !NearestKind(tex.minFilter) || !NearestKind(tex.magFilter);
  // Bilinear weights may move by the bound on both axes, and the filters
  // truncate.
  if (linear) al.slack8 += 2 * e * LargestStep(c.seed) + 1;
  // Blending two levels: the 8-bit fraction's truncation and two products.
  if (tex.minFilter == GL_NEAREST_MIPMAP_LINEAR || tex.minFilter == GL_LINEAR_MIPMAP_LINEAR)
    al.slack8 += 4;
  std::vector<ColorAllowance> out(size_t(target.width * target.height), al);
  if (!nearest) return out;
  // Level 0's texel boundaries include every smaller level's.
  const auto nearBoundary = [e](double p) { return fabs(p - floor(p + 0.5)) <= e; };
  for (int32_t row = 0; row < target.height; row++) {
    // The pixel centre in GL window coordinates.
    const double y = target.yInverted ? target.height - target.epsilon - (row + 0.5) : row + 0.5;
    const double v = y / 12 * kTextureSize;
    for (int32_t x = 0; x < target.width; x++) {
      const double u = (x + 0.5) / 16 * kTextureSize;
      if (nearBoundary(u) || nearBoundary(v)) (*skip)[size_t(row * target.width + x)] = true;
    }
  }
  return out;
}

}  // namespace agreement
