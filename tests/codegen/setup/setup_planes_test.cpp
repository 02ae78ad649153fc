// The generated setup's planes against a double-precision model: depth,
// colour or index, alpha, the flat colour and packed pixel, texture
// coordinates in both units, and the level-of-detail call.
#include <math.h>
#include <string.h>

#include "codegen/og_ras.h"
#include "codegen/og_ras_planes.h"
#include "fastraster/fr_setup_fixed.h"
#include "tests/codegen/setup/setup_fixture.h"

namespace setup_test {
namespace {

constexpr float O = 6144.0f;

class SetupPlanes : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    a = Vertex(0, O + 3.2f, O + 2.3f, 0.125f);
    b = Vertex(1, O + 20.7f, O + 30.6f, 0.75f);
    c = Vertex(2, O + 9.1f, O + 17.9f, 0.5f);
  }
  // Fixed point of a model value: within one unit of the model.
  static void ExpectFixed(uint32_t word, double model, double scale, const char *what) {
    const double expect = model * scale;
    const double wrapped = remainder(double(int32_t(word)) - expect, 4294967296.0);
    EXPECT_LE(fabs(wrapped), 1.0) << what << ": word " << int32_t(word) << " model " << expect;
  }
  // Value, per-pixel and both row steps of an integer block.
  void ExpectBlock(size_t edge, const Reference &r, const PlaneModel &p, double scale,
                   double edgeBias) {
    ExpectFixed(Word(edge), p.edge + edgeBias, scale, "edge");
    ExpectFixed(Word(edge + 4), p.dx * r.direction, scale, "per pixel");
    ExpectFixed(Word(edge + 12), p.dy, scale, "per row");
    ExpectFixed(Word(edge + 16), p.dy + (r.slopeNegative ? -p.dx : p.dx), scale, "carry row");
    if (spanlet) {
      EXPECT_EQ(Word(edge + 8), Word(edge + 4) << 5);
    }
  }
  double Scaled(const GlVertex *v, int component) const {
    const GlConstants &k = gc->constants;
    const float f[4] = {k.redRescale, k.greenRescale, k.blueRescale, k.alphaRescale};
    return double(float((&v->color->r)[component] * f[component]));
  }
  GlVertex *a, *b, *c;
};

TEST_F(SetupPlanes, DepthPlane) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST;
  for (uint16_t cw : {uint16_t(0x027F), uint16_t(0x037F)}) {
    const Reference r = Compute(gc, a, b, c);
    ASSERT_EQ(Run(a, b, c, cw), 1u);
    const auto z = [this](const GlVertex *v) {
      return double(float(v->window.z * gc->constants.depthMax));
    };
    ExpectBlock(offsetof(FrSpan, zEdge), r, Plane(r, z(r.top), z(r.bottom), z(r.middle)), 1.0,
                0.0);
  }
}

// Corners off the 1/16 grid, as the clipper makes them, against a plane
// through them as given (not the setup's own arithmetic): the snap moves
// them for the edges only. Planned from the snapped corners, the near-plane
// cut (a corner at x 26.4 with depth 0) started 35 units of 2^16 deep.
TEST_F(SetupPlanes, PlanesRunThroughTheCornersBeforeTheSnap) {
  struct Case {
    const char *name;
    float x[3], y[3], z[3];
  };
  const Case kCases[] = {
      {"near-plane cut", {26.4f, 60.0f, 60.0f}, {4.0f, 4.0f, 44.0f}, {0.0f, 0.75f, 0.75f}},
      {"thin piece at a window edge", {3.03f, 70.0f, 3.01f}, {2.97f, 30.45f, 33.96f},
       {0.2f, 0.9f, 0.35f}},
      {"mirrored", {90.6f, 35.0f, 35.0f}, {4.0f, 4.0f, 44.0f}, {0.0f, 0.75f, 0.75f}},
  };
  gc->constants.depthMax = 65536.0f;
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST;
  for (const Case &k : kCases) {
    SCOPED_TRACE(k.name);
    GlVertex *v[3];
    double x[3], y[3], z[3];
    for (int i = 0; i < 3; i++) {
      v[i] = Vertex(i, O + k.x[i], O + k.y[i], k.z[i]);
      x[i] = double(v[i]->window.x), y[i] = double(v[i]->window.y);
      z[i] = double(k.z[i]) * 65536.0;
    }
    const Reference r = Compute(gc, v[0], v[1], v[2]);
    ASSERT_EQ(Run(v[0], v[1], v[2]), 1u);
    const double det = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    const double dzdx = ((z[1] - z[0]) * (y[2] - y[0]) - (z[2] - z[0]) * (y[1] - y[0])) / det;
    const double dzdy = ((z[2] - z[0]) * (x[1] - x[0]) - (z[1] - z[0]) * (x[2] - x[0])) / det;
    // The first pixel's centre, in window units.
    const double px = O + r.ixLongBeforeNegation + 0.5, py = O + r.iyTop + 0.5;
    const double first = z[0] + dzdx * (px - x[0]) + dzdy * (py - y[0]);
    ExpectFixed(Word(offsetof(FrSpan, zEdge)), first, 1.0, "edge");
    ExpectFixed(Word(offsetof(FrSpan, dzdx)), dzdx * r.direction, 1.0, "per pixel");
    ExpectFixed(Word(offsetof(FrSpan, dzEdge)), dzdy + r.dxLongTrue * dzdx, 1.0, "per row");
  }
}

struct ColorCase {
  const char *what;
  uint32_t flags;
  GLbool8 spanlet;
};
const ColorCase kColorCases[] = {
    {"smooth", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR, 0},
    {"smooth dithered", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DITHER, 0},
    {"smooth with alpha", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_ALPHA, 0},
    {"smooth with alpha, spanlet", __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_ALPHA,
     1},
};

TEST_F(SetupPlanes, SmoothColourPlanes) {
  for (const ColorCase &k : kColorCases) {
    SCOPED_TRACE(k.what);
    gc->polygon.shader.modeFlags = k.flags;
    spanlet = k.spanlet;
    // Mirror too: per-pixel steps negate, row steps keep their sign.
    for (bool mirror : {false, true}) {
      const Reference r = mirror ? Compute(gc, a, c, b) : Compute(gc, a, b, c);
      ASSERT_EQ(mirror ? Run(a, c, b) : Run(a, b, c), 1u);
      const double bias = (k.flags & __GL_SHADE_DITHER) ? 1.0 / 32.0 : 0.5;
      const size_t edges[3] = {offsetof(FrSpan, rEdge), offsetof(FrSpan, gEdge),
                               offsetof(FrSpan, bEdge)};
      for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        ExpectBlock(edges[i], r,
                    Plane(r, Scaled(r.top, i), Scaled(r.bottom, i), Scaled(r.middle, i)),
                    65536.0, bias);
      }
      if (k.flags & __GL_SHADE_ALPHA) {
        const double f = k.spanlet ? 1.0 : double(256.0f / 255.0f);
        const auto al = [&](const GlVertex *v) { return double(float(Scaled(v, 3) * f)); };
        ExpectBlock(offsetof(FrSpan, aEdge), r, Plane(r, al(r.top), al(r.bottom), al(r.middle)),
                    65536.0, 0.0);
      }
    }
  }
}

TEST_F(SetupPlanes, ColourIndexPlaneUsesRedAlone) {
  gc->modes.rgbMode = 0;
  gc->polygon.shader.modeFlags = __GL_SHADE_ITERATE_COLOR;
  const Reference r = Compute(gc, a, b, c);
  ASSERT_EQ(Run(a, b, c), 1u);
  ExpectBlock(offsetof(FrSpan, rEdge), r,
              Plane(r, Scaled(r.top, 0), Scaled(r.bottom, 0), Scaled(r.middle, 0)), 65536.0, 0.5);
}

// The flat colour in 16.16 and packed at the buffer's shifts: nothing
// outside the colour fields, green and blue in their own places.
TEST_F(SetupPlanes, FlatColourAndPackedPixel) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB;
  gc->vertexBuffer.provoking = c;
  colors[2] = {1.0f, 0.5f, 0.25f, 1.0f};
  ASSERT_EQ(Run(a, b, c), 1u);
  // Red 31, green 63 x 0.5 = 31.5 rounding to 32, blue 15 x 0.25 = 3.75 to 4.
  EXPECT_EQ(int32_t(Word(offsetof(FrSpan, r))), FrFixed16(31.0f + 0.5f));
  EXPECT_EQ(int32_t(Word(offsetof(FrSpan, g))), FrFixed16(31.5f + 0.5f));
  EXPECT_EQ(int32_t(Word(offsetof(FrSpan, b))), FrFixed16(3.75f + 0.5f));
  const uint32_t pixel = (31u << 11) | (32u << 5) | 4u;
  EXPECT_EQ(Word(offsetof(FrSpan, flatPixel)), pixel);
  EXPECT_EQ(Word(offsetof(FrSpan, flatPixel)) & ~0xFFFFu, 0u) << "bits outside the fields";
  EXPECT_EQ(colors[2].g, 0.5f) << "the provoking colour restored";
}

// A flat alpha of 255: 0x01000001 outside spanlet mode (the correction
// factor), 0x00FF0000 in it. Without alpha bits the pixel keeps no alpha.
TEST_F(SetupPlanes, FlatAlpha) {
  gc->vertexBuffer.provoking = a;
  colors[0].a = 1.0f;
  for (GLbool8 mode : {GLbool8(0), GLbool8(1)}) {
    spanlet = mode;
    gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_ALPHA;
    ASSERT_EQ(Run(a, b, c), 1u);
    EXPECT_EQ(Word(offsetof(FrSpan, a)), mode ? 0x00FF0000u : 0x01000001u);
    EXPECT_EQ(Word(offsetof(FrSpan, flatPixel)) & 0xFFFF0000u, 0u);
  }
}

TEST(SetupConstants, BiasTriplesAndTheAlphaFactor) {
  using namespace og_setup;
  EXPECT_EQ(FrFloatBits(alpha_correction_factor), 0x3F808081u);
  EXPECT_EQ(uintptr_t(&z_bias) & 7, 0u);
  EXPECT_EQ(color_no_dither_bias.edge, 103079215104.0 + 0.5);
  EXPECT_EQ(z_bias.dy, 6755399441055744.0);
  EXPECT_EQ(mmx_q_bias.dx, 1.5 * 268435456.0);
}

// A replacing texture without blending or alpha test supplies the whole
// colour: no colour word is written.
TEST_F(SetupPlanes, NoColourUnderReplace) {
  GlTextureLevel level = {};
  GlTextureLevel *levels[1] = {&level};
  GlTextureObject tex = {};
  tex.levels = levels;
  tex.baseFormat = GL_RGBA;
  tex.minFilter = tex.magFilter = GL_NEAREST;
  level.width = 64, level.height = 32, level.widthLog2 = 6, level.heightLog2 = 5;
  GlTextureEnv env = {};
  env.mode = GL_REPLACE;
  gc->texture.current = &tex;
  gc->texture.env = &env;
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_TEXTURE;
  spanlet = 1;
  ASSERT_EQ(Run(a, b, c), 1u);
  EXPECT_EQ(Word(offsetof(FrSpan, rEdge)), 0xCDCDCDCDu);
  EXPECT_EQ(Word(offsetof(FrSpan, texWidth)), 64u);
  EXPECT_EQ(Word(offsetof(FrSpan, texHeightLog2)), 5u);
  EXPECT_EQ(Word(offsetof(FrSpan, gc)), uint32_t(uintptr_t(gc)));
  gc->texture.current = nullptr;
  gc->texture.env = nullptr;
}

}  // namespace
}  // namespace setup_test
