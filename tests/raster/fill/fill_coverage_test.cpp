// Which pixels the fill hands to the span pipeline, against the coverage
// rule computed exactly: every vertex order, both row orders of the
// drawable, shared edges of fans and strips, and the clip box's rows.
#include <gtest/gtest.h>

#include <math.h>

#include <random>
#include <string>

#include "tests/raster/fill/coverage_model.h"
#include "tests/raster/fill/fill_fixture.h"

namespace fill_test {
namespace {

const int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

GlVertex At(GridPoint p, int64_t grid) {
  return FillContext::Vertex(double(p.x) / double(grid), double(p.y) / double(grid));
}

// A top-down drawable numbers rows from the top: the same triangle lands
// mirrored in window y.
GridPoint Mirrored(GridPoint p, int64_t grid) { return {p.x, kHeight * grid - p.y}; }

// Draws the triangle and compares with the rule; pixels whose centre is
// nearer an edge than `nearPixels` may go either way. Returns the pixels
// that went either way.
int ExpectCoverage(GridPoint p[3], int64_t grid, double nearPixels, const int order[3]) {
  FillContext ctx;
  GlVertex v[3] = {At(p[0], grid), At(p[1], grid), At(p[2], grid)};
  ctx.Fill(&v[order[0]], &v[order[1]], &v[order[2]]);
  const int loose = ExpectModelCoverage(
      ctx.counts, ModelCoverage(p[0], p[1], p[2], grid, kWidth, kHeight, nearPixels));
  for (const Span &s : ctx.spans) EXPECT_GT(s.length, 0);
  return loose;
}

// Triangles whose edges the float set-up meets exactly: vertices on a
// 1/16 grid, every non-horizontal edge a power of two high, many pixel
// centres exactly on edges and corners. Units of 1/16 pixel.
struct ExactCase {
  const char *name;
  GridPoint p[3];
};
const ExactCase kExact[] = {
    {"right angle, centres on both legs", {{8 * 16 + 8, 8 * 16 + 8}, {40 * 16 + 8, 8 * 16 + 8}, {8 * 16 + 8, 40 * 16 + 8}}},
    {"horizontal bottom, slopes 1/2", {{10 * 16, 4 * 16 + 8}, {42 * 16, 4 * 16 + 8}, {26 * 16, 36 * 16 + 8}}},
    {"horizontal top", {{10 * 16 + 8, 50 * 16 + 8}, {50 * 16 + 8, 50 * 16 + 8}, {30 * 16 + 8, 18 * 16 + 8}}},
    {"middle vertex left, quarter-pixel corners", {{20 * 16 + 4, 2 * 16 + 4}, {4 * 16 + 12, 18 * 16 + 4}, {36 * 16 + 4, 34 * 16 + 4}}},
    {"middle vertex right", {{30 * 16 + 8, 1 * 16 + 8}, {70 * 16 + 8, 33 * 16 + 8}, {20 * 16 + 8, 65 * 16 + 8}}},
    {"negative slopes with zero fraction", {{60 * 16 + 8, 2 * 16 + 8}, {28 * 16 + 8, 18 * 16 + 8}, {60 * 16 + 8, 34 * 16 + 8}}},
    {"steep, eight pixels a row", {{2 * 16, 10 * 16}, {66 * 16, 18 * 16}, {2 * 16 + 8, 26 * 16}}},
    {"one row high", {{5 * 16, 7 * 16 + 8}, {25 * 16 + 8, 7 * 16 + 8}, {15 * 16, 8 * 16 + 8}}},
    {"needle: spans of width zero", {{40 * 16 + 3, 4 * 16}, {40 * 16 + 5, 4 * 16}, {40 * 16 + 4, 68 * 16}}},
    {"sub-pixel sliver", {{10 * 16 + 1, 10 * 16 + 1}, {10 * 16 + 2, 10 * 16 + 1}, {10 * 16 + 1, 10 * 16 + 2}}},
};

TEST(FillCoverage, ExactTrianglesInEveryVertexOrderAndRowOrder) {
  for (const ExactCase &c : kExact) {
    for (bool topDown : {false, true}) {
      for (const auto &order : kOrders) {
        SCOPED_TRACE(std::string(c.name) + (topDown ? ", top-down" : "") + ", order " +
                     std::to_string(order[0]) + std::to_string(order[1]) +
                     std::to_string(order[2]));
        GridPoint p[3];
        for (int i = 0; i < 3; i++) p[i] = topDown ? Mirrored(c.p[i], 16) : c.p[i];
        EXPECT_EQ(ExpectCoverage(p, 16, 0.0, order), 0);
      }
    }
  }
}

// Random vertices on a 1/16 and a 1/256 grid: exact except for centres
// within 1/512 pixel of an edge, where the float set-up rounds.
TEST(FillCoverage, RandomTrianglesOnFineGrids) {
  std::mt19937 rng(11);
  for (int64_t grid : {16, 256}) {
    std::uniform_int_distribution<int64_t> x(0, (kWidth - 1) * grid), y(0, (kHeight - 1) * grid);
    int loose = 0;
    for (int n = 0; n < 300; n++) {
      GridPoint p[3];
      for (GridPoint &q : p) q = {x(rng), y(rng)};
      SCOPED_TRACE("grid " + std::to_string(grid) + ", triangle " + std::to_string(n));
      loose += ExpectCoverage(p, grid, 1.0 / 512, kOrders[n % 6]);
    }
    // Rounding shows at a handful of centres, not along whole edges.
    EXPECT_LT(loose, 30) << "grid " << grid;
  }
}

// A fan around a centre and a strip: every pixel of the union drawn once,
// none twice, none outside.
struct MeshCase {
  const char *name;
  bool strip;
  int64_t grid;
};
const MeshCase kMeshes[] = {{"fan, 1/16", false, 16}, {"fan, 1/256", false, 256},
                            {"strip, 1/16", true, 16}, {"strip, 1/256", true, 256}};

TEST(FillCoverage, SharedEdgesOfFansAndStripsAreDrawnOnce) {
  std::mt19937 rng(7);
  for (const MeshCase &c : kMeshes) {
    SCOPED_TRACE(c.name);
    const int64_t g = c.grid;
    std::uniform_int_distribution<int64_t> jitter(-3 * g, 3 * g);
    std::vector<GridPoint> points;
    if (c.strip) {
      for (int k = 0; k < 12; k++)
        points.push_back({(6 + 7 * k) * g + jitter(rng), (k % 2 ? 60 : 12) * g + jitter(rng)});
    } else {
      points.push_back({48 * g + jitter(rng), 40 * g + jitter(rng)});
      for (int k = 0; k <= 16; k++) {
        const double angle = 6.283185307179586 * (k % 16) / 16;
        points.push_back({int64_t((48 + 34 * cos(angle)) * g), int64_t((40 + 34 * sin(angle)) * g)});
      }
    }
    FillContext ctx;
    std::vector<GlVertex> v;
    for (GridPoint p : points) v.push_back(At(p, g));
    std::map<std::pair<int32_t, int32_t>, int> expected;
    int triangles = 0;
    for (size_t k = 0; k + 2 < points.size(); k++) {
      size_t i0 = c.strip ? k : 0, i1 = k + 1, i2 = k + 2;
      // Alternate windings as strips and fans hand them over.
      if (c.strip && k % 2) std::swap(i1, i2);
      ctx.Fill(&v[i0], &v[i1], &v[i2]);
      for (const auto &[pixel, cov] :
           ModelCoverage(points[i0], points[i1], points[i2], g, kWidth, kHeight, 0.0))
        if (cov.covered) expected[pixel]++;
      triangles++;
    }
    ASSERT_GT(triangles, 8);
    for (const auto &[pixel, times] : ctx.counts)
      EXPECT_EQ(times, 1) << "pixel " << pixel.first << "," << pixel.second;
    // Away from the outline the union is exact; the outline may round.
    int differ = 0;
    for (const auto &[pixel, times] : expected) {
      EXPECT_EQ(times, 1) << "the model counts a shared pixel twice";
      if (!ctx.counts.count(pixel)) differ++;
    }
    for (const auto &[pixel, times] : ctx.counts)
      if (!expected.count(pixel)) differ++;
    EXPECT_LT(differ, 6);
  }
}

// Rows outside the clip box are not handed over; the rows inside are the
// same spans, with the same start values, as without the clip box.
TEST(FillCoverage, ClipBoxRowsAreSkippedWithExactContinuation) {
  struct Case {
    const char *name;
    int32_t y0, y1;
  };
  const Case kCases[] = {{"bottom rows", 20, kHeight}, {"top rows", 0, 30}, {"a band", 17, 23},
                         {"one row", 40, 41}, {"none", 70, 80}};
  const GlColor c0 = {10, 200, 30, 255}, c1 = {250, 5, 90, 0}, c2 = {60, 120, 240, 128};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext whole, clipped;
    clipped.SetClipBox(0, c.y0, kWidth, c.y1);
    for (FillContext *ctx : {&whole, &clipped}) {
      ctx->SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_ITER |
                    __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST);
      GlVertex a = FillContext::Vertex(3.3, 2.7, 0.1, c0);
      GlVertex b = FillContext::Vertex(80.6, 30.2, 0.9, c1);
      GlVertex d = FillContext::Vertex(20.1, 66.9, 0.4, c2);
      ctx->Fill(&a, &b, &d);
    }
    size_t k = 0;
    for (const Span &s : whole.spans) {
      if (s.y < c.y0 || s.y >= c.y1) continue;
      ASSERT_LT(k, clipped.spans.size());
      const Span &t = clipped.spans[k++];
      EXPECT_EQ(t.y, s.y);
      EXPECT_EQ(t.x, s.x);
      EXPECT_EQ(t.length, s.length);
      EXPECT_EQ(t.shader.z, s.shader.z);
      EXPECT_EQ(t.shader.r, s.shader.r);
      EXPECT_EQ(t.shader.g, s.shader.g);
      EXPECT_EQ(t.shader.b, s.shader.b);
      EXPECT_EQ(t.shader.a, s.shader.a);
      EXPECT_EQ(static_cast<uint8_t *>(t.shader.zbuf) - clipped.depth.buffer()->base,
                static_cast<uint8_t *>(s.shader.zbuf) - whole.depth.buffer()->base);
      EXPECT_EQ(t.shader.sbuf - clipped.stencil.buffer()->base,
                s.shader.sbuf - whole.stencil.buffer()->base);
    }
    EXPECT_EQ(k, clipped.spans.size());
  }
}

}  // namespace
}  // namespace fill_test
