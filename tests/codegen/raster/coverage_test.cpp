// On triangles whose slopes are not exact, the generated divides truncate
// where the pre-built ones round: the pixels the two hand to the chain may
// differ, but only where a pixel centre lies within 2^-10 pixel of an edge.
#include <math.h>

#include <gtest/gtest.h>

#include "fastraster/fr_setup_fixed.h"
#include "tests/codegen/raster/raster_fixture.h"

namespace raster_test {
namespace {

// The window coordinate both setups work from: half a pixel on, snapped to
// 1/16, and back.
double Snapped(double window) {
  return double(FrSnap(float(window + fr_test::kBias + 0.5))) - fr_test::kBias - 0.5;
}

// The horizontal distance from (x, y) to the nearest of the three edges,
// over the edges whose rows include y.
double EdgeDistance(const double (&p)[3][2], double x, double y) {
  double best = INFINITY;
  for (int e = 0; e < 3; e++) {
    const double *a = p[e], *b = p[(e + 1) % 3];
    if (a[1] == b[1]) continue;
    if (y < fmin(a[1], b[1]) || y > fmax(a[1], b[1])) continue;
    const double xe = a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1]);
    best = fmin(best, fabs(x - xe));
  }
  return best;
}

struct Random {
  uint32_t state = 0x2545F491u;
  double Between(double lo, double hi) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    return lo + (hi - lo) * double(state >> 8) / 16777216.0;
  }
};

TEST(SpanletCoverage, DiffersOnlyNextToEdges) {
  Random random;
  int differing = 0;
  for (int t = 0; t < 60; t++) {
    RasterContext rc;
    rc.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR);
    double p[3][2];
    GlVertex v[3];
    for (int i = 0; i < 3; i++) {
      const double x = random.Between(0, fr_test::kWidth), y = random.Between(0, fr_test::kHeight);
      v[i] = RasterContext::Vertex(x, y);
      p[i][0] = Snapped(x), p[i][1] = Snapped(y);
    }
    rc.chunks = rc.Prebuilt(&v[0], &v[1], &v[2]);
    const auto want = rc.Pixels();
    rc.gc()->vertexBuffer.provoking = nullptr;
    rc.chunks = rc.Generated(&v[0], &v[1], &v[2]);
    const auto got = rc.Pixels();
    for (const auto *set : {&want, &got}) {
      const auto *other = set == &want ? &got : &want;
      for (const auto &[pixel, times] : *set) {
        EXPECT_EQ(times, 1) << "pixel handed on once";
        if (other->count(pixel)) continue;
        differing++;
        const double d = EdgeDistance(p, pixel.first + 0.5, pixel.second + 0.5);
        EXPECT_LT(d, 1.0 / 1024) << "triangle " << t << ", pixel " << pixel.first << ","
                                 << pixel.second;
      }
    }
  }
  RecordProperty("differing pixels", differing);
}

}  // namespace
}  // namespace raster_test
