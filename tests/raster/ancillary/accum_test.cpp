// glAccum's operations against a reference of the accumulation rules
// (factors rounded to single precision once per call, truncation toward
// zero, 16-bit wrap-around), the cases OpenGL and the buffer's own range
// make a point of, and the clear.
#include <gtest/gtest.h>

#include <math.h>

#include <random>
#include <string>

#include "raster/s_accum.h"
#include "tests/raster/ancillary/accum_fixture.h"

namespace ancillary_test {
namespace {

int16_t Wrap(int64_t v) { return int16_t(uint16_t(uint64_t(v))); }
int64_t Trunc(float v) { return int64_t(truncf(v)); }

// The accumulation buffer as the rules describe it.
class AccumReference {
 public:
  AccumReference(int32_t w, int32_t h, const GLfloat cfbScales[4]) : w_(w), px_(size_t(w) * h * 4) {
    for (int c = 0; c < 4; c++) {
      cfbScale_[c] = cfbScales[c];
      scale_[c] = 32767.0f / cfbScales[c];
    }
  }
  int16_t *At(int32_t x, int32_t y) { return &px_[(size_t(y) * w_ + x) * 4]; }
  template <typename F>
  void ForBox(const int32_t box[4], F f) {
    for (int32_t y = box[1]; y < box[3]; y++)
      for (int32_t x = box[0]; x < box[2]; x++) f(x, y, At(x, y));
  }
  void Run(GLenum op, GLfloat value, const int32_t box[4],
           const std::function<GlColor(int32_t, int32_t)> &picture) {
    GLfloat f[4], k[4];
    for (int c = 0; c < 4; c++) {
      f[c] = scale_[c] * value;
      k[c] = scale_[c] * cfbScale_[c] * value + 0.5f;
    }
    ForBox(box, [&](int32_t x, int32_t y, int16_t *a) {
      const GlColor colour = picture(x, y);
      const GLfloat col[4] = {colour.r, colour.g, colour.b, colour.a};
      for (int c = 0; c < 4; c++) {
        switch (op) {
          case GL_LOAD:
            a[c] = Wrap(Trunc(col[c] * f[c]));
            break;
          case GL_ACCUM:
            a[c] = Wrap(a[c] + Wrap(Trunc(col[c] * f[c])));
            break;
          case GL_MULT:
            a[c] = value == 0 ? 0 : Wrap(Trunc(GLfloat(a[c]) * value));
            break;
          case GL_ADD:
            a[c] = Wrap(a[c] + Wrap(Trunc(k[c])));
            break;
        }
      }
    });
  }
  void Clear(const GlColor &clear, const int32_t box[4]) {
    const GLfloat v[4] = {clear.r, clear.g, clear.b, clear.a};
    ForBox(box, [&](int32_t, int32_t, int16_t *a) {
      for (int c = 0; c < 4; c++) a[c] = Wrap(Trunc(scale_[c] * cfbScale_[c] * v[c]));
    });
  }

 private:
  int32_t w_;
  GLfloat scale_[4], cfbScale_[4];
  std::vector<int16_t> px_;
};

struct Format {
  const char *what;
  GLfloat scales[4];
};
const Format kFormats[] = {
    {"5-6-5, alpha 255", {31, 63, 31, 255}},
    {"8-8-8-8", {255, 255, 255, 255}},
    {"3-3-2, alpha 1", {7, 7, 3, 1}},
};

const GLenum kOps[] = {GL_ACCUM, GL_LOAD, GL_RETURN, GL_MULT, GL_ADD};
const GLfloat kValues[] = {1.0f, 0.5f, -0.3f, 2.0f, 0.0f, -1.0f, 0.125f, 3.7f, -2.5f, 1e-3f};

// Random sequences of every operation over random boxes, each compared in
// full with the reference; GL_RETURN hands over the reference's rows.
TEST(Accum, EveryOperationAgreesWithTheReference) {
  constexpr int32_t kW = 11, kH = 6;
  uint32_t seed = 100;
  for (const Format &format : kFormats) {
    SCOPED_TRACE(format.what);
    AncillaryContext ctx(kW, kH);
    GlContext *gc = ctx.gc();
    AccumFixture accum(&ctx, format.scales);
    AccumReference ref(kW, kH, format.scales);
    std::mt19937 rng(seed++);
    std::vector<GlColor> picture(size_t(kW) * kH);
    for (GlColor &c : picture) {
      GLfloat v[4];
      for (int i = 0; i < 4; i++) {
        // Whole levels mostly, as fetched from a buffer, and some between.
        const uint32_t level = rng() % (uint32_t(format.scales[i]) + 1);
        v[i] = rng() % 4 ? GLfloat(level) : format.scales[i] * GLfloat(rng() % 1000) / 999.0f;
      }
      c = GlColor{v[0], v[1], v[2], v[3]};
    }
    accum.picture = [&](int32_t x, int32_t y) { return picture[size_t(y) * kW + x]; };
    for (int step = 0; step < 600; step++) {
      const GLenum op = kOps[rng() % 5];
      const GLfloat value = kValues[rng() % (sizeof kValues / sizeof kValues[0])];
      int32_t box[4] = {0, 0, kW, kH};
      if (rng() % 3 == 0) {
        box[0] = int32_t(rng() % kW);
        box[1] = int32_t(rng() % kH);
        box[2] = box[0] + int32_t(rng() % (kW - box[0] + 1));
        box[3] = box[1] + int32_t(rng() % (kH - box[1] + 1));
      }
      SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op) + " value " +
                   std::to_string(value));
      ctx.SetClipBox(box[0], box[1], box[2], box[3]);
      accum.returned.clear();
      __glAccumOp(gc, op, value);
      ref.Run(op, value, box, accum.picture);
      for (int32_t y = 0; y < kH; y++)
        for (int32_t x = 0; x < kW; x++) {
          int16_t got[4];
          accum.Get(x, y, got);
          for (int c = 0; c < 4; c++)
            ASSERT_EQ(got[c], ref.At(x, y)[c]) << "pixel " << x << ", " << y << " component " << c;
        }
      if (op != GL_RETURN) {
        EXPECT_TRUE(accum.returned.empty());
        continue;
      }
      const bool empty = box[2] <= box[0] || box[3] <= box[1];
      ASSERT_EQ(accum.returned.size(), empty ? 0u : size_t(box[3] - box[1]));
      for (size_t i = 0; i < accum.returned.size(); i++) {
        const ReturnedSpan &span = accum.returned[i];
        const int32_t y = box[1] + int32_t(i);  // rows upward
        EXPECT_EQ(span.cfb, gc->front);
        EXPECT_EQ(span.x, box[0] + kBias);
        EXPECT_EQ(span.y, y + kBias);
        EXPECT_EQ(span.count, box[2] - box[0]);
        EXPECT_EQ(span.scale, value);
        for (int32_t x = box[0]; x < box[2]; x++)
          for (int c = 0; c < 4; c++)
            EXPECT_EQ(span.values[size_t(x - box[0]) * 4 + c], ref.At(x, y)[c]);
      }
    }
    EXPECT_TRUE(accum.memory().GuardsIntact());
  }
}

// The examples worth knowing by heart: the factor of an 8-bit channel
// rounded to single precision, wrap-around, truncation, GL_MULT by zero.
TEST(Accum, TheCasesToKnow) {
  struct Case {
    const char *what;
    GLfloat redScale;
    int16_t before;
    GLenum op;
    GLfloat value;
    GLfloat red;  // the read buffer's red
    int16_t after;
  } cases[] = {
      {"load full red, 5 bits", 31, 0, GL_LOAD, 1.0f, 31, 32767},
      {"load full red, 8 bits: 255 x (32767/255 in single precision) is 32766.998", 255, 0,
       GL_LOAD, 1.0f, 255, 32766},
      {"load full red twice over, 5 bits: wraps to -2", 31, 0, GL_LOAD, 2.0f, 31, -2},
      {"load negative: toward zero", 31, 0, GL_LOAD, -0.3f, 31, -9830},
      {"accumulate wraps", 31, 30000, GL_ACCUM, 0.5f, 31, Wrap(30000 + 16383)},
      {"accumulate toward zero", 31, 5, GL_ACCUM, -0.3f, 1, Wrap(5 - 317)},
      {"multiply by zero", 31, -1234, GL_MULT, 0.0f, 0, 0},
      {"multiply toward zero", 31, -7, GL_MULT, 0.5f, 0, -3},
      {"multiply wraps", 31, 20000, GL_MULT, 2.0f, 0, Wrap(40000)},
      {"add -0.5, 5 bits: trunc(-16383.5 + 0.5)", 31, 0, GL_ADD, -0.5f, 0, -16383},
      {"add 0.5, 5 bits: trunc(16383.5 + 0.5)", 31, 100, GL_ADD, 0.5f, 0, 100 + 16384},
      {"add wraps", 31, 32767, GL_ADD, 1.0f, 0, Wrap(32767 + 32767)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(2, 1);
    const GLfloat scales[4] = {c.redScale, 63, 31, 255};
    AccumFixture accum(&ctx, scales);
    const GLfloat red = c.red;
    accum.picture = [red](int32_t, int32_t) { return GlColor{red, 0, 0, 0}; };
    const int16_t before[4] = {c.before, 0, 0, 0};
    accum.Set(1, 0, before);
    __glAccumOp(ctx.gc(), c.op, c.value);
    int16_t after[4];
    accum.Get(1, 0, after);
    EXPECT_EQ(after[0], c.after);
  }
}

// The clear writes the accumulation clear colour (already in [-1, 1]) in
// the box alone.
TEST(Accum, TheClearWritesTheClearColourInTheBox) {
  struct Case {
    const char *what;
    GlColor clear;
    GLfloat scales[4];
    int16_t stored[4];
  } cases[] = {
      {"(-1, 0, 0.5, 1), 5-6-5", {-1, 0, 0.5f, 1}, {31, 63, 31, 255}, {-32767, 0, 16383, 32766}},
      // 32767 / 63 and 32767 / 255 are not whole: their single-precision
      // factors fall just short.
      {"(1, 1, 1, 1), 5-6-5", {1, 1, 1, 1}, {31, 63, 31, 255}, {32767, 32766, 32767, 32766}},
      {"(0.25, -0.25, 0, -1), 8 bits", {0.25f, -0.25f, 0, -1},
       {255, 255, 255, 255}, {8191, -8191, 0, -32766}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    AncillaryContext ctx(5, 4);
    AccumFixture accum(&ctx, c.scales);
    ctx.gc()->state.accum.clear = c.clear;
    const int16_t mark[4] = {11, 22, 33, 44};
    for (int32_t y = 0; y < 4; y++)
      for (int32_t x = 0; x < 5; x++) accum.Set(x, y, mark);
    ctx.SetClipBox(1, 1, 4, 3);
    ctx.TakeBufferLocks();
    accum.afb()->clear(accum.afb());
    for (int32_t y = 0; y < 4; y++)
      for (int32_t x = 0; x < 5; x++) {
        const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
        int16_t got[4];
        accum.Get(x, y, got);
        for (int i = 0; i < 4; i++) EXPECT_EQ(got[i], inside ? c.stored[i] : mark[i]);
      }
    EXPECT_EQ(ctx.TakeBufferLocks(), (std::vector<std::string>{"lock 16", "unlock 16"}));
    EXPECT_TRUE(accum.memory().GuardsIntact());
  }
}

// The scales the buffer derives from the front colour buffer; a
// colour-index visual derives none.
TEST(Accum, ScalesComeFromTheFrontBuffer) {
  AncillaryContext ctx(1, 1);
  const GLfloat scales[4] = {31, 63, 7, 255};
  AccumFixture accum(&ctx, scales);
  const GlAccumBuffer *afb = accum.afb();
  const GLfloat got[8] = {afb->redScale,        afb->greenScale,        afb->blueScale,
                          afb->alphaScale,      afb->oneOverRedScale,   afb->oneOverGreenScale,
                          afb->oneOverBlueScale, afb->oneOverAlphaScale};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(got[i], 32767.0f / scales[i]) << i;
    EXPECT_EQ(got[4 + i], 1.0f / (32767.0f / scales[i])) << i;
  }
  GlContext *gc = ctx.gc();
  gc->modes.rgbMode = 0;
  gc->modes.colorIndexMode = 1;
  GlAccumBuffer ci{};
  __glInitAccum64(&ci, gc);
  EXPECT_EQ(ci.redScale, 0.0f);
  EXPECT_EQ(ci.oneOverAlphaScale, 0.0f);
  ASSERT_NE(ci.pick, nullptr);
  ci.pick(gc, &ci);
}

}  // namespace
}  // namespace ancillary_test
