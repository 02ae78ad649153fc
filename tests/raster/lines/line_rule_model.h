// An independent model of the aliased line rule in exact rational
// arithmetic: end points on a 1/16 grid, nearest pixels with ties to even,
// the octant, the diamond test at both ends and, per pixel, the exact
// minor position at the pixel's major centre.
#pragma once

#include <stdint.h>

#include <vector>

namespace line_test {

struct ModelPixel {
  int32_t major, minor;
  // The exact line passes within 2^-12 pixel of a minor pixel boundary:
  // minor or the neighbour on that side may be drawn.
  int32_t alternative;  // == minor when there is none
};

struct ModelLine {
  bool xMajor = true;
  std::vector<ModelPixel> pixels;
};

// Ends in sixteenths of a pixel, unbiased window coordinates (pixel i's
// centre at i + 0.5).
ModelLine ModelAliasedLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1);

}  // namespace line_test
