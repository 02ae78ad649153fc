// The matrix helpers against double precision: products (with the result
// aliasing either operand), inverse transposes of each type (with the
// elements the type promises seeded with NaN), singular matrices, the
// normalisation and the integer logarithm.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <array>
#include <random>
#include <string>

#include "geometry/s_xform.h"
#include "tests/geometry/xform/matrix_reference.h"

namespace {

const float kNaN = nanf("");

GlMatrix Make(const std::array<float, 16> &values, uint32_t type) {
  GlMatrix m;
  memset(&m, 0, sizeof m);
  memcpy(m.matrix, values.data(), sizeof m.matrix);
  m.matrixType = type;
  return m;
}

std::array<float, 16> Random(std::mt19937 &rng) {
  std::uniform_real_distribution<float> d(-2, 2);
  std::array<float, 16> v;
  for (float &e : v) e = d(rng);
  return v;
}

// ---- Products ----

enum Alias { kSeparate, kResultIsA, kResultIsB, kAllSame };

class Product : public testing::TestWithParam<Alias> {};

TEST_P(Product, MatchesDoublePrecision) {
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    GlMatrix a = Make(Random(rng), 0), b = Make(Random(rng), 0), r;
    if (GetParam() == kAllSame) b = a;
    Ref want = RefProduct(RefOf(a), RefOf(b));
    switch (GetParam()) {
      case kSeparate:
        __glMultMatrix(&r, &a, &b);
        break;
      case kResultIsA:
        __glMultMatrix(&a, &a, &b);
        r = a;
        break;
      case kResultIsB:
        __glMultMatrix(&b, &a, &b);
        r = b;
        break;
      case kAllSame:
        __glMultMatrix(&a, &a, &a);
        r = a;
        break;
    }
    // Extended sums rounded once: within one single-precision step of the
    // exact result (relative to the sum of the magnitudes of the terms).
    ASSERT_LE(RelativeError(r, want), 4e-7 * 16) << "round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(Aliasing, Product,
                         testing::Values(kSeparate, kResultIsA, kResultIsB, kAllSame));

TEST(Product, LeavesTypeAndProceduresAlone) {
  GlMatrix a = Make({}, 1), b = Make({}, 2), r = Make({}, 3);
  r.xf2 = __glXForm2;
  __glMultMatrix(&r, &a, &b);
  EXPECT_EQ(r.matrixType, 3u);
  EXPECT_EQ(r.xf2, __glXForm2);
}

TEST(CopyMatrix, KeepsTheDestinationsProcedures) {
  GlMatrix src = Make({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 2), dst;
  memset(&dst, 0, sizeof dst);
  src.xf3 = __glXForm3;
  dst.xf3 = __glXForm3_2DW;
  __glCopyMatrix(&dst, &src);
  EXPECT_EQ(memcmp(dst.matrix, src.matrix, sizeof dst.matrix), 0);
  EXPECT_EQ(dst.matrixType, 2u);
  EXPECT_EQ(dst.xf3, __glXForm3_2DW);
}

// ---- Inverse transposes ----

// A matrix of each type: random where the type allows, the promised values
// elsewhere (or NaN when `seed` is set, for the ones the inversion must not
// read).
GlMatrix OfType(uint32_t type, std::mt19937 &rng, bool seed) {
  std::array<float, 16> v = Random(rng);
  float promised = seed ? kNaN : 0;
  switch (type) {
    case 4:
      v = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
      [[fallthrough]];
    case 3:
      v[1] = v[4] = 0;
      [[fallthrough]];
    case 2:
      v[2] = v[6] = v[8] = v[9] = 0;
      [[fallthrough]];
    case 1:
      v[3] = v[7] = v[11] = promised;
      v[15] = seed ? kNaN : 1;
      break;
    default:
      break;
  }
  // Keep them well conditioned.
  v[0] += 3, v[5] += 3, v[10] += 3;
  if (type == 0) v[15] += 3;
  if (type == 4) v[0] = v[5] = v[10] = 1;
  return Make(v, type);
}

Ref Promised(const GlMatrix &m) {
  Ref r = RefOf(m);
  if (m.matrixType >= 1) r[3] = r[7] = r[11] = 0, r[15] = 1;
  return r;
}

class InverseTranspose : public testing::TestWithParam<uint32_t> {};

TEST_P(InverseTranspose, MatchesDoublePrecisionWithoutReadingPromisedElements) {
  std::mt19937 rng(11 + GetParam());
  for (int round = 0; round < 50; ++round) {
    GlMatrix m = OfType(GetParam(), rng, true);
    Ref want = RefTranspose(RefInverse(Promised(m)));
    GlMatrix d;
    memset(&d, 0, sizeof d);
    __glInvertTransposeMatrix(&d, &m);
    EXPECT_EQ(d.matrixType, GetParam());
    ASSERT_LE(RelativeError(d, want), 1e-5) << "round " << round;
  }
}

TEST_P(InverseTranspose, MayOverwriteItsSource) {
  std::mt19937 rng(5);
  GlMatrix m = OfType(GetParam(), rng, false);
  Ref want = RefTranspose(RefInverse(RefOf(m)));
  __glInvertTransposeMatrix(&m, &m);
  EXPECT_LE(RelativeError(m, want), 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Types, InverseTranspose, testing::Values(0u, 1u, 2u, 3u, 4u));

struct SingularCase {
  const char *name;
  std::array<float, 16> m;
  uint32_t type;
};

class Singular : public testing::TestWithParam<SingularCase> {};

TEST_P(Singular, KeepsTheDestinationValues) {
  const SingularCase &c = GetParam();
  GlMatrix m = Make(c.m, c.type);
  GlMatrix d = Make({9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -4, -5, -6}, 4);
  GlMatrix before = d;
  __glInvertTransposeMatrix(&d, &m);
  EXPECT_EQ(memcmp(d.matrix, before.matrix, sizeof d.matrix), 0);
  EXPECT_EQ(d.matrixType, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Singular,
    testing::Values(
        SingularCase{"Zero", {}, 0},
        SingularCase{"ZeroAffine", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1}, 1},
        SingularCase{"FlatScale", {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 3},
        SingularCase{"RepeatedColumns", {1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3}, 0},
        SingularCase{"NaNGeneral", {kNaN, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0},
        SingularCase{"NaNAffine", {1, 0, 0, 0, 0, kNaN, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 2},
        // Determinants whose reciprocal is no finite single.
        SingularCase{"TinyAffine", {1e-15f, 0, 0, 0, 0, 1e-15f, 0, 0, 0, 0, 1e-15f, 0, 0, 0, 0, 1},
                     3},
        SingularCase{"TinyGeneral",
                     {1e-12f, 0, 0, 0, 0, 1e-12f, 0, 0, 0, 0, 1e-12f, 0, 0, 0, 0, 1e-12f}, 0},
        // Whole numbers with dependent columns (the third is 3 x the first
        // + 5 x the second, less the fourth in the general one): exactly
        // singular, although their cofactors do not fit a single.
        SingularCase{"WholeAffine",
                     {-680, 4073, 18325, 0, 1805, 3544, 23135, 0, -4096, -3047, -27523, 0, 1, 2,
                      3, 1},
                     1},
        SingularCase{"WholeGeneral",
                     {-161, -58, -694, -79, 87, -53, -227, 223, 20, 178, 991, -41, -96, 95, 174,
                      13},
                     0}),
    [](const testing::TestParamInfo<SingularCase> &info) { return std::string(info.param.name); });

// ---- Normalisation ----

struct NormalizeCase {
  const char *name;
  float in[3];
  float out[3];  // exact expectations
};

class NormalizeExact : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeExact, GivesTheExactResult) {
  const NormalizeCase &c = GetParam();
  float out[3] = {-1, -1, -1};
  __glNormalize(out, c.in);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(out[i], c.out[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeExact,
    testing::Values(NormalizeCase{"Zero", {0, 0, 0}, {0, 0, 0}},
                    NormalizeCase{"NegativeZero", {-0.0f, 0, -0.0f}, {0, 0, 0}},
                    NormalizeCase{"NaN", {kNaN, 1, 0}, {0, 0, 0}},
                    NormalizeCase{"Unit", {0, 1, 0}, {0, 1, 0}},
                    NormalizeCase{"NegativeUnit", {0, 0, -1}, {0, 0, -1}},
                    // The squared length rounds to 1: returned as it is.
                    NormalizeCase{"AlmostUnit", {1, 1e-4f, 0}, {1, 1e-4f, 0}},
                    NormalizeCase{"Underflowing", {1e-30f, 0, 0}, {0, 0, 0}}),
    [](const testing::TestParamInfo<NormalizeCase> &info) { return std::string(info.param.name); });

// Two Newton steps from the bit-pattern estimate: within 1e-5 of unit length
// and of the exact direction.
TEST(Normalize, MatchesDoublePrecision) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-20, 20);
  for (int round = 0; round < 2000; ++round) {
    float v[3], out[3];
    for (float &e : v) e = ldexpf(mantissa(rng), exponent(rng));
    double len = sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
    __glNormalize(out, v);
    for (int i = 0; i < 3; ++i) ASSERT_NEAR(out[i], v[i] / len, 1e-5) << "round " << round;
  }
}

TEST(Normalize, MayWriteOverItsSource) {
  float v[3] = {3, 0, 4}, separate[3];
  __glNormalize(separate, v);
  __glNormalize(v, v);
  EXPECT_EQ(memcmp(v, separate, sizeof v), 0);
  EXPECT_NEAR(v[0], 0.6, 1e-5);
  EXPECT_NEAR(v[2], 0.8, 1e-5);
}

// ---- Integer logarithm ----

TEST(FloorLog2, LargestPowerNotAbove) {
  const struct {
    uint32_t n;
    int32_t k;
  } cases[] = {{0, 0},  {1, 0},    {2, 1},    {3, 1},           {4, 2},
               {1023, 9}, {1024, 10}, {2047, 10}, {0x7FFFFFFFu, 30}, {0x80000000u, 31},
               {0xFFFFFFFFu, 31}};
  for (const auto &c : cases) EXPECT_EQ(__glFloorLog2(c.n), c.k) << c.n;
}

}  // namespace
