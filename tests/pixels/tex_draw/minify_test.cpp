// A screen-aligned quad over a 64 x 64 mipmapped texture, drawn 64 >> k
// pixels a side, shows level k: each pixel centre lands on the middle of
// texel (y, x) of that level, so every mipmap filter reads that one texel,
// and the same scene holds in every RGB frame-buffer format.
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "tests/pixels/tex_draw/tex_draw_fixture.h"

namespace tex_draw_test {
namespace {

constexpr int32_t kSide = 64;

// Every level different and every texel of a level different from its
// neighbours, so a wrong level or a shifted texel shows.
ModelTexture Chain(GLenum minFilter, GLenum magFilter) {
  ModelTexture tex;
  tex.minFilter = minFilter, tex.magFilter = magFilter;
  for (int32_t k = 0, side = kSide; side >= 1; k++, side /= 2)
    tex.levels.push_back(MakeLevel(side, side, [k](int32_t row, int32_t col) {
      return Texel{uint8_t(40 * k + 5 * (col % 8)), uint8_t(7 * row + 3 * col),
                   uint8_t(250 - 30 * k - (row % 4) * 9), uint8_t(255 - 20 * k - col % 3)};
    }));
  return tex;
}

void Quad(int32_t side) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(0, 0);
  glTexCoord2f(1, 0);
  glVertex2i(side, 0);
  glTexCoord2f(1, 1);
  glVertex2i(side, side);
  glTexCoord2f(0, 1);
  glVertex2i(0, side);
  glEnd();
}

struct FilterCase {
  GLenum minFilter, magFilter;
};

const FilterCase kFilters[] = {
    {GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}, {GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR},
    {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST},  {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
    {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR},
};

class Minify : public TexDrawTest {};

TEST_F(Minify, AQuadShrunkByTwoToTheKShowsLevelK) {
  for (const ColorFormat &f : kRgbFormats) {
    ASSERT_TRUE(Open(f, kSide, kSide));
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    for (const FilterCase &fc : kFilters) {
      const ModelTexture tex = Chain(fc.minFilter, fc.magFilter);
      Load(tex);
      for (int32_t k = 0; (kSide >> k) >= 2; k++) {
        SCOPED_TRACE(testing::Message() << f.name << ", filters 0x" << std::hex << fc.minFilter
                                        << "/0x" << fc.magFilter << std::dec << ", level " << k);
        const int32_t side = kSide >> k;
        Clear();
        Quad(side);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        ASSERT_TRUE(GenericFill());
        int wrong = 0;
        for (int32_t y = 0; y < side; y++)
          for (int32_t x = 0; x < side; x++) {
            const Channels want = Stored(tex.levels[size_t(k)].At(y, x));
            const Channels got = Pixel(x, y);
            if (got != want && wrong++ < 4)
              ADD_FAILURE() << "pixel " << x << ", " << y << ": " << Show(got) << ", want "
                            << Show(want);
          }
        EXPECT_EQ(wrong, 0);
        if (side < kSide) {
          EXPECT_EQ(colorMemory->Read(side, 0), cleared);
          EXPECT_EQ(colorMemory->Read(0, side), cleared);
        }
      }
    }
  }
}

}  // namespace
}  // namespace tex_draw_test
