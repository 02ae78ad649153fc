// The rules the portable and x87 lighting forms share: the power-table
// look-up (threshold, index rounding, the index kept inside the table, a
// non-number skipped), the normalisation without a square root, the vector
// from a vertex to a light, and the clamp that lets no non-number through.
#include <float.h>
#include <math.h>

#include <gtest/gtest.h>

#include "geometry/s_light_calc_rules.h"

namespace {

using light_rules::IndexRounding;

// Entry k holds 1000 + k, so a coefficient names the index it came from.
struct Table {
  GLfloat entries[256];
  Table() {
    for (int k = 0; k < 256; k++) entries[k] = GLfloat(1000 + k);
  }
};

constexpr double kSkip = -1;

struct LookUpRow {
  const char *what;
  double x;
  GLfloat threshold, scale;
  double addHalf, nearest;  // the coefficient each rounding gives, or kSkip
};

const LookUpRow kLookUps[] = {
    {"below the threshold: skipped", 0.49, 0.5f, 1.0f, kSkip, kSkip},
    {"at the threshold: entry 0", 0.5, 0.5f, 1.0f, 1000, 1000},
    {"not a number: skipped", NAN, 0.0f, 1.0f, kSkip, kSkip},
    {"negative zero reaches a threshold of 0", -0.0, 0.0f, 1.0f, 1000, 1000},
    {"2.4 steps: entry 2", 2.4, 0.0f, 1.0f, 1002, 1002},
    {"2.5 steps: up when adding a half, to even when rounding", 2.5, 0.0f, 1.0f, 1003, 1002},
    {"3.5 steps: both to 4", 3.5, 0.0f, 1.0f, 1004, 1004},
    {"2.6 steps: both to 3", 2.6, 0.0f, 1.0f, 1003, 1003},
    {"255.4 steps: the last entry", 255.4, 0.0f, 1.0f, 1255, 1255},
    {"255.5 steps: past the table, 1", 255.5, 0.0f, 1.0f, 1, 1},
    {"far past the table: 1", 1e30, 0.0f, 1.0f, 1, 1},
    {"infinite: 1", INFINITY, 0.0f, 1.0f, 1, 1},
    {"scaled steps", 0.75, 0.5f, 8.0f, 1002, 1002},
    {"no table (threshold above everything): skipped", 1e30, FLT_MAX, 0.0f, kSkip, kSkip},
    {"no table, infinite argument: skipped", INFINITY, FLT_MAX, 0.0f, kSkip, kSkip},
};

TEST(LightRules, LookUpSkipsRoundsAndStaysInTheTable) {
  const Table table;
  for (const LookUpRow &row : kLookUps) {
    SCOPED_TRACE(row.what);
    float single = 0;
    const bool usedSingle = light_rules::LookUp<GLfloat, IndexRounding::kAddHalf>(
        GLfloat(row.x), table.entries, row.threshold, row.scale, &single);
    EXPECT_EQ(usedSingle, row.addHalf != kSkip);
    if (usedSingle) {
      EXPECT_EQ(single, row.addHalf);
    }
    long double extended = 0;
    const bool usedExtended = light_rules::LookUp<long double, IndexRounding::kNearest>(
        row.x, table.entries, row.threshold, row.scale, &extended);
    EXPECT_EQ(usedExtended, row.nearest != kSkip);
    if (usedExtended) {
      EXPECT_EQ(double(extended), row.nearest);
    }
  }
}

TEST(LightRules, NormalizeWithoutASquareRoot) {
  struct Row {
    const char *what;
    GLfloat x, y, z;
    bool exact;  // the result is the input, or zero
  } rows[] = {
      {"zero stays zero", 0, 0, 0, true},
      {"length exactly 1 is kept as it is", 0.6f, 0.8f, 0, true},
      {"a unit axis", 0, 0, -1, true},
      {"long", 30, -40, 120, false},
      {"short", 1e-3f, 2e-3f, -5e-4f, false},
      {"one axis", 0, 0, 7, false},
      {"tiny", 1e-18f, 0, 0, false},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    const double len = sqrt(double(row.x) * row.x + double(row.y) * row.y + double(row.z) * row.z);
    GLfloat single[3];
    light_rules::Normalize(single, row.x, row.y, row.z);
    long double extended[3];
    light_rules::Normalize<long double>(extended, row.x, row.y, row.z);
    const GLfloat in[3] = {row.x, row.y, row.z};
    for (int i = 0; i < 3; i++) {
      const double want = len == 0 ? 0 : in[i] / len;
      if (row.exact) {
        EXPECT_EQ(single[i], len == 0 ? 0.0f : in[i]);
        // The extended sum of squares need not be exactly 1.
        EXPECT_NEAR(double(extended[i]), len == 0 ? 0.0 : in[i], 6e-6);
      } else {
        // Two Newton steps from the integer estimate: a few parts in a million.
        EXPECT_NEAR(single[i], want, 6e-6);
        EXPECT_NEAR(double(extended[i]), want, 6e-6);
      }
    }
  }
  GLfloat out[3];
  light_rules::Normalize(out, GLfloat(NAN), 0.0f, 1.0f);
  EXPECT_TRUE(isnan(out[0]) || out[0] == 0) << "no crash, nothing finite made up";
}

TEST(LightRules, VectorFromTheVertexToTheLight) {
  struct Row {
    const char *what;
    GlCoord vertex, light;
    GLfloat want[3];
  } rows[] = {
      {"both points", {1, 2, 3, 1}, {4, 6, 8, 1}, {3, 4, 5}},
      {"both points, w weighs the other", {1, 2, 3, 2}, {4, 6, 8, 0.5f}, {7.5f, 11, 14.5f}},
      {"a directional light from a point", {1, 2, 3, 1}, {0, 0, 5, 0}, {0, 0, 5}},
      {"negative zero w is zero", {1, 2, 3, 1}, {0, 0, 5, -0.0f}, {0, 0, 5}},
      {"a point light from a vertex at infinity", {1, 2, 3, 0}, {4, 6, 8, 1}, {-1, -2, -3}},
      {"both at infinity", {1, 2, 3, 0}, {4, 6, 8, 0}, {3, 4, 5}},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    GLfloat out[3];
    light_rules::VertexToLight(out, row.vertex, row.light);
    for (int i = 0; i < 3; i++) EXPECT_EQ(out[i], row.want[i]) << i;
  }
}

TEST(LightRules, ClampLetsNoNonNumberThrough) {
  struct Row {
    double value, want;
  } rows[] = {{-1, 0}, {-0.0, 0}, {0, 0}, {12.5, 12.5}, {255, 255}, {300, 255},
              {INFINITY, 255}, {-INFINITY, 0}, {NAN, 0}, {-NAN, 0}};
  for (const Row &row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(light_rules::Clamp(GLfloat(row.value), 255.0f), row.want);
    EXPECT_EQ(light_rules::Clamp((long double)row.value, 255.0f), row.want);
  }
}

}  // namespace
