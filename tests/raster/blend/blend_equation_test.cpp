// Blending through the real colour stores of every RGB format against the
// OpenGL blend equation evaluated in double precision, and the fused
// combiners and blend spans against the general path.
#include <gtest/gtest.h>
#include <math.h>

#include "raster/s_blend.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

const GLenum kSourceFactors[] = {GL_ZERO,
                                 GL_ONE,
                                 GL_DST_COLOR,
                                 GL_ONE_MINUS_DST_COLOR,
                                 GL_SRC_ALPHA,
                                 GL_ONE_MINUS_SRC_ALPHA,
                                 GL_DST_ALPHA,
                                 GL_ONE_MINUS_DST_ALPHA,
                                 GL_SRC_ALPHA_SATURATE};
const GLenum kDestFactors[] = {GL_ZERO,      GL_ONE,       GL_SRC_COLOR,
                               GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                               GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA};

struct Rgba {
  double c[4];
};

// One factor of the blend equation for component i, from source and
// destination in [0, 1].
double Factor(GLenum f, const Rgba &s, const Rgba &d, int i) {
  switch (f) {
    case GL_ZERO: return 0.0;
    case GL_ONE: return 1.0;
    case GL_SRC_COLOR: return s.c[i];
    case GL_ONE_MINUS_SRC_COLOR: return 1.0 - s.c[i];
    case GL_DST_COLOR: return d.c[i];
    case GL_ONE_MINUS_DST_COLOR: return 1.0 - d.c[i];
    case GL_SRC_ALPHA: return s.c[3];
    case GL_ONE_MINUS_SRC_ALPHA: return 1.0 - s.c[3];
    case GL_DST_ALPHA: return d.c[3];
    case GL_ONE_MINUS_DST_ALPHA: return 1.0 - d.c[3];
    case GL_SRC_ALPHA_SATURATE: return i == 3 ? 1.0 : fmin(s.c[3], 1.0 - d.c[3]);
  }
  return NAN;
}

// The blended colour at buffer scale, clamped at each scale.
Rgba BlendEquation(GLenum sf, GLenum df, const Rgba &src, const Rgba &dst, const double scale[4]) {
  Rgba s, d, out;
  for (int i = 0; i < 4; i++) s.c[i] = src.c[i] / scale[i], d.c[i] = dst.c[i] / scale[i];
  for (int i = 0; i < 4; i++) {
    const double v = src.c[i] * Factor(sf, s, d, i) + dst.c[i] * Factor(df, s, d, i);
    out.c[i] = fmin(v, scale[i]);
  }
  return out;
}

// Whether rounding v to nearest could go either way within float error.
bool NearTie(double v) {
  const double frac = v - floor(v);
  return fabs(frac - 0.5) < 2e-3;
}

uint32_t ChannelMax(const ColorFormat &f, int i) {
  return f.masks[i] ? f.masks[i] >> __builtin_ctz(f.masks[i]) : 255u;
}

void PickBlend(GlContext *gc, GLenum sf, GLenum df, bool enabled) {
  gc->state.raster.blendSrc = sf;
  gc->state.raster.blendDst = df;
  if (enabled)
    gc->state.enables.general |= __GL_BLEND_ENABLE;
  else
    gc->state.enables.general &= ~__GL_BLEND_ENABLE;
  __glGenericPickBlendProcs(gc);
}

// Stores random fragments over a random image with the pair picked and
// compares every pixel with the equation; returns how many were compared.
int BlendAndCompare(BoundColorBuffer &b, GLenum sf, GLenum df, bool enabled, uint32_t seed) {
  GlContext *gc = b.gc();
  const ColorFormat &f = b.format();
  PickBlend(gc, sf, df, enabled);
  b.SetFlags(__GL_SHADE_RGB | (enabled ? __GL_SHADE_BLEND : 0));
  b.cfb()->pick(gc, b.cfb());
  b.FillPattern(seed);
  std::vector<uint8_t> want = b.Bytes();
  const GlDrawableBuffer *mem = b.memory().buffer();
  const GlColorBuffer *cfb = b.cfb();
  const double scale[4] = {cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
  TestRandom random(seed);
  int compared = 0;
  for (int row = 0; row < b.height(); row++) {
    for (int col = 0; col < b.width(); col++) {
      GlFragment frag{};
      frag.x = col + kBias, frag.y = row + kBias;
      frag.color = {random.Component(ChannelMax(f, 0), 1.0f / 128),
                    random.Component(ChannelMax(f, 1), 1.0f / 128),
                    random.Component(ChannelMax(f, 2), 1.0f / 128),
                    random.Component(uint32_t(cfb->alphaScale), 1.0f / 128)};
      const uint32_t current = ReadPixel(want, mem, col, row);
      const GlColor dc = ModelRgbFetch(f, current, cfb->alphaScale);
      const Rgba src = {{frag.color.r, frag.color.g, frag.color.b, frag.color.a}};
      const Rgba dst = {{dc.r, dc.g, dc.b, dc.a}};
      const Rgba out = enabled ? BlendEquation(sf, df, src, dst, scale) : src;
      bool tie = false;
      for (int i = 0; i < 4; i++) tie |= (i < 3 || f.hasAlpha()) && NearTie(out.c[i]);
      if (tie) continue;
      ModelState s;
      const GlColor blended = {GLfloat(out.c[0]), GLfloat(out.c[1]), GLfloat(out.c[2]),
                               GLfloat(out.c[3])};
      WritePixel(want, mem, col, row, ModelRgbStore(f, s, frag.x, frag.y, blended, current));
      b.cfb()->store(b.cfb(), &frag);
      compared++;
    }
  }
  EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
  EXPECT_TRUE(b.memory().GuardsIntact());
  return compared;
}

TEST(BlendEquation, EveryFactorPairInEveryFormat) {
  for (const ColorFormat &f : kRgbFormats) {
    BoundColorBuffer b(f, 13, 7);
    uint32_t seed = 1;
    for (GLenum sf : kSourceFactors) {
      for (GLenum df : kDestFactors) {
        SCOPED_TRACE(testing::Message() << f.name << " src 0x" << std::hex << sf << " dst 0x" << df);
        const int compared = BlendAndCompare(b, sf, df, true, seed++);
        EXPECT_GT(compared, 13 * 7 / 2);
      }
    }
  }
}

TEST(BlendEquation, DisabledBlendingStoresTheSource) {
  for (const ColorFormat &f : kRgbFormats) {
    SCOPED_TRACE(f.name);
    BoundColorBuffer b(f, 13, 7);
    // The store calls the front end whenever its flag is set; the picked
    // combiner then hands back the source whatever the factors.
    for (int blendFlag = 0; blendFlag < 2; blendFlag++) {
      PickBlend(b.gc(), GL_DST_COLOR, GL_ONE, false);
      BlendAndCompare(b, GL_DST_COLOR, GL_ONE, false, 77);
    }
  }
}

// Drives a combiner on one source/destination pair.
GlColor Combine(GlContext *gc, const GlColor &s, const GlColor &d) {
  GlColor out;
  gc->procs.blend.blendColor(gc, &s, &d, &out);
  return out;
}

struct FusedCase {
  GLenum sf, df;
  GlBlendProc fused;
  GLbool8 (*span)(GlContext *);
};

const FusedCase kFused[] = {
    {GL_SRC_ALPHA, GL_ZERO, __glDoBlend_SA_ZERO, __glBlendSpan_SA_ZERO},
    {GL_SRC_ALPHA, GL_ONE, __glDoBlend_SA_ONE, __glBlendSpan_SA_ONE},
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, __glDoBlend_SA_MSA, __glBlendSpan_SA_MSA},
    {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, __glDoBlend_MSA_SA, __glBlendSpan_MSA_SA},
};

// The general path of a fused pair: its factor procedures under the
// clamping combiner.
void InstallGeneral(GlContext *gc, GLenum sf, GLenum df) {
  GlBlendProcs &p = gc->procs.blend;
  p.blendColor = __glDoBlend;
  p.blendAdd = __glDoBlendAdd;
  p.blendSrc = sf == GL_SRC_ALPHA ? __glDoBlendSourceSA : __glDoBlendSourceMSA;
  switch (df) {
    case GL_ZERO: p.blendDst = __glDoBlendDestZERO; break;
    case GL_ONE: p.blendDst = __glDoBlendDestONE; break;
    case GL_SRC_ALPHA: p.blendDst = __glDoBlendDestSA; break;
    default: p.blendDst = __glDoBlendDestMSA; break;
  }
}

TEST(BlendFused, CombinersAndSpansEqualTheGeneralPath) {
  BoundColorBuffer b(kRgbFormats[6]);
  GlContext *gc = b.gc();
  TestRandom random(5);
  constexpr int kLength = 40;
  GlColor source[kLength], dest[kLength], colors[kLength];
  for (int i = 0; i < kLength; i++) {
    source[i] = {random.Component(255), random.Component(255), random.Component(255),
                 random.Component(255)};
    dest[i] = {random.Component(255), random.Component(255), random.Component(255),
               random.Component(255)};
  }
  source[0].a = 255.0f, dest[1] = {255.0f, 255.0f, 255.0f, 255.0f};  // the clamps
  GlShader &sh = gc->polygon.shader;
  sh.fbcolors = dest;
  sh.spanColors = colors;
  sh.length = kLength;
  for (const FusedCase &c : kFused) {
    SCOPED_TRACE(testing::Message() << std::hex << c.sf << " " << c.df);
    PickBlend(gc, c.sf, c.df, true);
    EXPECT_EQ(gc->procs.blend.blendColor, c.fused);
    std::vector<GlColor> fused(kLength), general(kLength);
    for (int i = 0; i < kLength; i++) fused[i] = Combine(gc, source[i], dest[i]);
    std::copy(source, source + kLength, colors);
    c.span(gc);
    InstallGeneral(gc, c.sf, c.df);
    for (int i = 0; i < kLength; i++) {
      general[i] = Combine(gc, source[i], dest[i]);
      const GLfloat *g = &general[i].r, *u = &fused[i].r, *v = &colors[i].r;
      for (int k = 0; k < 4; k++) {
        EXPECT_EQ(u[k], g[k]) << "pixel " << i << " component " << k;
        EXPECT_EQ(v[k], g[k]) << "span pixel " << i << " component " << k;
      }
    }
    // The general span procedure gives the same colours.
    std::copy(source, source + kLength, colors);
    __glBlendSpan(gc);
    for (int i = 0; i < kLength; i++) EXPECT_EQ(colors[i].g, general[i].g) << i;
  }
}

TEST(BlendSpan, StippledSpanBlendsOnlyLivePixels) {
  BoundColorBuffer b(kRgbFormats[6]);
  GlContext *gc = b.gc();
  PickBlend(gc, GL_ONE, GL_ONE, true);
  GlColor dest[40], colors[40];
  for (int i = 0; i < 40; i++) dest[i] = {1, 2, 3, 4}, colors[i] = {10, 20, 30, 40};
  uint32_t stipple[2] = {0xA0000001u, 0x80000000u};
  GlShader &sh = gc->polygon.shader;
  sh.fbcolors = dest, sh.spanColors = colors, sh.length = 40, sh.stipplePat = stipple;
  EXPECT_EQ(__glBlendStippledSpan(gc), 0);
  for (int i = 0; i < 40; i++) {
    const bool live = i == 0 || i == 2 || i == 31 || i == 32;
    EXPECT_EQ(colors[i].r, live ? 11.0f : 10.0f) << i;
    EXPECT_EQ(colors[i].a, live ? 44.0f : 40.0f) << i;
  }
}

// The edge cases of the factors as rows: source, destination, the pair of
// colours in a 0-255 buffer and the result.
struct EdgeRow {
  const char *what;
  GLenum sf, df;
  GlColor s, d, want;
};

const EdgeRow kEdges[] = {
    {"saturate keeps source alpha, scales rgb by min(As, 1 - Ad)", GL_SRC_ALPHA_SATURATE, GL_ZERO,
     {200, 100, 50, 204}, {0, 0, 0, 153}, {80, 40, 20, 204}},
    {"saturate with As below 1 - Ad uses As", GL_SRC_ALPHA_SATURATE, GL_ZERO,
     {200, 100, 50, 51}, {0, 0, 0, 0}, {40, 20, 10, 51}},
    {"one, one clamps each component at the scale", GL_ONE, GL_ONE, {200, 10, 255, 128},
     {100, 10, 1, 200}, {255, 20, 255, 255}},
    {"src alpha, one clamps through the fused form", GL_SRC_ALPHA, GL_ONE, {255, 0, 102, 255},
     {10, 7, 200, 255}, {255, 7, 255, 255}},
    {"one minus dst colour keeps the sum within the scale", GL_ONE_MINUS_DST_COLOR, GL_ONE,
     {255, 255, 0, 255}, {255, 0, 51, 0}, {255, 255, 51, 255}},
};

TEST(BlendEquation, EdgeCases) {
  BoundColorBuffer b(kRgbFormats[6]);
  GlContext *gc = b.gc();
  for (const EdgeRow &row : kEdges) {
    SCOPED_TRACE(row.what);
    PickBlend(gc, row.sf, row.df, true);
    const GlColor out = Combine(gc, row.s, row.d);
    EXPECT_NEAR(out.r, row.want.r, 1e-3);
    EXPECT_NEAR(out.g, row.want.g, 1e-3);
    EXPECT_NEAR(out.b, row.want.b, 1e-3);
    EXPECT_NEAR(out.a, row.want.a, 1e-3);
  }
}

}  // namespace
