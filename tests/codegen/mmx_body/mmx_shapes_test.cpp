// Span shapes as a table: one-row triangles whose span starts in each lane
// of a group and runs 1 to 9, 16 or 17 pixels, walked in both directions,
// with and without depth: exactly the span's pixels change, in colour and
// depth, and each matches the x86/x87 part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {
namespace {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

const int32_t kLengths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17};

struct Shape {
  int32_t x0, length, row;
  bool rightToLeft;
};

// Row r holds start lane r % 4 and length r / 4, left to right at x 4..,
// right to left at x 36..
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

// A triangle that covers exactly [x0, x0 + length) of its row: one edge
// upright on the span's first pixel in the walk, the far vertex a quarter
// pixel past the last centre.
SceneStep ShapeStep(const SceneState &s, const Shape &sh) {
  const double y = sh.row, x0 = sh.x0, x1 = sh.x0 + sh.length;
  const double z0 = 0.25 + 0.01 * sh.length, z1 = 0.75 - 0.01 * (sh.row % 4);
  if (!sh.rightToLeft)
    return Tri(s, V(x0, y, z0, 0.9, 0.3, 0.6), V(x0, y + 1, z0, 0.4, 0.8, 0.3),
               V(x1 + 0.25, y + 0.5, z1, 0.3, 0.5, 0.95));
  return Tri(s, V(x1, y, z0, 0.9, 0.3, 0.6), V(x0 - 0.25, y + 0.5, z1, 0.4, 0.8, 0.3),
             V(x1, y + 1, z0, 0.3, 0.5, 0.95));
}

TEST_F(MmxBodyTest, SpanShapesChangeExactlyTheirPixels) {
  const std::vector<Shape> shapes = Shapes();
  ASSERT_LE(shapes.back().row, kHeight - 1);
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]})
      for (bool depth : {false, true}) {
        ASSERT_TRUE(OpenMmx(*f, depthBits));
        SceneState s;
        s.smooth = true;
        s.depthTest = depth;
        std::vector<SceneStep> steps;
        for (const Shape &sh : shapes) {
          steps.push_back(ShapeStep(s, sh));
          ASSERT_EQ(span_test::RightToLeft(steps.back().primitive.v.data()), sh.rightToLeft);
        }
        const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) +
                                 "-bit" + (depth ? ", depth" : "");
        const Image cleared = DrawPart(Part::kMmx, {});
        const Image body = DrawPart(Part::kMmx, steps);
        std::vector<bool> inside(body.color.size(), false);
        for (const Shape &sh : shapes)
          for (int32_t x = sh.x0; x < sh.x0 + sh.length; x++) inside[sh.row * kWidth + x] = true;
        int wrong = 0;
        for (size_t i = 0; i < inside.size(); i++) {
          const bool colorChanged = body.color[i] != cleared.color[i];
          const bool depthChanged = body.depth[i] != cleared.depth[i];
          if (colorChanged == inside[i] && depthChanged == (inside[i] && depth)) continue;
          if (wrong++ < 8)
            ADD_FAILURE() << what << ": pixel " << i % kWidth << ", " << i / kWidth
                          << (inside[i] ? " of a span" : " outside the spans") << ": colour "
                          << (colorChanged ? "changed" : "kept") << ", depth "
                          << (depthChanged ? "changed" : "kept");
        }
        ExpectNearGeneric(body, DrawPart(Part::kX86, steps), what);
        Close();
      }
}

}  // namespace
}  // namespace mmx_test
