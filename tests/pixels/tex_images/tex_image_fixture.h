// A DrawTest context (RGBA 8-8-8-8 unless a test opens another) for the
// texture image commands, with helpers that read levels back, fill the
// frame buffer with a pattern and record what the texture's manager is
// told.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "tests/pixels/draw/draw_fixture.h"

namespace tex_image_test {

class TexImageTest : public draw_test::DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    Reopen(true);
  }
  // Binds a context of these modes (see DrawTest::Open), validated.
  void Reopen(bool rgba, bool yInverted = false, int colorBits = 32) {
    Open(rgba, yInverted, colorBits);
    Validate();
  }
  GlTextureObject *Bound(int index) { return gc->texture.bound[index]; }
  GlTextureLevel *Level(int index, int level) { return Bound(index)->levels[level]; }
  static GLenum Error() { return glGetError(); }

  // A distinct value in every pixel of the read (back) buffer.
  void FillPattern() {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        colorMemory->Write(x, y, uint32_t(x * 0x00010307u + y * 0x0B050200u) ^ 0x80402010u);
  }
  // The level as RGBA bytes through glGetTexImage (default pack modes).
  std::vector<uint8_t> GetRgba(GLenum target, int level) {
    const GlTextureLevel *l = Level(target == GL_TEXTURE_1D ? 0 : 1, level);
    const int rows = target == GL_TEXTURE_1D ? 1 : l->height;
    std::vector<uint8_t> out(size_t(l->width) * size_t(rows) * 4, 0xCD);
    glGetTexImage(target, level, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
  }
  // Width x height RGBA bytes, different in every byte.
  static std::vector<uint8_t> Pattern(int w, int h, uint8_t seed) {
    std::vector<uint8_t> p(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < p.size(); ++i) p[i] = uint8_t(i * 37 + seed * 11 + (i >> 2) * 5);
    return p;
  }

  // Counts the manager's removeResident calls on an object.
  static int &RemoveCalls() {
    static int calls;
    return calls;
  }
  static void CountRemove(GlContext *, GlTextureObject *) { ++RemoveCalls(); }
  void RecordManager(GlTextureObject *tex) {
    RemoveCalls() = 0;
    tex->removeResident = CountRemove;
  }
  // Clears the validation mark so that a command's own mark shows.
  void ClearMark() {
    Validate();
    gc->dirtyMask = 0;
  }
};

}  // namespace tex_image_test
