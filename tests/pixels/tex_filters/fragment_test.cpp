// The fragment procedures: magnification or minification by rho against
// the switch-over value, the level value handed to the mipmap filters, and
// the environment applied last to the filtered texel.
#include <gtest/gtest.h>

#include <limits>

#include "tests/core/services/service_context.h"
#include "tests/pixels/tex_filters/filter_fixture.h"

namespace fragment_test {
namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// Filters that mark the texel with which of them ran and keep lambda.
float seenLambda;
void Magnify(GlTextureObject *, GlTexel *r, GLfloat lambda, GLfloat, GLfloat) {
  *r = {1, 0, 0, 0};
  seenLambda = lambda;
}
void Minify(GlTextureObject *, GlTexel *r, GLfloat lambda, GLfloat, GLfloat) {
  *r = {2, 0, 0, 0};
  seenLambda = lambda;
}
// An environment that puts the texel's red into the colour.
void Env(GlContext *, GlColor *color, const GlTexel *texel) { color->r = texel->r; }

struct Case {
  const char *name;
  GlTextureFragmentProc fragment;
  float switchover, rho;
  int filter;  // 1 magnify, 2 minify
  float lambda;
};

const Case kCases[] = {
    {"fast ignores rho", __glFastTextureFragment, 1.0f, 100.0f, 1, 0.0f},
    {"fast with NaN rho", __glFastTextureFragment, 1.0f, kNaN, 1, 0.0f},
    {"at the switch-over", __glTextureFragment, 1.0f, 1.0f, 1, 0.0f},
    {"just past it", __glTextureFragment, 1.0f, 1.0001f, 2, 0.0f},
    {"linear next to nearest levels", __glTextureFragment, 2.0f, 1.5f, 1, 0.0f},
    {"NaN minifies", __glTextureFragment, 1.0f, kNaN, 2, 0.0f},
    {"mipmap magnifies with rho", __glMipMapFragment, 1.0f, 0.75f, 1, 0.75f},
    {"mipmap rho 1.5 with c 2", __glMipMapFragment, 2.0f, 1.5f, 1, 1.5f},
    {"mipmap rho 1.5 with c 1", __glMipMapFragment, 1.0f, 1.5f, 2, 0.25f},
    {"mipmap rho 3", __glMipMapFragment, 1.0f, 3.0f, 2, 0.75f},
    {"mipmap rho 4", __glMipMapFragment, 1.0f, 4.0f, 2, 1.0f},
    {"mipmap rho 16", __glMipMapFragment, 2.0f, 16.0f, 2, 2.0f},
    {"mipmap NaN", __glMipMapFragment, 1.0f, kNaN, 2, 5.0f},
    {"mipmap infinity", __glMipMapFragment, 1.0f, kInf, 2, 5.0f},
    {"mipmap 1e30", __glMipMapFragment, 1.0f, 1e30f, 2, 5.0f},
    {"mipmap minus infinity", __glMipMapFragment, 1.0f, -kInf, 1, -kInf},
};

TEST(TextureFragment, ChoosesTheFilterByRhoAndAppliesTheEnvironment) {
  ServiceContext ctx;
  GlContext *gc = ctx.gc();
  FilterTexture t(16, 16, __glTexFormatRGBA8, GL_RGBA);  // levels 0 .. 4
  GlTextureObject *tex = t.tex();
  tex->magnify = Magnify;
  tex->minify = Minify;
  tex->env = Env;
  gc->texture.current = tex;
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    tex->switchover = c.switchover;
    seenLambda = -1.0f;
    GlColor color = {9, 9, 9, 9};
    c.fragment(gc, &color, 0.5f, 0.5f, c.rho);
    EXPECT_EQ(color.r, float(c.filter));
    EXPECT_EQ(color.g, 9.0f);
    EXPECT_FLOAT_EQ(seenLambda, c.lambda);
  }
  gc->texture.current = nullptr;
}

// Through the real filters, any rho gives a texel of an existing level.
TEST(TextureFragment, ExtremeRhoSamplesTheLastLevel) {
  ServiceContext ctx;
  GlContext *gc = ctx.gc();
  FilterTexture t(16, 16, __glTexFormatRGBA8, GL_RGBA);
  for (int32_t n = 0; n <= 4; n++) t.Fill(n, {uint8_t(10 * (n + 1)), 0, 0, 0});
  GlTextureObject *tex = t.tex();
  tex->switchover = 1.0f;
  tex->magnify = __glLinearFilter;
  tex->env = Env;
  gc->texture.current = tex;
  for (GlTextureFilterProc minify :
       {__glNMNFilter, __glLMNFilter, __glNMLFilter, __glLMLFilter}) {
    tex->minify = minify;
    for (float rho : {kNaN, kInf, 1e30f, 4294967296.0f}) {
      for (float st : {0.3f, kNaN, kInf, -1e30f}) {
        SCOPED_TRACE(testing::Message() << "rho " << rho << " s, t " << st);
        GlColor color = {};
        __glMipMapFragment(gc, &color, st, st, rho);
        EXPECT_EQ(color.r, 50.0f);
      }
    }
  }
  gc->texture.current = nullptr;
}

}  // namespace
}  // namespace fragment_test
