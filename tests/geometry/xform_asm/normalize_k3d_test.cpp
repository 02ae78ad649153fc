// K3DNormalizeCoord against its rule computed step by step in single
// precision: zero stays zero, a squared length of exactly one copies the
// source, anything else is scaled by the refined reciprocal square root.
#include <math.h>

#include <random>
#include <string>

#include "geometry/s_xform.h"
#include "tests/geometry/xform_asm/asm_call.h"

namespace {

// The rule, one single-precision step at a time.
void Rule(float dst[3], const float src[3]) {
  const float x = src[0], y = src[1], z = src[2];
  const float len2 = (x * x + z * z) + y * y;
  if (Bits(len2) == 0) {
    dst[0] = dst[1] = dst[2] = 0;
    return;
  }
  if (len2 == 1.0f) {
    dst[0] = x, dst[1] = y, dst[2] = z;
    return;
  }
  const float y0 = FloatOf(0x5F375A00u - (Bits(len2) >> 1));
  const float a = len2 * (y0 * y0);
  const float b = 3.0f - a;
  const float r = ((12.0f - (b * b) * a) * b * y0) * 0.0625f;
  dst[0] = x * r, dst[1] = y * r, dst[2] = z * r;
}

void Normalize(float dst[3], const float src[3]) {
  CallChecked(reinterpret_cast<const void *>(K3DNormalizeCoord), {Word(dst), Word(src)});
}

// The 3DNow! steps round as IEEE single precision does to within a step;
// allow one per component.
testing::AssertionResult MatchesRule(const float got[3], const float src[3]) {
  float want[3];
  Rule(want, src);
  for (int k = 0; k < 3; ++k) {
    if (Bits(got[k]) == Bits(want[k])) continue;
    if (fabs(double(got[k]) - want[k]) <= UlpOf(want[k])) continue;
    return testing::AssertionFailure() << "component " << k << ": " << std::hexfloat << got[k]
                                       << ", the rule gives " << want[k];
  }
  return testing::AssertionSuccess();
}

struct NormalizeCase {
  const char *what;
  float src[3];
  float exact[3];  // what the result must be bit for bit, where `copies`
  bool exactResult;
};

// Found by search: (x² + z²) + y² is exactly 1 in single precision while
// the two other orders give the next float above it.
const float kOrderX = 0x1.e3a1ecp-1f, kOrderY = 0x1.501dd8p-2f, kOrderZ = 0x1.387d6ap-12f;

const NormalizeCase kCases[] = {
    {"zero", {0, 0, 0}, {0, 0, 0}, true},
    {"negative zeros give zeros", {-0.0f, -0.0f, -0.0f}, {0, 0, 0}, true},
    {"squares too small for single precision", {1e-30f, -1e-25f, 1e-27f}, {0, 0, 0}, true},
    {"unit x copied", {1, 0, 0}, {1, 0, 0}, true},
    {"unit -y copied with its zeros' signs", {-0.0f, -1, 0}, {-0.0f, -1, 0}, true},
    {"squared length exactly one in the rule's order",
     {kOrderX, kOrderY, kOrderZ},
     {kOrderX, kOrderY, kOrderZ},
     true},
    {"3, 4, 0", {3, 4, 0}, {}, false},
    {"negative components", {-2, 1, -2}, {}, false},
    {"short", {1e-3f, 2e-3f, -2e-3f}, {}, false},
    {"long", {1e15f, -3e15f, 2e15f}, {}, false},
};

class K3DNormalize : public testing::Test {
 protected:
  void SetUp() override { SKIP_UNLESS_PROCESSOR_RUNS(Isa::K3D); }
};

TEST_F(K3DNormalize, FollowsTheRule) {
  for (const NormalizeCase &c : kCases) {
    SCOPED_TRACE(c.what);
    float got[3] = {nanf(""), nanf(""), nanf("")};
    Normalize(got, c.src);
    EXPECT_TRUE(MatchesRule(got, c.src));
    if (c.exactResult) {
      for (int k = 0; k < 3; ++k) EXPECT_EQ(Bits(got[k]), Bits(c.exact[k])) << "component " << k;
    }
    // In place gives the same.
    float io[3] = {c.src[0], c.src[1], c.src[2]};
    Normalize(io, io);
    EXPECT_EQ(memcmp(io, got, sizeof io), 0) << "in place";
  }
}

// Random directions and lengths: the rule, and unit length to the rule's
// accuracy (two refinement steps from the estimate).
TEST_F(K3DNormalize, GivesUnitLengthOverRandomVectors) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> d(-1, 1), scale(-20, 20);
  for (int i = 0; i < 1000; ++i) {
    const float k = ldexpf(1, int(scale(rng)));
    const float src[3] = {d(rng) * k, d(rng) * k, d(rng) * k};
    float got[3];
    Normalize(got, src);
    SCOPED_TRACE(testing::Message() << "vector " << i << std::hexfloat << " (" << src[0] << ", "
                                    << src[1] << ", " << src[2] << ")");
    EXPECT_TRUE(MatchesRule(got, src));
    const double length =
        sqrt(double(got[0]) * got[0] + double(got[1]) * got[1] + double(got[2]) * got[2]);
    EXPECT_NEAR(length, 1.0, 5e-5);
    // Direction kept: each component keeps its sign and its share.
    const double srcLength =
        sqrt(double(src[0]) * src[0] + double(src[1]) * src[1] + double(src[2]) * src[2]);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], src[c] / srcLength, 5e-5) << "component " << c;
    if (HasFailure()) break;
  }
}

}  // namespace
