// Texture objects over context lifetimes: every allocation of binding and
// creation refused in turn, and contexts sharing their names on two threads.
#include <gtest/gtest.h>

#include <string>

#include "core/current.h"
#include "tests/pixels/tex_objects/tex_object_fixture.h"
#include "tests/support/counting_imports.h"

namespace tex_object_sharing_test {
namespace {

using life_test::Bind;
using life_test::LifeTest;
using life_test::Release;
using life_test::TestWindow;

using TexObjectFailures = TexObjectTest;

// A bind of a new name that meets a refused allocation records
// GL_OUT_OF_MEMORY and keeps the previous binding, with nothing half made;
// or, where the name array's spare nodes stand in, succeeds.
TEST_F(TexObjectFailures, ARefusedBindKeepsThePreviousBinding) {
  glBindTexture(GL_TEXTURE_2D, 1);
  GlTextureObject *previous = Bound(__GL_TEXTURE_2D_INDEX);
  const int live = CountingImports::live();
  const int before = CountingImports::allocations();
  glBindTexture(GL_TEXTURE_2D, 5000);
  const int made = CountingImports::allocations() - before;
  ASSERT_GT(made, 0);
  const GLuint gone = 5000;
  glBindTexture(GL_TEXTURE_2D, 1);
  glDeleteTextures(1, &gone);
  for (int n = 1; n <= made + 1; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
    CountingImports::failAllocation(n);
    glBindTexture(GL_TEXTURE_2D, 5000);
    CountingImports::failAllocation(0);
    GLenum error = Error();
    if (error == GL_NO_ERROR) {
      EXPECT_TRUE(glIsTexture(5000));
      EXPECT_EQ(Bound(__GL_TEXTURE_2D_INDEX), Object(5000));
      EXPECT_EQ(Object(5000)->refcount, 2);
      glBindTexture(GL_TEXTURE_2D, 1);
      glDeleteTextures(1, &gone);
    } else {
      EXPECT_EQ(error, GLenum(GL_OUT_OF_MEMORY));
      EXPECT_FALSE(glIsTexture(5000));
      EXPECT_EQ(Bound(__GL_TEXTURE_2D_INDEX), previous);
      EXPECT_EQ(previous->refcount, 2);
    }
    EXPECT_LE(CountingImports::live(), live + 2);  // at most spare nodes kept
  }
}

class TexObjectLife : public LifeTest {};

// Creation needs the four default objects: every refused allocation of
// creation leaves nothing behind, and destruction after objects were made,
// bound and given images leaves nothing either.
TEST_F(TexObjectLife, ContextsLeaveNoTextureBehind) {
  TestWindow window(16, 16);
  UseWindow(&window);
  GlContext *gc = CreateBound(TestModes());
  ASSERT_NE(gc, nullptr);
  for (int i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) {
    ASSERT_NE(gc->texture.defaults[i], nullptr);
    EXPECT_EQ(gc->texture.bound[i], gc->texture.defaults[i]);
    EXPECT_EQ(gc->texture.defaults[i]->refcount, 1);
    EXPECT_EQ(gc->texture.defaults[i]->texobjs.name, 0u);
    EXPECT_EQ(gc->texture.defaults[i]->targetIndex, i);
  }
  // The defaults never enter the name array.
  EXPECT_FALSE(glIsTexture(0));
  glBindTexture(GL_TEXTURE_2D, 3);
  GlTextureObject *tex = gc->texture.bound[__GL_TEXTURE_2D_INDEX];
  ASSERT_NE(tex->createLevel(gc, tex, 0, GL_RGBA, 4, 4, 1, 0, 2), nullptr);
  glBindTexture(GL_TEXTURE_1D, 4);
  GlTextureObject *def = gc->texture.defaults[__GL_TEXTURE_1D_INDEX];
  ASSERT_NE(def->createLevel(gc, def, 0, GL_RGBA, 4, 1, 1, 0, 1), nullptr);
  ASSERT_TRUE(Release(gc));
  Destroy(gc);

  const int before = CountingImports::allocations();
  gc = Create(TestModes());
  ASSERT_NE(gc, nullptr);
  const int made = CountingImports::allocations() - before;
  Destroy(gc);
  for (int n = 1; n <= made; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made));
    CountingImports::failAllocation(n);
    gc = Create(TestModes());
    CountingImports::failAllocation(0);
    if (gc != nullptr) Destroy(gc);
    ASSERT_EQ(CountingImports::live(), 0);
  }
}

// An object deleted in one context while bound in another lives until that
// binding goes, and every count balances.
TEST_F(TexObjectLife, SharedObjectsLiveWhileBoundAnywhere) {
  TestWindow window(16, 16);
  UseWindow(&window);
  GlContext *a = Create(TestModes());
  GlContext *b = Create(TestModes());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_TRUE(b->exports.shareContext(b, a));
  ASSERT_EQ(a->texture.shared, b->texture.shared);

  GlTextureObject *tex = nullptr;
  OnThread([&] {
    ASSERT_TRUE(Bind(a));
    glBindTexture(GL_TEXTURE_2D, 9);
    tex = a->texture.bound[__GL_TEXTURE_2D_INDEX];
    ASSERT_TRUE(Release(a));
  });
  ASSERT_NE(tex, nullptr);
  OnThread([&] {
    ASSERT_TRUE(Bind(b));
    glBindTexture(GL_TEXTURE_2D, 9);
    EXPECT_EQ(b->texture.bound[__GL_TEXTURE_2D_INDEX], tex);
    EXPECT_EQ(tex->refcount, 3);
    ASSERT_TRUE(Release(b));
  });
  const int live = CountingImports::live();
  OnThread([&] {
    ASSERT_TRUE(Bind(a));
    const GLuint nine = 9;
    glDeleteTextures(1, &nine);
    EXPECT_FALSE(glIsTexture(9));
    EXPECT_EQ(a->texture.bound[__GL_TEXTURE_2D_INDEX], a->texture.defaults[1]);
    ASSERT_TRUE(Release(a));
  });
  EXPECT_EQ(b->texture.bound[__GL_TEXTURE_2D_INDEX], tex);
  EXPECT_EQ(tex->refcount, 1);
  EXPECT_LT(CountingImports::live(), live + 1);
  const int withObject = CountingImports::live();
  OnThread([&] {
    ASSERT_TRUE(Bind(b));
    glBindTexture(GL_TEXTURE_2D, 0);
    ASSERT_TRUE(Release(b));
  });
  EXPECT_LT(CountingImports::live(), withObject);  // the object went

  // The first leaves the names to the second; the last leaves nothing.
  a->exports.destroyContext(a);
  Destroy(b);
}

}  // namespace
}  // namespace tex_object_sharing_test
