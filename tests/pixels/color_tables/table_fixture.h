// A DrawTest context (RGBA 8-8-8-8 unless a test opens another) for the
// colour-table entries, with the bound objects' tables at hand.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_color_table.h"
#include "pixels/px_enums.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "tests/pixels/draw/draw_fixture.h"

namespace table_test {

// Sized internal formats the shared headers do not name, and a target no
// table has (GL_TEXTURE_3D).
constexpr GLenum GL_ALPHA8 = 0x803C, GL_ALPHA12 = 0x803D, GL_LUMINANCE6_ALPHA2 = 0x8044,
                 GL_INTENSITY8 = 0x804B, GL_RGB5 = 0x8050, GL_RGB10_A2 = 0x8059;
constexpr GLenum kNoTarget = 0x806F;

class TableTest : public draw_test::DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    Open(true);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
  }
  GlColorTable &Table(GLenum target = GL_TEXTURE_2D) {
    return __glLookUpTexture(gc, target)->colorTable;
  }
  // The stored entries of the table on `target`.
  std::vector<uint8_t> Entries(GLenum target = GL_TEXTURE_2D) {
    const GlColorTable &t = Table(target);
    if (t.table == nullptr) return {};
    return std::vector<uint8_t>(t.table, t.table + size_t(t.width) * size_t(t.components));
  }
  GLint Parameter(GLenum pname, GLenum target = GL_TEXTURE_2D) {
    GLint v = -7;
    glGetColorTableParameterivEXT(target, pname, &v);
    return v;
  }
};

}  // namespace table_test
