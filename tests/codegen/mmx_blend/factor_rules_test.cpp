// Which blend factors read alpha and which texture base formats have it,
// as the MMX body decides what to compute; anything else stops.
#include <gtest/gtest.h>

#include "codegen/og_ras_mmx.h"

namespace blend_test {
namespace {

TEST(MmxBlendRules, FactorsThatReadAlpha) {
  struct Case {
    GLenum factor;
    bool alpha;
  };
  const Case cases[] = {
      {GL_ZERO, false}, {GL_ONE, false}, {GL_SRC_COLOR, false}, {GL_ONE_MINUS_SRC_COLOR, false},
      {GL_DST_COLOR, false}, {GL_ONE_MINUS_DST_COLOR, false}, {GL_SRC_ALPHA, true},
      {GL_ONE_MINUS_SRC_ALPHA, true}, {GL_DST_ALPHA, true}, {GL_ONE_MINUS_DST_ALPHA, true},
      {GL_SRC_ALPHA_SATURATE, true}};
  for (const Case &c : cases) EXPECT_EQ(og_raster::uses_alpha(c.factor), c.alpha) << c.factor;
}

TEST(MmxBlendRules, BaseFormatsWithAlpha) {
  struct Case {
    GLenum format;
    bool alpha;
  };
  const Case cases[] = {{GL_ALPHA, true}, {GL_RGBA, true}, {GL_LUMINANCE_ALPHA, true},
                        {GL_INTENSITY, true}, {GL_RGB, false}, {GL_LUMINANCE, false}};
  for (const Case &c : cases) EXPECT_EQ(og_raster::has_alpha(c.format), c.alpha) << c.format;
}

TEST(MmxBlendRulesDeathTest, UnknownValuesStop) {
  EXPECT_DEATH(og_raster::uses_alpha(GL_RGBA), "Assertion failed: 0, file og_ras");
  EXPECT_DEATH(og_raster::has_alpha(GL_COLOR_INDEX), "Assertion failed: 0, file og_ras");
  EXPECT_DEATH(og_raster::bf_to_index(GL_RGB), "Assertion failed: 0, file og_ras");
}

}  // namespace
}  // namespace blend_test
