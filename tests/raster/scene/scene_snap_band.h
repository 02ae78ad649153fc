// Where the fast paths may cover a clipped triangle otherwise than the
// generic fill: a band along the pieces the clipper cuts it into.
#pragma once

#include <vector>

#include "tests/raster/scene/scene_reference.h"

namespace scene_test {

// The view volume in window coordinates (for scenes that map object to
// window coordinates one to one): the viewport's rectangle, depths 0 to 1.
struct ViewBox {
  double x0, y0, x1, y1;
};

// Marks (row by row in device order, the reference's size) every pixel
// whose centre lies within the snap's reach of a segment between two
// corners of the triangle clipped to `box`, one of them made by the
// clipper: the pieces' outlines, cuts and diagonals. Nothing when the
// triangle is not cut.
void MarkSnapBand(const SceneReference &ref, const ViewBox &box,
                  const SceneVertex *const corners[3], std::vector<bool> *marks);

}  // namespace scene_test
