// A bound RGBA context for the texture-object tests, with helpers that read
// the texture state the entries change.
#pragma once

#include <gtest/gtest.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/s_names.h"
#include "pixels/px_texture.h"
#include "tests/core/context/life_fixture.h"

class TexObjectTest : public life_test::BoundContextTest {
 protected:
  GlTextureMachine &tx() { return gc->texture; }
  GlTextureObject *Bound(int index) { return gc->texture.bound[index]; }
  // The object of `name` without a lasting reference; null when it has none.
  GlTextureObject *Object(GLuint name) {
    auto *tex = static_cast<GlTextureObject *>(
        __glNamesLockData(gc, gc->texture.shared, name));
    if (tex != nullptr) __glNamesUnlockData(gc, gc->texture.shared, tex);
    return tex;
  }
  // A complete texture in level 0 of the bound 2D object.
  void DefineLevel0(int index = __GL_TEXTURE_2D_INDEX, GLint size = 8) {
    GlTextureObject *tex = Bound(index);
    ASSERT_NE(tex->createLevel(gc, tex, 0, GL_RGB, size, index == 0 ? 1 : size, 1, 0, tex->dim),
              nullptr);
  }
  static GLenum Error() { return glGetError(); }
};
