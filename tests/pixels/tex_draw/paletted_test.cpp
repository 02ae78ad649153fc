// Paletted textures in an RGBA context: the colour indices of the image
// are looked up in the texture's colour table, and the filters blend the
// table's colours; a table without alpha leaves the fragment's alpha.
#include <gtest/gtest.h>

#include <vector>

#include "core/gl_api.h"
#include "pixels/px_texformat.h"
#include "tests/pixels/tex_draw/tex_draw_fixture.h"

namespace tex_draw_test {
namespace {

constexpr int32_t kSide = 8, kScale = 4, kWindow = kSide * kScale;

struct Case {
  const char *name;
  GLenum tableFormat;
  GLenum filter;
};

const Case kCases[] = {
    {"RGBA table, nearest", GL_RGBA, GL_NEAREST},
    {"RGBA table, linear", GL_RGBA, GL_LINEAR},
    {"RGB table, nearest", GL_RGB, GL_NEAREST},
    {"RGB table, linear", GL_RGB, GL_LINEAR},
};

class Paletted : public TexDrawTest {};

TEST_F(Paletted, IndicesSampleThroughTheColourTable) {
  ASSERT_TRUE(Open(kRgbFormats.back(), kWindow, kWindow));
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glColor4f(1, 1, 1, 0.6f);
  // Sixteen entries, each unlike the others; indices run over all of them.
  std::vector<GLubyte> table;
  for (int i = 0; i < 16; i++)
    table.insert(table.end(), {GLubyte(16 * i + 3), GLubyte(250 - 13 * i), GLubyte(90 + 71 * i),
                               GLubyte(255 - 9 * i)});
  std::vector<GLubyte> indices;
  for (int32_t row = 0; row < kSide; row++)
    for (int32_t col = 0; col < kSide; col++) indices.push_back(GLubyte((5 * row + 3 * col) % 16));
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, kSide, kSide, 0, GL_COLOR_INDEX,
               GL_UNSIGNED_BYTE, indices.data());
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    const bool alpha = c.tableFormat == GL_RGBA;
    std::vector<GLubyte> entries;
    for (int i = 0; i < 16; i++)
      entries.insert(entries.end(), table.begin() + 4 * i, table.begin() + 4 * i + (alpha ? 4 : 3));
    glColorTableEXT(GL_TEXTURE_2D, c.tableFormat, 16, c.tableFormat, GL_UNSIGNED_BYTE,
                    entries.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(c.filter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(c.filter));
    // The model sees the table's colours in place of the indices; without
    // alpha in the table the fragment keeps its own.
    ModelTexture tex;
    tex.minFilter = tex.magFilter = c.filter;
    tex.levels.push_back(MakeLevel(kSide, kSide, [&](int32_t row, int32_t col) {
      const GLubyte *e = &table[4 * indices[size_t(row * kSide + col)]];
      return Texel{e[0], e[1], e[2], alpha ? e[3] : GLubyte(153)};
    }));
    Clear();
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(1, 0);
    glVertex2i(kWindow, 0);
    glTexCoord2f(1, 1);
    glVertex2i(kWindow, kWindow);
    glTexCoord2f(0, 1);
    glVertex2i(0, kWindow);
    glEnd();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ASSERT_TRUE(GenericFill());
    int wrong = 0;
    for (int32_t y = 0; y < kWindow; y++)
      for (int32_t x = 0; x < kWindow; x++) {
        const float s = (float(x) + 0.5f) / kWindow, t = (float(y) + 0.5f) / kWindow;
        const Channels want = Stored(ModelSample(tex, s, t, 0));
        const Channels got = Pixel(x, y);
        if (got != want && wrong++ < 4)
          ADD_FAILURE() << "pixel " << x << ", " << y << ": " << Show(got) << ", want "
                        << Show(want);
      }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
}  // namespace tex_draw_test
