// A bound RGBA context (8-8-8-8 unless a test opens 5-6-5) for the texture
// parameter, environment and generation setters, with the state they write.
#pragma once

#include <gtest/gtest.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_texture.h"
#include "tests/pixels/draw/draw_fixture.h"

namespace tex_param_test {

class TexParamTest : public draw_test::DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    Reopen(32);
  }
  void Reopen(int colorBits) {
    Open(true, false, colorBits);
    Validate();
  }
  // Validated, so that a setter's mark shows.
  void Settle() {
    Validate();
    gc->dirtyMask = 0;
  }
  bool Marked() const {
    return gc->beginMode == __GL_VALIDATE_PENDING && (gc->dirtyMask & __GL_DIRTY_GENERIC) != 0;
  }
  GlTextureObject *Bound(int index) { return gc->texture.bound[index]; }
  GlTextureParams &Params(int index) { return gc->texture.targets[index].params; }
  GlTexCoordGen &Gen(int coord) { return gc->texture.texCoordGen[coord]; }
  GlTextureEnv &Env() { return gc->texture.env[0]; }
  static GLenum Error() { return glGetError(); }
};

}  // namespace tex_param_test
