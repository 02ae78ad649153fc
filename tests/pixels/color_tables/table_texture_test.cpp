// Colour tables as textures see them: a colour-index texture in an RGBA
// context is usable only with a table that has entries, and once usable it
// takes the table's format, after glColorTableEXT and glCopyColorTableEXT
// alike; in a colour-index context the table plays no part.
#include <gtest/gtest.h>

#include "tests/pixels/color_tables/table_fixture.h"

namespace table_test {
namespace {

class TableTexture : public TableTest {
 protected:
  // Level 0 of the bound 2D object holds 4 x 4 colour indices; one level
  // is enough (GL_NEAREST), and the environment replaces.
  GlTextureObject *IndexTexture() {
    GlTextureObject *tex = __glLookUpTexture(gc, GL_TEXTURE_2D);
    EXPECT_NE(tex->createLevel(gc, tex, 0, GL_COLOR_INDEX8_EXT, 4, 4, 1, 0, 2), nullptr);
    gc->texture.targets[__GL_TEXTURE_2D_INDEX].params.minFilter = GL_NEAREST;
    tex->minFilter = GL_NEAREST;
    gc->texture.env[0].mode = GL_REPLACE;
    glEnable(GL_TEXTURE_2D);
    Validate();
    return tex;
  }
};

TEST_F(TableTexture, IndicesNeedATableWithEntries) {
  GlTextureObject *tex = IndexTexture();
  const GLubyte rgb[4 * 3] = {};
  struct Step {
    const char *what;
    GLsizei width;
    bool consistent;
  } steps[] = {
      {"no table", -1, false},
      {"a table of no entries", 0, false},
      {"a table of 4 entries", 4, true},
      {"back to no entries", 0, false},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    if (s.width >= 0)
      glColorTableEXT(GL_TEXTURE_2D, GL_RGB, s.width, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    EXPECT_EQ(__glIsTextureConsistent(gc, tex), s.consistent);
    Validate();
    EXPECT_EQ(gc->texture.current, s.consistent ? tex : nullptr);
  }
}

TEST_F(TableTexture, TheTextureTakesTheFormatOfEachNewTable) {
  GlTextureObject *tex = IndexTexture();
  glColorTableEXT(GL_TEXTURE_2D, GL_RGB, 4, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  Validate();
  ASSERT_EQ(gc->texture.current, tex);
  EXPECT_EQ(tex->baseFormat, GLenum(GL_RGB));
  // Copied from the frame buffer, the table changes the texture as well.
  glCopyColorTableEXT(GL_TEXTURE_2D, GL_LUMINANCE_ALPHA, 0, 0, 4);
  Validate();
  EXPECT_EQ(tex->baseFormat, GLenum(GL_LUMINANCE_ALPHA));
  // And run from a display list (the procedure itself), too.
  gc->procs.colorTableEXT(gc, GL_TEXTURE_2D, GL_ALPHA, 4, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr,
                          1);
  Validate();
  EXPECT_EQ(tex->baseFormat, GLenum(GL_ALPHA));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(TableTexture, ColourIndexContextsIgnoreTheTable) {
  Open(false);
  GlTextureObject *tex = IndexTexture();
  EXPECT_TRUE(__glIsTextureConsistent(gc, tex));
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_TRUE(__glIsTextureConsistent(gc, tex));
}

}  // namespace
}  // namespace table_test
