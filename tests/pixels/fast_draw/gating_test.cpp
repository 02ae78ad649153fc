// Which draws the core's draw-pixels procedure hands to a kernel: the state
// in, the kernel the picker names out, and the generic path's fragments (the
// recording pixel store) exactly when it names none.
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "raster/s_shader.h"
#include "tests/pixels/fast_draw/fast_draw_fixture.h"

namespace fast_draw_test {
namespace {

using State = void (*)();

struct Row {
  const char *name;
  const char *format;  // the window's colour format
  State state;
  GLenum drawFormat, type;
  GlDrawPixelsKernel want;  // none: the generic path
  uint32_t addFlags = 0;    // raster-mode flags no plain state here sets
};

void Plain() {}
void Dither() { glEnable(GL_DITHER); }
void AlphaTest() { glEnable(GL_ALPHA_TEST); }
void DitherAlphaTest() { glEnable(GL_DITHER), glEnable(GL_ALPHA_TEST); }

constexpr GlDrawPixelsKernel kRGB16 = __glDrawPixels_FastRGB16;
constexpr GlDrawPixelsKernel kDither = __glDrawPixels_FastRGB16_Dither;
constexpr GlDrawPixelsKernel kRGBA = __glDrawPixels_FastRGBAubyte16;
constexpr GlDrawPixelsKernel kAtest = __glDrawPixels_FastRGBA16_Atest;
constexpr GlDrawPixelsKernel kCI8 = __glDrawPixels_FastCI8;
constexpr GlDrawPixelsKernel kGeneric = nullptr;

const Row kRows[] = {
    // Formats and types.
    {"rgb", "5-6-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"rgb 5-5-5", "5-5-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"rgba", "5-6-5", Plain, GL_RGBA, GL_UNSIGNED_BYTE, kRGBA},
    {"bgra without alpha test", "5-6-5", Plain, GL_BGRA_EXT, GL_UNSIGNED_BYTE, kGeneric},
    {"luminance", "5-6-5", Plain, GL_LUMINANCE, GL_UNSIGNED_BYTE, kGeneric},
    {"index into rgba", "5-6-5", Plain, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    {"depth", "5-6-5", Plain, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, kGeneric},
    {"float", "5-6-5", Plain, GL_RGB, GL_FLOAT, kGeneric},
    {"byte", "5-6-5", Plain, GL_RGB, GL_BYTE, kGeneric},
    {"unsigned short", "5-6-5", Plain, GL_RGBA, GL_UNSIGNED_SHORT, kGeneric},
    // Fragment work.
    {"depth test", "5-6-5", [] { glEnable(GL_DEPTH_TEST); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"texture", "5-6-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kGeneric, __GL_SHADE_TEXTURE},
    {"stipple", "5-6-5", [] { glEnable(GL_POLYGON_STIPPLE); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"stencil", "5-6-5", [] { glEnable(GL_STENCIL_TEST); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"logic op", "5-6-5", [] { glEnable(GL_COLOR_LOGIC_OP); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"blend", "5-6-5", [] { glEnable(GL_BLEND); }, GL_RGBA, GL_UNSIGNED_BYTE, kGeneric},
    {"write mask", "5-6-5", [] { glColorMask(1, 0, 1, 1); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"fog", "5-6-5", [] { glEnable(GL_FOG); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"line stipple and culling do nothing here", "5-6-5",
     [] { glEnable(GL_LINE_STIPPLE), glEnable(GL_CULL_FACE); }, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    // Buffers drawn.
    {"front", "5-6-5", [] { glDrawBuffer(GL_FRONT); }, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"none", "5-6-5", [] { glDrawBuffer(GL_NONE); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"front and back", "5-6-5", [] { glDrawBuffer(GL_FRONT_AND_BACK); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    // Zooms.
    {"zoom -1, 1", "5-6-5", [] { glPixelZoom(-1, 1); }, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"zoom 1, -1", "5-6-5", [] { glPixelZoom(1, -1); }, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"zoom -1, -1", "5-6-5", [] { glPixelZoom(-1, -1); }, GL_RGBA, GL_UNSIGNED_BYTE, kRGBA},
    {"zoom 2, 1", "5-6-5", [] { glPixelZoom(2, 1); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"zoom 1, 0.5", "5-6-5", [] { glPixelZoom(1, 0.5f); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"zoom -0.5, 1", "5-6-5", [] { glPixelZoom(-0.5f, 1); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"zoom 1, -2", "5-6-5", [] { glPixelZoom(1, -2); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    // Transfer.
    {"map colour", "5-6-5", [] { glPixelTransferi(GL_MAP_COLOR, 1); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"red scale", "5-6-5", [] { glPixelTransferf(GL_RED_SCALE, 0.5f); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"green scale", "5-6-5", [] { glPixelTransferf(GL_GREEN_SCALE, 2.0f); }, GL_RGB,
     GL_UNSIGNED_BYTE, kGeneric},
    {"blue scale", "5-6-5", [] { glPixelTransferf(GL_BLUE_SCALE, 0.0f); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"alpha scale", "5-6-5", [] { glPixelTransferf(GL_ALPHA_SCALE, 0.5f); }, GL_RGB,
     GL_UNSIGNED_BYTE, kGeneric},
    {"red bias", "5-6-5", [] { glPixelTransferf(GL_RED_BIAS, 0.25f); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"green bias", "5-6-5", [] { glPixelTransferf(GL_GREEN_BIAS, -0.25f); }, GL_RGB,
     GL_UNSIGNED_BYTE, kGeneric},
    {"blue bias", "5-6-5", [] { glPixelTransferf(GL_BLUE_BIAS, 0.25f); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"alpha bias", "5-6-5", [] { glPixelTransferf(GL_ALPHA_BIAS, 0.25f); }, GL_RGBA,
     GL_UNSIGNED_BYTE, kGeneric},
    {"index shift", "5-6-5", [] { glPixelTransferi(GL_INDEX_SHIFT, 1); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"index offset", "5-6-5", [] { glPixelTransferi(GL_INDEX_OFFSET, -1); }, GL_RGB,
     GL_UNSIGNED_BYTE, kGeneric},
    {"depth scale is no colour transfer", "5-6-5", [] { glPixelTransferf(GL_DEPTH_SCALE, 0.5f); },
     GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    // Dither and alpha test.
    {"dither rgb", "5-6-5", Dither, GL_RGB, GL_UNSIGNED_BYTE, kDither},
    {"dither rgba", "5-6-5", Dither, GL_RGBA, GL_UNSIGNED_BYTE, kRGBA},
    {"dither bgra", "5-6-5", Dither, GL_BGRA_EXT, GL_UNSIGNED_BYTE, kGeneric},
    {"dither and alpha test rgb", "5-6-5", DitherAlphaTest, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"dither and alpha test rgba", "5-6-5", DitherAlphaTest, GL_RGBA, GL_UNSIGNED_BYTE, kGeneric},
    {"alpha test rgba", "5-6-5", AlphaTest, GL_RGBA, GL_UNSIGNED_BYTE, kAtest},
    {"alpha test bgra", "5-6-5", AlphaTest, GL_BGRA_EXT, GL_UNSIGNED_BYTE, kAtest},
    {"alpha test abgr", "5-6-5", AlphaTest, GL_ABGR_EXT, GL_UNSIGNED_BYTE, kAtest},
    {"alpha test rgb", "5-6-5", AlphaTest, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"alpha test bgr", "5-6-5", AlphaTest, GL_BGR_EXT, GL_UNSIGNED_BYTE, kGeneric},
    // Other RGBA buffers.
    {"alpha planes", "1-5-5-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"one byte", "3-3-2", Plain, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"three bytes", "8-8-8", Plain, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"four bytes", "X-8-8-8", Plain, GL_RGBA, GL_UNSIGNED_BYTE, kGeneric},
    // Colour index.
    {"index", "index 8", Plain, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kCI8},
    {"index dithered", "index 8", Dither, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kCI8},
    {"index zoom -1, -1", "index 8", [] { glPixelZoom(-1, -1); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
     kCI8},
    {"index front", "index 8", [] { glDrawBuffer(GL_FRONT); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
     kGeneric},
    {"index none", "index 8", [] { glDrawBuffer(GL_NONE); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
     kGeneric},
    {"index fog", "index 8", [] { glEnable(GL_FOG); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    {"index test", "index 8", [] { glEnable(GL_INDEX_TEST_VLX); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
     kGeneric},
    {"index logic op", "index 8", [] { glEnable(GL_INDEX_LOGIC_OP); }, GL_COLOR_INDEX,
     GL_UNSIGNED_BYTE, kGeneric},
    {"index write mask", "index 8", [] { glIndexMask(0x0F); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
     kGeneric},
    {"index shift in index mode", "index 8", [] { glPixelTransferi(GL_INDEX_SHIFT, 1); },
     GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    {"index offset in index mode", "index 8", [] { glPixelTransferi(GL_INDEX_OFFSET, 3); },
     GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    {"index map", "index 8", [] { glPixelTransferi(GL_MAP_COLOR, 1); }, GL_COLOR_INDEX,
     GL_UNSIGNED_BYTE, kGeneric},
    {"index short", "index 8", Plain, GL_COLOR_INDEX, GL_UNSIGNED_SHORT, kGeneric},
    {"index bitmap", "index 8", Plain, GL_COLOR_INDEX, GL_BITMAP, kGeneric},
    {"stencil", "index 8", Plain, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    {"index zoom 2", "index 8", [] { glPixelZoom(2, 2); }, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
     kGeneric},
    {"two-byte index", "index 16", Plain, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kGeneric},
};

class Gating : public FastDrawTest {};

TEST_F(Gating, StatePicksTheKernelOrTheGenericPath) {
  uint8_t image[4 * 3 * 16];
  for (size_t i = 0; i < sizeof image; i++) image[i] = uint8_t(0x81 + 7 * i);
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.name);
    OpenFormat(Format(row.format));
    glAlphaFunc(GL_ALWAYS, 0.0f);
    row.state();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Prepare();
    gc->polygon.shader.modeFlags |= row.addFlags;
    EXPECT_EQ(__glPickDrawPixelsKernel(gc, row.drawFormat, row.type), row.want);

    SetRaster(10, 10);
    const std::vector<uint32_t> back = Pixels(colorMemory), front = Pixels(frontMemory);
    const std::vector<uint32_t> stencil = Pixels(stencilMemory);
    Fragments().clear();
    gc->procs.drawPixels(gc, 4, 3, row.drawFormat, row.type, image, 0);
    const bool drewColour = Pixels(colorMemory) != back || Pixels(frontMemory) != front;
    // Stencil images go to the stencil buffer, not through the pixel store.
    const bool generic = !Fragments().empty() || Pixels(stencilMemory) != stencil;
    if (row.want) {
      EXPECT_FALSE(generic);
      EXPECT_TRUE(drewColour) << "the kernel wrote nothing";
    } else {
      EXPECT_TRUE(generic) << "the generic path stored nothing";
      EXPECT_FALSE(drewColour) << "pixels written beside the recording store";
    }
  }
}

}  // namespace
}  // namespace fast_draw_test
