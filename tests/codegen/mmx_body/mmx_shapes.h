// Span shapes as a table: one-row triangles whose span starts in each lane
// of a group and runs 1 to 9, 16 or 17 pixels, walked in both directions.
#pragma once

#include <stdint.h>

#include <vector>

#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {

struct Shape {
  int32_t x0, length, row;
  bool rightToLeft;
};

// Row r holds start lane r % 4 and length r / 4, left to right at x 4..,
// right to left at x 36..
std::vector<Shape> Shapes();

// A triangle that covers exactly [x0, x0 + length) of its row: one edge
// upright on the span's first pixel in the walk, the far vertex a quarter
// pixel past the last centre.
SceneStep ShapeStep(const SceneState &s, const Shape &sh);

}  // namespace mmx_test
