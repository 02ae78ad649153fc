#include "tests/codegen/mmx_body/mmx_guarded.h"

namespace mmx_test {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

std::vector<SceneStep> Corners(const SceneState &s) {
  const double w = kWidth, h = kHeight;
  return {Tri(s, V(0, 0, 0.6, 0.9, 0.1, 0.3), V(w, 0, 0.4, 0.1, 0.9, 0.6), V(w, h, 0.5, 0.4, 0.5, 1.0)),
          Tri(s, V(0, 0, 0.6, 0.9, 0.1, 0.3), V(w, h, 0.5, 0.4, 0.5, 1.0), V(0, h, 0.3, 0.2, 0.7, 0.1)),
          Tri(s, V(0, 0, 0.2, 1, 1, 0), V(2.5, 0, 0.2, 1, 0, 1), V(0, 3, 0.2, 0, 1, 1)),
          Tri(s, V(w, 0, 0.2, 1, 1, 0), V(w, 3, 0.2, 0, 1, 1), V(w - 2.5, 0, 0.2, 1, 0, 1)),
          Tri(s, V(0, h, 0.2, 1, 1, 0), V(0, h - 3, 0.2, 0, 1, 1), V(2.5, h, 0.2, 1, 0, 1)),
          Tri(s, V(w, h, 0.2, 1, 1, 0), V(w - 2.5, h, 0.2, 1, 0, 1), V(w, h - 3, 0.2, 0, 1, 1))};
}

}  // namespace mmx_test
