// Colour and depth buffers at different pixel phases: rows spaced so that a
// span's first pixel lies in one lane of its colour group and another of
// its depth group, on most rows. The body draws what the x86/x87 part
// draws and never traps on the buffers' geometry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {
namespace {

using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

struct Pitches {
  int32_t color, depth;  // pixels a row
};

const Pitches kPitches[] = {
    {kWidth, kWidth + 1}, {kWidth + 1, kWidth}, {kWidth + 2, kWidth + 5},
    {kWidth + 3, kWidth + 2}, {kWidth + 5, kWidth + 7}, {kWidth + 6, kWidth},
};

TEST_F(MmxBodyTest, BuffersAtDifferentPhasesDrawAsTheX86Part) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]})
      for (const Pitches &p : kPitches) {
        ASSERT_TRUE(OpenMmx(*f, depthBits));
        colorMemory = window->AttachMemory(&GlDrawable::back, f->colorBits, f->bytes(), 0x5A, p.color);
        depthMemory = window->AttachMemory(&GlDrawable::depth, depthBits, depthBits > 16 ? 4 : 2,
                                           0x5A, p.depth);
        SceneState s;
        s.smooth = true;
        s.depthTest = true;
        const std::vector<SceneStep> steps = {
            Tri(s, V(0.5, 0.75, 0.7, 0.9, 0.1, 0.3), V(63.5, 20.25, 0.3, 0.05, 0.95, 0.6),
                V(7.25, 47.5, 0.5, 0.4, 0.5, 1.0)),
            Tri(s, V(61.25, 2.5, 0.2, 0.1, 0.3, 0.95), V(41.5, 46, 0.6, 1.0, 0.7, 0.02),
                V(2.75, 30.25, 0.4, 0.6, 0.2, 0.5))};
        const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) +
                                 "-bit, pitches " + std::to_string(p.color) + " and " +
                                 std::to_string(p.depth);
        const Image x86 = DrawPart(Part::kX86, steps);
        const Image body = DrawPart(Part::kMmx, steps);
        ExpectNearGeneric(body, x86, what);
        int drawn = 0;
        for (size_t i = 0; i < body.color.size(); i++) drawn += body.color[i] != body.color[0];
        EXPECT_GT(drawn, 1000) << what;
        Close();
      }
}

}  // namespace
}  // namespace mmx_test
