// Values the setup's rounding may carry past the ends of their range, put
// there by hand between the setup and the span: colours a unit above full
// scale or below 0 are held at the end instead of wrapping, and a depth a
// little below 0 or above the far end takes the depth buffer's range rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fastraster/fr_setup.h"
#include "tests/codegen/span/span_fixture.h"

namespace span_test {
namespace {

using scene_test::Tri;
using scene_test::V;

struct LimitCase {
  const char *name;
  bool smooth;
  double level;  // every channel, and z
  bool depthTest;
  GLenum func;
  std::vector<Nudge> nudges;
};

constexpr size_t kR = offsetof(FrSpan, r), kG = offsetof(FrSpan, g), kB = offsetof(FrSpan, b);
constexpr size_t kREdge = offsetof(FrSpan, rEdge), kGEdge = offsetof(FrSpan, gEdge),
                 kBEdge = offsetof(FrSpan, bEdge), kZEdge = offsetof(FrSpan, zEdge);

const std::vector<LimitCase> &Cases() {
  static const std::vector<LimitCase> cases = {
      {"smooth, a unit above full scale", true, 1.0, false, GL_LESS,
       {{kREdge, 0x10000}, {kGEdge, 0x10000}, {kBEdge, 0x10000}}},
      {"smooth, two units below 0", true, 0.0, false, GL_LESS,
       {{kREdge, -0x20000}, {kGEdge, -0x20000}, {kBEdge, -0x20000}}},
      {"flat with depth, a unit above full scale", false, 1.0, true, GL_ALWAYS,
       {{kR, 0x10000}, {kG, 0x10000}, {kB, 0x10000}}},
      {"flat with depth, a fraction below 0", false, 0.0, true, GL_ALWAYS,
       {{kR, -0x100}, {kG, -0x100}, {kB, -0x100}}},
      {"depth a word below 0 under GL_LESS", true, 0.0, true, GL_LESS, {{kZEdge, -1}}},
      {"depth half a 16-bit unit below 0 under GL_LESS", true, 0.0, true, GL_LESS,
       {{kZEdge, -0x8000}}},
      {"depth past the far end under GL_LEQUAL", true, 1.0, true, GL_LEQUAL, {{kZEdge, 0x100}}},
  };
  return cases;
}

TEST_F(SpanSceneTest, ValuesPastTheRangeEndsAreHeld) {
  for (uint32_t depthBits : {16u, 32u})
    for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2], &kRgbFormats[5]})
      for (bool dith : {false, true}) {
        ASSERT_TRUE(OpenPlain(*f, depthBits));
        dither = dith;
        for (const LimitCase &c : Cases()) {
          SceneState s;
          s.smooth = c.smooth;
          s.depthTest = c.depthTest;
          s.depthFunc = c.func;
          const double v = c.level;
          const std::vector<SceneStep> steps = {
              Tri(s, V(3.25, 2.5, v, v, v, v), V(60.5, 20.75, v, v, v, v), V(20, 45.25, v, v, v, v))};
          const std::string what = std::string(f->name) + ", " + std::to_string(depthBits) +
                                   "-bit" + (dith ? ", dithered, " : ", ") + c.name;
          const Image generic = DrawOn(Path::kGeneric, steps);
          const Image gen = DrawOn(Path::kGenerated, steps, nullptr, false, c.nudges);
          int differ = 0;
          for (size_t i = 0; i < gen.color.size(); i++) {
            if (gen.color[i] == generic.color[i] && gen.depth[i] == generic.depth[i]) continue;
            if (++differ > 4) break;
            ADD_FAILURE() << what << ": pixel " << i % scene_test::kWidth << ", "
                          << i / scene_test::kWidth << ": colour " << std::hex << gen.color[i]
                          << " (generic " << generic.color[i] << "), depth " << std::dec
                          << gen.depth[i] << " (" << generic.depth[i] << ")";
          }
        }
        Close();
      }
}

}  // namespace
}  // namespace span_test
