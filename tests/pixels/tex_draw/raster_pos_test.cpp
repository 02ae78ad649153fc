// Textured pixel rectangles and bitmaps: every fragment takes the one texel
// at the raster position's texture coordinates (divided by q), whatever
// the filters; with GL_MODULATE the rectangle's own colours are kept,
// multiplied by it.
#include <gtest/gtest.h>

#include <vector>

#include "core/gl_api.h"
#include "tests/pixels/tex_draw/tex_draw_fixture.h"

namespace tex_draw_test {
namespace {

constexpr int32_t kWidth = 32, kHeight = 24, kSide = 8;

// Texel (row, col) of level 0 unlike every other; later levels black, so
// that sampling a wrong level shows too.
ModelTexture Distinct(GLenum minFilter, GLenum magFilter) {
  ModelTexture tex;
  tex.minFilter = minFilter, tex.magFilter = magFilter;
  for (int32_t k = 0, side = kSide; side >= 1; k++, side /= 2) {
    tex.levels.push_back(MakeLevel(side, side, [k](int32_t row, int32_t col) {
      return k ? Texel{0, 0, 0, 255}
               : Texel{uint8_t(30 * col + 15), uint8_t(30 * row + 15), uint8_t(255 - 20 * row),
                       uint8_t(200 + col)};
    }));
    if (minFilter == GL_NEAREST || minFilter == GL_LINEAR) break;
  }
  return tex;
}

struct Case {
  const char *name;
  GLenum minFilter, magFilter;
  float s, t, q;  // at the raster position
  int32_t row, col;  // the texel they name
};

const Case kCases[] = {
    {"nearest at a texel's middle", GL_NEAREST, GL_NEAREST, 0.3125f, 0.6875f, 1, 5, 2},
    {"divided by q", GL_NEAREST, GL_NEAREST, 0.6875f, 0.3125f, 2, 2, 5},
    {"linear at a texel's middle", GL_LINEAR, GL_LINEAR, 0.5625f, 0.1875f, 1, 1, 4},
    {"mipmapped: level 0 at rho 1", GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST, 0.9f, 0.05f, 1, 0, 7},
    {"repeat beyond 1", GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR, 1.4375f, -0.4375f, 1, 4, 3},
};

class RasterTexel : public TexDrawTest {
 protected:
  void Prepare(const Case &c, const ModelTexture &tex) {
    Load(tex);
    Clear();
    glTexCoord4f(c.s * c.q, c.t * c.q, 0, c.q);
    glRasterPos2i(5, 4);
  }
  // Pixels of the kSide x 3 rectangle at the raster position.
  void Expect(const std::vector<Channels> &want) {
    for (int32_t y = 0; y < 3; y++)
      for (int32_t x = 0; x < kSide; x++)
        EXPECT_EQ(Show(Pixel(5 + x, 4 + y)), Show(want[size_t(y * kSide + x)]))
            << "pixel " << x << ", " << y;
    EXPECT_EQ(colorMemory->Read(4, 4), cleared);
    EXPECT_EQ(colorMemory->Read(5 + kSide, 4), cleared);
  }
};

// Replace gives the texel everywhere in every format (the fast paths of
// 16-bit and 8-bit buffers must leave textured rectangles to the generic
// one); modulate keeps the image's colours times the texel.
TEST_F(RasterTexel, DrawPixelsTakesTheTexelAtTheRasterPosition) {
  std::vector<GLubyte> image;
  for (int32_t i = 0; i < 3 * kSide; i++)
    image.insert(image.end(), {GLubyte(i * 10), GLubyte(255), GLubyte(255 - i * 10), 255});
  for (const ColorFormat &f : kRgbFormats) {
    ASSERT_TRUE(Open(f, kWidth, kHeight));
    glEnable(GL_TEXTURE_2D);
    for (const Case &c : kCases) {
      SCOPED_TRACE(testing::Message() << f.name << ", " << c.name);
      const ModelTexture tex = Distinct(c.minFilter, c.magFilter);
      const Texel texel = tex.levels[0].At(c.row, c.col);
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
      Prepare(c, tex);
      glDrawPixels(kSide, 3, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
      ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      Expect(std::vector<Channels>(3 * kSide, Stored(texel)));
      if (f.bits[0] != 8 || !f.hasAlpha()) continue;
      // Green is full, so it shows the texel's; red rises along the image,
      // scaled by the texel's red.
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      Prepare(c, tex);
      glDrawPixels(kSide, 3, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
      for (int32_t i = 0; i < 3 * kSide; i++) {
        const Channels px = Pixel(5 + i % kSide, 4 + i / kSide);
        EXPECT_EQ(px[1], texel[1]) << "pixel " << i;
        EXPECT_EQ(px[3], texel[3]) << "pixel " << i;
        EXPECT_NEAR(double(px[0]), double(i * 10) * texel[0] / 255, 1.0) << "pixel " << i;
      }
    }
  }
}

// In every format: the fast bitmap renderers of 16-bit buffers take the
// textured colour as the generic one does.
TEST_F(RasterTexel, BitmapTakesTheTexelAtTheRasterPosition) {
  // Rows of 8 bits: a checker of set and clear pixels.
  const GLubyte bits[3] = {0xAA, 0x55, 0xAA};
  for (const ColorFormat &f : kRgbFormats) {
    ASSERT_TRUE(Open(f, kWidth, kHeight));
    glEnable(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // White: modulate gives the texel as well.
    glColor4f(1, 1, 1, 1);
    for (const Case &c : kCases)
      for (GLenum mode : {GL_REPLACE, GL_MODULATE}) {
        SCOPED_TRACE(testing::Message() << f.name << ", " << c.name << ", "
                                        << (mode == GL_REPLACE ? "replace" : "modulate"));
        const ModelTexture tex = Distinct(c.minFilter, c.magFilter);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(mode));
        Prepare(c, tex);
        glBitmap(kSide, 3, 0, 0, 0, 0, bits);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        std::vector<Channels> want;
        for (int32_t y = 0; y < 3; y++)
          for (int32_t x = 0; x < kSide; x++) {
            const bool set = (bits[y] >> (7 - x)) & 1;
            want.push_back(set ? Stored(tex.levels[0].At(c.row, c.col)) : Pixel(0, 0));
          }
        Expect(want);
      }
  }
}

}  // namespace
}  // namespace tex_draw_test
