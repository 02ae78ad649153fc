// Cooked copies: each texel of the five byte formats as a pixel of the
// draw buffer, for 1-, 2- and 4-byte buffers; bordered levels kept up to
// date by the sub-image commands; none where no pixel could be written.
#include <string.h>

#include "pixels/px_texture_cook.h"
#include "raster/s_buffers.h"
#include "tests/pixels/tex_images/tex_image_fixture.h"

namespace tex_image_test {
namespace {

using Bytes = std::vector<uint8_t>;

class Cook : public TexImageTest {
 protected:
  // The bound 2D object as the current texture, cooked.
  GlTextureLevel *CookBound() {
    gc->texture.current = Bound(1);
    __glCookTexture(gc);
    return Level(1, 0);
  }
  uint32_t ElementSize() const { return gc->drawBuffer->buf.drawableBuf->elementSize; }
  uint32_t CookedPixel(const GlTextureLevel *l, size_t index) const {
    uint32_t v = 0;
    memcpy(&v, l->auxImage + index * ElementSize(), ElementSize());
    return v;
  }
  // The pixel the draw buffer holds for these 8-bit components.
  uint32_t Pixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a) const {
    const GlColorBuffer *cfb = gc->drawBuffer;
    const GlModes &m = gc->modes;
    auto place = [](uint32_t v, uint32_t bits, uint32_t shift) {
      return bits == 0 ? 0 : (v >> (8 - bits)) << shift;
    };
    return place(r, m.redBits, cfb->redShift) | place(g, m.greenBits, cfb->greenShift) |
           place(b, m.blueBits, cfb->blueShift) | place(a, m.alphaBits, cfb->alphaShift);
  }
};

struct FormatCase {
  GLint internal;
  int r, g, b, a;  // byte of the RGBA source each takes; -1 for 0
};

// Luminance and intensity come from red, as OpenGL defines them from RGBA.
const FormatCase kFormats[] = {
    {GL_LUMINANCE, 0, 0, 0, -1}, {GL_LUMINANCE_ALPHA, 0, 0, 0, 3}, {GL_RGB, 0, 1, 2, -1},
    {GL_RGBA, 0, 1, 2, 3},       {GL_INTENSITY, 0, 0, 0, 0},
};

TEST_F(Cook, EachFormatBecomesTheDrawBuffersPixel) {
  for (int bits : {32, 16, 8}) {
    Reopen(true, false, bits);
    SCOPED_TRACE(bits);
    const Bytes p = Pattern(4, 2, 5);
    for (const FormatCase &f : kFormats) {
      SCOPED_TRACE(f.internal);
      glTexImage2D(GL_TEXTURE_2D, 0, f.internal, 4, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
      const GlTextureLevel *l = CookBound();
      ASSERT_NE(l->auxImage, nullptr);
      for (size_t i = 0; i < 8; ++i) {
        auto c = [&](int k) { return k < 0 ? 0u : uint32_t(p[i * 4 + size_t(k)]); };
        EXPECT_EQ(CookedPixel(l, i), Pixel(c(f.r), c(f.g), c(f.b), c(f.a))) << "texel " << i;
      }
    }
  }
}

TEST_F(Cook, NoCopyForOtherFormatsOrThreeBytePixels) {
  const Bytes p = Pattern(4, 4, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(CookBound()->auxImage, nullptr);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, 4, 4, 0, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
               p.data());
  EXPECT_EQ(CookBound()->auxImage, nullptr);
  Reopen(true, false, 24);
  ASSERT_EQ(ElementSize(), 3u);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(CookBound()->auxImage, nullptr);
  // Nothing current: nothing to cook.
  gc->texture.current = nullptr;
  __glCookTexture(gc);
}

TEST_F(Cook, BorderedLevelsFollowBothSubImageCommands) {
  Reopen(true, false, 16);
  FillPattern();
  const Bytes base = Pattern(6, 6, 2);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 6, 6, 1, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  GlTextureLevel *l = CookBound();
  ASSERT_NE(l->auxImage, nullptr);
  auto expectCooked = [&](const char *when) {
    SCOPED_TRACE(when);
    const Bytes level = GetRgba(GL_TEXTURE_2D, 0);
    for (size_t i = 0; i < 36; ++i) {
      const uint8_t *t = &level[i * 4];
      ASSERT_EQ(CookedPixel(l, i), Pixel(t[0], t[1], t[2], t[3])) << "texel " << i;
    }
  };
  expectCooked("defined");
  const Bytes sub = Pattern(2, 3, 9);
  glTexSubImage2D(GL_TEXTURE_2D, 0, -1, -1, 2, 3, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  expectCooked("after glTexSubImage2D at -1, -1");
  glTexSubImage2D(GL_TEXTURE_2D, 0, 3, 2, 2, 3, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  expectCooked("after glTexSubImage2D at the far corner");
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, -1, -1, 10, 10, 3, 2);
  expectCooked("after glCopyTexSubImage2D at -1, -1");
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 1, 1, 20, 3, 4, 4);
  expectCooked("after glCopyTexSubImage2D at the far corner");
  // Redefinition drops it.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 6, 6, 1, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  EXPECT_EQ(l->auxImage, nullptr);
}

TEST_F(Cook, OneDimensionalCopiesFollowSubImages) {
  const Bytes base = Pattern(6, 1, 3), sub = Pattern(2, 1, 7);
  glTexImage1D(GL_TEXTURE_1D, 0, GL_RGB, 6, 1, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  gc->texture.current = Bound(0);
  __glCookTexture(gc);
  GlTextureLevel *l = Level(0, 0);
  ASSERT_NE(l->auxImage, nullptr);
  glTexSubImage1D(GL_TEXTURE_1D, 0, -1, 2, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  const Bytes level = GetRgba(GL_TEXTURE_1D, 0);
  // The texel row is the one past the border.
  for (size_t i = 0; i < 6; ++i) {
    const uint8_t *t = &level[i * 4];
    EXPECT_EQ(CookedPixel(l, 6 + i), Pixel(t[0], t[1], t[2], 0)) << "texel " << i;
  }
}

}  // namespace
}  // namespace tex_image_test
