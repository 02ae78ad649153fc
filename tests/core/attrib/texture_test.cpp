// The texture group: a pop rebinds the saved names as glBindTexture does,
// and the restored parameters are the bound objects' own at once.
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texture.h"
#include "tests/core/attrib/attrib_groups.h"
#include "tests/core/context/life_fixture.h"

namespace attrib_test {
namespace {

class AttribTexture : public life_test::BoundContextTest {
 protected:
  void Bound() override { ValidatePending(); }
  GlTextureObject *Bound2D() const { return gc->texture.bound[__GL_TEXTURE_2D_INDEX]; }
  GLint Param(GLenum pname) {
    GLint v = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, pname, &v);
    return v;
  }
};

TEST_F(AttribTexture, APopRebindsWithTheCountsOfABind) {
  glBindTexture(GL_TEXTURE_2D, 5);
  GlTextureObject *five = Bound2D();
  const int32_t fiveCount = five->refcount;
  glPushAttrib(GL_TEXTURE_BIT);
  glBindTexture(GL_TEXTURE_2D, 7);
  GlTextureObject *seven = Bound2D();
  const int32_t sevenCount = seven->refcount;
  EXPECT_EQ(five->refcount, fiveCount - 1);
  glPopAttrib();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Bound2D(), five);
  EXPECT_EQ(five->refcount, fiveCount);
  EXPECT_EQ(seven->refcount, sevenCount - 1);
  GLint binding = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
  EXPECT_EQ(binding, 5);

  // Back to the default object, and the same name again (no rebind).
  glPushAttrib(GL_TEXTURE_BIT);
  glBindTexture(GL_TEXTURE_2D, 0);
  glPopAttrib();
  EXPECT_EQ(Bound2D(), five);
  EXPECT_EQ(five->refcount, fiveCount);
  glPushAttrib(GL_TEXTURE_BIT);
  glPopAttrib();
  EXPECT_EQ(five->refcount, fiveCount);
}

// Pushed with NEAREST, changed to LINEAR on the same object or on another
// one, popped: the bound object has NEAREST before any validation, and
// texturing filters by it at the next draw.
TEST_F(AttribTexture, TheRestoredFiltersAreInForceAtTheNextDraw) {
  for (bool rebind : {false, true}) {
    SCOPED_TRACE(rebind ? "another texture bound meanwhile" : "the same texture");
    glBindTexture(GL_TEXTURE_2D, 5);
    GlTextureObject *five = Bound2D();
    if (five->levels[0]->image == nullptr) {
      ASSERT_NE(five->createLevel(gc, five, 0, GL_RGBA, 2, 2, 1, 0, 2), nullptr);
    }
    SetTexFilter(gc, __GL_TEXTURE_2D_INDEX, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    SetTexFilter(gc, __GL_TEXTURE_2D_INDEX, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    glPushAttrib(GL_TEXTURE_BIT);
    if (rebind) glBindTexture(GL_TEXTURE_2D, 6);
    SetTexFilter(gc, __GL_TEXTURE_2D_INDEX, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    SetTexFilter(gc, __GL_TEXTURE_2D_INDEX, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    ValidatePending();
    glPopAttrib();
    EXPECT_EQ(Bound2D(), five);
    EXPECT_EQ(five->minFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(five->magFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    ValidatePending();
    ASSERT_EQ(gc->texture.current, five);
    EXPECT_EQ(five->minify, __glNearestFilter);
    EXPECT_EQ(five->magnify, __glNearestFilter);
    if (rebind) {
      glBindTexture(GL_TEXTURE_2D, 6);
      EXPECT_EQ(Param(GL_TEXTURE_MIN_FILTER), GL_LINEAR) << "the other texture kept its own";
    }
    glDisable(GL_TEXTURE_2D);
  }
}

// A name whose object meanwhile became a texture of the other dimension
// cannot be bound again: the pop reports it and keeps a binding that
// matches the context's copy.
TEST_F(AttribTexture, ANameThatChangedDimensionIsNotRebound) {
  glBindTexture(GL_TEXTURE_2D, 8);
  SetTexFilter(gc, __GL_TEXTURE_2D_INDEX, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPushAttrib(GL_TEXTURE_BIT);
  glBindTexture(GL_TEXTURE_2D, 0);
  GLuint eight = 8;
  glDeleteTextures(1, &eight);
  glBindTexture(GL_TEXTURE_1D, 8);
  glPopAttrib();
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  GLint binding = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
  EXPECT_EQ(binding, 0);
  EXPECT_EQ(GLuint(binding), gc->texture.targets[__GL_TEXTURE_2D_INDEX].texobjs.name);
  EXPECT_EQ(Param(GL_TEXTURE_MAG_FILTER), GL_LINEAR) << "the default object keeps its own";
  EXPECT_EQ(Bound2D()->magFilter, GLenum(GL_LINEAR));
}

}  // namespace
}  // namespace attrib_test
