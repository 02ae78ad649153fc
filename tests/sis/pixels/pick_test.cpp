// Which draws the SiS draw-pixels procedure hands to a kernel: format, type
// and state in, the SiS kernel or the generic path out; the generic path's
// fragments reach the recording store exactly when no kernel is named, and
// the buffers are unlocked on every way out.
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "raster/s_shader.h"
#include "tests/pixels/draw/lock_recorder.h"
#include "tests/sis/pixels/sis_pixels_fixture.h"

namespace sis_pixels_test {
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
// The state in which the depth kernel runs.
void DepthOnly() {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_ALWAYS);
  glColorMask(0, 0, 0, 0);
}

constexpr GlDrawPixelsKernel kRGB16 = __glSiSDrawPixels_FastRGB16;
constexpr GlDrawPixelsKernel kDither = __glSiSDrawPixels_FastRGB16_Dither;
constexpr GlDrawPixelsKernel kRGBA = __glSiSDrawPixels_FastRGBAubyte16;
constexpr GlDrawPixelsKernel kAtest = __glSiSDrawPixels_FastRGBA16_Atest;
constexpr GlDrawPixelsKernel kDepth = __glSiSDrawPixels_FastDepthUShort16;
constexpr GlDrawPixelsKernel kGeneric = nullptr;

const Row kRows[] = {
    // Colour formats and types.
    {"rgb", "5-6-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"rgb 5-5-5", "5-5-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"rgba", "5-6-5", Plain, GL_RGBA, GL_UNSIGNED_BYTE, kRGBA},
    {"bgra without alpha test", "5-6-5", Plain, GL_BGRA_EXT, GL_UNSIGNED_BYTE, kGeneric},
    {"luminance", "5-6-5", Plain, GL_LUMINANCE, GL_UNSIGNED_BYTE, kGeneric},
    {"float", "5-6-5", Plain, GL_RGB, GL_FLOAT, kGeneric},
    {"unsigned short colour", "5-6-5", Plain, GL_RGBA, GL_UNSIGNED_SHORT, kGeneric},
    {"stencil", "5-6-5", Plain, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    // Fragment work, transfer and zoom.
    {"depth test", "5-6-5", [] { glEnable(GL_DEPTH_TEST); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"texture", "5-6-5", Plain, GL_RGB, GL_UNSIGNED_BYTE, kGeneric, __GL_SHADE_TEXTURE},
    {"stipple", "5-6-5", [] { glEnable(GL_POLYGON_STIPPLE); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"stencil test", "5-6-5", [] { glEnable(GL_STENCIL_TEST); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"logic op", "5-6-5", [] { glEnable(GL_COLOR_LOGIC_OP); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"blend", "5-6-5", [] { glEnable(GL_BLEND); }, GL_RGBA, GL_UNSIGNED_BYTE, kGeneric},
    {"write mask", "5-6-5", [] { glColorMask(1, 0, 1, 1); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"fog", "5-6-5", [] { glEnable(GL_FOG); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"zoom -1, 1", "5-6-5", [] { glPixelZoom(-1, 1); }, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"zoom -1, -1", "5-6-5", [] { glPixelZoom(-1, -1); }, GL_RGBA, GL_UNSIGNED_BYTE, kRGBA},
    {"zoom 2", "5-6-5", [] { glPixelZoom(2, 2); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"red scale 0.5", "5-6-5", [] { glPixelTransferf(GL_RED_SCALE, 0.5f); }, GL_RGB,
     GL_UNSIGNED_BYTE, kGeneric},
    {"alpha bias", "5-6-5", [] { glPixelTransferf(GL_ALPHA_BIAS, 0.25f); }, GL_RGBA,
     GL_UNSIGNED_BYTE, kGeneric},
    {"map colour", "5-6-5", [] { glPixelTransferi(GL_MAP_COLOR, 1); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    {"index shift", "5-6-5", [] { glPixelTransferi(GL_INDEX_SHIFT, 1); }, GL_RGB,
     GL_UNSIGNED_BYTE, kGeneric},
    // Buffers drawn.
    {"front", "5-6-5", [] { glDrawBuffer(GL_FRONT); }, GL_RGB, GL_UNSIGNED_BYTE, kRGB16},
    {"none", "5-6-5", [] { glDrawBuffer(GL_NONE); }, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"front and back", "5-6-5", [] { glDrawBuffer(GL_FRONT_AND_BACK); }, GL_RGB, GL_UNSIGNED_BYTE,
     kGeneric},
    // Dither and alpha test.
    {"dither rgb", "5-6-5", Dither, GL_RGB, GL_UNSIGNED_BYTE, kDither},
    {"dither rgba", "5-6-5", Dither, GL_RGBA, GL_UNSIGNED_BYTE, kRGBA},
    {"dither bgra", "5-6-5", Dither, GL_BGRA_EXT, GL_UNSIGNED_BYTE, kGeneric},
    {"dither and alpha test", "5-6-5", [] { glEnable(GL_DITHER), glEnable(GL_ALPHA_TEST); },
     GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"alpha test rgba", "5-6-5", AlphaTest, GL_RGBA, GL_UNSIGNED_BYTE, kAtest},
    {"alpha test bgra", "5-5-5", AlphaTest, GL_BGRA_EXT, GL_UNSIGNED_BYTE, kAtest},
    {"alpha test abgr", "5-6-5", AlphaTest, GL_ABGR_EXT, GL_UNSIGNED_BYTE, kAtest},
    {"alpha test rgb", "5-6-5", AlphaTest, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    // Other buffers: only 16-bit RGB ones have kernels, and no index one.
    {"three bytes", "8-8-8", Plain, GL_RGB, GL_UNSIGNED_BYTE, kGeneric},
    {"index", "index 8", Plain, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, kGeneric},
    // The depth kernel's conditions, one at a time.
    {"depth only", "5-6-5", DepthOnly, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kDepth},
    {"depth mirrored", "5-6-5", [] { DepthOnly(), glPixelZoom(-1, -1); }, GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT, kDepth},
    {"depth, dithered", "5-6-5", [] { DepthOnly(), glEnable(GL_DITHER); }, GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT, kDepth},
    {"depth test off", "5-6-5", [] { DepthOnly(), glDisable(GL_DEPTH_TEST); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth function less", "5-6-5", [] { DepthOnly(), glDepthFunc(GL_LESS); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth writes off", "5-6-5", [] { DepthOnly(), glDepthMask(0); }, GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT, kGeneric},
    {"depth, red written", "5-6-5", [] { DepthOnly(), glColorMask(1, 0, 0, 0); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth, alpha written", "5-6-5", [] { DepthOnly(), glColorMask(0, 0, 0, 1); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth, stencil test", "5-6-5", [] { DepthOnly(), glEnable(GL_STENCIL_TEST); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth, alpha test", "5-6-5",
     [] { DepthOnly(), glEnable(GL_ALPHA_TEST), glAlphaFunc(GL_GREATER, 0.9f); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth scale", "5-6-5", [] { DepthOnly(), glPixelTransferf(GL_DEPTH_SCALE, 0.5f); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth bias", "5-6-5", [] { DepthOnly(), glPixelTransferf(GL_DEPTH_BIAS, 0.125f); },
     GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, kGeneric},
    {"depth zoom 2", "5-6-5", [] { DepthOnly(), glPixelZoom(1, 2); }, GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT, kGeneric},
    {"depth bytes", "5-6-5", DepthOnly, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, kGeneric},
    {"depth shorts", "5-6-5", DepthOnly, GL_DEPTH_COMPONENT, GL_SHORT, kGeneric},
    {"depth unsigned ints", "5-6-5", DepthOnly, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, kGeneric},
    {"depth floats", "5-6-5", DepthOnly, GL_DEPTH_COMPONENT, GL_FLOAT, kGeneric},
};

class Picking : public SiSPixelsTest {};

TEST_F(Picking, StatePicksTheKernelOrTheGenericPath) {
  const std::vector<uint8_t> image = Noise(4 * 4 * 3 * 4, 5);
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.name);
    OpenSiS(Format(row.format));
    glAlphaFunc(GL_ALWAYS, 0.0f);
    row.state();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Prepare();
    ASSERT_EQ(gc->procs.drawPixels, __glSiSPickDrawPixels);
    gc->polygon.shader.modeFlags |= row.addFlags;
    EXPECT_EQ(__glSiSPickDrawPixelsKernel(gc, row.drawFormat, row.type), row.want);

    SetRaster(10, 10);
    const std::vector<uint32_t> back = Pixels(colorMemory), front = Pixels(frontMemory);
    const std::vector<uint32_t> depth = Pixels(depthMemory), stencil = Pixels(stencilMemory);
    Fragments().clear();
    gc->procs.drawPixels(gc, 4, 3, row.drawFormat, row.type, image.data(), 0);
    const bool wrote = Pixels(colorMemory) != back || Pixels(frontMemory) != front ||
                       Pixels(depthMemory) != depth;
    // Stencil images go to the stencil buffer, not through the pixel store.
    const bool generic = !Fragments().empty() || Pixels(stencilMemory) != stencil;
    if (row.want) {
      EXPECT_FALSE(generic);
      EXPECT_TRUE(wrote) << "the kernel wrote nothing";
    } else {
      EXPECT_TRUE(generic) << "the generic path stored nothing";
      EXPECT_FALSE(wrote) << "pixels written beside the recording store";
    }
  }
}

// Only a 16-bit depth buffer takes the image's words as they are: the
// wider buffers (the 24-bit one with its clear epochs) take the generic path.
TEST_F(Picking, WiderDepthBuffersTakeTheGenericPath) {
  const uint16_t words[6] = {1, 2, 3, 0x8000, 0xFFFF, 0};
  for (int bits : {24, 32}) {
    SCOPED_TRACE(bits);
    Open(true, false, 16, bits);
    gc->procs.pickPixelProcs = __glSiSPickPixelProcs;
    DepthOnly();
    Prepare();
    ASSERT_EQ(gc->procs.drawPixels, __glSiSPickDrawPixels);
    ASSERT_EQ(gc->depthBuffer.buf.drawableBuf->elementSize, 4u);
    EXPECT_EQ(__glSiSPickDrawPixelsKernel(gc, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT), nullptr);
    SetRaster(3, 4);
    Fragments().clear();
    gc->procs.drawPixels(gc, 3, 2, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, words, 0);
    EXPECT_EQ(Fragments().size(), 6u);
  }
}

// Locked once for a kernel (also when clipping leaves nothing), the generic
// path's own lock nested inside; all of it unlocked again.
TEST_F(Picking, EveryDrawUnlocksWhatItLocked) {
  using draw_test::LockRecorder;
  struct Case {
    const char *name;
    double x, y;
    float zoom;
    std::vector<GlRect> visible;
    int locks;
    bool draws;
  };
  const std::vector<GlRect> all = {{0, 0, draw_test::kWidth, draw_test::kHeight}};
  const Case kCases[] = {
      {"kernel", 10, 10, 1, all, 1, true},
      {"outside the window", -50, -50, 1, all, 1, false},
      {"no visible rectangle meets it", 10, 10, 1, {{30, 30, 40, 40}}, 1, false},
      {"generic", 10, 10, 2, all, 2, true},
  };
  uint8_t image[4 * 3 * 3];
  for (size_t i = 0; i < sizeof image; i++) image[i] = uint8_t(0x31 + 13 * i);
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    OpenSiS(Format("5-6-5"));
    SetVisible(c.visible);
    glPixelZoom(c.zoom, c.zoom);
    SetRaster(c.x, c.y);
    Validate();
    const std::vector<uint32_t> before = Pixels(colorMemory);
    const uint32_t m = gc->renderBufferMask;
    {
      LockRecorder recorder(gc);
      DrawNow(4, 3, GL_RGB, GL_UNSIGNED_BYTE, image);
      std::vector<uint32_t> want(size_t(c.locks), m);
      want.insert(want.end(), size_t(c.locks), m | LockRecorder::kUnlock);
      EXPECT_EQ(LockRecorder::Masks(), want);
      EXPECT_EQ(LockRecorder::Depth(), 0);
    }
    EXPECT_EQ(Pixels(colorMemory) != before, c.draws);
  }
}

// A depth draw locks the depth buffer with the render buffers.
TEST_F(Picking, DepthDrawsLockTheDepthBufferToo) {
  using draw_test::LockRecorder;
  OpenSiS(Format("5-6-5"));
  DepthOnly();
  SetRaster(5, 5);
  Validate();
  const uint16_t words[4] = {1, 2, 3, 4};
  const uint32_t m = gc->renderBufferMask | 0x20;
  LockRecorder recorder(gc);
  DrawNow(2, 2, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, words);
  EXPECT_EQ(LockRecorder::Masks(), (std::vector<uint32_t>{m, m | LockRecorder::kUnlock}));
}

}  // namespace
}  // namespace sis_pixels_test
