// The draw path's parts: the chain picker's documented cases, run arrays,
// the clip, buffer locks, the renderers' writes and slots, map changes
// between draws, and rows wider than the span buffers.
#include <string.h>

#include "core/current.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_unpack.h"
#include "raster/s_depth.h"
#include "tests/pixels/draw/draw_fixture.h"
#include "tests/pixels/draw/lock_recorder.h"
#include "tests/support/counting_imports.h"

namespace draw_test {
namespace {

class DrawPath : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    Open(true);
  }
  // The record and chain a draw would run, without running it.
  GlPixelSpanInfo Picked(int w, int h, unsigned format, unsigned type, const void *pixels,
                         GlSpanPickRequest *request) {
    Prepare();
    GlPixelSpanInfo info;
    __glInitDrawPixelsInfo(gc, &info, w, h, format, type, pixels);
    __glLoadUnpackModes(gc, &info, 0);
    EXPECT_TRUE(__glClipDrawPixels(gc, &info));
    EXPECT_TRUE(__glInitUnpacker(gc, &info));
    *request = __glSpanRequest(__GL_SPAN_PATH_DRAW);
    info.numSpanMods = 0;
    PickSpanModifiers(gc, &info, request);
    return info;
  }
  int32_t Bias() const { return gc->constants.viewportXAdjust; }
};

TEST_F(DrawPath, DocumentedChains) {
  static float floats[64];
  static uint8_t bytes[64];
  struct Case {
    float zoom;
    unsigned format, type;
    const void *pixels;
    std::vector<GlSpanModifier> chain;
    GlPixelSpanProc renderer;
  } cases[] = {
      {1, GL_RGBA, GL_FLOAT, floats, {__glSpanClampPreFloat, __glSpanScaleRGBA},
       __glSpanRenderRGBA2},
      {0.5f, GL_RGB, GL_UNSIGNED_BYTE, bytes, {__glSpanUnpackRGBubyte}, __glSpanRenderRGBubyte2},
      {2, GL_RGB, GL_UNSIGNED_BYTE, bytes, {}, __glSpanRenderRGBubyte},
      {-1, GL_RGB, GL_UNSIGNED_BYTE, bytes, {}, __glSpanRenderRGBubyte2},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.zoom);
    glPixelZoom(c.zoom, c.zoom);
    SetRaster(30, 20);
    GlSpanPickRequest request;
    GlPixelSpanInfo info = Picked(4, 3, c.format, c.type, c.pixels, &request);
    ASSERT_EQ(info.numSpanMods, int32_t(c.chain.size()));
    for (size_t k = 0; k < c.chain.size(); k++) EXPECT_EQ(info.spanModifier[k], c.chain[k]);
    EXPECT_EQ(request.renderer, c.renderer);
  }
}

// Zoom exactly -1 draws one column a pixel without a run array.
TEST_F(DrawPath, ZoomMinusOneBuildsNoRunArray) {
  glPixelZoom(-1, 1);
  SetRaster(10, 20);
  GlSpanPickRequest request;
  GlPixelSpanInfo info = Picked(4, 3, GL_RGBA, GL_FLOAT, nullptr, &request);
  int16_t run[8] = {77, 77, 77, 77, 77, 77, 77, 77};
  info.pixelArray = run;
  __glComputeSpanPixelArray(gc, &info);
  for (int16_t r : run) EXPECT_EQ(r, 77);
  EXPECT_EQ(info.spanWidth, 4);
  EXPECT_EQ(info.coladd, -1);
}

TEST_F(DrawPath, MagnifyingRunArraySumsToTheColumns) {
  glPixelZoom(2.5f, 1);
  SetRaster(10, 20);
  GlSpanPickRequest request;
  static float floats[64];
  GlPixelSpanInfo info = Picked(6, 1, GL_RGBA, GL_FLOAT, floats, &request);
  EXPECT_EQ(info.startCol, 10 + Bias());
  EXPECT_EQ(info.x, GLfloat(10 + Bias()) + gc->constants.viewportAlmostHalf);
  int16_t run[8] = {};
  info.pixelArray = run;
  __glComputeSpanPixelArray(gc, &info);
  EXPECT_EQ(run[0], 2);
  EXPECT_EQ(run[1], 3);
  int sum = 0;
  for (int k = 0; k < 6; k++) sum += run[k];
  EXPECT_EQ(sum, info.columns);
}

// Shrinking: one run entry for each destination column, over positions and
// zooms, each entry stepping within the row.
TEST_F(DrawPath, ShrinkingRunArrayHasOneEntryPerColumn) {
  static float floats[4 * 200];
  for (float zoom : {0.5f, -0.5f, 0.3f, -0.3f, 0.7f, -0.9f, 0.11f})
    for (double x : {10.0, 10.25, 17.5, -3.75, 50.125})
      for (int w : {1, 2, 7, 40, 200}) {
        SCOPED_TRACE(testing::Message() << zoom << " " << x << " " << w);
        glPixelZoom(zoom, 1);
        SetRaster(x, 20);
        Prepare();
        GlPixelSpanInfo info;
        __glInitDrawPixelsInfo(gc, &info, w, 1, GL_RGBA, GL_FLOAT, floats);
        __glLoadUnpackModes(gc, &info, 0);
        if (!__glClipDrawPixels(gc, &info)) continue;
        int16_t run[256];
        info.pixelArray = run;
        __glComputeSpanPixelArray(gc, &info);
        EXPECT_EQ(info.spanWidth, info.columns);
        int source = 0;
        for (int k = 0; k < info.spanWidth - 1; k++) source += run[k];
        EXPECT_LT(source, info.width);
      }
}

TEST_F(DrawPath, ClipRows) {
  glDisable(GL_SCISSOR_TEST);
  Prepare();
  struct Case {
    float zx, zy;
    double x;
    int startCol, endCol, columns, skip;
  } cases[] = {
      {1, 1, 10, 10, 14, 4, 0},
      {1, 1, -2, 0, 2, 2, 2},
      {-1, 1, 10, 9, 5, 4, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.x);
    glPixelZoom(c.zx, c.zy);
    SetRaster(c.x, 20);
    Prepare();
    GlPixelSpanInfo info;
    __glInitDrawPixelsInfo(gc, &info, 4, 3, GL_RGBA, GL_FLOAT, nullptr);
    __glLoadUnpackModes(gc, &info, 0);
    ASSERT_TRUE(__glClipDrawPixels(gc, &info));
    EXPECT_EQ(info.startCol, c.startCol + Bias());
    EXPECT_EQ(info.endCol, c.endCol + Bias());
    EXPECT_EQ(info.columns, c.columns);
    EXPECT_EQ(info.srcSkipPixels, c.skip);
    EXPECT_EQ(info.startRow, 20 + gc->constants.viewportYAdjust);
    EXPECT_EQ(info.rows, 3);
  }
  // Zero zooms draw nothing; so do zooms that are not finite numbers.
  const float inf = __builtin_inff(), nan = __builtin_nanf("");
  for (const auto &z : {std::make_pair(0.0f, 1.0f), std::make_pair(1.0f, 0.0f),
                        std::make_pair(nan, 1.0f), std::make_pair(1.0f, -inf),
                        std::make_pair(inf, 2.0f)}) {
    glPixelZoom(1, 1);
    SetRaster(10, 20);
    Prepare();
    // Straight into the state: the zoom setter may refuse such values.
    gc->pixel.transferMode.zoomX = z.first, gc->pixel.transferMode.zoomY = z.second;
    GlPixelSpanInfo info;
    __glInitDrawPixelsInfo(gc, &info, 4, 3, GL_RGBA, GL_FLOAT, nullptr);
    EXPECT_FALSE(__glClipDrawPixels(gc, &info));
  }
}

TEST_F(DrawPath, LockMasks) {
  Prepare();
  LockRecorder recorder(gc);
  SetRaster(10, 20);
  static uint8_t bytes[64];
  const uint32_t render = gc->renderBufferMask;
  struct Case {
    unsigned format;
    uint32_t mask;
  } cases[] = {{GL_STENCIL_INDEX, __GL_STENCIL_BUFFER_MASK},
               {GL_DEPTH_COMPONENT, render | __GL_DEPTH_BUFFER_MASK},
               {GL_RGBA, render}};
  for (const Case &c : cases) {
    LockRecorder::Masks().clear();
    Draw(2, 2, c.format, GL_UNSIGNED_BYTE, bytes);
    EXPECT_EQ(LockRecorder::Masks(), (std::vector<uint32_t>{c.mask, c.mask | LockRecorder::kUnlock}))
        << c.format;
  }
}

// Fragments only between lock and unlock: the store checks the depth.
void StoreOnlyLocked(GlColorBuffer *, const GlFragment *) { EXPECT_EQ(LockRecorder::Depth(), 1); }

TEST_F(DrawPath, FragmentsAreStoredOnlyWhileLocked) {
  Prepare();
  LockRecorder recorder(gc);
  gc->procs.pixel.drawPixelsStore = StoreOnlyLocked;
  SetRaster(10, 20);
  static uint8_t bytes[64];
  __glSlowPickDrawPixels(gc, 3, 2, GL_RGBA, GL_UNSIGNED_BYTE, bytes, 0);
  EXPECT_EQ(LockRecorder::Depth(), 0);
}

TEST_F(DrawPath, ZoomedPixelsBecomeBlocks) {
  glPixelZoom(3, 2);
  SetRaster(10, 20);
  float image[2][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}};
  const std::vector<Recorded> got = Draw(2, 1, GL_RGBA, GL_FLOAT, image);
  ASSERT_EQ(got.size(), 12u);
  for (const Recorded &r : got) {
    const int col = r.x - Bias() - 10, row = r.y - gc->constants.viewportYAdjust - 20;
    EXPECT_TRUE(col >= 0 && col < 6 && row >= 0 && row < 2);
    EXPECT_EQ(r.color.r, col < 3 ? 255.0f : 0.0f);
  }
}

TEST_F(DrawPath, StencilValuesGoThroughTheWriteMask) {
  SetRaster(5, 6);
  const uint16_t values[2] = {300, 0x0F};
  glStencilMask(0xFF);
  Draw(2, 1, GL_STENCIL_INDEX, GL_UNSIGNED_SHORT, values);
  const uint32_t x0 = 5, y0 = uint32_t(gc->constants.yInverted ? kHeight - 1 - 6 : 6);
  EXPECT_EQ(stencilMemory->Read(int32_t(x0), int32_t(y0)), 44u);
  const float floats[2] = {300.0f, 255.0f};
  glStencilMask(0x0F);
  Draw(2, 1, GL_STENCIL_INDEX, GL_FLOAT, floats);
  // 300 AND 255 = 44 = 0x2C; only the low four bits change: 0x2C.
  EXPECT_EQ(stencilMemory->Read(int32_t(x0), int32_t(y0)), 0x2Cu);
  EXPECT_EQ(stencilMemory->Read(int32_t(x0) + 1, int32_t(y0)), 0x0Fu);
}

TEST_F(DrawPath, UnsignedIntDepthsTakeTheShortcut) {
  SetRaster(5, 6);
  GlSpanPickRequest request;
  const uint32_t depths[3] = {0xFFFFFFFFu, 0x80000000u, 0x12345678u};
  Picked(3, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, depths, &request);
  EXPECT_EQ(request.renderer, __glSpanRenderDepthUint2);
  const std::vector<Recorded> got = Draw(3, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, depths);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].z, 0xFFFF0000u);
  EXPECT_EQ(got[1].z, 0x80000000u);
  EXPECT_EQ(got[2].z, 0x12340000u);
}

// Unsigned short depths go through floats; every word must come back as
// itself in a 16-bit buffer, and plain floats still truncate.
TEST_F(DrawPath, UnsignedShortDepthsStoreTheirOwnWord) {
  SetRaster(0, 0);
  std::vector<uint16_t> words(kWidth);
  for (uint32_t first = 0; first < 65536; first += kWidth) {
    for (int i = 0; i < kWidth; i++) words[i] = uint16_t(first + i);
    const std::vector<Recorded> got =
        Draw(kWidth, 1, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, words.data());
    ASSERT_EQ(got.size(), size_t(kWidth));
    for (int i = 0; i < kWidth; i++) ASSERT_EQ(got[i].z >> 16, words[i]) << "word " << words[i];
  }
  const float below = 32767.4f / 65535.0f;
  const std::vector<Recorded> got = Draw(1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &below);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].z >> 16, 32767u);
}

TEST_F(DrawPath, UbyteRgbAlphaIsTheAlphaTableAtFull) {
  SetRaster(5, 6);
  const uint8_t rgb[3] = {255, 0, 51};
  std::vector<Recorded> got = Draw(1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].color.a, 255.0f);
  glPixelTransferf(GL_ALPHA_SCALE, 0.5f);
  got = Draw(1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_NEAR(got[0].color.a, 127.5f, 1e-3);
}

// Texture and fog slots see the raster position's values.
struct SlotCalls {
  GLfloat s = -1, t = -1, rho = -1, eye = -1;
  int stores = 0;
} gSlots;
void TextureSlot(GlContext *, GlColor *, GLfloat s, GLfloat t, GLfloat rho) {
  gSlots.s = s, gSlots.t = t, gSlots.rho = rho;
}
void FogSlot(GlContext *, GlFragment *, GLfloat eye) { gSlots.eye = eye; }
void CountStore(GlColorBuffer *, const GlFragment *) { gSlots.stores++; }

TEST_F(DrawPath, SlowStoreTexturesAndFogsFromTheRasterPosition) {
  Prepare();
  GlVertex &rp = gc->state.current.rasterPos;
  rp.texture = {0.5f, 0.25f, 0.0f, 2.0f};
  rp.eye.z = -7.5f;
  gc->procs.textureRaster = TextureSlot;
  gc->procs.fogFragment = FogSlot;
  gc->procs.store = CountStore;
  static GlTextureObject object;
  gc->texture.current = &object;
  gc->state.enables.general |= __GL_FOG_ENABLE;
  GlFragment f{};
  __glSlowDrawPixelsStore(gc->drawBuffer, &f);
  EXPECT_EQ(gSlots.s, 0.25f);
  EXPECT_EQ(gSlots.t, 0.125f);
  EXPECT_EQ(gSlots.rho, 1.0f);
  EXPECT_EQ(gSlots.eye, -7.5f);
  EXPECT_EQ(gSlots.stores, 1);
  gc->texture.current = nullptr;
  gc->state.enables.general &= ~__GL_FOG_ENABLE;
}

TEST_F(DrawPath, DepthDrawsCarryTheRasterColourInBufferUnits) {
  Open(true, false, 16);
  GlVertex &rp = gc->state.current.rasterPos;
  rp.colors[0] = {gc->constants.redScale, gc->constants.greenScale, gc->constants.blueScale,
                  gc->constants.alphaScale};
  rp.color = &rp.colors[0];
  SetRaster(5, 6);
  const float depth = 0.5f;
  const std::vector<Recorded> got = Draw(1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_FLOAT_EQ(got[0].color.r, 31.0f);
  EXPECT_FLOAT_EQ(got[0].color.g, 63.0f);
  EXPECT_FLOAT_EQ(got[0].color.b, 31.0f);
}

TEST_F(DrawPath, AMapChangeReachesTheNextByteDraw) {
  SetRaster(5, 6);
  const uint8_t rgb[3] = {255, 255, 255};
  glPixelTransferi(GL_MAP_COLOR, 1);
  std::vector<Recorded> got = Draw(1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].color.r, 0.0f);  // the default map of one 0 entry
  const GLfloat half[2] = {0.0f, 0.5f};
  glPixelMapfv(GL_PIXEL_MAP_R_TO_R, 2, half);
  got = Draw(1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_NEAR(got[0].color.r, 127.5f, 1e-3);
}

// Rows wider than the span buffers, in a drawable wider than them.
TEST_F(DrawPath, WideRowsDrawWholeAndFailWithoutMemory) {
  Close();
  window = std::make_unique<life_test::TestWindow>(5000, 2);
  window->AttachMemory(&GlDrawable::front, 32, 4, 0);
  colorMemory = window->AttachMemory(&GlDrawable::back, 32, 4, 0);
  depthMemory = window->AttachMemory(&GlDrawable::depth, 16, 2, 0);
  stencilMemory = window->AttachMemory(&GlDrawable::stencil, 8, 1, 0);
  UseWindow(window.get());
  GlModes m = TestModes(true, true, 16, 8, false);
  m.colorBits = 32;
  m.redBits = m.greenBits = m.blueBits = m.alphaBits = 8;
  m.redMask = 0xFF0000, m.greenMask = 0xFF00, m.blueMask = 0xFF, m.alphaMask = 0xFF000000u;
  gc = CreateBound(m);
  ASSERT_NE(gc, nullptr);
  glViewport(0, 0, 5000, 2);
  std::vector<uint8_t> row(5000 * 4);
  for (size_t i = 0; i < row.size(); i++) row[i] = uint8_t(i * 13);
  for (float zoom : {1.0f, 0.5f}) {
    glPixelZoom(zoom, 1);
    SetRaster(0, 0);
    const std::vector<Recorded> got = Draw(5000, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
    ModelStore s;
    ModelTransfer t;
    for (int k = 4; k < 8; k++) t.maps[k] = {0.0f};
    const ModelImage want =
        DrawModel(ModelOf(5000, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data()), s, t, Target());
    EXPECT_EQ(Compare(got, want), "") << zoom;
    EXPECT_EQ(got.size(), size_t(5000 * zoom));
  }
  glGetError();
  glPixelZoom(1, 1);
  CountingImports::failAllocation(1);
  const std::vector<Recorded> got = Draw(5000, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
  CountingImports::failAllocation(0);
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(glGetError(), GLenum(GL_OUT_OF_MEMORY));
}

}  // namespace
}  // namespace draw_test
