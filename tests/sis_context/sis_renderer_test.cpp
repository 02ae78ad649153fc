// The SiS renderer string for each processor-feature word. The features are
// read once per process, so each word runs in a process of its own, with
// "__GL_FORCE_MMX" and "__GL_FORCE_K3D" set by the test registration.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "core/context.h"
#include "tests/sis_context/sis_fixture.h"
#include "tests/support/counting_imports.h"

namespace sis_test {
namespace {

using life_test::Bind;
using life_test::Release;
using life_test::TestWindow;

int Forced(const char *name) {
  const char *value = getenv(name);
  return value ? atoi(value) : -1;
}

class SiSRenderer : public SiSLifeTest {};

TEST_F(SiSRenderer, NamesTheProcessorFeatures) {
  struct Word {
    int mmx, k3d;
    GlCpuFlags flags;
    const char *renderer;
  } words[] = {
      {0, 0, 0, "6326"},
      {1, 0, __GL_CPU_MMX, "6326/MMX"},
      // 3DNow! names MMX whether or not MMX was found.
      {0, 1, __GL_CPU_K3D, "6326/MMX/K3D"},
      {1, 1, __GL_CPU_MMX | __GL_CPU_K3D, "6326/MMX/K3D"},
  };
  const int mmx = Forced("__GL_FORCE_MMX"), k3d = Forced("__GL_FORCE_K3D");
  ASSERT_TRUE(mmx >= 0 && k3d >= 0) << "run with both overrides set";
  for (const Word &w : words) {
    if (w.mmx != mmx || w.k3d != k3d) continue;
    TestWindow window(64, 64);
    UseWindow(&window);
    GlContext *gc = CreateSiS(TestModes());
    ASSERT_NE(gc, nullptr);
    OnThread([gc] {
      ASSERT_TRUE(Bind(gc));
      ASSERT_TRUE(Release(gc));
    });
    EXPECT_EQ(gc->constants.cpuFlags, w.flags);
    EXPECT_STREQ(gc->constants.vendor, "SiS");
    EXPECT_STREQ(gc->constants.renderer, w.renderer);
    EXPECT_STREQ(gc->constants.version, "1.0");
    Destroy(gc);
    return;
  }
  FAIL() << "no row for __GL_FORCE_MMX=" << mmx << " __GL_FORCE_K3D=" << k3d;
}

}  // namespace
}  // namespace sis_test
