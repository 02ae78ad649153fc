// Which renderer a bitmap takes: the fast ones only while nothing between
// the bits and the buffer can change a pixel, and while exactly one back
// colour buffer is drawn.
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "raster/s_shader.h"
#include "tests/pixels/bitmap/bitmap_fixture.h"

namespace bitmap_test {
namespace {

struct Gate {
  const char *name;
  const char *format;
  void (*state)();
  Renderer want;
};

const Renderer kGeneric = __glRenderBitmap, kRGB16 = __glRenderBitmap_FastRGB16,
               kCI8 = __glRenderBitmap_FastCI8;

const Gate kGates[] = {
    {"RGB: nothing on", "5-6-5", [] {}, kRGB16},
    {"RGB: dither", "5-6-5", [] { glEnable(GL_DITHER); }, kGeneric},
    {"RGB: depth test", "5-6-5", [] { glEnable(GL_DEPTH_TEST); }, kGeneric},
    {"RGB: polygon stipple", "5-6-5", [] { glEnable(GL_POLYGON_STIPPLE); }, kGeneric},
    {"RGB: stencil test", "5-6-5", [] { glEnable(GL_STENCIL_TEST); }, kGeneric},
    {"RGB: logic op", "5-6-5", [] { glEnable(GL_COLOR_LOGIC_OP); }, kGeneric},
    {"RGB: blend", "5-6-5", [] { glEnable(GL_BLEND); }, kGeneric},
    {"RGB: alpha test", "5-6-5", [] { glEnable(GL_ALPHA_TEST); }, kGeneric},
    {"RGB: partial colour mask", "5-6-5", [] { glColorMask(1, 1, 0, 1); }, kGeneric},
    {"RGB: front buffer", "5-6-5", [] { glDrawBuffer(GL_FRONT); }, kGeneric},
    {"RGB: front and back", "5-6-5", [] { glDrawBuffer(GL_FRONT_AND_BACK); }, kGeneric},
    {"RGB: no colour buffer", "5-6-5", [] { glDrawBuffer(GL_NONE); }, kGeneric},
    {"RGB: back buffer named", "5-6-5", [] { glDrawBuffer(GL_BACK); }, kRGB16},
    {"RGB: fog", "5-6-5", [] { glEnable(GL_FOG); }, kRGB16},
    {"RGB: scissor, culling, smooth shading, line stipple", "5-6-5",
     [] {
       glEnable(GL_SCISSOR_TEST);
       glEnable(GL_CULL_FACE);
       glShadeModel(GL_SMOOTH);
       glEnable(GL_LINE_STIPPLE);
     },
     kRGB16},
    {"RGB: 5-5-5", "5-5-5", [] {}, kRGB16},
    {"RGB: 1-5-5-5", "1-5-5-5", [] {}, kRGB16},
    {"RGB: 1-byte pixels", "3-3-2", [] {}, kGeneric},
    {"RGB: 3-byte pixels", "8-8-8", [] {}, kGeneric},
    {"RGB: 4-byte pixels", "8-8-8-8", [] {}, kGeneric},
    {"index: 2-byte pixels", "index 12", [] {}, kGeneric},
    {"index: nothing on", "index 8", [] {}, kCI8},
    {"index: dither", "index 8", [] { glEnable(GL_DITHER); }, kGeneric},
    {"index: index test", "index 8", [] { glEnable(GL_INDEX_TEST_VLX); }, kGeneric},
    {"index: logic op", "index 8", [] { glEnable(GL_INDEX_LOGIC_OP); }, kGeneric},
    {"index: partial index mask", "index 8", [] { glIndexMask(0x0F); }, kGeneric},
    {"index: depth test", "index 8", [] { glEnable(GL_DEPTH_TEST); }, kGeneric},
    {"index: front buffer", "index 8", [] { glDrawBuffer(GL_FRONT); }, kGeneric},
    {"index: no colour buffer", "index 8", [] { glDrawBuffer(GL_NONE); }, kGeneric},
    {"index: fog", "index 8", [] { glEnable(GL_FOG); }, kCI8},
};

class BitmapGates : public BitmapTest {};

TEST_F(BitmapGates, StateChoosesTheRenderer) {
  for (const Gate &g : kGates) {
    SCOPED_TRACE(g.name);
    OpenTarget(FormatNamed(g.format));
    g.state();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Validate();
    EXPECT_EQ(gc->procs.renderBitmap, g.want);
  }
}

// Texturing samples once for the whole bitmap: it leaves the fast
// renderers in place.
TEST_F(BitmapGates, TexturingKeepsTheFastRenderers) {
  for (bool rgba : {true, false}) {
    OpenTarget(rgba);
    Validate();
    gc->polygon.shader.modeFlags |= __GL_SHADE_TEXTURE;
    __glOptPickRenderBitmapProcs(gc);
    EXPECT_EQ(gc->procs.renderBitmap, rgba ? kRGB16 : kCI8);
  }
}

// With no colour buffer drawn the bits go nowhere, while the last buffer
// named stays the draw buffer.
TEST_F(BitmapGates, NoColourBufferDrawnWritesNothing) {
  static const GLubyte bits[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  for (bool rgba : {true, false}) {
    OpenTarget(rgba);
    glDrawBuffer(GL_NONE);
    glRasterPos2f(10, 12);
    glBitmap(8, 4, 0, 0, 0, 0, bits);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const uint32_t fill = rgba ? 0x5A5Au : 0x5Au;
    for (uint32_t p : Image()) ASSERT_EQ(p, fill);
  }
}

}  // namespace
}  // namespace bitmap_test
