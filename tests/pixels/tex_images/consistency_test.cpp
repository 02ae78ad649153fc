// Whether a texture can be used as it stands, for levels the image
// commands define: mipmap chains (formats, borders, sizes, the stop at
// 1 x 1, the filters that read level 0 only) and the colour-index rules by
// context kind and environment mode.
#include "tests/pixels/tex_images/tex_image_fixture.h"

namespace tex_image_test {
namespace {

struct LevelDef {
  GLint level, internal;
  GLsizei width, height;
  GLint border;
};

struct ChainCase {
  const char *what;
  std::vector<LevelDef> levels;
  GLenum minFilter;
  bool consistent;
};

class Consistency : public TexImageTest {
 protected:
  bool Consistent(int index = 1) { return __glIsTextureConsistent(gc, Bound(index)) != 0; }
  void Define2D(const std::vector<LevelDef> &levels) {
    for (const LevelDef &l : levels) {
      glTexImage2D(GL_TEXTURE_2D, l.level, l.internal, l.width, l.height, l.border, GL_RGBA,
                   GL_UNSIGNED_BYTE, nullptr);
      ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
    }
  }
  void SetEnvMode(GLenum mode) { gc->texture.env[0].mode = mode; }
};

const GLenum kMip = GL_LINEAR_MIPMAP_LINEAR;

TEST_F(Consistency, MipmapChains) {
  const ChainCase cases[] = {
      {"no level 0", {{1, GL_RGB, 4, 4, 0}}, GL_NEAREST, false},
      {"empty level 0", {{0, GL_RGB, 0, 0, 0}}, GL_NEAREST, false},
      {"level 0 alone, nearest", {{0, GL_RGB, 8, 8, 0}}, GL_NEAREST, true},
      {"level 0 alone, linear", {{0, GL_RGB, 8, 8, 0}}, GL_LINEAR, true},
      {"level 0 alone, mipmapped", {{0, GL_RGB, 8, 8, 0}}, kMip, false},
      {"full chain",
       {{0, GL_RGB, 8, 8, 0}, {1, GL_RGB, 4, 4, 0}, {2, GL_RGB, 2, 2, 0}, {3, GL_RGB, 1, 1, 0}},
       GL_NEAREST_MIPMAP_NEAREST, true},
      {"chain without its last level",
       {{0, GL_RGB, 8, 8, 0}, {1, GL_RGB, 4, 4, 0}, {2, GL_RGB, 2, 2, 0}}, kMip, false},
      {"another format in level 2",
       {{0, GL_RGB, 8, 8, 0}, {1, GL_RGB, 4, 4, 0}, {2, GL_RGBA, 2, 2, 0}, {3, GL_RGB, 1, 1, 0}},
       kMip, false},
      {"another format, linear",
       {{0, GL_RGB, 8, 8, 0}, {1, GL_RGBA, 4, 4, 0}}, GL_LINEAR, true},
      {"same base, other request",
       {{0, GL_RGB, 2, 2, 0}, {1, 3, 1, 1, 0}}, kMip, false},
      {"level 1 too large",
       {{0, GL_RGB, 8, 8, 0}, {1, GL_RGB, 8, 4, 0}, {2, GL_RGB, 2, 2, 0}, {3, GL_RGB, 1, 1, 0}},
       kMip, false},
      {"another border",
       {{0, GL_RGB, 4, 4, 0}, {1, GL_RGB, 4, 4, 1}, {2, GL_RGB, 1, 1, 0}}, kMip, false},
      {"bordered chain",
       {{0, GL_RGB, 6, 6, 1}, {1, GL_RGB, 4, 4, 1}, {2, GL_RGB, 3, 3, 1}}, kMip, true},
      {"narrow chain halves to 1",
       {{0, GL_RGB, 8, 2, 0}, {1, GL_RGB, 4, 1, 0}, {2, GL_RGB, 2, 1, 0}, {3, GL_RGB, 1, 1, 0}},
       kMip, true},
      {"narrow chain with height 0 at level 2",
       {{0, GL_RGB, 8, 2, 0}, {1, GL_RGB, 4, 1, 0}, {2, GL_RGB, 2, 0, 0}, {3, GL_RGB, 1, 1, 0}},
       kMip, false},
      {"nothing read past 1 x 1",
       {{0, GL_RGB, 2, 2, 0}, {1, GL_RGB, 1, 1, 0}, {2, GL_RGBA, 10, 10, 1}}, kMip, true},
  };
  for (const ChainCase &c : cases) {
    SCOPED_TRACE(c.what);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, std::vector<GLuint>{5}.data());
    glBindTexture(GL_TEXTURE_2D, 5);
    Define2D(c.levels);
    Bound(1)->minFilter = c.minFilter;
    EXPECT_EQ(Consistent(), c.consistent);
  }
}

TEST_F(Consistency, OneDimensionalChains) {
  const std::vector<uint8_t> p(64 * 4);
  for (GLsizei w = 16, level = 0; w >= 1; w /= 2, ++level)
    glTexImage1D(GL_TEXTURE_1D, level, GL_ALPHA, w, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  Bound(0)->minFilter = kMip;
  EXPECT_TRUE(Consistent(0));
  glTexImage1D(GL_TEXTURE_1D, 2, GL_ALPHA, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_FALSE(Consistent(0));
}

struct EnvCase {
  bool rgbaContext;
  GLint internal;
  GLenum format, mode;
  bool consistent;
};

// Colour-index levels in RGBA contexts need a colour table; these rows
// have none.
TEST_F(Consistency, ContextKindFormatAndEnvironment) {
  const EnvCase cases[] = {
      {true, GL_RGB, GL_RGBA, GL_MODULATE, true},
      {true, GL_RGB, GL_RGBA, GL_DECAL, true},
      {true, GL_RGBA, GL_RGBA, GL_BLEND, true},
      {true, GL_RGB, GL_RGBA, GL_REPLACE, true},
      {true, GL_RGB, GL_RGBA, GL_ADD, false},
      {true, GL_LUMINANCE, GL_RGBA, GL_DECAL, false},
      {true, GL_ALPHA, GL_RGBA, GL_DECAL, false},
      {true, GL_LUMINANCE, GL_RGBA, GL_MODULATE, true},
      {true, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, GL_REPLACE, false},
      {true, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, GL_MODULATE, false},
      {false, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, GL_REPLACE, true},
      {false, GL_COLOR_INDEX16_EXT, GL_COLOR_INDEX, GL_ADD, true},
      {false, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, GL_MODULATE, false},
      {false, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, GL_BLEND, false},
      {false, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX, GL_DECAL, false},
      {false, GL_RGB, GL_RGBA, GL_REPLACE, false},
  };
  const std::vector<uint8_t> p(4 * 4 * 4);
  for (bool rgbaContext : {true, false}) {
    Reopen(rgbaContext);
    for (const EnvCase &c : cases) {
      if (c.rgbaContext != rgbaContext) continue;
      SCOPED_TRACE(testing::Message() << std::hex << c.internal << " mode " << c.mode);
      glTexImage2D(GL_TEXTURE_2D, 0, c.internal, 4, 4, 0, c.format, GL_UNSIGNED_BYTE, p.data());
      ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
      Bound(1)->minFilter = GL_NEAREST;
      SetEnvMode(c.mode);
      EXPECT_EQ(Consistent(), c.consistent);
    }
  }
}

}  // namespace
}  // namespace tex_image_test
