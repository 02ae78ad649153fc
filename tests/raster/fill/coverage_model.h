// The coverage rule written from its definition, in exact integer
// arithmetic: vertices in units of 1/grid pixel, pixel (i, j) drawn when
// its centre lies above the lowest vertex and at or below the highest,
// strictly right of the left edge and at or left of the right edge.
#pragma once

#include <stdint.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

namespace fill_test {

struct GridPoint {
  int64_t x, y;  // units of 1/grid pixel, unbiased
};

struct Coverage {
  bool covered = false;
  // The centre lies within `nearUnits` of an edge it is tested against: the
  // float set-up may round it to either side there.
  bool nearEdge = false;
};

// Signed distance numerator of centre (cx, cy) from edge lo -> hi (hi.y >
// lo.y): > 0 right of the edge, 0 on it.
inline int64_t RightOf(GridPoint lo, GridPoint hi, int64_t cx, int64_t cy) {
  return (cx - lo.x) * (hi.y - lo.y) - (cy - lo.y) * (hi.x - lo.x);
}

// Every pixel of the box [0, w) x [0, h) the rule draws or nearly draws.
inline std::map<std::pair<int32_t, int32_t>, Coverage> ModelCoverage(GridPoint p0, GridPoint p1,
                                                                   GridPoint p2, int64_t grid,
                                                                   int32_t w, int32_t h,
                                                                   double nearPixels) {
  std::map<std::pair<int32_t, int32_t>, Coverage> out;
  GridPoint v[3] = {p0, p1, p2};
  std::sort(v, v + 3, [](GridPoint a, GridPoint b) { return a.y < b.y; });
  const GridPoint &mn = v[0], &md = v[1], &mx = v[2];
  // Which side of the long edge the middle vertex lies on.
  const int64_t side = RightOf(mn, mx, md.x, md.y);
  if (side == 0) return out;
  const double near = nearPixels * double(grid);
  for (int32_t j = 0; j < h; j++) {
    const int64_t cy = j * grid + grid / 2;
    if (!(mn.y < cy && cy <= mx.y)) continue;
    const GridPoint lo = cy <= md.y ? mn : md, hi = cy <= md.y ? md : mx;
    for (int32_t i = 0; i < w; i++) {
      const int64_t cx = i * grid + grid / 2;
      const int64_t sLong = RightOf(mn, mx, cx, cy);
      const int64_t sShort = RightOf(lo, hi, cx, cy);
      // The middle vertex right of the long edge: the long edge is the left one.
      const int64_t sLeft = side > 0 ? sLong : sShort;
      const int64_t sRight = side > 0 ? sShort : sLong;
      const GridPoint lLo = side > 0 ? mn : lo, lHi = side > 0 ? mx : hi;
      const GridPoint rLo = side > 0 ? lo : mn, rHi = side > 0 ? hi : mx;
      Coverage c;
      c.covered = sLeft > 0 && sRight <= 0;
      c.nearEdge = std::abs(double(sLeft)) < near * double(lHi.y - lLo.y) ||
                   std::abs(double(sRight)) < near * double(rHi.y - rLo.y);
      if (c.covered || c.nearEdge) out[{i, j}] = c;
    }
  }
  return out;
}

// Pixels drawn (times each) against the model: each drawn once, none
// outside, none missed, except at centres near an edge. Returns how many
// went the other way there.
inline int ExpectModelCoverage(const std::map<std::pair<int32_t, int32_t>, int> &drawn,
                               const std::map<std::pair<int32_t, int32_t>, Coverage> &model) {
  int loose = 0;
  for (const auto &[pixel, times] : drawn) {
    EXPECT_EQ(times, 1) << "pixel " << pixel.first << "," << pixel.second;
    auto m = model.find(pixel);
    if (m == model.end()) {
      ADD_FAILURE() << "drawn outside the triangle: " << pixel.first << "," << pixel.second;
    } else if (!m->second.covered) {
      EXPECT_TRUE(m->second.nearEdge) << pixel.first << "," << pixel.second;
      loose++;
    }
  }
  for (const auto &[pixel, c] : model) {
    if (!c.covered || drawn.count(pixel)) continue;
    EXPECT_TRUE(c.nearEdge) << "missed " << pixel.first << "," << pixel.second;
    loose++;
  }
  return loose;
}

}  // namespace fill_test
