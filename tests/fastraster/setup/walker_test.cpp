// The edge walker bit for bit against a model that performs the set-up's
// single-precision steps in their order, and the walk: chunk masks, chunk
// positions and chunk steps, right-to-left chunks, rows and their steps.
#include <gtest/gtest.h>
#include <math.h>

#include <random>
#include <string>

#include "fastraster/fr_tables.h"
#include "tests/fastraster/setup/setup_fixture.h"

namespace fr_test {
namespace {

struct EdgeModel {
  int32_t ix, dx, dxCarry;
  uint32_t frac;
  int32_t dfrac;
  void Step() {
    const uint32_t sum = frac + uint32_t(dfrac);
    ix += (sum >> 31) ? dxCarry : dx;
    frac = sum & 0x7FFFFFFFu;
  }
};

// A signed fraction as 0.31 after rounding it to 22 bits as 3 + f does.
uint32_t Fraction(float f) {
  const float rounded = (f + 3.0f) - 3.0f;
  return uint32_t(int64_t(double(rounded) * 2147483648.0));
}

// x at the first row's centre = x0 + dy * slope, all in single precision.
EdgeModel ModelEdge(float x0, float dy, float slope) {
  const float x = x0 + dy * slope;
  const float whole = floorf(x);
  EdgeModel e;
  e.ix = int32_t(whole) - 6144;
  e.frac = Fraction(x - whole);
  e.dx = int32_t(truncf(slope));
  e.dxCarry = slope >= 0 ? e.dx + 1 : e.dx - 1;
  e.dfrac = int32_t(Fraction(slope - float(e.dx)));
  return e;
}

float Shifted(double v) {
  float f = float(v + kBias) + 0.5f;
  return floorf(f * 16.0f) / 16.0f;
}

struct Walked {
  int32_t ix, dx, dxCarry;
  uint32_t frac;
  int32_t dfrac;
};
void ExpectEdge(const EdgeModel &m, int32_t direction, const Walked &w, const char *which) {
  // The walker keeps x words negated for right-to-left spans.
  const int32_t ix = direction > 0 ? m.ix : -(m.ix - 1);
  EXPECT_EQ(w.ix, ix) << which;
  EXPECT_EQ(w.frac, m.frac) << which;
  EXPECT_EQ(w.dx, direction * m.dx) << which;
  EXPECT_EQ(w.dxCarry, direction * m.dxCarry) << which;
  EXPECT_EQ(w.dfrac, m.dfrac) << which;
}

// Sorts like the set-up: top, bottom, middle.
void Sort(float (&x)[3], float (&y)[3]) {
  auto swap = [&](int i, int j) {
    std::swap(x[i], x[j]);
    std::swap(y[i], y[j]);
  };
  if (y[1] < y[0]) swap(0, 1);
  if (y[2] < y[0]) swap(0, 2);
  if (y[2] > y[1]) swap(1, 2);
}

void ExpectWalkerFollowsModel(const double (&px)[3], const double (&py)[3]) {
  SetupContext ctx;
  GlVertex v[3];
  for (int i = 0; i < 3; i++) v[i] = SetupContext::Vertex(px[i], py[i]);
  ctx.Draw(&v[0], &v[1], &v[2]);
  ASSERT_FALSE(ctx.chunks.empty());
  float x[3], y[3];
  for (int i = 0; i < 3; i++) x[i] = Shifted(px[i]), y[i] = Shifted(py[i]);
  Sort(x, y);
  auto slope = [&](int from, int to) {
    const float dy = y[to] - y[from];
    return dy != 0 ? (x[to] - x[from]) / dy : 0.0f;
  };
  const int32_t iyTop = int32_t(y[0]) - 6144, iyMiddle = int32_t(y[2]) - 6144;
  const float dyA = float(iyTop + 6145) - y[0], dyC = float(iyMiddle + 6145) - y[2];
  EdgeModel longEdge = ModelEdge(x[0], dyA, slope(0, 1));
  EdgeModel shortEdge = ModelEdge(x[0], dyA, slope(0, 2));
  const EdgeModel lower = ModelEdge(x[2], dyC, slope(2, 1));
  const int32_t direction = ctx.chunks[0].span.direction;
  if (iyMiddle == iyTop) shortEdge = lower;
  int32_t row = iyTop;
  for (const Chunk &c : ctx.chunks) {
    const FrSpan &s = c.span;
    if (s.x != s.ixLong) continue;  // the row's first chunk
    for (; row < s.y; row++) {
      longEdge.Step();
      if (row + 1 == iyMiddle) shortEdge = lower;
      else shortEdge.Step();
    }
    SCOPED_TRACE("row " + std::to_string(row));
    ExpectEdge(longEdge, direction, {s.ixLong, s.dxLong, s.dxLongCarry, s.fracLong, s.dfracLong},
               "long");
    ExpectEdge(shortEdge, direction,
               {s.ixShort, s.dxShort, s.dxShortCarry, s.fracShort, s.dfracShort}, "short");
    if (row < iyMiddle)
      ExpectEdge(lower, direction,
                 {s.ixLower, s.dxLower, s.dxLowerCarry, s.fracLower, s.dfracLower}, "lower");
  }
}

TEST(SetupWalker, EdgesFollowTheSinglePrecisionModelRowByRow) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> x(0.0, kWidth - 1.0), y(0.0, kHeight - 1.0);
  for (int n = 0; n < 200; n++) {
    SCOPED_TRACE("triangle " + std::to_string(n));
    const double px[3] = {x(rng), x(rng), x(rng)}, py[3] = {y(rng), y(rng), y(rng)};
    ExpectWalkerFollowsModel(px, py);
  }
}

// Horizontal top and bottom edges (one part of the walk empty), both
// orientations, centres on edges.
TEST(SetupWalker, TrianglesWithAHorizontalEdge) {
  const double kCases[][2][3] = {
      {{10.5, 50.5, 30.5}, {50.5, 50.5, 18.5}},  // horizontal bottom
      {{10, 42, 26}, {4.5, 4.5, 36.5}},          // horizontal top
      {{75, 3, 87.5}, {4, 36, 36}},              // horizontal bottom, slope -2.25
      {{60.5, 28.5, 60.5}, {2.5, 18.5, 34.5}},   // middle vertex left
      {{30.5, 70.5, 20.5}, {1.5, 33.5, 65.5}},   // middle vertex right
  };
  for (const auto &c : kCases) {
    for (bool mirrored : {false, true}) {
      double px[3], py[3];
      for (int i = 0; i < 3; i++) px[i] = mirrored ? 95.0 - c[0][i] : c[0][i], py[i] = c[1][i];
      SCOPED_TRACE(std::to_string(px[0]) + "," + std::to_string(py[0]));
      ExpectWalkerFollowsModel(px, py);
    }
  }
}

TEST(SetupWalker, ASlopeOfMinusTwoAndAQuarter) {
  SetupContext ctx;
  GlVertex a = SetupContext::Vertex(75, 4), b = SetupContext::Vertex(3, 36),
           c = SetupContext::Vertex(87.5, 36);
  ctx.Draw(&a, &b, &c);
  ASSERT_FALSE(ctx.chunks.empty());
  const FrSpan &s = ctx.chunks[0].span;
  EXPECT_EQ(s.direction, 1);
  EXPECT_EQ(s.dxLong, -2);
  EXPECT_EQ(s.dxLongCarry, -3);
  EXPECT_EQ(s.dfracLong, -(1 << 29));  // -0.25 x 2^31
}

// Rows 80 down to 1 pixel wide: every row's chunks are full ones and then
// the table entry of what remains, each 32 columns on, each one chunk step
// further in every address and value.
TEST(SetupWalk, ChunksOfEveryRowLength) {
  for (bool rightToLeft : {false, true}) {
    SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
    SetupContext ctx;
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_TEST);
    // A vertical edge at x = 1 and a 45-degree one; which is long sets the direction.
    GlVertex a = SetupContext::Vertex(rightToLeft ? 80 : 1, 0, 0.1, {0.1f, 0.2f, 0.3f, 0.4f});
    GlVertex b = SetupContext::Vertex(rightToLeft ? 80 : 1, 79, 0.9, {0.9f, 0.8f, 0.7f, 0.6f});
    GlVertex c = SetupContext::Vertex(rightToLeft ? 1 : 80, 79, 0.5, {0.5f, 0.1f, 0.9f, 0.2f});
    ctx.Draw(&a, &b, &c);
    std::map<int32_t, std::vector<const Chunk *>> rows;
    for (const Chunk &c : ctx.chunks) rows[c.span.y].push_back(&c);
    std::map<int32_t, std::vector<uint32_t>> byLength;
    const auto drawn = ctx.Pixels();
    for (const auto &[y, chunks] : rows) {
      const FrSpan &first = chunks[0]->span;
      EXPECT_EQ(first.direction, rightToLeft ? -1 : 1);
      const int32_t length = first.ixShort - first.ixLong;
      std::vector<uint32_t> masks;
      for (size_t k = 0; k < chunks.size(); k++) {
        const FrSpan &s = chunks[k]->span, &p = chunks[k ? k - 1 : 0]->span;
        masks.push_back(chunks[k]->mask);
        EXPECT_EQ(chunks[k]->mask, length - 32 * int32_t(k) >= 32
                                       ? 0xFFFFFFFFu
                                       : __glFRMaskTable[length - 32 * k]);
        EXPECT_EQ(s.x, first.ixLong + 32 * int32_t(k));
        EXPECT_EQ(s.ditherRow, s.ditherTable + (y & 3) * FR_DITHER_ROW + (s.x & 3));
        EXPECT_EQ(s.pixel, first.pixelEdge + int32_t(k) * s.dpixeldxBig);
        if (k == 0) {
          EXPECT_EQ(s.r, s.rEdge);
          EXPECT_EQ(s.z, s.zEdge);
          EXPECT_EQ(s.zbuf, s.zbufEdge);
          continue;
        }
        EXPECT_EQ(s.r, p.r + s.drdxBig);
        EXPECT_EQ(s.g, p.g + s.dgdxBig);
        EXPECT_EQ(s.b, p.b + s.dbdxBig);
        EXPECT_EQ(s.a, p.a + s.dadxBig);
        EXPECT_EQ(s.z, p.z + uint32_t(s.dzdxBig));
        EXPECT_EQ(s.zbuf, p.zbuf + s.dzbufdxBig);
      }
      byLength[length] = masks;
      // The first pixel: the leftmost column, or minus the rightmost.
      const int32_t edge = rightToLeft ? -first.x : first.x;
      EXPECT_TRUE(drawn.count({edge, y}));
      EXPECT_FALSE(drawn.count({edge + (rightToLeft ? 1 : -1), y}));
    }
    EXPECT_EQ(byLength[5], std::vector<uint32_t>{0xF8000000u});
    EXPECT_EQ(byLength[32], std::vector<uint32_t>{0xFFFFFFFFu});
    EXPECT_EQ(byLength[33], (std::vector<uint32_t>{0xFFFFFFFFu, 0x80000000u}));
    const FrSpan &s = ctx.chunks[0].span;
    const int32_t dir = rightToLeft ? -1 : 1;
    EXPECT_EQ(s.dpixeldx, 4 * dir);
    EXPECT_EQ(s.dpixeldxBig, 128 * dir);
    EXPECT_EQ(s.dzbufdx, 4 * dir);
    EXPECT_EQ(s.drdxBig, 32 * s.drdx);
    EXPECT_EQ(s.dzdxBig, int32_t(32u * uint32_t(s.dzdx)));
    EXPECT_EQ(s.ditherTable, __glFRDitherTables[rightToLeft]);
  }
}

// Between rows every edge value moves by its row step, or its carry step
// when the long edge's fraction carried (its x moved by dxLongCarry).
TEST(SetupWalk, RowStepsFollowTheLongEdgesCarry) {
  for (bool rightToLeft : {false, true}) {
    SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
    SetupContext ctx;
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_TEST |
                 __GL_SHADE_STENCIL_TEST);
    GlVertex a = SetupContext::Vertex(40.3, 1.2, 0.2, {0.1f, 0.9f, 0.3f, 1.0f});
    GlVertex b = SetupContext::Vertex(rightToLeft ? 70.9 : 5.1, 70.7, 0.7, {1.0f, 0.0f, 0.6f, 0.5f});
    GlVertex c = SetupContext::Vertex(rightToLeft ? 3.4 : 90.6, 33.3, 0.4, {0.4f, 0.4f, 0.0f, 0.0f});
    ctx.Draw(&a, &b, &c);
    const FrSpan *prev = nullptr;
    int carries = 0, plain = 0;
    for (const Chunk &c : ctx.chunks) {
      const FrSpan &s = c.span;
      if (s.x != s.ixLong) continue;
      if (prev && s.y == prev->y + 1) {
        const bool carry = s.ixLong - prev->ixLong == s.dxLongCarry;
        ASSERT_TRUE(carry || s.ixLong - prev->ixLong == s.dxLong);
        carry ? carries++ : plain++;
        EXPECT_EQ(s.rEdge, prev->rEdge + (carry ? s.drEdgeCarry : s.drEdge));
        EXPECT_EQ(s.gEdge, prev->gEdge + (carry ? s.dgEdgeCarry : s.dgEdge));
        EXPECT_EQ(s.zEdge, prev->zEdge + uint32_t(carry ? s.dzEdgeCarry : s.dzEdge));
        EXPECT_EQ(s.pixelEdge, prev->pixelEdge + (carry ? s.dpixelEdgeCarry : s.dpixelEdge));
        EXPECT_EQ(s.sbufEdge, prev->sbufEdge + (carry ? s.dsbufEdgeCarry : s.dsbufEdge));
        // Edge steps keep the true direction; carry steps add one pixel
        // step towards the slope's side.
        const int32_t side = s.dxLongCarry - s.dxLong;  // walk-order sign of the slope
        EXPECT_EQ(s.dpixelEdgeCarry - s.dpixelEdge, side * s.dpixeldx);
        EXPECT_EQ(s.drEdgeCarry - s.drEdge, side * s.drdx);
      }
      prev = &s;
    }
    EXPECT_GT(carries, 5);
    EXPECT_GT(plain, 5);
  }
}

}  // namespace
}  // namespace fr_test
