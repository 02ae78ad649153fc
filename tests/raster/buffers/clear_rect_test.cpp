// The clear rectangles of the colour buffers against a per-pixel model:
// the clear colour at the buffer's scale, rounded (plain) or dithered with
// entry [4 * (y & 3) + (x & 3)] of the ordered-dither matrix and the
// stores' offset (2D + 1) / 32; every pixel outside the rectangle kept.
#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_clear.h"
#include "tests/core/services/service_context.h"
#include "tests/support/pixel_memory.h"

namespace raster_buffers_test {
namespace {

// The ordered-dither matrix, row y & 3, column x & 3.
const int kDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

constexpr int32_t kBias = 6144;
constexpr int32_t kWidth = 13, kHeight = 7;
constexpr uint32_t kUntouched = 0x5A5A5A5Au;

struct Format {
  const char *name;
  uint32_t bits, bytes;
  uint32_t redShift, greenShift, blueShift, alphaShift;
  uint32_t redMax, greenMax, blueMax, alphaMax;  // alphaMax 0: no alpha bits
};

const Format k332 = {"3-3-2", 8, 1, 0, 3, 6, 0, 7, 7, 3, 0};
const Format k565 = {"5-6-5", 16, 2, 11, 5, 0, 0, 31, 63, 31, 0};
const Format k555 = {"5-5-5", 16, 2, 10, 5, 0, 0, 31, 31, 31, 0};
const Format k1555 = {"1-5-5-5", 16, 2, 10, 5, 0, 15, 31, 31, 31, 1};
const Format k8888 = {"8-8-8-8", 32, 4, 16, 8, 0, 24, 255, 255, 255, 255};
const Format kX888 = {"X-8-8-8", 32, 4, 16, 8, 0, 0, 255, 255, 255, 0};

typedef void (*ClearRect)(GlColorBuffer *cfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

struct Routine {
  const char *name;
  ClearRect clear;
  bool dithered;
  std::vector<const Format *> formats;
};

const Routine kRgbRoutines[] = {
    {"__glI386ClearRectRGB",
     __glI386ClearRectRGB,
     false,
     {&k332, &k565, &k555, &k1555, &k8888, &kX888}},
    {"__glI386ClearRectRGB_8_Dither", __glI386ClearRectRGB_8_Dither, true, {&k332}},
    {"__glI386ClearRectRGB_16_Dither",
     __glI386ClearRectRGB_16_Dither,
     true,
     {&k565, &k555, &k1555}},
};

// The colour scales of the front record: each channel's maximum, alpha 255
// without alpha bits.
void SetUpBuffer(GlContext *gc, const Format &f) {
  gc->front = &gc->frontBuffer;
  GlColorBuffer *cfb = gc->front;
  cfb->redShift = f.redShift, cfb->greenShift = f.greenShift, cfb->blueShift = f.blueShift;
  cfb->alphaShift = f.alphaShift;
  cfb->redScale = GLfloat(f.redMax), cfb->greenScale = GLfloat(f.greenMax);
  cfb->blueScale = GLfloat(f.blueMax), cfb->alphaScale = f.alphaMax ? GLfloat(f.alphaMax) : 255;
  gc->modes.alphaMask = f.alphaMax << f.alphaShift;
}

// One channel of the model: the product at float precision, then the
// offset added exactly.
uint32_t Channel(GLfloat colour, GLfloat scale, bool dithered, int32_t x, int32_t y) {
  const GLfloat product = colour * scale;
  const double offset = dithered ? (2 * kDither[y & 3][x & 3] + 1) / 32.0 : 0.5;
  return uint32_t(floor(double(product) + offset));
}

uint32_t ModelPixel(const Format &f, const GlColor &c, bool dithered, int32_t x, int32_t y) {
  uint32_t v = Channel(c.r, GLfloat(f.redMax), dithered, x, y) << f.redShift |
               Channel(c.g, GLfloat(f.greenMax), dithered, x, y) << f.greenShift |
               Channel(c.b, GLfloat(f.blueMax), dithered, x, y) << f.blueShift;
  // Alpha bits take the clear alpha, dithered like the colour.
  if (f.alphaMax) v |= Channel(c.a, GLfloat(f.alphaMax), dithered, x, y) << f.alphaShift;
  return v;
}

struct Rect {
  int32_t x0, y0, x1, y1;  // drawable coordinates
};

std::vector<Rect> Rects() {
  std::vector<Rect> rects;
  for (int32_t x0 = 0; x0 < 4; x0++)
    for (int32_t w : {0, 1, 2, 3, 4, 5, 6, 7, 9})
      for (int32_t y0 : {0, 1, 2})
        for (int32_t h : {0, 1, 3}) rects.push_back({x0, y0, x0 + w, y0 + h});
  rects.push_back({5, 2, 3, 4});  // x1 before x0
  rects.push_back({0, 0, kWidth, kHeight});
  return rects;
}

std::string Describe(const char *routine, const Format &f, const Rect &r, int32_t pitch) {
  char text[160];
  snprintf(text, sizeof text, "%s %s [%d, %d) x [%d, %d) pitch %d", routine, f.name, r.x0, r.x1,
           r.y0, r.y1, pitch);
  return text;
}

std::vector<GlColor> Colours() {
  std::vector<GlColor> colours = {
      {0, 0, 0, 0},
      {1, 1, 1, 1},
      {0.5f, 0.25f, 0.75f, 0.5f},
      // 0.96875 on a 5-bit channel: with entry 0 the sum lands exactly on 1.
      {0.03125f, 0.03125f, 0.03125f, 0.03125f},
  };
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (int i = 0; i < 6; i++)
    colours.push_back({unit(random), unit(random), unit(random), unit(random)});
  return colours;
}

// Memory of the test window with every pixel untouched and the buffer
// bound to it.
struct Bound {
  Bound(GlContext *gc, const Format &f, int32_t pitch)
      : memory(kWidth, kHeight, f.bits, f.bytes, pitch) {
    GlColorBuffer *cfb = gc->front;
    cfb->buf.gc = gc;
    cfb->buf.drawableBuf = memory.buffer();
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < pitch; x++) memory.Write(x, y, kUntouched);
  }
  PixelMemory memory;
};

class ClearRects : public testing::Test {
 protected:
  void SetUp() override {
    GlContext *gc = ctx.gc();
    gc->constants.viewportXAdjust = gc->constants.viewportYAdjust = kBias;
    gc->constants.cpuFlags = 0;
  }
  // Clears r and checks every pixel against `model` inside and untouched
  // outside.
  template <typename Model>
  void Check(ClearRect clear, const char *name, const Format &f, int32_t pitch, const Rect &r,
             Model model) {
    GlContext *gc = ctx.gc();
    Bound bound(gc, f, pitch);
    clear(gc->front, r.x0 + kBias, r.y0 + kBias, r.x1 + kBias, r.y1 + kBias);
    const uint32_t mask = f.bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * f.bytes)) - 1;
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < pitch; x++) {
        const bool inside = x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1;
        const uint32_t want = inside ? model(x, y) : kUntouched & mask;
        ASSERT_EQ(bound.memory.Read(x, y), want)
            << Describe(name, f, r, pitch) << " at " << x << "," << y;
      }
    ASSERT_TRUE(bound.memory.GuardsIntact()) << Describe(name, f, r, pitch);
  }
  ServiceContext ctx;
};

TEST_F(ClearRects, ColourRectanglesMatchThePerPixelModel) {
  GlContext *gc = ctx.gc();
  for (const Routine &routine : kRgbRoutines)
    for (const Format *f : routine.formats) {
      SetUpBuffer(gc, *f);
      for (const GlColor &c : Colours()) {
        gc->state.raster.clear = c;
        for (int32_t pitch : {kWidth, kWidth + 3})
          for (const Rect &r : Rects())
            Check(routine.clear, routine.name, *f, pitch, r,
                  [&](int32_t x, int32_t y) { return ModelPixel(*f, c, routine.dithered, x, y); });
      }
    }
}

// A colour-index clear stores the clear index truncated on
// every route, dithered or not, within the buffer's index bits.
TEST_F(ClearRects, IndexRectanglesStoreTheTruncatedIndex) {
  struct Case {
    GLfloat index;
    uint32_t indexMask;
    uint32_t stored;
  } cases[] = {{0, 0xFF, 0},        {3.7f, 0xFF, 3},  {3.0625f, 0xFF, 3}, {254.9375f, 0xFF, 254},
               {255.5f, 0xFF, 255}, {17.5f, 0x0F, 1}, {200, 0x7F, 72}};
  const Format ci = {"colour index", 8, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  const struct {
    const char *name;
    ClearRect clear;
  } routines[] = {{"__glI386ClearRectCI_8", __glI386ClearRectCI_8},
                  {"__glI386ClearRectCI_8_Dither", __glI386ClearRectCI_8_Dither}};
  GlContext *gc = ctx.gc();
  gc->front = &gc->frontBuffer;
  for (const auto &routine : routines)
    for (const Case &c : cases) {
      SCOPED_TRACE(c.index);
      gc->state.raster.clearIndex = c.index;
      gc->front->redMax = c.indexMask;
      for (int32_t pitch : {kWidth, kWidth + 2})
        for (const Rect &r : Rects())
          Check(routine.clear, routine.name, ci, pitch, r,
                [&](int32_t, int32_t) { return c.stored; });
    }
}

// A buffer not bound to memory is no reason to touch anything: with no
// drawable buffer the colour buffer's record stays as it was, and with a
// drawable buffer whose memory is not mapped (no base) every byte of that
// memory and its guard rows stay as they were. (Empty rectangles are among
// the rectangles of the tests above.)
TEST_F(ClearRects, AnUnboundBufferIsLeftAlone) {
  GlContext *gc = ctx.gc();
  SetUpBuffer(gc, k565);
  const struct {
    const char *name;
    ClearRect clear;
  } all[] = {{"__glI386ClearRectRGB", __glI386ClearRectRGB},
             {"__glI386ClearRectRGB_8_Dither", __glI386ClearRectRGB_8_Dither},
             {"__glI386ClearRectRGB_16_Dither", __glI386ClearRectRGB_16_Dither},
             {"__glI386ClearRectCI_8", __glI386ClearRectCI_8},
             {"__glI386ClearRectCI_8_Dither", __glI386ClearRectCI_8_Dither}};
  for (const auto &routine : all) {
    SCOPED_TRACE(routine.name);
    gc->front->buf.gc = gc;
    gc->front->buf.drawableBuf = nullptr;
    GlColorBuffer before;
    memcpy(&before, gc->front, sizeof before);
    routine.clear(gc->front, kBias, kBias, kBias + 4, kBias + 4);
    EXPECT_EQ(memcmp(&before, gc->front, sizeof before), 0) << "the record changed";

    Bound bound(gc, k565, kWidth);
    uint8_t *base = bound.memory.buffer()->base;
    bound.memory.buffer()->base = nullptr;
    routine.clear(gc->front, kBias, kBias, kBias + 4, kBias + 4);
    bound.memory.buffer()->base = base;
    for (int32_t y = 0; y < kHeight; y++)
      for (int32_t x = 0; x < kWidth; x++)
        ASSERT_EQ(bound.memory.Read(x, y), kUntouched & 0xFFFFu) << "at " << x << "," << y;
    EXPECT_TRUE(bound.memory.GuardsIntact());
  }
}

}  // namespace
}  // namespace raster_buffers_test
