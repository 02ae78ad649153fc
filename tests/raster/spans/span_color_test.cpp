// The shading, texture and fog spans: shading as the k-fold single
// precision sums, the stippled texture span against the plain one, and the
// fog spans against a double-precision model of the fog rules, clamped per
// pixel.
#include <gtest/gtest.h>

#include <math.h>

#include <vector>

#include "raster/s_shader.h"
#include "raster/s_span.h"
#include "tests/core/services/service_context.h"

namespace {

constexpr int32_t kSlack = 3;  // entries past the span that must stay untouched
const GlColor kUntouched = {-7.0f, -8.0f, -9.0f, -10.0f};

struct ShadeCase {
  const char *name;
  int32_t length;
  GlColor start;
  GlColor step;
};

class SpanColor : public ::testing::Test {
 protected:
  void Reset(int32_t length, uint32_t flags) {
    colors_.assign(size_t(length + kSlack), kUntouched);
    GlShader &sh = gc()->polygon.shader;
    sh = GlShader{};
    sh.spanColors = colors_.data();
    sh.stipplePat = words_;
    sh.length = length;
    sh.modeFlags = flags;
  }
  // A span of the case's length starting at its colour (the index in r)
  // with its steps.
  void LoadShade(const ShadeCase &c, bool rgba) {
    Reset(c.length, rgba ? __GL_SHADE_RGB : 0);
    GlShader &sh = gc()->polygon.shader;
    sh.r = c.start.r, sh.g = c.start.g, sh.b = c.start.b, sh.a = c.start.a;
    sh.drdx = c.step.r, sh.dgdx = c.step.g, sh.dbdx = c.step.b, sh.dadx = c.step.a;
  }
  void ExpectSlackUntouched() {
    for (int32_t k = gc()->polygon.shader.length; k < int32_t(colors_.size()); ++k) {
      EXPECT_EQ(colors_[k].r, kUntouched.r) << k;
      EXPECT_EQ(colors_[k].a, kUntouched.a) << k;
    }
  }
  GlContext *gc() { return ctx_.gc(); }
  ServiceContext ctx_;
  std::vector<GlColor> colors_;
  uint32_t words_[4] = {};
};

const ShadeCase kShadeCases[] = {
    {"one pixel", 1, {10, 20, 30, 40}, {1, 2, 3, 4}},
    {"empty", 0, {10, 20, 30, 40}, {1, 2, 3, 4}},
    {"thirds", 37, {0.1f, 255.0f, 3.3f, 128.0f}, {1.0f / 3, -2.0f / 3, 0.1f, -0.7f}},
    {"tiny steps", 100, {100.0f, 0, 50, 255}, {1e-5f, 3e-6f, -1e-5f, -7e-7f}},
    {"wide", 2048, {0, 255, 7, 1}, {0.12345f, -0.1f, 0.003f, 0.11f}},
};

TEST_F(SpanColor, SmoothShadingIsTheKFoldSingleSum) {
  for (const ShadeCase &c : kShadeCases) {
    for (bool rgba : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (rgba ? " rgba" : " index"));
      LoadShade(c, rgba);
      EXPECT_EQ(rgba ? __glShadeRGBASpan(gc()) : __glShadeCISpan(gc()), 0);
      GlColor sum = c.start;
      for (int32_t k = 0; k < c.length; ++k) {
        EXPECT_EQ(colors_[k].r, sum.r) << k;
        if (rgba) {
          EXPECT_EQ(colors_[k].g, sum.g) << k;
          EXPECT_EQ(colors_[k].b, sum.b) << k;
          EXPECT_EQ(colors_[k].a, sum.a) << k;
        } else {  // an index leaves the other three floats alone
          EXPECT_EQ(colors_[k].g, kUntouched.g) << k;
          EXPECT_EQ(colors_[k].a, kUntouched.a) << k;
        }
        // Near the exact line as well, so a wrong step cannot hide.
        // (k roundings, each within one unit of the largest value reached).
        const double largest = fabs(c.start.r) + k * fabs(double(c.step.r));
        EXPECT_NEAR(colors_[k].r, double(c.start.r) + double(k) * c.step.r,
                    1e-6 + k * 1.2e-7 * largest);
        sum.r += c.step.r, sum.g += c.step.g, sum.b += c.step.b, sum.a += c.step.a;
      }
      ExpectSlackUntouched();
    }
  }
}

TEST_F(SpanColor, FlatShadingRepeatsTheStartColour) {
  for (const ShadeCase &c : kShadeCases) {
    for (bool rgba : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (rgba ? " rgba" : " index"));
      LoadShade(c, rgba);  // the steps are never read
      EXPECT_EQ(rgba ? __glFlatRGBASpan(gc()) : __glFlatCISpan(gc()), 0);
      for (int32_t k = 0; k < c.length; ++k) {
        EXPECT_EQ(colors_[k].r, c.start.r);
        EXPECT_EQ(colors_[k].g, rgba ? c.start.g : kUntouched.g);
        EXPECT_EQ(colors_[k].a, rgba ? c.start.a : kUntouched.a);
      }
      ExpectSlackUntouched();
    }
  }
}

// ---- Texture ----

struct TextureCall {
  int32_t pixel;
  GLfloat s, t, rho;
  bool operator==(const TextureCall &o) const {
    return pixel == o.pixel && s == o.s && t == o.t && rho == o.rho;
  }
};
std::vector<TextureCall> gTextureCalls;
GlColor *gColorBase;

void RecordingTexture(GlContext *, GlColor *color, GLfloat s, GLfloat t, GLfloat rho) {
  gTextureCalls.push_back({int32_t(color - gColorBase), s, t, rho});
  color->g = 1234.0f;
}

TEST_F(SpanColor, StippledTextureKeepsCoordinatesInStep) {
  struct Case {
    const char *name;
    int32_t length;
    uint32_t words[2];
    GLfloat s, t, q, rho, ds, dt, dq, drho;
  } const kCases[] = {
      {"every other", 40, {0xAAAAAAAAu, 0x55000000u}, 0.1f, 0.2f, 1.0f, 0.5f, 0.01f, -0.02f,
       0.03f, 0.001f},
      {"first dead", 9, {0x7F800000u, 0}, 3.0f, -1.0f, 2.0f, 1.0f, 0.5f, 0.25f, -0.125f, 0.0f},
      {"all alive", 33, {0xFFFFFFFFu, 0x80000000u}, 0.0f, 0.0f, 0.5f, 0.0f, 1.0f / 3, 0.1f,
       0.001f, 0.01f},
      {"none alive", 12, {0, 0}, 1, 1, 1, 1, 1, 1, 1, 1},
  };
  gc()->procs.texture = RecordingTexture;
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    Reset(c.length, __GL_SHADE_RGB);
    gColorBase = colors_.data();
    GlShader &sh = gc()->polygon.shader;
    sh.s = c.s, sh.t = c.t, sh.q = c.q, sh.rho = c.rho;
    sh.dsdx = c.ds, sh.dtdx = c.dt, sh.dqdx = c.dq, sh.drhodx = c.drho;
    gTextureCalls.clear();
    EXPECT_EQ(__glTextureSpan(gc()), 0);
    const std::vector<TextureCall> plain = gTextureCalls;
    ASSERT_EQ(plain.size(), size_t(c.length));
    // The plain span projects every pixel by its own 1/q.
    GLfloat s = c.s, t = c.t, q = c.q, rho = c.rho;
    for (int32_t k = 0; k < c.length; ++k) {
      const GLfloat w = 1.0f / q;
      EXPECT_EQ(plain[k], (TextureCall{k, s * w, t * w, rho * w})) << k;
      s += c.ds, t += c.dt, q += c.dq, rho += c.drho;
    }
    words_[0] = c.words[0];
    words_[1] = c.words[1];
    gTextureCalls.clear();
    EXPECT_EQ(__glTextureStippledSpan(gc()), 0);
    std::vector<TextureCall> expected;
    for (const TextureCall &call : plain)
      if (words_[call.pixel >> 5] & (0x80000000u >> (call.pixel & 31))) expected.push_back(call);
    EXPECT_EQ(gTextureCalls, expected);
    ExpectSlackUntouched();
  }
}

// ---- Fog ----

// The fog rules in double precision: the factor of an eye distance.
double ModelFactor(const GlFogState &fog, double e) {
  switch (fog.mode) {
    case GL_EXP: return exp(-double(fog.density) * e);
    case GL_EXP2: return exp(-double(fog.density) * fog.density * e * e);
    default: return fog.end == fog.start ? 0.0 : (fog.end - e) / (double(fog.end) - fog.start);
  }
}
double Clamp01(double f) { return f < 0 ? 0 : f > 1 ? 1 : f; }

void SetFog(GlContext *gc, GLenum mode, GLfloat density, GLfloat start, GLfloat end) {
  GlFogState &fog = gc->state.fog;
  fog.mode = mode;
  fog.density = density;
  fog.start = start;
  fog.end = end;
  fog.oneOverEMinusS = end == start ? 0.0f : 1.0f / (end - start);
  fog.scaledColor[0] = 31.0f;
  fog.scaledColor[1] = 7.5f;
  fog.scaledColor[2] = 0.0f;
  fog.index = 12.0f;
}

struct FogSpanCase {
  const char *name;
  bool perFragment;
  GLenum mode;
  GLfloat density, start, end;
  GLfloat fog, dfdx;  // start and step of the factor (or of eye z)
  int32_t length;
};

const FogSpanCase kFogSpanCases[] = {
    {"factor inside", false, GL_LINEAR, 0, 0, 1, 0.2f, 0.01f, 50},
    {"factor crosses 1", false, GL_LINEAR, 0, 0, 1, 0.9f, 0.05f, 40},
    {"factor falls below 0", false, GL_LINEAR, 0, 0, 1, 0.3f, -0.02f, 40},
    {"factor far outside", false, GL_LINEAR, 0, 0, 1, -5.0f, 0.5f, 20},
    {"linear", true, GL_LINEAR, 0, 1.0f, 9.0f, -12.0f, 0.5f, 45},
    {"linear end == start", true, GL_LINEAR, 0, 4.0f, 4.0f, -2.0f, 0.25f, 10},
    {"exp", true, GL_EXP, 0.35f, 0, 0, -0.5f, -0.3f, 33},
    {"exp2", true, GL_EXP2, 0.7f, 0, 0, 2.0f, -0.1f, 64},
    {"exp2 dense", true, GL_EXP2, 3.0f, 0, 0, 0.0f, 0.05f, 30},
};

TEST_F(SpanColor, FogSpansFollowTheModelPerPixel) {
  for (const FogSpanCase &c : kFogSpanCases) {
    for (bool rgba : {true, false}) {
      for (bool stippled : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + (rgba ? " rgba" : " index") +
                     (stippled ? " stippled" : ""));
        Reset(c.length, rgba ? __GL_SHADE_RGB : 0);
        SetFog(gc(), c.mode, c.density, c.start, c.end);
        GlShader &sh = gc()->polygon.shader;
        sh.fog = c.fog;
        sh.dfdx = c.dfdx;
        words_[0] = 0xF0F0F00Fu, words_[1] = 0x3C3C3C3Cu;
        words_[2] = 0xFFFFFFFFu;
        std::vector<GlColor> before(colors_.size());
        for (int32_t k = 0; k < c.length; ++k)
          colors_[k] = before[k] = GlColor{GLfloat(k), 200.0f - k, 3.0f * k, 0.5f};
        GlSpanProc proc = c.perFragment ? (stippled ? __glFogStippledSpanSlow : __glFogSpanSlow)
                                        : (stippled ? __glFogStippledSpan : __glFogSpan);
        EXPECT_EQ(proc(gc()), 0);
        double value = c.fog;
        for (int32_t k = 0; k < c.length; ++k) {
          SCOPED_TRACE(k);
          const bool alive = !stippled || (words_[k >> 5] & (0x80000000u >> (k & 31)));
          const double f =
              Clamp01(c.perFragment ? ModelFactor(gc()->state.fog, fabs(value)) : value);
          value += c.dfdx;
          const GlColor &in = before[k];
          const GlColor &out = colors_[k];
          if (!alive) {
            EXPECT_EQ(out.r, in.r);
            EXPECT_EQ(out.g, in.g);
            continue;
          }
          if (rgba) {
            EXPECT_NEAR(out.r, in.r * f + 31.0 * (1 - f), 2e-4 * 256);
            EXPECT_NEAR(out.g, in.g * f + 7.5 * (1 - f), 2e-4 * 256);
            EXPECT_NEAR(out.b, in.b * f, 2e-4 * 256);
            EXPECT_EQ(out.a, in.a);
          } else {
            EXPECT_NEAR(out.r, in.r + 12.0 * (1 - f), 2e-4 * 16);
            EXPECT_EQ(out.g, in.g);
            EXPECT_EQ(out.b, in.b);
            EXPECT_EQ(out.a, in.a);
          }
        }
        ExpectSlackUntouched();
      }
    }
  }
}

// The running factor is not clamped: after a stretch above 1 the pixels
// come back exactly where the unclamped sum says.
TEST_F(SpanColor, FogRunningFactorIsNotClamped) {
  Reset(5, __GL_SHADE_RGB);
  SetFog(gc(), GL_LINEAR, 0, 0, 1);
  GlShader &sh = gc()->polygon.shader;
  sh.fog = 1.5f;
  sh.dfdx = -0.5f;  // 1.5, 1.0, 0.5, 0.0, -0.5
  for (int k = 0; k < 5; ++k) colors_[k] = GlColor{100, 100, 100, 1};
  __glFogSpan(gc());
  const GLfloat expected[5] = {100, 100, 65.5f, 31.0f, 31.0f};
  for (int k = 0; k < 5; ++k) EXPECT_FLOAT_EQ(colors_[k].r, expected[k]) << k;
}

}  // namespace
