// The level value from rho, and the level or pair of levels each mipmap
// filter samples for it, each level at its own size.
#include <gtest/gtest.h>

#include <stdint.h>

#include <limits>

#include "tests/pixels/tex_filters/filter_fixture.h"

namespace mipmap_filter_test {
namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct LambdaCase {
  float rho, lambda;
};

// Half a piecewise-linear log2, exact at powers of two.
const LambdaCase kLambda[] = {
    {0.0f, 0.0f},  {1.0f, 0.0f},   {1.5f, 0.25f}, {2.0f, 0.5f},  {3.0f, 0.75f},
    {4.0f, 1.0f},  {6.0f, 1.25f},  {16.0f, 2.0f}, {24.0f, 2.25f}, {1024.0f, 5.0f},
    {4294967040.0f, 15.999999f},  // the largest float below 2^32
};

TEST(Lambda, HalfOfAPiecewiseLinearLog2) {
  for (const LambdaCase &c : kLambda) {
    SCOPED_TRACE(c.rho);
    EXPECT_FLOAT_EQ(__glComputeLambda(c.rho, 4), c.lambda);
  }
}

// No integer conversion of these: each selects the one past the last level.
TEST(Lambda, NaNAndHugeRhoGoPastTheLastLevel) {
  for (float rho : {kNaN, kInf, 1e30f, 4294967296.0f}) {
    SCOPED_TRACE(rho);
    EXPECT_EQ(__glComputeLambda(rho, 4), 5.0f);
    EXPECT_EQ(__glComputeLambda(rho, 9), 10.0f);
  }
}

// A 16 x 16 RGBA texture (levels 0 .. 4): texel (row, col) of level n holds
// red 10 (n + 1), green col, blue row.
FilterTexture LevelCoded(int32_t dim) {
  FilterTexture t(16, 16, __glTexFormatRGBA8, GL_RGBA, dim);
  for (int32_t n = 0; n <= t.tex()->maxLog2; n++) {
    const GlTextureLevel &l = *t.level(n);
    for (int32_t j = 0; j < l.height2; j++)
      for (int32_t i = 0; i < l.width2; i++) {
        uint8_t *p = t.texel(n, j, i);
        p[0] = uint8_t(10 * (n + 1)), p[1] = uint8_t(i), p[2] = uint8_t(j), p[3] = 255;
      }
  }
  return t;
}

struct LevelCase {
  float lambda;
  int32_t level;
};

const LevelCase kNearestLevel[] = {
    {0.5f, 0},  {0.6f, 1},    {1.5f, 1}, {1.5001f, 2}, {2.0f, 2}, {4.0f, 4},
    {4.6f, 4},  {100.0f, 4},  {kInf, 4}, {1e30f, 4},   {0.0f, 0}, {-3.0f, 0},
    {kNaN, 0},  {-kInf, 0},
};

TEST(NearestMipmap, PicksTheLevelNearestToLambda) {
  FilterTexture t = LevelCoded(2);
  GlTextureObject *tex = t.tex();
  for (const LevelCase &c : kNearestLevel) {
    SCOPED_TRACE(c.lambda);
    GlTexel r = {};
    __glNMNFilter(tex, &r, c.lambda, 0.5f + 1.0f / 32, 0.25f + 1.0f / 32);
    EXPECT_EQ(r.r, 10 * (c.level + 1));
    EXPECT_EQ(r.g, 8 >> c.level) << "the column at that level's width";
    EXPECT_EQ(r.b, 4 >> c.level) << "the row at that level's height";
    // Every texel of a level has the same red, so linear gives it exactly.
    __glLMNFilter(tex, &r, c.lambda, 0.5f + 1.0f / 32, 0.25f + 1.0f / 32);
    EXPECT_EQ(r.r, 10 * (c.level + 1));
  }
}

struct BlendCase {
  float lambda;
  uint8_t red;
};

// Reds 10, 20, 30, 40, 50 for levels 0 .. 4.
const BlendCase kBlend[] = {
    {1.25f, 22},  // level 1 x 0.75 + level 2 x 0.25
    {0.5f, 15},   {1.0f, 20},  {3.5f, 45}, {3.99f, 49},
    {4.0f, 50},   {9.0f, 50},  {kInf, 50}, {1e30f, 50},
    {-0.5f, 15},  // d = 1, blended by lambda - floor(lambda)
    {-1.0f, 50},  {-kInf, 50}, {kNaN, 10},
};

TEST(LinearMipmap, BlendsTheTwoLevelsAroundLambda) {
  for (int32_t dim : {1, 2}) {
    FilterTexture t = LevelCoded(dim);
    for (const BlendCase &c : kBlend) {
      SCOPED_TRACE(testing::Message() << "dim " << dim << " lambda " << c.lambda);
      for (GlTextureFilterProc filter : {__glNMLFilter, __glLMLFilter}) {
        GlTexel r = {};
        // Column 0 at every level: green stays 0 under both filters.
        filter(t.tex(), &r, c.lambda, 0.0f, 0.0f);
        EXPECT_EQ(r.r, c.red);
        EXPECT_EQ(r.a, 255);
      }
    }
  }
}

TEST(LinearMipmap, WritesOnlyTheBytesOfTheBaseFormat) {
  FilterTexture t(8, 8, __glTexFormatLuminance8, GL_LUMINANCE);
  for (int32_t n = 0; n <= 3; n++) t.Fill(n, {uint8_t(100 + n)});
  GlTexel r = {0xAA, 0xAA, 0xAA, 0xAA};
  __glLMLFilter(t.tex(), &r, 1.5f, 0.3f, 0.3f);
  EXPECT_EQ(r, (GlTexel{101, 0xAA, 0xAA, 0xAA}));  // trunc(101.5)
}

// Indices are not blended: the nearer level's, level d on a tie.
TEST(LinearMipmap, ColourIndicesTakeTheNearerLevel) {
  const BlendCase cases[] = {{1.25f, 5}, {1.5f, 9}, {1.75f, 9}, {0.49f, 1}};
  FilterTexture t(8, 8, __glTexFormatColorIndex8, GL_COLOR_INDEX);
  const uint8_t index[4] = {1, 5, 9, 13};
  for (int32_t n = 0; n <= 3; n++) t.Fill(n, {index[n]});
  for (const BlendCase &c : cases) {
    SCOPED_TRACE(c.lambda);
    for (GlTextureFilterProc filter : {__glNMLFilter, __glLMLFilter}) {
      GlTexel r = {0xAA, 0xAA, 0xAA, 0xAA};
      filter(t.tex(), &r, c.lambda, 0.4f, 0.6f);
      EXPECT_EQ(r, (GlTexel{c.red, 0xAA, 0xAA, 0xAA}));
    }
  }
}

// The level-0 filters ignore lambda and scale s and t by level 0's size.
TEST(LevelZeroFilters, SampleLevelZeroWhateverLambda) {
  FilterTexture t = LevelCoded(2);
  for (GlTextureFilterProc filter : {__glNearestFilter, __glLinearFilter})
    for (float lambda : {0.0f, 3.0f, kNaN}) {
      GlTexel r = {};
      filter(t.tex(), &r, lambda, (4.5f) / 16, (11.5f) / 16);
      EXPECT_EQ(r, (GlTexel{10, 4, 11, 255}));
    }
}

}  // namespace
}  // namespace mipmap_filter_test
