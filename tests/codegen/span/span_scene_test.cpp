// The generated span outside spanlet mode against the generic path and the
// reference renderer, over every untextured state the picker may send it:
// the five formats, flat or smooth, dithered or not, the eight depth
// functions with writes on and off over 16- and 32-bit depth, and the depth
// pass alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/s_shader.h"
#include "tests/codegen/span/span_fixture.h"

namespace span_test {
namespace {



using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

// RGB332, RGB555, RGB565, XRGB8 and CI8 (the format lists are built at
// start-up, so they are read at run time).
std::vector<const ColorFormat *> Formats() {
  return {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2], &kRgbFormats[5], &kIndexFormats[0]};
}

// Three overlapping triangles on exact slopes, each in its own depth band
// (farther apart than the depth drift), the far one first, then the near
// one, then the middle one; spans in both walk directions and up to 60
// pixels long.
std::vector<SceneStep> Bands(const SceneState &s) {
  return {Tri(s, V(2.25, 4, 0.8, 0.9, 0.1, 0.3), V(61.5, 20, 0.85, 0.05, 0.95, 0.6),
              V(10.75, 36, 0.9, 0.4, 0.5, 1.0)),
          Tri(s, V(60.25, 11, 0.2, 0.0, 0.3, 0.95), V(40, 43, 0.25, 1.0, 0.7, 0.02),
              V(3.5, 27, 0.3, 0.6, 0.0, 0.5)),
          Tri(s, V(20.5, 30, 0.5, 0.25, 0.75, 0.125), V(63.75, 46, 0.55, 0.8, 0.2, 0.9),
              V(1.25, 45.5, 0.6, 0.1, 0.9, 0.4))};
}

TEST_F(SpanSceneTest, UntexturedStatesDrawAsTheGenericPath) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : Formats()) {
      ASSERT_TRUE(OpenPlain(*f, depthBits));
      for (bool smooth : {false, true})
        for (bool dith : {false, true})
          for (const DepthCase &d : DepthCases()) {
            const SceneState s = StateOf(d, smooth);
            const std::vector<SceneStep> steps = scene_test::ForFormat(Bands(s), *f);
            dither = dith;
            const std::string what = CaseName(*f, depthBits, smooth, dith, d);
            const Image generic = DrawOn(Path::kGeneric, steps);
            SceneReference ref(Target());
            const Image gen = DrawOn(Path::kGenerated, steps, &ref);
            ExpectNearGeneric(gen, generic, what);
            // Undithered colours, coverage and depth against the reference.
            if (!dith) Compare(ref, what);
          }
      Close();
    }
}

// Colour writes masked: the depth pass alone, the colour memory as cleared.
TEST_F(SpanSceneTest, DepthOnlyPassWritesDepthAlone) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[2], &kIndexFormats[0]}) {
      ASSERT_TRUE(OpenPlain(*f, depthBits));
      SceneState s;
      s.depthTest = true;
      const std::vector<SceneStep> steps = scene_test::ForFormat(Bands(s), *f);
      const Image generic = DrawOn(Path::kGeneric, steps, nullptr, true);
      EXPECT_TRUE(Flags() & __GL_SHADE_MASK);
      const Image gen = DrawOn(Path::kGenerated, steps, nullptr, true);
      const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) + "-bit";
      ExpectNearGeneric(gen, generic, what);
      for (size_t i = 0; i < gen.color.size(); i++)
        ASSERT_EQ(gen.color[i], gen.color[0]) << what << ": pixel " << i;
      Close();
    }
}

// Clipped at the near plane: depths next to the cut that rounding puts a
// little below 0 still pass GL_LESS against the cleared buffer.
TEST_F(SpanSceneTest, TriangleCutByTheNearPlaneHasNoHoles) {
  for (uint32_t depthBits : {16u, 32u})
    for (bool smooth : {false, true}) {
      ASSERT_TRUE(OpenPlain(kRgbFormats[2], depthBits));
      SceneState s;
      s.smooth = smooth;
      s.depthTest = true;
      // z = 0 along x = 44.5 and x = 20.5, through the centres of columns 44
      // and 20, reached by stepping z down across rows and pixels in both
      // walk directions; and cuts at other depths.
      std::vector<SceneStep> steps = {Tri(s, V(24, 8, 0.640625, 1, 0, 1), V(56, 8, -0.359375, 0, 1, 1),
                                          V(24, 40, 0.640625, 1, 1, 0)),
                                      Tri(s, V(40, 8, 0.640625, 1, 0, 1), V(8, 8, -0.359375, 0, 1, 1),
                                          V(40, 40, 0.640625, 1, 1, 0))};
      steps.push_back(Tri(s, V(10, 4, 1, 1, 0, 1), V(52, 4, -3, 0, 1, 1), V(10, 44, 1, 1, 1, 0)));
      steps.push_back(Tri(s, V(52, 4, 1, 1, 0, 1), V(10, 4, -3, 0, 1, 1), V(52, 44, 1, 1, 1, 0)));
      steps.push_back(Tri(s, V(10, 4, 1, 1, 0, 1), V(52, 4, -3, 0, 1, 1), V(30, 44, 0.5, 1, 1, 0)));
      steps.push_back(Tri(s, V(2, 2, 0.015625, 1, 0, 1), V(62, 40, 0.5, 0, 1, 1), V(5, 46, -0.25, 1, 1, 0)));
      for (double z : {-0.35, -0.05, -0.0071})
        steps.push_back(Tri(s, V(1.5, 2.25, z, 0.9, 0.2, 0.3), V(62.75, 9.5, 0.6, 0.1, 0.8, 0.4),
                            V(30.25, 46.75, 0.2, 0.5, 0.5, 1.0)));
      for (size_t k = 0; k < steps.size(); k++) {
        const Image generic = DrawOn(Path::kGeneric, {steps[k]});
        const Image gen = DrawOn(Path::kGenerated, {steps[k]});
        const std::string what = std::to_string(depthBits) + "-bit, z " +
                                 std::to_string(steps[k].primitive.v[1].z) + (smooth ? ", smooth" : "");
        // The first two cut along x = 44.5 and 20.5 and keep exact
        // vertices: the same pixels as the generic path. The others give
        // vertices off the grid, whose edge pixels either path may take;
        // inside, every pixel the generic path draws is drawn.
        const bool exact = k < 2;
        const uint32_t clear = generic.color[0];
        const auto drawn = [&](const Image &im, int32_t x, int32_t y) {
          return x >= 0 && y >= 0 && x < kWidth && y < kHeight && im.color[y * kWidth + x] != clear;
        };
        int inside = 0, holes = 0;
        for (int32_t y = 0; y < kHeight; y++)
          for (int32_t x = 0; x < kWidth; x++) {
            if (!drawn(generic, x, y)) continue;
            if (!exact && (!drawn(generic, x - 1, y) || !drawn(generic, x + 1, y) ||
                           !drawn(generic, x, y - 1) || !drawn(generic, x, y + 1)))
              continue;
            inside++;
            if (!drawn(gen, x, y) && holes++ < 8)
              ADD_FAILURE() << what << ": hole at " << x << ", " << y;
          }
        EXPECT_GT(inside, 200) << what;
      }
      Close();
    }
}

// Colours from 0 to full scale over one or two pixels: the planes' rounding
// carries values past either end, which must not wrap.
TEST_F(SpanSceneTest, SteepGradientsNeverWrap) {
  for (const ColorFormat *f : Formats())
    for (bool dith : {false, true})
      for (bool depthTest : {false, true}) {
        ASSERT_TRUE(OpenPlain(*f, 16));
        SceneState s;
        s.depthTest = depthTest;
        // Slivers from 1/16 to 2 pixels wide, slanted, with every channel
        // from 0 to full scale across them, and full scale along edges
        // through pixel centres.
        std::vector<SceneStep> steps;
        const double widths[] = {1.0 / 16, 1.0 / 8, 0.25, 0.5, 1, 2};
        for (int i = 0; i < 6; i++) {
          const double x = 2 + 10 * i, w = widths[i];
          steps.push_back(Tri(s, V(x, 1.5, 0.5, 1, 0, 1), V(x + 6, 46.25, 0.5, 1, 0, 1),
                              V(x + 6 + w, 46.25, 0.5, 0, 1, 0)));
          steps.push_back(Tri(s, V(x + 0.5, 1, 0.5, 0, 1, 1), V(x + 0.5 + w, 1, 0.5, 1, 0, 0),
                              V(x + 7.5, 47, 0.5, 1, 0, 0)));
        }
        const std::vector<SceneStep> scene = scene_test::ForFormat(steps, *f);
        dither = dith;
        const std::string what = std::string(f->name) + (dith ? ", dithered" : "") +
                                 (depthTest ? ", depth" : "");
        const Image generic = DrawOn(Path::kGeneric, scene);
        const Image gen = DrawOn(Path::kGenerated, scene);
        ExpectNearGeneric(gen, generic, what);
        Close();
      }
}

// The dither of the generated span: the column walked from the span start
// (mirrored for right-to-left spans), or the memory column in the flat fill.
TEST_F(SpanSceneTest, DitherFollowsTheModel) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2],
                                           &kIndexFormats[0]})
    for (bool smooth : {false, true})
      for (bool depthTest : {false, true}) {
        ASSERT_TRUE(OpenPlain(*f, 16));
        dither = true;
        SceneState s;
        s.smooth = smooth;
        s.depthTest = depthTest;
        const std::vector<SceneStep> one[] = {
            {Tri(s, V(2.25, 3.5, 0.5, 0.9, 0.1, 0.3), V(61.5, 44.75, 0.5, 0.05, 0.95, 0.6),
                 V(50.75, 9.25, 0.5, 0.4, 0.5, 1.0))},
            {Tri(s, V(60.25, 2.5, 0.5, 0.3, 0.3, 0.95), V(4, 45.5, 0.5, 1.0, 0.7, 0.02),
                 V(9.5, 27.25, 0.5, 0.6, 0.0, 0.5))}};
        for (const std::vector<SceneStep> &steps : one) {
          const std::vector<SceneStep> scene = scene_test::ForFormat(steps, *f);
          SceneReference ref(Target());
          DrawOn(Path::kGenerated, scene, &ref);
          const bool flatFill = !smooth && !depthTest;
          ExpectDitherModel(ref, scene[0], flatFill,
                            std::string(f->name) + (smooth ? ", smooth" : ", flat") +
                                (depthTest ? ", depth" : "") +
                                (RightToLeft(scene[0].primitive.v.data()) ? ", right to left" : ""));
        }
        Close();
      }
}

}  // namespace
}  // namespace span_test
