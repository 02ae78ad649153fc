// The same scene of spans drawn twice through the real span picker: into a
// buffer whose stores do rounding, dithering, logic op and masks, and into
// the same buffer set to ask for separate span operations, with a store
// that only packs the whole numbers the span tail leaves. The pixels must
// agree for every dither, write-mask and colour-index logic-op state.
#include <gtest/gtest.h>
#include <string.h>

#include "core/s_pick.h"
#include "raster/s_blend.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

constexpr int32_t kWidth = 45, kHeight = 5;

uint32_t LowBits(GLfloat c) {
  const double v = c;
  return uint32_t(uint64_t(int64_t(v)));
}

// Packs whole-number floats; every channel (or index bit) is written.
template <bool Stippled>
GLbool8 PackingStore(GlContext *gc) {
  const GlShader &sh = gc->polygon.shader;
  GlColorBuffer *cfb = sh.cfb;
  const bool rgba = sh.modeFlags & __GL_SHADE_RGB;
  const uint32_t bytes = cfb->buf.drawableBuf->elementSize;
  for (int32_t i = 0; i < sh.length; i++) {
    if (Stippled && !(sh.stipplePat[i >> 5] & (0x80000000u >> (i & 31)))) continue;
    const GlColor &c = sh.spanColors[i];
    uint32_t v;
    if (rgba) {
      v = (LowBits(c.r) & cfb->redMax) << cfb->redShift |
          (LowBits(c.g) & cfb->greenMax) << cfb->greenShift |
          (LowBits(c.b) & cfb->blueMax) << cfb->blueShift;
      if (gc->modes.alphaMask) v |= (LowBits(c.a) & cfb->alphaMax) << cfb->alphaShift;
    } else {
      v = LowBits(c.r) & cfb->redMax;
    }
    memcpy(__glPixelAddress(gc, cfb->buf.drawableBuf, sh.x + i, sh.y), &v, bytes);
  }
  return 0;
}

struct SceneState {
  bool dither;
  bool stipple;
  uint32_t colorMask;  // bit i: channel i written
  GLenum op;           // colour index: GL_COPY also means no logic op
  bool logicOp;
  uint32_t indexWriteMask;
};

class SpanScene {
 public:
  SpanScene(const ColorFormat &f, bool separate) : b_(f, kWidth, kHeight) {
    GlContext *gc = b_.gc();
    gc->transform.viewportInside = 1;
    gc->drawBufferMask = __GL_FRONT_BUFFER_MASK;
    gc->drawBuffer = b_.cfb();
    if (separate) {
      b_.cfb()->separateSpanOps = 1;
      b_.cfb()->storeSpan = PackingStore<false>;
      b_.cfb()->storeStippledSpan = PackingStore<true>;
    }
    separate_ = separate;
  }

  void Draw(const SceneState &s, uint32_t seed) {
    GlContext *gc = b_.gc();
    const ColorFormat &f = b_.format();
    GlRasterState &r = gc->state.raster;
    r.rMask = s.colorMask & 1, r.gMask = (s.colorMask >> 1) & 1;
    r.bMask = (s.colorMask >> 2) & 1, r.aMask = (s.colorMask >> 3) & 1;
    r.writeMask = s.indexWriteMask;
    r.logicOp = s.op;
    uint32_t flags = (f.rgba ? __GL_SHADE_RGB : 0) | __GL_SHADE_ITERATE_COLOR;
    if (s.dither) flags |= __GL_SHADE_DITHER;
    if (s.stipple) flags |= __GL_SHADE_STIPPLE;
    if (s.logicOp) flags |= __GL_SHADE_LOGIC_OP;
    const bool partial = f.rgba ? (s.colorMask & 7) != 7 || (f.hasAlpha() && !(s.colorMask & 8))
                                : (s.indexWriteMask & f.indexMask()) != f.indexMask();
    if (partial) flags |= __GL_SHADE_MASK;
    b_.SetFlags(flags);
    if (!separate_) b_.cfb()->pick(gc, b_.cfb());
    TestRandom random(seed);
    for (uint32_t &w : gc->polygon.stipple) w = random.Next() | 0x01000000u;
    __glGenericPickSpanProcs(gc);
    b_.FillPattern(seed);

    GlShader &sh = gc->polygon.shader;
    sh.spanColors = colors_;
    sh.fbcolors = fetched_;
    sh.stipplePat = stipple_;
    sh.cfb = b_.cfb();
    // Components on a 1/64 grid offset by 1/128, kept a step below each
    // maximum: no sum with a dither offset lands on a whole number.
    const uint32_t top = f.rgba ? 0 : (f.indexMask() > 4095 ? 4095 : f.indexMask());
    auto largest = [&](int i) {
      if (!f.rgba) return top - 1;
      return (f.masks[i] ? f.masks[i] >> __builtin_ctz(f.masks[i]) : 255u) - 1;
    };
    for (int32_t row = 0; row < kHeight; row++) {
      const int32_t x0 = int32_t(random.Next() % 6), length = kWidth - x0 - int32_t(random.Next() % 6);
      sh.x = kBias + x0, sh.y = kBias + row, sh.length = length;
      GLfloat *start[4] = {&sh.r, &sh.g, &sh.b, &sh.a};
      GLfloat *step[4] = {&sh.drdx, &sh.dgdx, &sh.dbdx, &sh.dadx};
      for (int i = 0; i < 4; i++) {
        const uint32_t max = largest(i);
        *start[i] = random.Component(max / 2, 1.0f / 128);
        // Up or down by whole 64ths, staying within 0 .. max.
        const GLfloat room = GLfloat(max) - *start[i];
        const int32_t steps = int32_t(random.Next() % 3) - 1;
        const GLfloat reach = steps > 0 ? room : *start[i];
        *step[i] = GLfloat(steps) * GLfloat(int32_t(reach * 64.0f / GLfloat(length))) / 64.0f;
      }
      gc->procs.span.processSpan(gc);
    }
  }

  BoundColorBuffer &buffer() { return b_; }

 private:
  BoundColorBuffer b_;
  bool separate_ = false;
  GlColor colors_[kWidth], fetched_[kWidth];
  uint32_t stipple_[2];
};

void CompareScenes(const ColorFormat &f, const SceneState &s, uint32_t seed) {
  SpanScene ordinary(f, false), separate(f, true);
  ordinary.Draw(s, seed);
  separate.Draw(s, seed);
  EXPECT_EQ(FirstDifference(ordinary.buffer().Bytes(), separate.buffer().Bytes(),
                            ordinary.buffer().memory().buffer()),
            "");
  EXPECT_TRUE(separate.buffer().memory().GuardsIntact());
}

TEST(SeparateSpanOps, RgbEveryDitherAndColourMask) {
  for (const ColorFormat &f : kRgbFormats) {
    // The dither flag stands only for buffers of fewer than 3 bytes a pixel.
    const int dithers = f.bytes() < 3 ? 2 : 1;
    for (int dither = 0; dither < dithers; dither++) {
      for (uint32_t mask = 0; mask < 16; mask++) {
        for (int stipple = 0; stipple < 2; stipple++) {
          SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " mask " << mask
                                          << " stipple " << stipple);
          CompareScenes(f, {dither != 0, stipple != 0, mask, GL_COPY, false, ~0u},
                        mask * 7 + dither + 3);
        }
      }
    }
  }
}

TEST(SeparateSpanOps, IndexEveryDitherLogicOpAndWriteMask) {
  const uint32_t writeMasks[] = {~0u, 0u, 0x5Au, 0xF0F0F0F0u, 0x0FFFu};
  for (const ColorFormat &f : kIndexFormats) {
    // A float holds no 32-bit index exactly, and the span tail carries the
    // fetched destination as floats: those buffers need their stores.
    if (f.bits[0] > 24) continue;
    const int dithers = f.bytes() < 3 ? 2 : 1;
    for (int dither = 0; dither < dithers; dither++) {
      for (uint32_t op = GL_CLEAR; op <= GL_SET; op++) {
        for (uint32_t wm : writeMasks) {
          SCOPED_TRACE(testing::Message() << f.name << " dither " << dither << " op 0x"
                                          << std::hex << op << " write mask 0x" << wm);
          CompareScenes(f, {dither != 0, (op & 1) != 0, 15, op, true, wm}, op + wm + 11);
        }
      }
      for (uint32_t wm : writeMasks) {
        SCOPED_TRACE(testing::Message() << f.name << " no logic op, write mask 0x" << std::hex
                                        << wm);
        CompareScenes(f, {dither != 0, false, 15, GL_COPY, false, wm}, wm + 5);
      }
    }
  }
}

}  // namespace

namespace {

// Front and back drawn at once with blending: each buffer blends from the
// same source colours, whether the stores blend or the span tail does.
class BothBuffers {
 public:
  BothBuffers(const ColorFormat &f, bool separate)
      : b_(f, kWidth, kHeight, false), front_(kWidth, kHeight, f.colorBits, f.bytes()) {
    GlContext *gc = b_.gc();
    gc->frontBuffer.buf.gc = gc;
    gc->frontBuffer.buf.drawableBuf = front_.buffer();
    gc->transform.viewportInside = 1;
    gc->drawBufferMask = __GL_FRONT_BUFFER_MASK | __GL_BACK_BUFFER_MASK;
    gc->drawBuffer = gc->back;
    gc->drawBoth = 1;
    gc->state.raster.drawBuffer = GL_FRONT_AND_BACK;
    gc->state.raster.blendSrc = GL_SRC_ALPHA;
    gc->state.raster.blendDst = GL_ONE_MINUS_SRC_ALPHA;
    gc->state.enables.general |= __GL_BLEND_ENABLE;
    __glGenericPickBlendProcs(gc);
    b_.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_BLEND);
    for (GlColorBuffer *cfb : {gc->front, gc->back}) {
      cfb->pick(gc, cfb);
      if (!separate) continue;
      cfb->separateSpanOps = 1;
      cfb->storeSpan = PackingStore<false>;
      cfb->storeStippledSpan = PackingStore<true>;
    }
    __glGenericPickSpanProcs(gc);
  }

  void Draw(uint32_t seed) {
    GlContext *gc = b_.gc();
    TestRandom random(seed);
    for (GlDrawableBuffer *m : {front_.buffer(), b_.memory().buffer()})
      for (uint32_t i = 0; i < m->size; i++) m->base[i] = uint8_t(random.Next() >> 9);
    GlShader &sh = gc->polygon.shader;
    sh.spanColors = colors_, sh.fbcolors = fetched_, sh.stipplePat = stipple_;
    for (int32_t row = 0; row < kHeight; row++) {
      sh.x = kBias + 2, sh.y = kBias + row, sh.length = kWidth - 4;
      // Within each channel's range: the ordinary stores do not clamp.
      const GlColorBuffer *cfb = gc->back;
      const GLfloat top[4] = {cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
      GLfloat *start[4] = {&sh.r, &sh.g, &sh.b, &sh.a};
      GLfloat *step[4] = {&sh.drdx, &sh.dgdx, &sh.dbdx, &sh.dadx};
      for (int i = 0; i < 4; i++) {
        *start[i] = top[i] * GLfloat(random.Next() % 50) / 100.0f;
        *step[i] = top[i] * 0.4f / GLfloat(sh.length);
      }
      gc->procs.span.processSpan(gc);
    }
  }

  std::vector<uint8_t> Front() {
    const GlDrawableBuffer *m = front_.buffer();
    return std::vector<uint8_t>(m->base, m->base + m->size);
  }
  BoundColorBuffer &back() { return b_; }

 private:
  BoundColorBuffer b_;
  PixelMemory front_;
  GlColor colors_[kWidth], fetched_[kWidth];
  uint32_t stipple_[2];
};

TEST(SeparateSpanOps, FrontAndBackBlendFromTheSameSource) {
  for (const ColorFormat &f : kRgbFormats) {
    SCOPED_TRACE(f.name);
    BothBuffers stores(f, false), tail(f, true);
    stores.Draw(9);
    tail.Draw(9);
    const GlDrawableBuffer *m = stores.back().memory().buffer();
    EXPECT_EQ(FirstDifference(stores.Front(), tail.Front(), m), "");
    EXPECT_EQ(FirstDifference(stores.back().Bytes(), tail.back().Bytes(), m), "");
    // Blending the back buffer from the front's result would differ.
    EXPECT_NE(FirstDifference(tail.Front(), tail.back().Bytes(), m), "");
  }
}

}  // namespace
