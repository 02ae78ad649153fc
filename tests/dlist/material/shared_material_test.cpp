// A list with FastMaterial ops shared by two contexts and run on two
// threads: each context ends with the list's material, while the compiling
// context's table cache evicts and makes tables; every table is freed once
// both contexts are gone.
#include <gtest/gtest.h>

#include <thread>

#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/counting_imports.h"

namespace dlist_test {
namespace {

class SharedMaterial : public life_test::LifeTest {
 protected:
  void SetUp() override {
    LifeTest::SetUp();
    window = std::make_unique<life_test::TestWindow>(32, 32);
    UseWindow(window.get());
    for (GlContext *&gc : gcs) {
      gc = Create(TestModes());
      ASSERT_NE(gc, nullptr);
    }
    ASSERT_TRUE(gcs[1]->exports.shareContext(gcs[1], gcs[0]));
  }
  void TearDown() override {
    for (GlContext *gc : gcs)
      if (gc) gc->exports.destroyContext(gc);
    EXPECT_EQ(CountingImports::live(), 0) << "every table freed with the lists and caches";
    LifeTest::TearDown();
  }

  std::unique_ptr<life_test::TestWindow> window;
  GlContext *gcs[2] = {};
};

// Runs the list, then changes its own material to other exponents, many
// times; the context ends with the list's material.
void RunAgainstOwnMaterial(GlContext *gc, int first) {
  ASSERT_TRUE(life_test::Bind(gc));
  for (int i = 0; i < 200; ++i) {
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, GLfloat(first + i % 40));
    glCallList(1);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->state.light.front.specularExponent, 17.0f);
  EXPECT_EQ(gc->state.light.back.specularExponent, 90.0f);
  ASSERT_TRUE(life_test::Release(gc));
}

TEST_F(SharedMaterial, TwoThreadsRunTheListAgainstTheirOwnMaterials) {
  ASSERT_TRUE(life_test::Bind(gcs[0]));
  glNewList(1, GL_COMPILE);
  glMaterialf(GL_FRONT, GL_SHININESS, 9.0f);
  glMaterialf(GL_BACK, GL_SHININESS, 90.0f);
  glVertex2f(0, 0);
  glMaterialf(GL_FRONT, GL_SHININESS, 17.0f);
  glEndList();
  ASSERT_TRUE(life_test::Release(gcs[0]));
  std::thread a(RunAgainstOwnMaterial, gcs[0], 20);
  std::thread b(RunAgainstOwnMaterial, gcs[1], 70);
  a.join();
  b.join();
}

}  // namespace
}  // namespace dlist_test
