// The texture pickers over real objects of the generic manager: which bound
// object becomes current through validation, what it installs, and the
// residency request, repeated while the object's resident word stays 0.
#include <gtest/gtest.h>

#include "core/s_entry.h"
#include "pixels/px_rho.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texenv_procs.h"
#include "pixels/px_texture_manager.h"
#include "tests/pixels/tex_objects/tex_object_fixture.h"

namespace tex_pickers_test {
namespace {

class TexturePickers : public TexObjectTest {
 protected:
  // Binds `name` on the target and, when `define`, gives it a level 0 of
  // `format` read without mipmaps, as the parameter setters would.
  GlTextureObject *Prepare(GLenum target, GLuint name, bool define, GLenum format = GL_RGB) {
    glBindTexture(target, name);
    int index = target == GL_TEXTURE_1D ? 0 : 1;
    GlTextureObject *tex = Bound(index);
    if (define) {
      EXPECT_NE(tex->createLevel(gc, tex, 0, format, 4, index == 0 ? 1 : 4, 1, 0, tex->dim),
                nullptr);
      tex->minFilter = tx().targets[index].params.minFilter = GL_NEAREST;
      tex->magFilter = tx().targets[index].params.magFilter = GL_NEAREST;
    }
    return tex;
  }
};

TEST_F(TexturePickers, ValidationMakesTheEnabledCompleteObjectCurrent) {
  enum Which { kNone, k1D, k2D };
  struct Case {
    const char *what;
    uint32_t enables;
    bool define1D, define2D;
    Which current;
  } cases[] = {
      {"nothing enabled", 0, true, true, kNone},
      {"1D", __GL_TEXTURE_1D_ENABLE, true, true, k1D},
      {"2D wins", __GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE, true, true, k2D},
      {"an empty 2D object turns texturing off",
       __GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE, true, false, kNone},
      {"an empty 1D object", __GL_TEXTURE_1D_ENABLE, false, true, kNone},
  };
  GLuint name = 1;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlTextureObject *one = Prepare(GL_TEXTURE_1D, name++, c.define1D);
    GlTextureObject *two = Prepare(GL_TEXTURE_2D, name++, c.define2D);
    gc->state.enables.texture = c.enables;
    __glDelayValidate(gc, __GL_DIRTY_GENERIC);
    ValidatePending();
    GlTextureObject *expected = c.current == k1D ? one : c.current == k2D ? two : nullptr;
    EXPECT_EQ(tx().current, expected);
    EXPECT_EQ(tx().active, expected != nullptr);
    if (expected == nullptr) continue;
    EXPECT_EQ(gc->procs.texture, expected->fragment);
    EXPECT_EQ(gc->procs.textureRaster, expected->fragment);
    EXPECT_EQ(expected->fragment, __glFastTextureFragment);
    EXPECT_EQ(expected->env, __glTextureModulateRGB);
    EXPECT_EQ(expected->baseFormat, GLenum(GL_RGB));
    EXPECT_EQ(expected->minify, __glNearestFilter);
    EXPECT_EQ(expected->nearest, c.current == k1D ? __glNearestFilter1 : __glNearestFilter2);
  }
}

int residencyCalls = 0;
GLbool8 CountedMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag) {
  ++residencyCalls;
  return __glTextureMakeResident(gc, tex, flag);
}

// The generic manager answers "resident" but leaves the word 0, so every
// validation asks again; a device manager that sets it is asked no more.
TEST_F(TexturePickers, EveryValidationAsksWhileTheResidentWordIsZero) {
  GlTextureObject *tex = Prepare(GL_TEXTURE_2D, 1, true, GL_LUMINANCE);
  tex->makeResident = CountedMakeResident;
  gc->state.enables.texture = __GL_TEXTURE_2D_ENABLE;
  residencyCalls = 0;
  for (int i = 0; i < 3; ++i) {
    __glDelayValidate(gc, __GL_DIRTY_GENERIC);
    ValidatePending();
  }
  EXPECT_EQ(residencyCalls, 3);
  EXPECT_EQ(tex->resident, 0u);
  EXPECT_EQ(tex->env, __glTextureModulateL);
  tex->resident = 1;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
  ValidatePending();
  EXPECT_EQ(residencyCalls, 3);
}

}  // namespace
}  // namespace tex_pickers_test
