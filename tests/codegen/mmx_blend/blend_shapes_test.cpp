// Blended spans of every shape of the table, in both directions, with and
// without depth: exactly the span's pixels change, each blended with its
// own destination pixel (neighbours in the background differ); and spans
// on the buffers' first and last pixels read the destination groups inside
// the 16 bytes of slack without a fault against the guard pages.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_blend/blend_fixture.h"
#include "tests/codegen/mmx_body/mmx_guarded.h"
#include "tests/codegen/mmx_body/mmx_shapes.h"

namespace blend_test {
namespace {

using mmx_test::Shape;
using scene_test::kHeight;
using scene_test::kWidth;

SceneState Over(bool depth) {
  SceneState s = Blended(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  s.depthTest = depth;
  return s;
}

bool Near(const ColorFormat &f, uint32_t a, uint32_t b, int64_t tolerance) {
  for (int k = 0; k < 3; k++) {
    const int64_t x = (a & f.masks[k]) >> __builtin_ctz(f.masks[k]);
    const int64_t y = (b & f.masks[k]) >> __builtin_ctz(f.masks[k]);
    if (llabs(x - y) > tolerance) return false;
  }
  return true;
}

TEST_F(BlendTest, BlendedSpanShapesChangeExactlyTheirPixels) {
  const std::vector<Shape> shapes = mmx_test::Shapes();
  ASSERT_LE(shapes.back().row, kHeight - 1);
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]})
      for (bool depth : {false, true}) {
        ASSERT_TRUE(OpenMmx(*f, depthBits));
        std::vector<SceneStep> steps;
        for (const Shape &sh : shapes) {
          steps.push_back(mmx_test::ShapeStep(Over(depth), sh));
          const double alphas[3] = {0.55, 0.7, 0.4};
          for (int v = 0; v < 3; v++) steps.back().primitive.v[size_t(v)].c[3] = alphas[v];
        }
        const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) +
                                 "-bit" + (depth ? ", depth" : "");
        const Image cleared = DrawBlend(Path::kGenerated, {});
        const Image body = DrawBlend(Path::kGenerated, steps);
        const Image generic = DrawBlend(Path::kGeneric, steps);
        std::vector<bool> inside(body.color.size(), false);
        for (const Shape &sh : shapes)
          for (int32_t x = sh.x0; x < sh.x0 + sh.length; x++) inside[size_t(sh.row * kWidth + x)] = true;
        int wrong = 0;
        for (size_t i = 0; i < inside.size(); i++) {
          const bool colorKept = body.color[i] == cleared.color[i];
          const bool depthChanged = body.depth[i] != cleared.depth[i];
          const bool colorRight = inside[i] ? Near(*f, body.color[i], generic.color[i], 1) : colorKept;
          if (colorRight && depthChanged == (inside[i] && depth)) continue;
          if (wrong++ < 8)
            ADD_FAILURE() << what << ": pixel " << i % kWidth << ", " << i / kWidth
                          << (inside[i] ? " of a span" : " outside the spans") << ": colour "
                          << std::hex << body.color[i] << " (generic " << generic.color[i]
                          << ", before " << cleared.color[i] << std::dec << "), depth "
                          << (depthChanged ? "changed" : "kept");
        }
        Close();
      }
}

TEST_F(BlendTest, BlendedSpansAtTheBuffersEndsStayInsideTheSlack) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]})
    for (bool guardAfter : {false, true})
      for (uint32_t lane = 0; lane < 4; lane++) {
        ASSERT_TRUE(OpenMmx(*f, 16));
        const mmx_test::Placement p{guardAfter, lane * f->bytes()};
        std::vector<SceneStep> steps = mmx_test::Corners(Over(true));
        for (SceneStep &s : steps)
          for (auto &v : s.primitive.v) v.c[3] = 0.5;
        const std::string what = std::string(f->name) + ", guard " +
                                 (guardAfter ? "after" : "before") + ", colour moved " +
                                 std::to_string(lane) + " pixels";
        Image images[2];
        for (Path path : {Path::kGeneric, Path::kGenerated}) {
          mmx_test::GuardedScene scene(window->drawable(), p);
          DrawBlend(path, steps);
          images[path == Path::kGenerated] = scene.Read();
          EXPECT_TRUE(scene.SlackIntact()) << what;
        }
        // The corner slivers blend over the large triangles: two blends,
        // each within a unit.
        for (size_t i = 0; i < images[0].color.size(); i++)
          ASSERT_TRUE(Near(*f, images[1].color[i], images[0].color[i], 2))
              << what << ": pixel " << i % kWidth << ", " << i / kWidth << std::hex << ": "
              << images[1].color[i] << ", generic " << images[0].color[i];
        Close();
      }
}

}  // namespace
}  // namespace blend_test
