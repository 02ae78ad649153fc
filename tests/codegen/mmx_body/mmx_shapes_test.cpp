// Span shapes as a table: one-row triangles whose span starts in each lane
// of a group and runs 1 to 9, 16 or 17 pixels, walked in both directions,
// with and without depth: exactly the span's pixels change, in colour and
// depth, and each matches the x86/x87 part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_body/mmx_shapes.h"

namespace mmx_test {
namespace {

using scene_test::kHeight;
using scene_test::kWidth;
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
