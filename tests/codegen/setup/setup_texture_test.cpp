// The generated setup's texture planes: affine 16.16 in texel units outside
// spanlet mode and normalised in it, the float planes with their 16- and
// 32-pixel steps, the MMX q plane, and the level-of-detail call.
#include <math.h>
#include <string.h>

#include "codegen/og_ras.h"
#include "fastraster/fr_setup_fixed.h"
#include "pixels/px_texture.h"
#include "tests/codegen/setup/setup_fixture.h"

namespace setup_test {

// What the level-of-detail set-up was called with; the link routes the
// generated call through here.
struct RhoCall {
  int calls;
  uint16_t tagWord;
  FrSpan *span;
  GlVertex *v[3];
  float words[7];
};
RhoCall gRho;

}  // namespace setup_test

extern "C" void GLFASTCALL __real__Z14__glFRSetupRhoP9GlContextP6FrSpanP8GlVertexS4_S4_fffffff(
    GlContext *, FrSpan *, GlVertex *, GlVertex *, GlVertex *, GLfloat, GLfloat, GLfloat,
    GLfloat, GLfloat, GLfloat, GLfloat);
extern "C" void GLFASTCALL __wrap__Z14__glFRSetupRhoP9GlContextP6FrSpanP8GlVertexS4_S4_fffffff(
    GlContext *gc, FrSpan *span, GlVertex *a, GlVertex *b, GlVertex *c, GLfloat w0, GLfloat w1,
    GLfloat w2, GLfloat w3, GLfloat w4, GLfloat w5, GLfloat w6) {
  using setup_test::gRho;
  uint16_t env[14];
  asm volatile("fnstenv %0\n\tfldenv %0" : "=m"(env));
  gRho.calls++;
  gRho.tagWord = env[4];
  gRho.span = span;
  gRho.v[0] = a, gRho.v[1] = b, gRho.v[2] = c;
  const float w[7] = {w0, w1, w2, w3, w4, w5, w6};
  memcpy(gRho.words, w, sizeof w);
  __real__Z14__glFRSetupRhoP9GlContextP6FrSpanP8GlVertexS4_S4_fffffff(gc, span, a, b, c, w0, w1,
                                                                       w2, w3, w4, w5, w6);
}

namespace setup_test {
namespace {

constexpr float O = 6144.0f;

class SetupTexture : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    a = Vertex(0, O + 3.2f, O + 2.3f);
    b = Vertex(1, O + 20.7f, O + 30.6f);
    c = Vertex(2, O + 9.1f, O + 17.9f);
    const float st[3][4] = {{0.1f, 0.2f, 0, 1.0f}, {0.9f, 0.3f, 0, 2.0f}, {0.4f, 0.8f, 0, 0.5f}};
    for (int i = 0; i < 3; i++) {
      vertices[i].texture = {st[i][0], st[i][1], st[i][2], st[i][3]};
      vertices[i].window.w = 0.5f + 0.25f * float(i);
    }
    level.width = 66, level.height = 34, level.border = 1;  // 64 x 32 inside
    level.widthLog2 = 6, level.heightLog2 = 5;
    level.width2f = 64.0f, level.height2f = 32.0f;
    level.image = reinterpret_cast<GLubyte *>(0x1000);
    level.auxImage = reinterpret_cast<GLubyte *>(0x2000);
    levels[0] = &level;
    tex.levels = levels;
    tex.baseFormat = GL_RGBA;
    tex.minFilter = tex.magFilter = GL_LINEAR;
    env.mode = GL_MODULATE;
    gc->texture.current = &tex;
    gc->texture.env = &env;
    memset(&gRho, 0, sizeof gRho);
  }
  void TearDown() override {
    gc->texture.current = nullptr;
    gc->texture.env = nullptr;
    SetupTest::TearDown();
  }
  static void ExpectNear(double got, double model, double scale, const char *what) {
    EXPECT_LE(fabs(got - model * scale), 1.0 + fabs(model * scale) * 1e-6)
        << what << ": " << got << " model " << model * scale;
  }
  void ExpectFixedBlock(size_t edge, const Reference &r, const PlaneModel &p, double scale) {
    ExpectNear(double(int32_t(Word(edge))), p.edge, scale, "edge");
    ExpectNear(double(int32_t(Word(edge + 4))), p.dx * r.direction, scale, "per pixel");
    ExpectNear(double(int32_t(Word(edge + 12))), p.dy, scale, "per row");
  }
  // Float blocks: within a few float units of the double model.
  void ExpectFloatBlock(size_t edge, const Reference &r, const PlaneModel &p) {
    const auto near = [](float got, double model, const char *what) {
      EXPECT_LE(fabs(double(got) - model), 4e-6 * (1.0 + fabs(model))) << what;
    };
    near(FloatWord(edge), p.edge, "edge");
    near(FloatWord(edge + 4), p.dx * r.direction, "per pixel");
    near(FloatWord(edge + 12), p.dx * r.direction * 16.0, "per 16 pixels");
    if (spanlet) near(FloatWord(edge + 8), p.dx * r.direction * 32.0, "per 32 pixels");
    near(FloatWord(edge + 16), p.dy, "per row");
    near(FloatWord(edge + 20), p.dy + (r.slopeNegative ? -p.dx : p.dx), "carry row");
  }
  double Coord(const GlVertex *v, int i, bool perspective) const {
    const double f = perspective ? double(v->window.w) : 1.0;
    const double value = i == 0 ? v->texture.x : i == 1 ? v->texture.y : v->texture.w;
    const double size = spanlet || i == 2 ? 1.0 : (i == 0 ? 64.0 : 32.0);
    return value * f * size;
  }
  PlaneModel CoordPlane(const Reference &r, int i, bool perspective) const {
    return Plane(r, Coord(r.top, i, perspective), Coord(r.bottom, i, perspective),
                 Coord(r.middle, i, perspective));
  }

  GlVertex *a, *b, *c;
  GlTextureLevel level = {};
  GlTextureLevel *levels[1] = {};
  GlTextureObject tex = {};
  GlTextureEnv env = {};
};

TEST_F(SetupTexture, AffinePlanesInTexelUnitsAndNormalised) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_TEXTURE;
  for (GLbool8 mode : {GLbool8(0), GLbool8(1)}) {
    SCOPED_TRACE(int(mode));
    spanlet = mode;
    for (bool mirror : {false, true}) {
      const Reference r = mirror ? Compute(gc, a, c, b) : Compute(gc, a, b, c);
      ASSERT_EQ(mirror ? Run(a, c, b) : Run(a, b, c), 1u);
      ExpectFixedBlock(offsetof(FrSpan, sEdge), r, CoordPlane(r, 0, false), 65536.0);
      ExpectFixedBlock(offsetof(FrSpan, tEdge), r, CoordPlane(r, 1, false), 65536.0);
      EXPECT_EQ(Word(offsetof(FrSpan, texImage)), 0x1000u);
    }
  }
  EXPECT_EQ(gRho.calls, 0);
}

TEST_F(SetupTexture, FloatPlanesAndTheLevelOfDetailCall) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE;
  tex.minFilter = GL_LINEAR_MIPMAP_LINEAR;  // filters differ: a level of detail
  spanlet = 1;
  for (uint16_t cw : {uint16_t(0x027F), uint16_t(0x037F)}) {
    for (bool mirror : {false, true}) {
      SCOPED_TRACE(mirror);
      gRho.calls = 0;
      const Reference r = mirror ? Compute(gc, a, c, b) : Compute(gc, a, b, c);
      ASSERT_EQ(mirror ? Run(a, c, b, cw) : Run(a, b, c, cw), 1u);
      const size_t edges[3] = {offsetof(FrSpan, sfEdge), offsetof(FrSpan, tfEdge),
                               offsetof(FrSpan, qfEdge)};
      for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        ExpectFloatBlock(edges[i], r, CoordPlane(r, i, true));
      }
      ASSERT_EQ(gRho.calls, 1);
      EXPECT_EQ(gRho.tagWord, 0xFFFF) << "x87 stack empty at the call";
      EXPECT_EQ(gRho.v[0], r.top);
      EXPECT_EQ(gRho.v[1], r.bottom);
      EXPECT_EQ(gRho.v[2], r.middle);
      EXPECT_EQ(gRho.words[0], r.dxL);
      EXPECT_EQ(gRho.words[1], r.dyL);
      EXPECT_EQ(gRho.words[2], r.dxU);
      EXPECT_EQ(gRho.words[3], r.dyU);
      EXPECT_EQ(gRho.words[5], r.xPre);
      EXPECT_EQ(gRho.words[6], r.yPre);
      // The level-of-detail steps in walk direction.
      const float drhodx = FloatWord(offsetof(FrSpan, drhodx));
      EXPECT_EQ(FloatWord(offsetof(FrSpan, drhodxHalf)), drhodx * 16.0f);
      EXPECT_EQ(FloatWord(offsetof(FrSpan, drhodxBig)), drhodx * 32.0f);
      EXPECT_EQ(Word(offsetof(FrSpan, texWidth)), 66u);
    }
  }
}

TEST_F(SetupTexture, FloatPlanesOutsideSpanletModeAreInTexelUnits) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE;
  gc->modes.colorBits = 32;  // no MMX path
  const Reference r = Compute(gc, a, b, c);
  ASSERT_EQ(Run(a, b, c), 1u);
  ExpectFloatBlock(offsetof(FrSpan, sfEdge), r, CoordPlane(r, 0, true));
  ExpectFloatBlock(offsetof(FrSpan, tfEdge), r, CoordPlane(r, 1, true));
  ExpectFloatBlock(offsetof(FrSpan, qfEdge), r, CoordPlane(r, 2, true));
  EXPECT_EQ(gRho.calls, 0);
}

// On the MMX path q is normalised by the largest q x w: equal values give
// 1.0 in 8.24 and no q steps.
TEST_F(SetupTexture, MmxQPlane) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE;
  gc->constants.cpuFlags |= __GL_CPU_MMX;
  gc->modes.colorBits = 16;
  for (int i = 0; i < 3; i++) vertices[i].texture.w = 2.0f, vertices[i].window.w = 0.5f;
  ASSERT_EQ(Run(a, b, c), 1u);
  EXPECT_NEAR(double(int32_t(Word(offsetof(FrSpan, qEdge)))), 16777216.0, 1.0);
  EXPECT_EQ(Word(offsetof(FrSpan, dqdx)), 0u);
  EXPECT_EQ(Word(offsetof(FrSpan, dqEdge)), 0u);
  // s and t: s x w over m = 1, in texel units.
  const Reference r = Compute(gc, a, b, c);
  ExpectFixedBlock(offsetof(FrSpan, sEdge), r, CoordPlane(r, 0, true), 65536.0);
}

}  // namespace
}  // namespace setup_test
