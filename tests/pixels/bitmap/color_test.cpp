// The one colour of a bitmap's bits: the raster colour in the buffer's
// units as the fragment store writes it, textured and fogged once for the
// whole bitmap, the same through the generic and the fast renderers.
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "raster/s_shader.h"
#include "tests/pixels/bitmap/bitmap_fixture.h"

namespace bitmap_test {
namespace {

// Rows from the bottom: a frame, set bits in columns 0 and 7 only inside.
const GLubyte kBits[4] = {0xFF, 0x81, 0x81, 0xFF};

int SetBits() {
  int n = 0;
  for (GLubyte b : kBits) n += __builtin_popcount(b);
  return n;
}

class BitmapColors : public BitmapTest {
 protected:
  // Every pixel is `value` where a bit is set and the fill elsewhere.
  void ExpectDrawn(uint32_t value, uint32_t fill) {
    for (int row = 0; row < 4; row++)
      for (int col = 0; col < 8; col++) {
        const bool set = kBits[row] & (0x80 >> col);
        EXPECT_EQ(Shown(10 + col, 12 + row), set ? value : fill) << col << ", " << row;
      }
  }
};

TEST_F(BitmapColors, RgbColoursStoreAsTheFragmentStoreRoundsThem) {
  struct Case {
    GLfloat r, g, b;
    uint32_t pixel;  // 5-6-5, each component rounded to nearest
  } cases[] = {
      {1, 1, 1, 0xFFFF},  // white fills every bit, nothing overflows
      {0, 0, 0, 0x0000},
      {1, 0, 0, 0xF800},
      {0, 1, 0, 0x07E0},
      {0, 0, 1, 0x001F},
      {0.25f, 0.75f, 0.125f, 8u << 11 | 47u << 5 | 4u},
  };
  for (const auto &c : cases)
    for (Renderer r : {Renderer(__glRenderBitmap), __glRenderBitmap_FastRGB16}) {
      SCOPED_TRACE(testing::Message() << c.r << ", " << c.g << ", " << c.b
                                      << (r == __glRenderBitmap ? " generic" : " fast"));
      OpenTarget(true);
      glColor3f(c.r, c.g, c.b);
      glRasterPos2f(10, 12);
      Pin(r);
      glBitmap(8, 4, 0, 0, 0, 0, kBits);
      ExpectDrawn(c.pixel, 0x5A5A);
    }
}

TEST_F(BitmapColors, IndexesStoreAsTheFragmentStoreRoundsThem) {
  struct Case {
    GLfloat index;
    uint32_t pixel;
  } cases[] = {{0, 0}, {37, 37}, {255, 255}, {300, 300 & 0xFF}, {5.25f, 5}, {5.75f, 6}};
  for (const auto &c : cases)
    for (Renderer r : {Renderer(__glRenderBitmap), __glRenderBitmap_FastCI8}) {
      SCOPED_TRACE(testing::Message() << c.index
                                      << (r == __glRenderBitmap ? " generic" : " fast"));
      OpenTarget(false);
      glIndexf(c.index);
      glRasterPos2f(10, 12);
      Pin(r);
      glBitmap(8, 4, 0, 0, 0, 0, kBits);
      ExpectDrawn(c.pixel, 0x5A);
    }
}

// The texture sample and the fog step run once, at the raster position's
// coordinates and eye z, and every bit takes their result.
struct Hooks {
  static inline int textured = 0, fogged = 0;
  static inline GLfloat s, t, rho, eyeZ;
  static void Texture(GlContext *, GlColor *color, GLfloat s_, GLfloat t_, GLfloat rho_) {
    textured++;
    s = s_, t = t_, rho = rho_;
    *color = {8, 40, 20, 31};
  }
  static void Fog(GlContext *, GlFragment *frag, GLfloat eyeZ_) {
    fogged++;
    eyeZ = eyeZ_;
    frag->color.r += 1;
  }
};

TEST_F(BitmapColors, TexturedAndFoggedBitmapsTakeOneColour) {
  for (Renderer r : {Renderer(__glRenderBitmap), __glRenderBitmap_FastRGB16}) {
    SCOPED_TRACE(r == __glRenderBitmap ? "generic" : "fast");
    OpenTarget(true);
    glEnable(GL_FOG);
    glRasterPos2f(10, 12);
    GlVertex &rp = gc->state.current.rasterPos;
    rp.texture = {0.5f, 0.25f, 0.0f, 2.0f};
    rp.eye.z = -3.0f;
    Validate();
    // Fog leaves the fast renderer in place.
    EXPECT_EQ(gc->procs.renderBitmap, __glRenderBitmap_FastRGB16);
    Pin(r);
    gc->polygon.shader.modeFlags |= __GL_SHADE_TEXTURE;
    gc->procs.textureRaster = Hooks::Texture;
    gc->procs.fogFragment = Hooks::Fog;
    Hooks::textured = Hooks::fogged = 0;
    glBitmap(8, 4, 0, 0, 0, 0, kBits);
    EXPECT_EQ(Hooks::textured, 1);
    EXPECT_EQ(Hooks::fogged, 1);
    EXPECT_EQ(Hooks::s, 0.25f);
    EXPECT_EQ(Hooks::t, 0.125f);
    EXPECT_EQ(Hooks::rho, 1.0f);
    EXPECT_EQ(Hooks::eyeZ, -3.0f);
    ExpectDrawn(9u << 11 | 40u << 5 | 20u, 0x5A5A);
  }
}

TEST_F(BitmapColors, GenericFragmentsAllCarryTheTexturedColour) {
  OpenTarget(true);
  glRasterPos2f(10, 12);
  gc->state.current.rasterPos.texture = {0.5f, 0.25f, 0.0f, 2.0f};
  RecordFragments();
  gc->polygon.shader.modeFlags |= __GL_SHADE_TEXTURE;
  gc->procs.textureRaster = Hooks::Texture;
  Hooks::textured = 0;
  glBitmap(8, 4, 0, 0, 0, 0, kBits);
  EXPECT_EQ(Hooks::textured, 1);
  ASSERT_EQ(int(Recorded().size()), SetBits());
  for (const draw_test::Recorded &f : Recorded()) {
    EXPECT_EQ(f.color.r, 8.0f);
    EXPECT_EQ(f.color.g, 40.0f);
    EXPECT_EQ(f.color.b, 20.0f);
  }
}

}  // namespace
}  // namespace bitmap_test
