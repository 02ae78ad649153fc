// The MMX body over the untextured states the picker sends it: RGB332,
// RGB555 and RGB565, flat or smooth, dithered or not, the eight depth
// functions with writes on and off over 16- and 32-bit depth, and the depth
// pass alone; each against the generic path and the x86/x87 part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/s_shader.h"
#include "tests/codegen/mmx_body/mmx_fixture.h"

namespace mmx_test {
namespace {

using scene_test::Tri;
using scene_test::V;

std::vector<const ColorFormat *> Formats() {
  return {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2]};
}

// Overlapping triangles in separate depth bands, far first, walked in both
// directions, with spans from one pixel to the window's width and edges off
// the pixel grid so that spans start in every lane.
std::vector<SceneStep> Layers(const SceneState &s) {
  return {Tri(s, V(0.5, 1.25, 0.8, 0.9, 0.1, 0.3), V(63.75, 17.5, 0.85, 0.05, 0.95, 0.6),
              V(9.25, 46.75, 0.9, 0.4, 0.5, 1.0)),
          Tri(s, V(62.25, 3.5, 0.2, 0.0, 0.3, 0.95), V(37.5, 47, 0.25, 1.0, 0.7, 0.02),
              V(1.75, 29.25, 0.3, 0.6, 0.0, 0.5)),
          Tri(s, V(21.5, 25.5, 0.5, 0.25, 0.75, 0.125), V(63.25, 44.75, 0.55, 0.8, 0.2, 0.9),
              V(2.25, 46.5, 0.6, 0.1, 0.9, 0.4))};
}

TEST_F(MmxBodyTest, UntexturedStatesDrawAsTheOtherPaths) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : Formats()) {
      ASSERT_TRUE(OpenMmx(*f, depthBits));
      for (bool smooth : {false, true})
        for (bool dith : {false, true})
          for (const DepthCase &d : DepthCases()) {
            const SceneState s = StateOf(d, smooth);
            dither = dith;
            ExpectBodyMatches(Layers(s), CaseName(*f, depthBits, smooth, dith, d));
          }
      Close();
    }
}

TEST_F(MmxBodyTest, DepthPassWritesDepthAlone) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : Formats()) {
      ASSERT_TRUE(OpenMmx(*f, depthBits));
      SceneState s;
      s.depthTest = true;
      s.smooth = true;
      const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) + "-bit";
      ExpectBodyMatches(Layers(s), what, true);
      EXPECT_TRUE(Flags() & __GL_SHADE_MASK);
      const Image body = DrawPart(Part::kMmx, Layers(s), true);
      for (size_t i = 0; i < body.color.size(); i++)
        ASSERT_EQ(body.color[i], body.color[0]) << what << ": pixel " << i;
      Close();
    }
}

// Full-scale gradients over one or two pixels: the words run past either
// end of the channel and must not wrap.
TEST_F(MmxBodyTest, SteepGradientsNeverWrap) {
  for (const ColorFormat *f : Formats())
    for (bool dith : {false, true}) {
      ASSERT_TRUE(OpenMmx(*f, 16));
      SceneState s;
      s.depthTest = true;
      std::vector<SceneStep> steps;
      const double widths[] = {1.0 / 8, 0.5, 1, 2};
      for (int i = 0; i < 4; i++) {
        const double x = 2 + 15 * i, w = widths[i];
        steps.push_back(Tri(s, V(x, 1.5, 0.5, 1, 0, 1), V(x + 6, 46.25, 0.5, 1, 0, 1),
                            V(x + 6 + w, 46.25, 0.5, 0, 1, 0)));
        steps.push_back(Tri(s, V(x + 0.5, 1, 0.5, 0, 1, 1), V(x + 0.5 + w, 1, 0.5, 1, 0, 0),
                            V(x + 7.5, 47, 0.5, 1, 0, 0)));
      }
      dither = dith;
      ExpectBodyMatches(steps, std::string(f->name) + (dith ? ", dithered" : ""), false, true);
      Close();
    }
}

}  // namespace
}  // namespace mmx_test
