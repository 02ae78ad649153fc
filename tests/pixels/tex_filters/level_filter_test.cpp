// Sampling of one level: which texel the nearest filters read (truncation
// and wrapping), the taps and weights of the linear filters against a
// double-precision reference, the bytes each base format produces, colour
// indices, and coordinates that are NaN, infinite or far out of range.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>

#include <limits>
#include <random>

#include "tests/pixels/tex_filters/filter_fixture.h"

namespace level_filter_test {
namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct NearestCase {
  GLenum wrap;
  float u;
  int32_t index;
};

const NearestCase kNearest[] = {
    {GL_REPEAT, -0.5f, 0},  // truncation, not floor
    {GL_REPEAT, -1.5f, 3},    {GL_REPEAT, 0.99f, 0},   {GL_REPEAT, 3.5f, 3},
    {GL_REPEAT, 4.2f, 0},     {GL_REPEAT, 5.0f, 1},    {GL_REPEAT, kNaN, 0},
    {GL_REPEAT, kInf, 3},     {GL_REPEAT, -kInf, 0},   {GL_REPEAT, 1e30f, 3},
    {GL_CLAMP, -0.5f, 0},     {GL_CLAMP, -3.0f, 0},    {GL_CLAMP, 2.7f, 2},
    {GL_CLAMP, 9.0f, 3},      {GL_CLAMP, kNaN, 0},     {GL_CLAMP, kInf, 3},
    {GL_CLAMP, -kInf, 0},     {GL_CLAMP, -1e30f, 0},
};

// Texel (row, col) of a 4 x 4 RGBA level holds (col + 1, row + 1, 7, 9).
FilterTexture CodedTexture(int32_t dim) {
  FilterTexture t(4, 4, __glTexFormatRGBA8, GL_RGBA, dim);
  for (int32_t row = 0; row < (dim == 1 ? 1 : 4); row++)
    for (int32_t col = 0; col < 4; col++) {
      uint8_t *p = t.texel(0, row, col);
      p[0] = uint8_t(col + 1), p[1] = uint8_t(row + 1), p[2] = 7, p[3] = 9;
    }
  return t;
}

TEST(NearestFilter, TruncatesAndWrapsEachCoordinate) {
  FilterTexture one = CodedTexture(1), two = CodedTexture(2);
  for (const NearestCase &c : kNearest) {
    SCOPED_TRACE(testing::Message() << "wrap " << c.wrap << " u " << c.u);
    const uint8_t expected = uint8_t(c.index + 1);
    one.tex()->wrapS = two.tex()->wrapS = two.tex()->wrapT = c.wrap;
    GlTexel r = {};
    __glNearestFilter1(one.tex(), one.level(0), c.u, 2.5f, &r);
    EXPECT_EQ(r, (GlTexel{expected, 1, 7, 9})) << "1D";
    __glNearestFilter2(two.tex(), two.level(0), c.u, 2.5f, &r);
    EXPECT_EQ(r, (GlTexel{expected, 3, 7, 9})) << "2D column";
    __glNearestFilter2(two.tex(), two.level(0), 1.5f, c.u, &r);
    EXPECT_EQ(r, (GlTexel{2, expected, 7, 9})) << "2D row";
  }
}

// A 4-texel row of red 100, 0, 0, 200; bordered levels have red 50 in the
// border; the border colour is red 1.0.
struct LinearCase {
  const char *name;
  GLenum wrap;
  int32_t border;
  float u;
  uint8_t red;
};

const LinearCase kLinear[] = {
    {"repeat blends last and first", GL_REPEAT, 0, 0.25f, 125},  // 200 x 0.25 + 100 x 0.75
    {"repeat one period on", GL_REPEAT, 0, 4.25f, 125},
    {"repeat one period back", GL_REPEAT, 0, -3.75f, 125},
    {"repeat centre of texel", GL_REPEAT, 0, 0.5f, 100},
    {"repeat between 0 and 1", GL_REPEAT, 0, 0.75f, 75},
    {"clamp at 0 half border colour", GL_CLAMP, 0, 0.0f, 177},  // (255 + 100) / 2
    {"clamp below 0", GL_CLAMP, 0, -5.0f, 177},
    {"clamp NaN as 0", GL_CLAMP, 0, kNaN, 177},
    {"clamp at width", GL_CLAMP, 0, 4.0f, 227},  // (200 + 255) / 2
    {"clamp infinity", GL_CLAMP, 0, kInf, 227},
    {"clamp at 0 reads the border", GL_CLAMP, 1, 0.0f, 75},
    {"clamp at width reads the border", GL_CLAMP, 1, 4.0f, 125},
    {"repeat of a bordered level stays inside", GL_REPEAT, 1, 0.25f, 125},
};

TEST(LinearFilter, BlendsTheTwoTapsAroundTheCoordinate) {
  for (const LinearCase &c : kLinear) {
    SCOPED_TRACE(c.name);
    for (int32_t dim : {1, 2}) {
      FilterTexture t(4, 4, __glTexFormatRGBA8, GL_RGBA, dim, c.border);
      t.Fill(0, {50, 0, 0, 0});
      const uint8_t row[4] = {100, 0, 0, 200};
      for (int32_t j = 0; j < (dim == 1 ? 1 : 4); j++)
        for (int32_t i = 0; i < 4; i++) t.texel(0, j, i)[0] = row[i];
      t.tex()->wrapS = t.tex()->wrapT = c.wrap;
      t.tex()->borderColor[0] = 1.0f;
      GlTexel r = {};
      // In 2D, v at a texel centre keeps the blend within one row.
      t.tex()->linear(t.tex(), t.level(0), c.u, 1.5f, &r);
      EXPECT_EQ(r.r, c.red) << "dim " << dim;
    }
  }
}

// Bilinear filtering written from the definition, in double precision.
int Reference(FilterTexture &t, GLenum wrap, double u, double v, int c, uint8_t border) {
  auto tap = [&](int32_t j, int32_t i) -> double {
    if (wrap == GL_REPEAT) i &= 3, j &= 3;
    if (i < 0 || i > 3 || j < 0 || j > 3) return border;
    return t.texel(0, j, i)[c];
  };
  if (wrap == GL_CLAMP) u = fmin(fmax(u, 0.0), 4.0), v = fmin(fmax(v, 0.0), 4.0);
  const double fu = floor(u - 0.5), fv = floor(v - 0.5);
  const double a = u - 0.5 - fu, b = v - 0.5 - fv;
  const int32_t i = int32_t(fu), j = int32_t(fv);
  return int(tap(j, i) * (1 - a) * (1 - b) + tap(j, i + 1) * a * (1 - b) +
             tap(j + 1, i) * (1 - a) * b + tap(j + 1, i + 1) * a * b);
}

TEST(LinearFilter, MatchesABilinearReferenceWithBothWraps) {
  std::mt19937 rng(40);
  FilterTexture t(4, 4, __glTexFormatRGBA8, GL_RGBA);
  for (int32_t j = 0; j < 4; j++)
    for (int32_t i = 0; i < 4; i++)
      for (int c = 0; c < 4; c++) t.texel(0, j, i)[c] = uint8_t(rng());
  const float border[4] = {0.0f, 1.0f, 0.5f, 0.25f};
  for (int c = 0; c < 4; c++) t.tex()->borderColor[c] = border[c];
  std::uniform_real_distribution<float> coord(-9.0f, 9.0f);
  for (GLenum wrap : {GL_REPEAT, GL_CLAMP}) {
    t.tex()->wrapS = t.tex()->wrapT = wrap;
    for (int n = 0; n < 300; n++) {
      const float u = coord(rng), v = coord(rng);
      GlTexel r = {};
      __glLinearFilter2(t.tex(), t.level(0), u, v, &r);
      const uint8_t got[4] = {r.r, r.g, r.b, r.a};
      for (int c = 0; c < 4; c++) {
        const uint8_t b = uint8_t(border[c] * 255.0f);
        // Single-precision weights may move a sum across a whole number.
        EXPECT_NEAR(got[c], Reference(t, wrap, u, v, c, b), 1)
            << "wrap " << wrap << " u " << u << " v " << v << " byte " << c;
      }
    }
  }
}

struct BytesCase {
  const char *name;
  const GlTexFormat *format;
  GLenum base;
  GlTexel expected;  // from a record that starts as AA AA AA AA
};

// Every stored byte is 0x40, so each produced byte is 0x40.
const BytesCase kBytes[] = {
    {"luminance", &__glTexFormatLuminance8, GL_LUMINANCE, {0x40, 0xAA, 0xAA, 0xAA}},
    {"intensity", &__glTexFormatIntensity8, GL_INTENSITY, {0x40, 0xAA, 0xAA, 0xAA}},
    {"alpha", &__glTexFormatAlpha8, GL_ALPHA, {0xAA, 0xAA, 0xAA, 0x40}},
    {"luminance alpha", &__glTexFormatLuminanceAlpha8, GL_LUMINANCE_ALPHA,
     {0x40, 0xAA, 0xAA, 0x40}},
    {"rgb", &__glTexFormatRGB8, GL_RGB, {0x40, 0x40, 0x40, 0xAA}},
    {"rgba", &__glTexFormatRGBA8, GL_RGBA, {0x40, 0x40, 0x40, 0x40}},
};

TEST(LinearFilter, WritesOnlyTheBytesOfTheBaseFormat) {
  for (const BytesCase &c : kBytes) {
    SCOPED_TRACE(c.name);
    for (int32_t dim : {1, 2}) {
      FilterTexture t(4, 4, *c.format, c.base, dim);
      t.Fill(0, {0x40, 0x40, 0x40, 0x40});
      GlTexel r = {0xAA, 0xAA, 0xAA, 0xAA};
      t.tex()->linear(t.tex(), t.level(0), 1.3f, 2.1f, &r);
      EXPECT_EQ(r, c.expected) << "dim " << dim;
    }
  }
}

// Colour indices are not blended: the heaviest tap's index, T00 on ties.
struct IndexCase {
  const char *name;
  int32_t dim;
  float u, v;
  uint8_t index;  // texel (row, col) holds 16 row + col
};

const IndexCase kIndices[] = {
    {"all four equal", 2, 1.0f, 1.0f, 0x00},
    {"heaviest is T11", 2, 1.2f, 1.2f, 0x11},
    {"heaviest is T10", 2, 1.4f, 0.6f, 0x01},
    {"heaviest is T01", 2, 0.6f, 1.4f, 0x10},
    {"1D tie", 1, 2.0f, 0.0f, 0x01},
    {"1D second tap", 1, 2.2f, 0.0f, 0x02},
};

TEST(LinearFilter, ColourIndicesTakeTheHeaviestTap) {
  for (const IndexCase &c : kIndices) {
    SCOPED_TRACE(c.name);
    FilterTexture t(4, 4, __glTexFormatColorIndex8, GL_COLOR_INDEX, c.dim);
    for (int32_t j = 0; j < (c.dim == 1 ? 1 : 4); j++)
      for (int32_t i = 0; i < 4; i++) t.texel(0, j, i)[0] = uint8_t(16 * j + i);
    GlTexel r = {0xAA, 0xAA, 0xAA, 0xAA};
    t.tex()->linear(t.tex(), t.level(0), c.u, c.v, &r);
    EXPECT_EQ(r.r, c.index);
  }
}

// Whatever the coordinates, a filter reads inside the level or the border
// colour: nearest gives one of the texels, linear a value between the
// smallest and largest of the texels and the border colour.
TEST(LevelFilters, ExtremeCoordinatesStayInside) {
  const float values[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 3e9f, -3e9f, 0.5f};
  std::mt19937 rng(7);
  for (int32_t dim : {1, 2}) {
    FilterTexture t(8, 8, __glTexFormatLuminance8, GL_LUMINANCE, dim);
    const int32_t rows = dim == 1 ? 1 : 8;
    for (int32_t j = 0; j < rows; j++)
      for (int32_t i = 0; i < 8; i++) t.texel(0, j, i)[0] = uint8_t(60 + rng() % 100);
    t.tex()->borderColor[0] = 1.0f;
    for (GLenum wrap : {GL_REPEAT, GL_CLAMP}) {
      t.tex()->wrapS = t.tex()->wrapT = wrap;
      for (float u : values)
        for (float v : values) {
          SCOPED_TRACE(testing::Message() << "dim " << dim << " wrap " << wrap << " (" << u
                                          << ", " << v << ")");
          GlTexel r = {};
          t.tex()->nearest(t.tex(), t.level(0), u, v, &r);
          bool found = false;
          for (int32_t j = 0; j < rows; j++)
            for (int32_t i = 0; i < 8; i++) found |= t.texel(0, j, i)[0] == r.r;
          EXPECT_TRUE(found) << int(r.r);
          t.tex()->linear(t.tex(), t.level(0), u, v, &r);
          EXPECT_GE(r.r, 60);
          EXPECT_LE(r.r, 255);
        }
    }
  }
}

}  // namespace
}  // namespace level_filter_test
