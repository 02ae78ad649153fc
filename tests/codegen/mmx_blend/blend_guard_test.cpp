// The blend factors a routine was made for: the raster key keeps two
// routines apart that differ in one factor alone, and a routine run under
// factors it was not made for traps at its guard instead of drawing.
#include <gtest/gtest.h>
#include <signal.h>

#include <vector>

#include "codegen/og_ras.h"
#include "tests/codegen/mmx_blend/blend_fixture.h"

namespace blend_test {
namespace {

using scene_test::Tri;
using scene_test::V;

TEST_F(BlendTest, TheKeySeparatesRoutinesThatDifferInOneFactor) {
  ASSERT_TRUE(OpenMmx(kRgbFormats[2], 16));
  const std::vector<Pair> pairs = {{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                                   {GL_SRC_ALPHA, GL_ONE},
                                   {GL_SRC_ALPHA_SATURATE, GL_ONE},
                                   {GL_ONE_MINUS_SRC_ALPHA, GL_ONE}};
  std::vector<void *> routines;
  std::vector<uint32_t> keys;
  for (const Pair &p : pairs) {
    Apply(Blended(p.src, p.dst));
    Validate();
    keys.push_back(__glRasterKey2(gc, GL_FALSE));
    routines.push_back(__glGenerateRasterizer(gc, GL_FALSE));
  }
  for (size_t i = 0; i < pairs.size(); i++)
    for (size_t j = 0; j < i; j++) {
      EXPECT_NE(keys[i], keys[j]) << i << ", " << j;
      EXPECT_NE(routines[i], routines[j]) << i << ", " << j;
    }
  // The same factors find the same routine again.
  Apply(Blended(pairs[0].src, pairs[0].dst));
  Validate();
  EXPECT_EQ(__glGenerateRasterizer(gc, GL_FALSE), routines[0]);
}

using BlendDeathTest = BlendTest;

TEST_F(BlendDeathTest, TheGuardTrapsWhenTheFactorsChangeUnderTheCode) {
  struct Change {
    bool source;
    GLenum to;
  };
  for (const Change &c : {Change{true, GL_ONE}, Change{false, GL_ZERO}}) {
    ASSERT_TRUE(OpenMmx(kRgbFormats[2], 16));
    const SceneStep step = Tri(Blended(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA),
                               V(2.5, 3.25, 0.5, 1, 0, 0, 0.5), V(60.25, 9.5, 0.5, 0, 1, 0, 0.5),
                               V(20.75, 40.5, 0.5, 0, 0, 1, 0.5));
    Apply(step.state);
    Validate();
    ASSERT_TRUE(__glForceGeneratedTriangle(gc, GL_FALSE));
    // The factor changes behind the validation that would pick new code.
    GLenum &factor = c.source ? gc->state.raster.blendSrc : gc->state.raster.blendDst;
    factor = c.to;
    EXPECT_EXIT(Send(step.primitive), ::testing::KilledBySignal(SIGTRAP), "")
        << (c.source ? "source" : "destination");
    Close();
  }
}

}  // namespace
}  // namespace blend_test
