// The rectangle sets and triangles the window clipper's tests share
// (drawable coordinates of a 64 x 48 window).
#pragma once

#include <vector>

#include "tests/geometry/clip_window/window_fixture.h"

namespace clip_window_test {

const std::vector<RectSet> &RectSets();
// Triangles of some size, in both windings.
const std::vector<Triangle> &Triangles();

}  // namespace clip_window_test
