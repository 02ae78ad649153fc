// The renderer string for each processor-feature word. The features are
// read once per process, so each word runs in a process of its own, with
// "__GL_FORCE_MMX" and "__GL_FORCE_K3D" set by the test registration.
#include <gtest/gtest.h>

#include "core/context.h"
#include "tests/core/context/life_fixture.h"
#include "tests/core/context/renderer_names.h"
#include "tests/support/counting_imports.h"

namespace life_test {
namespace {

class Renderer : public LifeTest {};

TEST_F(Renderer, NamesTheProcessorFeatures) {
  GlCpuFlags forced = 0;
  ASSERT_TRUE(renderer_test::ForcedCpuFlags(&forced)) << "run with both overrides set";
  const renderer_test::RendererNames *names = renderer_test::RendererNamesFor(forced);
  ASSERT_NE(names, nullptr) << "no row for processor word " << forced;
  TestWindow window(64, 64);
  UseWindow(&window);
  GlContext *gc = renderer_test::BoundOnce(Create(TestModes()));
  ASSERT_NE(gc, nullptr);
  EXPECT_EQ(gc->constants.cpuFlags, forced);
  EXPECT_STREQ(gc->constants.renderer, names->generic);
  Destroy(gc);
}

}  // namespace
}  // namespace life_test
