// Which pixels the set-up hands to the chain: against the coverage rule in
// exact arithmetic and against the generic fill, for exact-slope triangles
// (vertices on the 1/16 grid, every edge slope a multiple of 1/128, where
// every intermediate value of either set-up is exact) in every vertex order
// and both row orders; and for other triangles on the grid, where only
// centres within 2^-10 pixel of an edge may go either way.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/fastraster/setup/setup_fixture.h"
#include "tests/raster/fill/coverage_model.h"
#include "tests/raster/fill/fill_fixture.h"

namespace fr_test {
namespace {

using fill_test::GridPoint;
using PixelCounts = std::map<std::pair<int32_t, int32_t>, int>;

const int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

bool ExactSlopes(const GridPoint p[3]) {
  for (int i = 0; i < 3; i++) {
    const GridPoint &u = p[i], &v = p[(i + 1) % 3];
    const int64_t dy = v.y - u.y, dx = v.x - u.x;  // 1/16 units
    if (dy != 0 && (dx * 128) % dy != 0) return false;
  }
  return true;
}

GridPoint Mirrored(GridPoint p) { return {p.x, kHeight * 16 - p.y}; }

// A top-down drawable's viewport puts window y one float step (1/2048 at
// the bias) below the grid, keeping the drawable's last row inside it.
constexpr double kTopDownStep = 1.0 / 2048;

PixelCounts FastPixels(const GridPoint p[3], const int order[3], bool topDown = false) {
  SetupContext ctx;
  ctx.gc()->constants.yInverted = topDown;
  const double dy = topDown ? kTopDownStep : 0;
  GlVertex v[3];
  for (int i = 0; i < 3; i++) v[i] = SetupContext::Vertex(p[i].x / 16.0, p[i].y / 16.0 - dy);
  ctx.Draw(&v[order[0]], &v[order[1]], &v[order[2]]);
  for (const Chunk &c : ctx.chunks) EXPECT_NE(c.mask, 0u);
  return ctx.Pixels();
}

PixelCounts GenericPixels(const GridPoint p[3], bool topDown = false) {
  fill_test::FillContext ctx;
  ctx.gc()->constants.yInverted = topDown;
  const double dy = topDown ? kTopDownStep : 0;
  GlVertex v[3];
  for (int i = 0; i < 3; i++)
    v[i] = fill_test::FillContext::Vertex(p[i].x / 16.0, p[i].y / 16.0 - dy);
  ctx.Fill(&v[0], &v[1], &v[2]);
  return ctx.counts;
}

// Compares with the rule; returns the pixels that went the other way at
// centres nearer an edge than `nearPixels`.
int ExpectRule(const PixelCounts &drawn, const GridPoint p[3], double nearPixels) {
  return fill_test::ExpectModelCoverage(
      drawn, fill_test::ModelCoverage(p[0], p[1], p[2], 16, kWidth, kHeight, nearPixels));
}

struct ExactCase {
  const char *name;
  GridPoint p[3];  // 1/16 pixel
};
const ExactCase kExact[] = {
    {"right angle, centres on both legs", {{136, 136}, {648, 136}, {136, 648}}},
    {"horizontal bottom, slopes 1/2", {{160, 72}, {672, 72}, {416, 584}}},
    {"horizontal top", {{168, 808}, {808, 808}, {488, 296}}},
    {"middle vertex left, quarter-pixel corners", {{324, 36}, {76, 292}, {580, 548}}},
    {"middle vertex right", {{488, 24}, {1128, 536}, {328, 1048}}},
    {"negative slopes with zero fraction", {{968, 40}, {456, 296}, {968, 552}}},
    {"steep, eight pixels a row", {{32, 160}, {1056, 288}, {40, 416}}},
    {"one row high", {{80, 120}, {408, 120}, {240, 136}}},
    {"sub-pixel sliver", {{161, 161}, {162, 161}, {161, 162}}},
    {"slope -2.25 over 32 rows", {{1200, 64}, {48, 576}, {1400, 576}}},
    {"wider than a chunk: 33 and more pixels", {{16, 16}, {1400, 16}, {16, 1040}}},
};

TEST(SetupCoverage, ExactSlopeTrianglesFollowTheRuleAndTheGenericFill) {
  for (const ExactCase &c : kExact) {
    ASSERT_TRUE(ExactSlopes(c.p)) << c.name;
    for (bool topDown : {false, true}) {
      GridPoint p[3];
      for (int i = 0; i < 3; i++) p[i] = topDown ? Mirrored(c.p[i]) : c.p[i];
      const PixelCounts generic = GenericPixels(p);
      for (const auto &order : kOrders) {
        SCOPED_TRACE(std::string(c.name) + (topDown ? ", top-down" : "") + ", order " +
                     std::to_string(order[0]) + std::to_string(order[1]) +
                     std::to_string(order[2]));
        const PixelCounts fast = FastPixels(p, order);
        EXPECT_EQ(ExpectRule(fast, p, 0.0), 0);
        EXPECT_EQ(fast, generic);
      }
    }
  }
}

// On a top-down drawable, whose window y lies a float step off the grid,
// the set-up covers exactly what the generic fill covers (which, through
// that step, draws pixel centres on an edge as the geometry a hair lower
// says); snapping such y a whole 1/16 down moved every edge that passes
// through pixel centres.
TEST(SetupCoverage, TopDownDrawablesCoverAsTheGenericFill) {
  for (const ExactCase &c : kExact) {
    GridPoint p[3];
    for (int i = 0; i < 3; i++) p[i] = Mirrored(c.p[i]);
    const PixelCounts generic = GenericPixels(p, true);
    for (const auto &order : kOrders) {
      SCOPED_TRACE(std::string(c.name) + ", order " + std::to_string(order[0]) +
                   std::to_string(order[1]) + std::to_string(order[2]));
      EXPECT_EQ(FastPixels(p, order, true), generic);
    }
  }
  std::mt19937 rng(46);
  std::uniform_int_distribution<int64_t> x(0, (kWidth - 1) * 2), y(0, (kHeight - 40));
  const int64_t kHeights[][2] = {{32, 16}, {32, 0}, {32, 32}, {16, 0}, {16, 16}};
  for (int n = 0; n < 200; n++) {
    // Corners on pixel centres and edges: ties on every few rows.
    const auto &h = kHeights[n % 5];
    const int64_t top = y(rng) * 16 + 8;
    GridPoint p[3] = {{x(rng) * 8, top}, {x(rng) * 8, top + h[0] * 16}, {x(rng) * 8, top + h[1] * 16}};
    SCOPED_TRACE("triangle " + std::to_string(n));
    EXPECT_EQ(FastPixels(p, kOrders[n % 6], true), GenericPixels(p, true));
  }
}

// Random exact-slope triangles: x on a 1/4 grid, edges 0, 16 or 32 rows
// high, so every slope is a multiple of 1/128.
TEST(SetupCoverage, RandomExactSlopeTrianglesMatchExactly) {
  std::mt19937 rng(45);
  std::uniform_int_distribution<int64_t> x(0, (kWidth - 1) * 4), y(0, (kHeight - 40) * 16);
  const int64_t kHeights[][2] = {{32, 16}, {32, 0}, {32, 32}, {16, 0}, {16, 16}};
  for (int n = 0; n < 200; n++) {
    const auto &h = kHeights[n % 5];
    const int64_t top = y(rng);
    GridPoint p[3] = {{x(rng) * 4, top}, {x(rng) * 4, top + h[0] * 16}, {x(rng) * 4, top + h[1] * 16}};
    ASSERT_TRUE(ExactSlopes(p));
    SCOPED_TRACE("triangle " + std::to_string(n));
    const PixelCounts fast = FastPixels(p, kOrders[n % 6]);
    EXPECT_EQ(ExpectRule(fast, p, 0.0), 0);
    EXPECT_EQ(fast, GenericPixels(p));
  }
}

// Other slopes: the first row's x keeps 11 fraction bits and each row adds
// a 22-bit fraction, so centres within 2^-10 pixel of an edge may go
// either way, and only those.
TEST(SetupCoverage, OtherTrianglesOnTheGridDifferOnlyNextToEdges) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int64_t> x(0, (kWidth - 1) * 16), y(0, (kHeight - 1) * 16);
  int loose = 0;
  for (int n = 0; n < 300; n++) {
    GridPoint p[3];
    for (GridPoint &q : p) q = {x(rng), y(rng)};
    SCOPED_TRACE("triangle " + std::to_string(n));
    loose += ExpectRule(FastPixels(p, kOrders[n % 6]), p, 1.0 / 1024);
  }
  EXPECT_LT(loose, 30);
}

// Vertices off the grid are snapped down to it first.
TEST(SetupCoverage, VerticesSnapDownToTheSixteenthGrid) {
  const GridPoint snapped[3] = {{161, 322}, {1300, 640}, {400, 1100}};
  SetupContext ctx;
  GlVertex v[3];
  for (int i = 0; i < 3; i++)
    v[i] = SetupContext::Vertex((snapped[i].x + 0.9) / 16.0, (snapped[i].y + 0.6) / 16.0);
  ctx.Draw(&v[0], &v[1], &v[2]);
  SetupContext on;
  GlVertex w[3];
  for (int i = 0; i < 3; i++) w[i] = SetupContext::Vertex(snapped[i].x / 16.0, snapped[i].y / 16.0);
  on.Draw(&w[0], &w[1], &w[2]);
  EXPECT_EQ(ctx.Pixels(), on.Pixels());
}

}  // namespace
}  // namespace fr_test
