// The SiS bitmap picker and renderers: which state takes a fast renderer,
// and the fast renderers' pixels equal to the core's fast renderers' (and so
// to the same colour packing) in both row directions, clipped by the
// scissor box, fogged, in 5-6-5, 5-5-5 and 8-bit index buffers.
#include "core/gl_api.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_enums.h"
#include "raster/s_shader.h"
#include "tests/sis/pixels/sis_pixels_fixture.h"

namespace sis_pixels_test {
namespace {

using Renderer = void (*)(GlContext *, const GlBitmap *, const GLubyte *);

struct PickRow {
  const char *name;
  const char *format;
  void (*state)();
  Renderer want;
  uint32_t addFlags = 0;
};

const PickRow kPickRows[] = {
    {"rgb", "5-6-5", [] {}, __glSiSRenderBitmap_FastRGB16},
    {"rgb 5-5-5", "5-5-5", [] {}, __glSiSRenderBitmap_FastRGB16},
    {"index", "index 8", [] {}, __glSiSRenderBitmap_FastCI8},
    {"fog", "5-6-5", [] { glEnable(GL_FOG); }, __glSiSRenderBitmap_FastRGB16},
    {"texture", "5-6-5", [] {}, __glSiSRenderBitmap_FastRGB16, __GL_SHADE_TEXTURE},
    {"blend", "5-6-5", [] { glEnable(GL_BLEND); }, __glRenderBitmap},
    {"dither", "5-6-5", [] { glEnable(GL_DITHER); }, __glRenderBitmap},
    {"index dither", "index 8", [] { glEnable(GL_DITHER); }, __glRenderBitmap},
    {"depth test", "5-6-5", [] { glEnable(GL_DEPTH_TEST); }, __glRenderBitmap},
    {"alpha test", "5-6-5", [] { glEnable(GL_ALPHA_TEST); }, __glRenderBitmap},
    {"stencil test", "5-6-5", [] { glEnable(GL_STENCIL_TEST); }, __glRenderBitmap},
    {"logic op", "5-6-5", [] { glEnable(GL_COLOR_LOGIC_OP); }, __glRenderBitmap},
    {"write mask", "5-6-5", [] { glColorMask(1, 1, 0, 1); }, __glRenderBitmap},
    {"stipple", "5-6-5", [] {}, __glRenderBitmap, __GL_SHADE_STIPPLE},
    {"front", "5-6-5", [] { glDrawBuffer(GL_FRONT); }, __glRenderBitmap},
    {"none", "5-6-5", [] { glDrawBuffer(GL_NONE); }, __glRenderBitmap},
    {"three bytes", "8-8-8", [] {}, __glRenderBitmap},
};

class SiSBitmaps : public SiSPixelsTest {};

TEST_F(SiSBitmaps, StatePicksTheRenderer) {
  for (const PickRow &row : kPickRows) {
    SCOPED_TRACE(row.name);
    OpenSiS(Format(row.format));
    row.state();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Validate();
    if (row.addFlags) {
      gc->polygon.shader.modeFlags |= row.addFlags;
      gc->procs.renderBitmap = nullptr;
      __glSiSPickRenderBitmapProcs(gc);
    }
    EXPECT_EQ(gc->procs.renderBitmap, row.want);
  }
}

TEST_F(SiSBitmaps, FastRenderersDrawWhatTheCoresDraw) {
  constexpr int kW = 21, kH = 7;
  const std::vector<uint8_t> bits = Noise(((kW + 7) / 8) * kH, 3);
  const struct {
    const char *name;
    const char *format;
    bool yInverted, scissor, fog;
  } kCases[] = {
      {"5-6-5", "5-6-5", false, false, false},
      {"5-5-5", "5-5-5", false, false, false},
      {"rows downwards", "5-6-5", true, false, false},
      {"scissored", "5-5-5", false, true, false},
      {"scissored, rows downwards", "5-6-5", true, true, false},
      {"fogged", "5-6-5", false, false, true},
      {"index", "index 8", false, true, false},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> drawn[2];
    for (bool sis : {true, false}) {
      OpenSiS(Format(c.format), c.yInverted);
      if (!sis) UseCorePickers();
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      glColor4f(0.3f, 0.71f, 0.52f, 1.0f);
      glIndexi(0xA7);
      if (c.scissor) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(13, 5, 9, 38);  // the same rows either way up
      }
      if (c.fog) {
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        const GLfloat fogColour[4] = {1.0f, 0.0f, 0.25f, 1.0f};
        glFogfv(GL_FOG_COLOR, fogColour);
      }
      SetRaster(10.4, 8.6);
      Validate();
      EXPECT_EQ(gc->procs.renderBitmap == __glSiSRenderBitmap_FastRGB16 ||
                    gc->procs.renderBitmap == __glSiSRenderBitmap_FastCI8,
                sis);
      const GLfloat rasterX = gc->state.current.rasterPos.window.x;
      glBitmap(kW, kH, 1.5f, 2.0f, 4.0f, -3.0f, bits.data());
      ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      EXPECT_EQ(gc->state.current.rasterPos.window.x, rasterX + 4.0f);
      drawn[sis ? 0 : 1] = Pixels(colorMemory);
    }
    EXPECT_EQ(drawn[0], drawn[1]);
    size_t written = 0;
    for (uint32_t p : drawn[0]) written += p != (Format(c.format).bytes() == 1 ? 0x5Au : 0x5A5Au);
    EXPECT_GT(written, 4u);
  }
}

}  // namespace
}  // namespace sis_pixels_test
