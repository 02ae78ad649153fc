// The pixel picker: the read buffer, the pixel-rectangle store, the
// pixel pickers, and what it derives from the transfer state (the modify
// flags, the transferred opaque black and the fast-draw permission).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/s_pick.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_state.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

constexpr GLfloat kNaN = std::numeric_limits<GLfloat>::quiet_NaN();

// A reset RGBA context with an RGB 5-6-5 draw buffer whose alpha keeps the
// context's range.
class PixelPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    start = ServiceContext::Live();
    gc = ctx.gc();
    gc->modes.doubleBufferMode = 1;
    __glInitPixelState(gc);
    front.redScale = 31.0f;
    front.greenScale = 63.0f;
    front.blueScale = 31.0f;
    front.alphaScale = 255.0f;
    back = front;
    gc->front = &front;
    gc->back = &back;
    gc->drawBuffer = &back;
    gc->readBuffer = &back;
    gc->state.enables.general = __GL_DITHER_ENABLE;
    gc->state.raster.drawBuffer = GL_BACK;
    gc->procs.store = FragmentStore;
  }
  void TearDown() override {
    __glFreePixelState(gc);
    EXPECT_EQ(ServiceContext::Live(), start) << "the maps are freed";
  }
  // Replaces a colour map's table by `values`.
  void SetMap(int map, std::initializer_list<GLfloat> values) {
    GlPixelMap &m = gc->pixel.pixelMap[map];
    if (__glPixelMapOwnsTable(&gc->pixel, &m)) gc->imports.free(gc, m.base.mapF);
    m.size = int32_t(values.size());
    m.base.mapF = static_cast<GLfloat *>(gc->imports.malloc(gc, values.size() * sizeof(GLfloat)));
    int i = 0;
    for (GLfloat v : values) m.base.mapF[i++] = v;
  }
  static void FragmentStore(GlColorBuffer *, const GlFragment *) {}

  PickerContext ctx;
  GlContext *gc = nullptr;
  GlColorBuffer front = {}, back = {};
  int start = 0;
};

TEST_F(PixelPicker, ThePixelPickersAreInstalled) {
  __glGenericPickPixelProcs(gc);
  EXPECT_EQ(gc->procs.drawPixels, __glOptPickDrawPixels);
  EXPECT_EQ(gc->procs.copyPixels, __glSlowPickCopyPixels);
  EXPECT_EQ(gc->procs.readPixels, __glSlowPickReadPixels);
}

TEST_F(PixelPicker, TheReadColourBufferFollowsTheReadBuffer) {
  GlColorBuffer other = {};
  struct Case {
    GLenum readBuffer;
    bool doubleBuffered;
    GlColorBuffer *expected;
  } cases[] = {
      {GL_FRONT, true, &front},
      {GL_BACK, true, &back},
      {GL_BACK, false, &other},  // no back buffer to read: left as it was
      {GL_AUX0, true, &other},
      {GL_FRONT_AND_BACK, true, &other},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.readBuffer);
    gc->back = c.doubleBuffered ? &back : nullptr;
    gc->readBuffer = &other;
    gc->pixel.readBuffer = c.readBuffer;
    __glGenericPickPixelProcs(gc);
    EXPECT_EQ(gc->readBuffer, c.expected);
  }
}

TEST_F(PixelPicker, TexturingOrFogTakeTheSlowStore) {
  GlTextureObject tex = {};
  struct Case {
    bool textured, fog;
    GlFragmentStoreProc store;
  } cases[] = {
      {false, false, FragmentStore},
      {true, false, __glSlowDrawPixelsStore},
      {false, true, __glSlowDrawPixelsStore},
      {true, true, __glSlowDrawPixelsStore},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.textured << c.fog);
    gc->texture.current = c.textured ? &tex : nullptr;
    gc->texture.active = c.textured;
    gc->state.enables.general = c.fog ? __GL_FOG_ENABLE : 0;
    __glGenericPickPixelProcs(gc);
    EXPECT_EQ(gc->procs.pixel.drawPixelsStore, c.store);
  }
}

TEST_F(PixelPicker, TransferStateSetsTheModifyFlags) {
  struct Case {
    const char *what;
    void (*set)(GlPixelTransferMode &);
    bool colorIndex;
    uint8_t rgba, ci, depth, stencil;
  } cases[] = {
      {"defaults, RGBA", [](GlPixelTransferMode &) {}, false, 0, 1, 0, 0},
      {"defaults, colour index", [](GlPixelTransferMode &) {}, true, 0, 0, 0, 0},
      {"map colour", [](GlPixelTransferMode &t) { t.mapColor = 1; }, true, 1, 1, 0, 0},
      {"map stencil", [](GlPixelTransferMode &t) { t.mapStencil = 1; }, true, 0, 0, 0, 1},
      {"index shift", [](GlPixelTransferMode &t) { t.indexShift = -1; }, true, 0, 1, 0, 1},
      {"index offset", [](GlPixelTransferMode &t) { t.indexOffset = 3; }, true, 0, 1, 0, 1},
      {"depth scale", [](GlPixelTransferMode &t) { t.depthScale = 0.5f; }, true, 0, 0, 1, 0},
      {"depth bias", [](GlPixelTransferMode &t) { t.depthBias = -0.25f; }, true, 0, 0, 1, 0},
      {"red scale", [](GlPixelTransferMode &t) { t.redScale = 2.0f; }, true, 1, 0, 0, 0},
      {"green scale", [](GlPixelTransferMode &t) { t.greenScale = 0.0f; }, true, 1, 0, 0, 0},
      {"blue scale", [](GlPixelTransferMode &t) { t.blueScale = -1.0f; }, true, 1, 0, 0, 0},
      {"alpha scale", [](GlPixelTransferMode &t) { t.alphaScale = 1.5f; }, true, 1, 0, 0, 0},
      {"red bias", [](GlPixelTransferMode &t) { t.redBias = 0.1f; }, true, 1, 0, 0, 0},
      {"green bias", [](GlPixelTransferMode &t) { t.greenBias = -0.1f; }, true, 1, 0, 0, 0},
      {"blue bias", [](GlPixelTransferMode &t) { t.blueBias = 1.0f; }, true, 1, 0, 0, 0},
      {"alpha bias", [](GlPixelTransferMode &t) { t.alphaBias = 0.5f; }, true, 1, 0, 0, 0},
      {"not-a-number scale", [](GlPixelTransferMode &t) { t.redScale = kNaN; }, true, 1, 0, 0, 0},
      {"depth scale and bias back to identity",
       [](GlPixelTransferMode &t) {
         t.depthScale = 1.0f;
         t.depthBias = 0.0f;
       },
       true, 0, 0, 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    gc->modes.colorIndexMode = c.colorIndex;
    gc->modes.rgbMode = !c.colorIndex;
    GlPixelTransferMode saved = gc->pixel.transferMode;
    c.set(gc->pixel.transferMode);
    GlPixelModifyState &m = gc->pixel.modify;
    m.rgbaValid = m.itoiValid = m.itoRgbaValid = 1;
    __glGenericPickPixelProcs(gc);
    EXPECT_EQ(m.modifyRGBA, c.rgba);
    EXPECT_EQ(m.modifyCI, c.ci);
    EXPECT_EQ(m.modifyDepth, c.depth);
    EXPECT_EQ(m.modifyStencil, c.stencil);
    // The modify tables are rebuilt only for what is modified.
    EXPECT_EQ(m.rgbaValid, c.rgba ? 0 : 1);
    EXPECT_EQ(m.itoiValid, c.ci ? 0 : 1);
    EXPECT_EQ(m.itoRgbaValid, c.ci ? 0 : 1);
    gc->pixel.transferMode = saved;
  }
}

// Opaque black goes through scale and bias, then the colour maps or the
// clamp, and ends at colour-buffer scale.
TEST_F(PixelPicker, OpaqueBlackGoesThroughTheColourTransfer) {
  SetMap(__GL_PIXEL_MAP_R_TO_R, {0.0f, 0.1f, 0.2f, 0.3f});
  SetMap(__GL_PIXEL_MAP_G_TO_G, {0.5f, 0.6f});
  SetMap(__GL_PIXEL_MAP_B_TO_B, {0.75f});
  SetMap(__GL_PIXEL_MAP_A_TO_A, {0.0f, 0.25f, 0.5f, 0.75f, 1.0f});
  const bool kClamp = false, kMaps = true;
  struct Case {
    const char *what;
    bool mapColor;
    GLfloat redBias, greenBias, blueBias, alphaScale, alphaBias;
    GlColor expected;  // unscaled
  } cases[] = {
      {"identity", kClamp, 0, 0, 0, 1, 0, {0, 0, 0, 1}},
      {"red bias", kClamp, 0.5f, 0, 0, 1, 0, {0.5f, 0, 0, 1}},
      {"every bias", kClamp, 0.25f, 0.5f, 0.75f, 1, -0.5f, {0.25f, 0.5f, 0.75f, 0.5f}},
      {"alpha scaled past one", kClamp, 0, 0, 0, 2, 0, {0, 0, 0, 1}},
      {"alpha scaled down and biased", kClamp, 0, 0, 0, 0.5f, -0.25f, {0, 0, 0, 0.25f}},
      {"negative biases", kClamp, -0.5f, -1, -2, -1, 0, {0, 0, 0, 0}},
      {"biases past one", kClamp, 1.5f, 2, 100, 1, 1, {1, 1, 1, 1}},
      {"not a number", kClamp, kNaN, 0, 0, kNaN, 0, {0, 0, 0, 0}},
      // Through the maps: index = trunc((size - 1) v + 0.5), limited to
      // the map; the expected values are map entries.
      {"maps, black", kMaps, 0, 0, 0, 1, 0, {0.0f, 0.5f, 0.75f, 1.0f}},
      {"maps, nearest entries", kMaps, 0.5f, 0.75f, 0.9f, 0.3f, 0, {0.2f, 0.6f, 0.75f, 0.25f}},
      {"maps, just below a half", kMaps, 0.16f, 0.49f, 0, 0.62f, 0, {0.0f, 0.5f, 0.75f, 0.5f}},
      {"maps, past the ends", kMaps, 5.0f, -3.0f, 100.0f, -1.0f, 0, {0.3f, 0.5f, 0.75f, 0.0f}},
      {"maps, not a number", kMaps, kNaN, kNaN, kNaN, kNaN, kNaN, {0.0f, 0.5f, 0.75f, 0.0f}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    GlPixelTransferMode &t = gc->pixel.transferMode;
    t.mapColor = c.mapColor;
    t.redBias = c.redBias;
    t.greenBias = c.greenBias;
    t.blueBias = c.blueBias;
    t.alphaScale = c.alphaScale;
    t.alphaBias = c.alphaBias;
    __glGenericPickPixelProcs(gc);
    const GlColor &d = gc->pixel.modify.defaultColor;
    EXPECT_EQ(d.r, c.expected.r * 31.0f);
    EXPECT_EQ(d.g, c.expected.g * 63.0f);
    EXPECT_EQ(d.b, c.expected.b * 31.0f);
    EXPECT_EQ(d.a, c.expected.a * 255.0f);
  }
}

// The reset's one-entry maps, and maps whose table is missing, read 0: with
// map colour on, even opaque black's alpha becomes 0.
TEST_F(PixelPicker, DefaultAndMissingMapsReadZero) {
  for (bool missing : {false, true}) {
    SCOPED_TRACE(missing ? "missing tables" : "default maps");
    if (missing) {
      for (GlPixelMap &m : gc->pixel.pixelMap) {
        if (__glPixelMapOwnsTable(&gc->pixel, &m)) gc->imports.free(gc, m.base.mapF);
        m = GlPixelMap{};
      }
    }
    gc->pixel.transferMode.mapColor = 1;
    gc->pixel.transferMode.redBias = 0.75f;
    __glGenericPickPixelProcs(gc);
    const GlColor &d = gc->pixel.modify.defaultColor;
    EXPECT_EQ(d.r, 0.0f);
    EXPECT_EQ(d.a, 0.0f);
  }
}

// The colour-buffer scales come from the draw buffer, or from the context
// while it has none.
TEST_F(PixelPicker, UnmodifiedBlackHasTheColourBuffersAlpha) {
  __glGenericPickPixelProcs(gc);
  EXPECT_EQ(gc->pixel.modify.defaultColor.r, 0.0f);
  EXPECT_EQ(gc->pixel.modify.defaultColor.a, 255.0f);
  back.alphaScale = 15.0f;
  __glGenericPickPixelProcs(gc);
  EXPECT_EQ(gc->pixel.modify.defaultColor.a, 15.0f);
  gc->drawBuffer = nullptr;
  gc->constants.alphaScale = 1.0f;
  gc->pixel.transferMode.alphaBias = -0.5f;
  __glGenericPickPixelProcs(gc);
  EXPECT_EQ(gc->pixel.modify.defaultColor.a, 0.5f);
}

TEST_F(PixelPicker, FastDrawNeedsNoFragmentWorkAndOneBuffer) {
  GlTextureObject tex = {};
  struct Case {
    const char *what;
    uint32_t enables;
    GLenum drawBuffer;
    bool textured;
    uint8_t fastDraw;
  } cases[] = {
      {"plain", __GL_DITHER_ENABLE, GL_BACK, false, 1},
      {"front", __GL_DITHER_ENABLE, GL_FRONT, false, 1},
      {"no dithering", 0, GL_BACK, false, 0},
      {"alpha test", __GL_DITHER_ENABLE | __GL_ALPHA_TEST_ENABLE, GL_BACK, false, 0},
      {"depth test", __GL_DITHER_ENABLE | __GL_DEPTH_TEST_ENABLE, GL_BACK, false, 0},
      {"stencil test", __GL_DITHER_ENABLE | __GL_STENCIL_TEST_ENABLE, GL_BACK, false, 0},
      {"blending", __GL_DITHER_ENABLE | __GL_BLEND_ENABLE, GL_BACK, false, 0},
      {"fog", __GL_DITHER_ENABLE | __GL_FOG_ENABLE, GL_BACK, false, 0},
      {"texturing", __GL_DITHER_ENABLE, GL_BACK, true, 0},
      {"no draw buffer", __GL_DITHER_ENABLE, GL_NONE, false, 0},
      {"both buffers", __GL_DITHER_ENABLE, GL_FRONT_AND_BACK, false, 0},
      {"scissor and logic op do not matter",
       __GL_DITHER_ENABLE | __GL_SCISSOR_TEST_ENABLE | __GL_COLOR_LOGIC_OP_ENABLE, GL_BACK, false,
       1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    gc->state.enables.general = c.enables;
    gc->state.raster.drawBuffer = c.drawBuffer;
    gc->texture.current = c.textured ? &tex : nullptr;
    __glGenericPickPixelProcs(gc);
    EXPECT_EQ(gc->pixel.modify.fastDraw, c.fastDraw);
  }
}

}  // namespace
