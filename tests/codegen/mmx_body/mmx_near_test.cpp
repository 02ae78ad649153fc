// Triangles cut by the near plane under GL_LESS: depths that rounding puts
// a little below 0 next to the cut count as 0, so the body leaves no holes
// where the x86/x87 part draws and never stores a depth above the scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fastraster/fr_setup.h"
#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {
namespace {

using scene_test::Tri;
using scene_test::V;

TEST_F(MmxBodyTest, TriangleCutByTheNearPlaneHasNoHoles) {
  for (uint32_t depthBits : {16u, 32u})
    for (bool smooth : {false, true}) {
      ASSERT_TRUE(OpenMmx(kRgbFormats[2], depthBits));
      SceneState s;
      s.smooth = smooth;
      s.depthTest = true;
      // z reaches 0 through pixel centres in both walk directions, and
      // cuts at other depths.
      std::vector<SceneStep> steps = {
          Tri(s, V(24, 8, 0.640625, 1, 0, 1), V(56, 8, -0.359375, 0, 1, 1), V(24, 40, 0.640625, 1, 1, 0)),
          Tri(s, V(40, 8, 0.640625, 1, 0, 1), V(8, 8, -0.359375, 0, 1, 1), V(40, 40, 0.640625, 1, 1, 0)),
          Tri(s, V(10, 4, 1, 1, 0, 1), V(52, 4, -3, 0, 1, 1), V(30, 44, 0.5, 1, 1, 0)),
          Tri(s, V(2, 2, 0.015625, 1, 0, 1), V(62, 40, 0.5, 0, 1, 1), V(5, 46, -0.25, 1, 1, 0))};
      for (double z : {-0.35, -0.05, -0.0071})
        steps.push_back(Tri(s, V(1.5, 2.25, z, 0.9, 0.2, 0.3), V(62.75, 9.5, 0.6, 0.1, 0.8, 0.4),
                            V(30.25, 46.75, 0.2, 0.5, 0.5, 1.0)));
      const uint32_t depthMax = Target().depthMax;
      // The first two again with every depth lowered a little, as rounding
      // may leave it: the lanes next to the cut go below 0.
      const size_t plain = steps.size();
      steps.push_back(steps[0]);
      steps.push_back(steps[1]);
      for (size_t k = 0; k < steps.size(); k++) {
        std::vector<span_test::Nudge> nudges;
        if (k >= plain) nudges.push_back({offsetof(FrSpan, zEdge), -0x1000});
        const std::string what = std::to_string(depthBits) + "-bit, triangle " + std::to_string(k) +
                                 (smooth ? ", smooth" : "");
        const Image x86 = DrawPart(Part::kX86, {steps[k]}, false, nudges);
        const Image body = DrawPart(Part::kMmx, {steps[k]}, false, nudges);
        ExpectNearGeneric(body, x86, what);
        int holes = 0, drawn = 0;
        for (size_t i = 0; i < body.color.size(); i++) {
          if (x86.color[i] == x86.color[0]) continue;
          drawn++;
          if (body.color[i] == x86.color[0] && holes++ < 8)
            ADD_FAILURE() << what << ": hole at pixel " << i;
          if (body.depth[i] > depthMax && holes++ < 8)
            ADD_FAILURE() << what << ": depth " << body.depth[i] << " above " << depthMax;
        }
        EXPECT_GT(drawn, 200) << what;
      }
      Close();
    }
}

}  // namespace
}  // namespace mmx_test
