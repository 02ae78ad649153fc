// What a textured scene may differ by between two triangle paths: the
// bounds the textured-triangle comparison of the fast path
// (tests/fastraster/tex_scene) derives from its arithmetic, applied to the
// agreement scenes' texture mapping (s = x / 16, t = y / 12 in GL window
// coordinates, q = 1, an 8 x 8 texture with its levels).
#pragma once

#include <stdint.h>

#include <vector>

#include "tests/fastraster/agreement/agreement_cases.h"
#include "tests/raster/scene/scene_reference.h"

namespace agreement {

// A pixel's colour allowance: `units` in the last place of each field,
// plus `slack8` on the 8-bit scale.
struct ColorAllowance {
  int units = 1;
  double slack8 = 0;
};

// The texels the agreement scenes load at `level` of the 8 x 8 texture
// (RGBA bytes, row by row), from the scene's seed.
constexpr int32_t kTextureSize = 8;
std::vector<uint8_t> SceneTexels(uint32_t seed, int32_t level);

// Per memory pixel: the colour allowance of the textured case `c`, and in
// `skip` the pixels whose nearest-filtered sample lies closer to a texel
// boundary than the paths' coordinates may be apart.
std::vector<ColorAllowance> TextureAllowances(const AgreementCase &c,
                                              const scene_test::SceneTarget &target,
                                              std::vector<bool> *skip);

}  // namespace agreement
