// Span read, destination fetch and the return of accumulation values: the
// return writes unblended (blending and the logic op off for its duration,
// picked again afterwards) and clamps rather than wraps.
#include <gtest/gtest.h>
#include <math.h>

#include <string>
#include <vector>

#include "raster/s_buffers.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

TEST(ReadSpan, FetchesEachPixelInTurn) {
  for (const ColorFormat &f : {kRgbFormats[1], kRgbFormats[4], kRgbFormats[6], kIndexFormats[2]}) {
    for (int32_t count : {0, 1, 7}) {
      SCOPED_TRACE(testing::Message() << f.name << ", " << count << " pixels");
      BoundColorBuffer b(f);
      b.FillPattern(uint32_t(count));
      std::vector<GlColor> colors(9, GlColor{-1, -1, -1, -1});
      EXPECT_EQ(__glReadSpan(b.cfb(), 3 + kBias, 2 + kBias, colors.data(), count), 0);
      for (int32_t i = 0; i < 9; i++) {
        GlColor want{-1, -1, -1, -1};
        if (i < count) b.cfb()->fetch[0](b.cfb(), 3 + i + kBias, 2 + kBias, &want);
        EXPECT_EQ(colors[size_t(i)].r, want.r) << i;
        EXPECT_EQ(colors[size_t(i)].g, want.g) << i;
        EXPECT_EQ(colors[size_t(i)].b, want.b) << i;
        EXPECT_EQ(colors[size_t(i)].a, want.a) << i;
      }
    }
  }
}

struct ReadCall {
  GlColorBuffer *cfb;
  int32_t x, y, count;
  GlColor *colors;
};
std::vector<ReadCall> gReads;

GLbool8 RecordingReadSpan(GlColorBuffer *cfb, int32_t x, int32_t y, GlColor *colors,
                          int32_t count) {
  gReads.push_back({cfb, x, y, count, colors});
  return 1;
}

TEST(FetchSpan, ReadsTheShadersSpanIntoTheDestinationColours) {
  BoundColorBuffer b(kRgbFormats[2]);
  GlShader &sh = b.gc()->polygon.shader;
  GlColor fb[4];
  sh.x = 5, sh.y = 9, sh.length = 4, sh.fbcolors = fb;
  b.cfb()->readSpan = RecordingReadSpan;
  gReads.clear();
  EXPECT_EQ(__glFetchSpan(b.gc()), 0) << "no pixel is rejected";
  ASSERT_EQ(gReads.size(), 1u);
  EXPECT_EQ(gReads[0].cfb, b.cfb());
  EXPECT_EQ(gReads[0].x, 5);
  EXPECT_EQ(gReads[0].y, 9);
  EXPECT_EQ(gReads[0].count, 4);
  EXPECT_EQ(gReads[0].colors, fb);
}

// ---- Return ----

std::vector<std::string> gValidations;
int gBlends = 0;

void CountingBlend(GlContext *, GlColorBuffer *, const GlFragment *frag, GlColor *out) {
  gBlends++;
  *out = frag->color;
}

// What validation does for the buffer: the flags from the enables, then
// the buffer's pick.
void TestValidate(GlContext *gc) {
  const uint32_t enables = gc->state.enables.general;
  std::string seen = "validate";
  uint32_t flags = __GL_SHADE_RGB;
  if (enables & __GL_BLEND_ENABLE) flags |= __GL_SHADE_BLEND, seen += " blend";
  if (enables & __GL_COLOR_LOGIC_OP_ENABLE) flags |= __GL_SHADE_LOGIC_OP, seen += " logic";
  if (gc->state.raster.drawBuffer == GL_FRONT) flags |= __GL_SHADE_FRONT_BUFFER;
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_TRUE(gc->dirtyMask & __GL_DIRTY_GENERIC);
  gc->polygon.shader.modeFlags = flags;
  gc->dirtyMask = 0;
  gc->front->pick(gc, gc->front);
  gValidations.push_back(seen);
}

// The state as validation leaves it before the return runs.
void ValidateNow(GlContext *gc) {
  gc->beginMode = __GL_VALIDATE_PENDING;
  gc->dirtyMask |= __GL_DIRTY_GENERIC;
  TestValidate(gc);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  gValidations.clear();
}

// An 8-8-8-8 front buffer with the accumulation buffer's return factors of
// a 16-bit accumulation buffer (front scale / 32767).
struct ReturnSetup {
  BoundColorBuffer b{kRgbFormats[6], 11, 6};
  ReturnSetup() {
    GlContext *gc = b.gc();
    GlAccumBuffer &afb = gc->accumBuffer;
    afb.oneOverRedScale = afb.oneOverGreenScale = afb.oneOverBlueScale = afb.oneOverAlphaScale =
        255.0f / 32767.0f;
    gc->procs.validate = TestValidate;
    gc->procs.blend.blend = CountingBlend;
    gc->state.raster.logicOp = GL_SET;
    gValidations.clear();
    gBlends = 0;
  }
};

// The component a value returns as: value x scale x factor, clamped to
// [0, 255], rounded.
uint32_t Returned(int16_t value, GLfloat scale) {
  double c = double(GLfloat(value) * (scale * (255.0f / 32767.0f)));
  c = c < 0 ? 0 : c > 255 ? 255 : c;
  return uint32_t(floor(c + 0.5));
}

TEST(ReturnSpan, ValuesTimesScaleClampedNotWrapped) {
  struct Case {
    const char *what;
    int16_t values[4];
    GLfloat scale;
  } cases[] = {
      {"in range", {32767, 16384, 0, 8192}, 1.0f},
      {"half scale", {32767, 16384, 1000, 32767}, 0.5f},
      {"above the range", {32767, 20000, 32767, 16448}, 2.0f},
      {"far above", {32767, 32767, 32767, 32767}, 100.0f},
      {"negative", {-1, -32768, -200, 5}, 1.0f},
      {"negative scale", {32767, -32768, 100, 0}, -1.0f},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ReturnSetup setup;
    BoundColorBuffer &b = setup.b;
    b.FillPattern(1);
    std::vector<int16_t> values;
    const int32_t count = 5;
    for (int32_t i = 0; i < count; i++) values.insert(values.end(), c.values, c.values + 4);
    __glReturnSpan(b.cfb(), 2 + kBias, 3 + kBias, values.data(), c.scale, count);
    const uint32_t want = Returned(c.values[3], c.scale) << 24 |
                          Returned(c.values[0], c.scale) << 16 |
                          Returned(c.values[1], c.scale) << 8 | Returned(c.values[2], c.scale);
    for (int32_t col = 2; col < 2 + count; col++) EXPECT_EQ(b.memory().Read(col, 3), want) << col;
    // A span of no pixels writes nothing.
    const std::vector<uint8_t> before = b.Bytes();
    __glReturnSpan(b.cfb(), 2 + kBias, 4 + kBias, values.data(), c.scale, 0);
    EXPECT_EQ(b.Bytes(), before);
    EXPECT_TRUE(gValidations.empty()) << "nothing to switch off";
  }
}

TEST(ReturnSpan, BlendingAndLogicOpOffForTheReturnAndOnAfter) {
  struct Case {
    const char *what;
    uint32_t enables;
    std::vector<std::string> validations;
  } cases[] = {
      {"neither", 0, {}},
      {"blending", __GL_BLEND_ENABLE, {"validate", "validate blend"}},
      {"logic op", __GL_COLOR_LOGIC_OP_ENABLE, {"validate", "validate logic"}},
      {"both",
       __GL_BLEND_ENABLE | __GL_COLOR_LOGIC_OP_ENABLE,
       {"validate", "validate blend logic"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ReturnSetup setup;
    BoundColorBuffer &b = setup.b;
    GlContext *gc = b.gc();
    const uint32_t enables = c.enables | __GL_DITHER_ENABLE;
    gc->state.enables.general = enables;
    ValidateNow(gc);
    b.FillPattern(2);
    const int16_t values[8] = {32767, 0, 16384, 32767, 0, 32767, 0, 0};
    __glReturnSpan(b.cfb(), 4 + kBias, 1 + kBias, values, 1.0f, 2);
    EXPECT_EQ(gBlends, 0) << "returned unblended";
    EXPECT_EQ(b.memory().Read(4, 1), 0xFFFF0080u) << "no logic op";
    EXPECT_EQ(b.memory().Read(5, 1), 0x0000FF00u);
    EXPECT_EQ(gValidations, c.validations);
    EXPECT_EQ(gc->state.enables.general, enables);
    EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
    // Blending is back with the procedures picked for it.
    GlFragment frag{};
    frag.x = kBias, frag.y = kBias;
    gc->front->store(gc->front, &frag);
    EXPECT_EQ(gBlends, (c.enables & __GL_BLEND_ENABLE) ? 1 : 0);
  }
}

// Every format clamps to its own channel maxima: a 5-bit channel stops at
// 31, where a clamp to the context's 0-255 range would let the value run
// into the neighbouring channel's bits.
TEST(ReturnSpan, ClampedToEachFormatsChannels) {
  const struct {
    const char *what;
    int16_t values[4];
    GLfloat scale;
  } cases[] = {
      {"in range", {32767, 16000, 3000, 32767}, 1.0f},
      {"twice the range", {32767, 30000, 20000, 32767}, 2.0f},
      {"far above", {32767, 32767, 32767, 32767}, 300.0f},
      {"negative", {-32768, -5, 12000, -1}, 1.0f},
  };
  for (const ColorFormat &f : kRgbFormats) {
    for (const auto &c : cases) {
      SCOPED_TRACE(testing::Message() << f.name << ", " << c.what);
      BoundColorBuffer b(f);
      GlContext *gc = b.gc();
      const GlColorBuffer *cfb = b.cfb();
      const GLfloat scales[4] = {cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
      GlAccumBuffer &afb = gc->accumBuffer;
      afb.oneOverRedScale = scales[0] / 32767.0f;
      afb.oneOverGreenScale = scales[1] / 32767.0f;
      afb.oneOverBlueScale = scales[2] / 32767.0f;
      afb.oneOverAlphaScale = scales[3] / 32767.0f;
      const GLfloat factors[4] = {afb.oneOverRedScale, afb.oneOverGreenScale,
                                  afb.oneOverBlueScale, afb.oneOverAlphaScale};
      GlColor color;
      GLfloat *out[4] = {&color.r, &color.g, &color.b, &color.a};
      for (int i = 0; i < 4; i++) {
        const GLfloat v = GLfloat(c.values[i]) * (c.scale * factors[i]);
        *out[i] = v < 0 ? 0 : v > scales[i] ? scales[i] : v;
      }
      b.FillPattern(4);
      std::vector<uint8_t> want = b.Bytes();
      const GlDrawableBuffer *mem = b.memory().buffer();
      std::vector<int16_t> values;
      for (int32_t col = 1; col < 8; col++) {
        values.insert(values.end(), c.values, c.values + 4);
        WritePixel(want, mem, col, 2,
                   ModelRgbStore(f, ModelState{}, col + kBias, 2 + kBias, color,
                                 ReadPixel(want, mem, col, 2)));
      }
      __glReturnSpan(b.cfb(), 1 + kBias, 2 + kBias, values.data(), c.scale, 7);
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
    }
  }
}

// Ownership and the colour mask still apply to returned pixels.
TEST(ReturnSpan, OwnershipAndMasksApply) {
  ReturnSetup setup;
  BoundColorBuffer &b = setup.b;
  GlContext *gc = b.gc();
  gc->state.raster.drawBuffer = GL_FRONT;
  gc->state.raster.gMask = 0;
  gc->state.enables.general = __GL_BLEND_ENABLE;
  b.SetVisible({{0, 0, 3, 6}, {5, 0, 11, 6}});
  ValidateNow(gc);
  b.FillPattern(3);
  const std::vector<uint8_t> before = b.Bytes();
  std::vector<int16_t> values;
  for (int i = 0; i < 8; i++) values.insert(values.end(), {32767, 32767, 32767, 32767});
  __glReturnSpan(b.cfb(), 1 + kBias, 2 + kBias, values.data(), 1.0f, 8);
  const GlDrawableBuffer *mem = b.memory().buffer();
  for (int32_t col = 0; col < 11; col++) {
    const uint32_t old = ReadPixel(before, mem, col, 2);
    const bool written = col >= 1 && col < 9 && (col < 3 || col >= 5);
    EXPECT_EQ(b.memory().Read(col, 2), written ? (0xFFFF00FFu | (old & 0xFF00)) : old) << col;
  }
}

}  // namespace
