// The flat fill as a table: every span length from 1 to 10 starting at
// every address alignment, for 1-, 2- and 4-byte pixels, dithered or not,
// walked left to right and right to left.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "raster/s_shader.h"
#include "tests/codegen/span/span_fixture.h"

namespace span_test {
namespace {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

// Rows 2..12 hold spans of 1 to 11 pixels from column x (left to right) or
// ending at column x + 10 (right to left, the mirror image about x + 5.5).
SceneStep Staircase(const SceneState &s, int32_t x, bool rightToLeft) {
  const double near = x + 0.25, far = x + 10.75;
  const double a = rightToLeft ? far : near, c = rightToLeft ? near : far;
  return Tri(s, V(a, 2, 0.5, 0.8, 0.3, 0.55), V(a, 12.5, 0.5, 0.8, 0.3, 0.55),
             V(c, 12.5, 0.5, 0.8, 0.3, 0.55));
}

std::set<std::pair<int32_t, int32_t>> Covered(const Image &im, const Image &cleared) {
  std::set<std::pair<int32_t, int32_t>> out;
  for (int32_t y = 0; y < kHeight; y++)
    for (int32_t x = 0; x < kWidth; x++)
      if (im.color[y * kWidth + x] != cleared.color[y * kWidth + x]) out.insert({x, y});
  return out;
}

TEST_F(SpanSceneTest, FlatFillStoresEveryLengthAtEveryAlignment) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kIndexFormats[0], &kRgbFormats[2], &kRgbFormats[5]})
    for (bool dith : {false, true}) {
      ASSERT_TRUE(OpenPlain(*f, 16));
      dither = dith;
      SceneState s;
      s.smooth = false;
      for (int32_t x = 0; x < 8; x++) {
        std::set<std::pair<int32_t, int32_t>> covered[2];
        for (bool rtl : {false, true}) {
          const std::vector<SceneStep> steps =
              scene_test::ForFormat({Staircase(s, 20 + x, rtl)}, *f);
          const std::string what = std::string(f->name) + (dith ? ", dithered" : "") +
                                   ", column " + std::to_string(20 + x) +
                                   (rtl ? ", right to left" : ", left to right");
          SceneReference ref(Target());
          const Image gen = DrawOn(Path::kGenerated, steps, &ref);
          ASSERT_EQ(Flags() & (__GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_TEST), 0u);
          if (dith) {
            ExpectDitherModel(ref, steps[0], true, what);
          } else {
            const Image generic = DrawOn(Path::kGeneric, steps);
            EXPECT_EQ(gen.color, generic.color) << what;
          }
          covered[rtl] = Covered(gen, DrawOn(Path::kGeneric, {}));
          EXPECT_GE(covered[rtl].size(), 55u) << what;
        }
        // Column i of one is column 2 (20 + x) + 10 - i of the other.
        std::set<std::pair<int32_t, int32_t>> mirrored;
        for (const auto &p : covered[0]) mirrored.insert({2 * (20 + x) + 10 - p.first, p.second});
        EXPECT_EQ(mirrored, covered[1]) << f->name << ", column " << 20 + x;
      }
      Close();
    }
}

}  // namespace
}  // namespace span_test
