// Blended scenes through the MMX body (installed by hand: the picker sends
// it only five pairs) and through the generic path, over a background of
// cleared columns that both paths share exactly, so that the destination
// the blend reads is the same pixel for pixel.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace blend_test {

using scene_test::Image;
using scene_test::SceneState;
using scene_test::SceneStep;
using span_test::Path;

// The factors glBlendFunc accepts on either side.
extern const std::vector<GLenum> kSourceFactors;
extern const std::vector<GLenum> kDestFactors;
// The pairs the picker admits to the fast path.
struct Pair {
  GLenum src, dst;
};
extern const std::vector<Pair> kAdmittedPairs;

std::string FactorName(GLenum f);

// A scene state that blends with the two factors.
SceneState Blended(GLenum src, GLenum dst, bool smooth = true);

class BlendTest : public mmx_test::MmxBodyTest {
 protected:
  // Clears, paints the background columns, then draws every step through
  // `path`.
  Image DrawBlend(Path path, const std::vector<SceneStep> &steps);
  // Every pixel of `gen` within `tolerance` units per channel of
  // `generic`, except those within an eighth of a pixel of an edge of a
  // step's triangle, where the two setups may decide coverage apart.
  void ExpectNear(const Image &gen, const Image &generic, const std::vector<SceneStep> &steps,
                  int64_t tolerance, const std::string &what);
  // The background colour of pixel (x, row) as the clear stored it.
  uint32_t Background(int32_t x, int32_t row) const { return background_[size_t(row) * size_t(scene_test::kWidth) + size_t(x)]; }

 private:
  std::vector<uint32_t> background_;
};

// Blended triangles walked in both directions, with alpha from 0 to 1
// across them and spans starting in every lane. They do not overlap: each
// blends with the shared background, so that a difference of one unit in
// one triangle never becomes the destination of the next.
std::vector<SceneStep> BlendLayers(const SceneState &s);

}  // namespace blend_test
