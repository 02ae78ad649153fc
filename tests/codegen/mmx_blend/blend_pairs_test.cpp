// The MMX body's blending against the generic path's, over a background
// both share: the five pairs the picker admits on every 8- and 16-bit
// format, flat and smooth, dithered and not, and every other pair that
// glBlendFunc accepts; and the rules at the ends of the ranges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_blend/blend_fixture.h"

namespace blend_test {
namespace {

using scene_test::Tri;
using scene_test::V;

std::vector<const ColorFormat *> Formats() {
  return {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2]};
}

std::string Name(const ColorFormat &f, GLenum src, GLenum dst, bool smooth, bool dith) {
  return std::string(f.name) + ", " + FactorName(src) + " / " + FactorName(dst) +
         (smooth ? ", smooth" : ", flat") + (dith ? ", dithered" : "");
}

// Colour factors take the channel at top bit 14 halved, which counts a
// channel in max + 1 steps rather than max: a full channel is
// max / (max + 1). A product x times such a factor is off by at most
// x / (max + 1), less than one unit, on top of the unit that truncation,
// the generic path's rounding and the dither may part by. Alpha and
// constant factors are exact to 1/256.
bool ColorFactor(GLenum f) {
  return f == GL_SRC_COLOR || f == GL_ONE_MINUS_SRC_COLOR || f == GL_DST_COLOR ||
         f == GL_ONE_MINUS_DST_COLOR;
}

int64_t Tolerance(GLenum src, GLenum dst) { return 1 + ColorFactor(src) + ColorFactor(dst); }

TEST_F(BlendTest, AdmittedPairsDrawAsTheGenericPath) {
  for (const ColorFormat *f : Formats()) {
    ASSERT_TRUE(OpenMmx(*f, 16));
    for (const Pair &p : kAdmittedPairs)
      for (bool smooth : {false, true})
        for (bool dith : {false, true}) {
          dither = dith;
          const std::vector<SceneStep> steps = BlendLayers(Blended(p.src, p.dst, smooth));
          ExpectNear(DrawBlend(Path::kGenerated, steps), DrawBlend(Path::kGeneric, steps), steps,
                     1, Name(*f, p.src, p.dst, smooth, dith));
        }
    Close();
  }
}

TEST_F(BlendTest, EveryAcceptedPairDrawsAsTheGenericPath) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]}) {
    ASSERT_TRUE(OpenMmx(*f, 16));
    for (bool dith : {false, true})
      for (GLenum src : kSourceFactors)
        for (GLenum dst : kDestFactors) {
          dither = dith;
          const std::vector<SceneStep> steps = BlendLayers(Blended(src, dst, true));
          ExpectNear(DrawBlend(Path::kGenerated, steps), DrawBlend(Path::kGeneric, steps), steps,
                     Tolerance(src, dst), Name(*f, src, dst, true, dith));
        }
    Close();
  }
}

// One flat triangle over the whole window in a known colour and alpha.
std::vector<SceneStep> Cover(const SceneState &s, double r, double g, double b, double a) {
  return {Tri(s, V(-1, -1, 0.5, r, g, b, a), V(130, -1, 0.5, r, g, b, a),
              V(-1, 100, 0.5, r, g, b, a))};
}

TEST_F(BlendTest, RangeEndsFollowTheRules) {
  for (const ColorFormat *f : Formats()) {
    ASSERT_TRUE(OpenMmx(*f, 16));
    const std::string name = f->name;
    // ONE / ONE of white over anything saturates at the channel maximum.
    {
      const Image im = DrawBlend(Path::kGenerated, Cover(Blended(GL_ONE, GL_ONE, false), 1, 1, 1, 1));
      const uint32_t white = f->masks[0] | f->masks[1] | f->masks[2];
      for (size_t i = 0; i < im.color.size(); i++)
        ASSERT_EQ(im.color[i] & white, white) << name << ": ONE / ONE, pixel " << i;
    }
    // ONE / ONE of a half colour: the sum, saturated where it passes.
    {
      const std::vector<SceneStep> steps = Cover(Blended(GL_ONE, GL_ONE, false), 0.5, 0.5, 0.5, 1);
      ExpectNear(DrawBlend(Path::kGenerated, steps), DrawBlend(Path::kGeneric, steps), steps, 1,
                 name + ": ONE / ONE of half colours");
    }
    // Destination alpha is 1.0: DST_ALPHA / ZERO draws the source,
    // ZERO / DST_ALPHA keeps the destination, ONE_MINUS_DST_ALPHA adds
    // nothing.
    for (const Pair &p : std::vector<Pair>{{GL_DST_ALPHA, GL_ZERO},
                                           {GL_ONE_MINUS_DST_ALPHA, GL_DST_ALPHA},
                                           {GL_SRC_ALPHA_SATURATE, GL_ONE}}) {
      const std::vector<SceneStep> steps = Cover(Blended(p.src, p.dst, false), 0.6, 0.3, 0.9, 0.7);
      const Image im = DrawBlend(Path::kGenerated, steps);
      const Image plain = DrawBlend(Path::kGenerated, Cover(SceneState{}, 0.6, 0.3, 0.9, 0.7));
      for (size_t i = 0; i < im.color.size(); i++) {
        // The source alone, or the destination kept (the saturate factor
        // is min(alpha, 1 - 1) = 0).
        const uint32_t want = p.src == GL_DST_ALPHA ? plain.color[i]
                                                    : Background(int32_t(i % scene_test::kWidth),
                                                                 int32_t(i / scene_test::kWidth));
        ASSERT_EQ(im.color[i], want) << name << ", " << FactorName(p.src) << " / "
                                     << FactorName(p.dst) << ": pixel " << i;
      }
    }
    Close();
  }
}

}  // namespace
}  // namespace blend_test
