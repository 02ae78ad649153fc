#include "tests/codegen/mmx_body/mmx_shapes.h"

namespace mmx_test {

using scene_test::Tri;
using scene_test::V;

namespace {

const int32_t kLengths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17};

}  // namespace

std::vector<Shape> Shapes() {
  std::vector<Shape> shapes;
  int32_t row = 0;
  for (int32_t length : kLengths)
    for (int32_t lane = 0; lane < 4; lane++, row++) {
      shapes.push_back({4 + lane, length, row, false});
      shapes.push_back({36 + lane, length, row, true});
    }
  return shapes;
}

SceneStep ShapeStep(const SceneState &s, const Shape &sh) {
  const double y = sh.row, x0 = sh.x0, x1 = sh.x0 + sh.length;
  const double z0 = 0.25 + 0.01 * sh.length, z1 = 0.75 - 0.01 * (sh.row % 4);
  if (!sh.rightToLeft)
    return Tri(s, V(x0, y, z0, 0.9, 0.3, 0.6), V(x0, y + 1, z0, 0.4, 0.8, 0.3),
               V(x1 + 0.25, y + 0.5, z1, 0.3, 0.5, 0.95));
  return Tri(s, V(x1, y, z0, 0.9, 0.3, 0.6), V(x0 - 0.25, y + 0.5, z1, 0.4, 0.8, 0.3),
             V(x1, y + 1, z0, 0.3, 0.5, 0.95));
}

}  // namespace mmx_test
