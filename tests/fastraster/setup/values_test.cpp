// The iterator words the set-up computes, against a plane model in double
// precision: colours with four distinct factors (a green/blue swap shows),
// depth, affine texture coordinates; the packed flat pixel of every format;
// and the polygon offset, which saturates instead of wrapping.
#include <gtest/gtest.h>
#include <math.h>

#include <string>

#include "fastraster/fr_format.h"
#include "tests/fastraster/setup/setup_fixture.h"

namespace fr_test {
namespace {

// A quantity over the triangle in double precision, from its values at
// three unbiased window positions.
struct PlaneModel {
  double dx, dy, c;  // p(x, y) = dx * x + dy * y + c
  PlaneModel(const double x[3], const double y[3], const double p[3]) {
    const double det = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    dx = ((p[1] - p[0]) * (y[2] - y[0]) - (p[2] - p[0]) * (y[1] - y[0])) / det;
    dy = ((p[2] - p[0]) * (x[1] - x[0]) - (p[1] - p[0]) * (x[2] - x[0])) / det;
    c = p[0] - dx * x[0] - dy * y[0];
  }
  // At the centre of pixel (i, j).
  double At(int32_t i, int32_t j) const { return dx * (i + 0.5) + dy * (j + 0.5) + c; }
};

constexpr double kFixedOne = 65536.0;

void ExpectFixed(int32_t word, double value, const char *what) {
  EXPECT_NEAR(word / kFixedOne, value, 1.0 / kFixedOne) << what;
}

// Vertices on the 1/16 grid, so that snapping leaves them where the model
// has them.
const double kX[3] = {10.25, 83.5, 30.0625}, kY[3] = {3.125, 41.75, 70.5};

TEST(SetupValues, ColourDepthAndTextureWordsFollowThePlane) {
  const GlColor colors[3] = {{0.1f, 0.9f, 0.3f, 1.0f}, {1.0f, 0.0f, 0.6f, 0.5f},
                             {0.4f, 0.45f, 0.0f, 0.25f}};
  const GLfloat s[3] = {0.0f, 3.5f, -1.25f}, t[3] = {2.0f, -0.5f, 7.75f};
  for (bool rightToLeft : {false, true}) {
    SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
    SetupContext ctx;
    GlContext *gc = ctx.gc();
    // Distinct factors, stored red, blue, green, alpha.
    gc->constants.redRescale = 31.0f;
    gc->constants.greenRescale = 63.0f;
    gc->constants.blueRescale = 15.0f;
    gc->constants.alphaRescale = 7.0f;
    // A depth range a float holds to a fraction of a unit.
    gc->constants.depthMax = 65536.0f;
    GlTextureLevel level{};
    level.width = level.height = 66;
    level.widthLog2 = level.heightLog2 = 6;
    GlTextureLevel *levels[1] = {&level};
    GlTextureObject tex{};
    tex.minFilter = tex.magFilter = GL_NEAREST;
    tex.levels = levels;
    gc->texture.current = &tex;
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_TEST |
                 __GL_SHADE_TEXTURE);
    GlVertex v[3];
    const double zs[3] = {0.125, 0.75, 0.5};
    for (int i = 0; i < 3; i++) {
      const int k = rightToLeft ? 2 - i : i;  // mirrored in x: the long edge changes side
      v[i] = SetupContext::Vertex(rightToLeft ? 95.0 - kX[k] : kX[k], kY[k], zs[k], colors[k]);
      v[i].texture = {s[k], t[k], 0.0f, 1.0f};
    }
    ctx.Draw(&v[0], &v[1], &v[2]);
    ASSERT_FALSE(ctx.chunks.empty());
    double x[3], y[3];
    for (int i = 0; i < 3; i++) x[i] = v[i].window.x - kBias, y[i] = v[i].window.y - kBias;
    auto plane = [&](auto value) {
      double p[3];
      for (int i = 0; i < 3; i++) p[i] = value(i);
      return PlaneModel(x, y, p);
    };
    const PlaneModel r = plane([&](int i) { return v[i].colors[0].r * 31.0; });
    const PlaneModel g = plane([&](int i) { return v[i].colors[0].g * 63.0; });
    const PlaneModel b = plane([&](int i) { return v[i].colors[0].b * 15.0; });
    const PlaneModel a = plane([&](int i) { return v[i].colors[0].a * 7.0; });
    const PlaneModel z = plane([&](int i) { return v[i].window.z * 65536.0; });
    const PlaneModel ps = plane([&](int i) { return v[i].texture.x; });
    const PlaneModel pt = plane([&](int i) { return v[i].texture.y; });

    const FrSpan &f = ctx.chunks[0].span;
    const int32_t dir = f.direction;
    EXPECT_EQ(dir, rightToLeft ? -1 : 1);
    const int32_t i = ColumnOf(f, 0), j = f.y;
    const double dxLong = dir * f.dxLong;  // true direction
    struct Group {
      const char *name;
      const PlaneModel &m;
      double bias;
      int32_t edge, dx, dEdge;
    };
    const Group groups[] = {
        {"red", r, 0.5, f.rEdge, f.drdx, f.drEdge},     {"green", g, 0.5, f.gEdge, f.dgdx, f.dgEdge},
        {"blue", b, 0.5, f.bEdge, f.dbdx, f.dbEdge},    {"alpha", a, 0.5, f.aEdge, f.dadx, f.daEdge},
        {"s", ps, 0.0, f.sEdge, f.dsdx, f.dsEdge},      {"t", pt, 0.0, f.tEdge, f.dtdx, f.dtEdge},
    };
    for (const Group &q : groups) {
      SCOPED_TRACE(q.name);
      ExpectFixed(q.edge, q.m.At(i, j) + q.bias, "edge value");
      ExpectFixed(q.dx, dir * q.m.dx, "pixel step");
      ExpectFixed(q.dEdge, dxLong * q.m.dx + q.m.dy, "row step");
    }
    EXPECT_NEAR(double(f.zEdge), z.At(i, j) + 0.5, 1.0);
    EXPECT_NEAR(double(f.dzdx), dir * z.dx, 1.0);
    EXPECT_NEAR(double(f.dzEdge), dxLong * z.dx + z.dy, 1.0);
    EXPECT_EQ(f.texWidth, 66);
    EXPECT_EQ(f.texHeightLog2, 6);
  }
}

// Corners off the 1/16 grid, as the clipper makes them: the snap moves
// them for the edges, but depth and colour follow the plane through the
// corners as given. Planned from the snapped corners, the near-plane cut
// (a corner at x 26.4 with depth 0) started 35 units of 2^16 too deep, the
// thin piece at the window's edge 27.
TEST(SetupValues, PlanesRunThroughTheCornersBeforeTheSnap) {
  struct Case {
    const char *name;
    double x[3], y[3], z[3], red[3];
  };
  const Case kCases[] = {
      {"near-plane cut", {26.4, 60.0, 60.0}, {4.0, 4.0, 44.0}, {0.0, 0.75, 0.75}, {1, 0, 0.5}},
      {"thin piece at a window edge",
       {3.03, 70.0, 3.01},
       {2.97, 30.45, 33.96},
       {0.2, 0.9, 0.35},
       {0, 1, 0.25}},
      {"mirrored", {90.6, 35.0, 35.0}, {4.0, 4.0, 44.0}, {0.0, 0.75, 0.75}, {1, 0, 0.5}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    SetupContext ctx;
    GlContext *gc = ctx.gc();
    gc->constants.redRescale = 31.0f;
    gc->constants.depthMax = 65536.0f;
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_TEST);
    GlVertex v[3];
    for (int i = 0; i < 3; i++)
      v[i] = SetupContext::Vertex(c.x[i], c.y[i], c.z[i], {float(c.red[i]), 0, 0, 1});
    ctx.Draw(&v[0], &v[1], &v[2]);
    ASSERT_FALSE(ctx.chunks.empty());
    double x[3], y[3], z[3], red[3];
    for (int i = 0; i < 3; i++) {
      x[i] = v[i].window.x - kBias, y[i] = v[i].window.y - kBias;
      z[i] = double(v[i].window.z) * 65536.0, red[i] = double(v[i].colors[0].r) * 31.0;
    }
    // The first pixel and the steps; the walk then adds rounded steps.
    const PlaneModel pz(x, y, z), pr(x, y, red);
    const FrSpan &f = ctx.chunks[0].span;
    const int32_t i = ColumnOf(f, 0), j = f.y, dir = f.direction;
    const double dxLong = dir * f.dxLong;
    EXPECT_NEAR(double(f.zEdge), pz.At(i, j) + 0.5, 1.0);
    EXPECT_NEAR(double(f.dzdx), dir * pz.dx, 1.0);
    EXPECT_NEAR(double(f.dzEdge), dxLong * pz.dx + pz.dy, 1.0);
    ExpectFixed(f.rEdge, pr.At(i, j) + 0.5, "red");
    ExpectFixed(f.drdx, dir * pr.dx, "red per pixel");
    ExpectFixed(f.drEdge, dxLong * pr.dx + pr.dy, "red per row");
  }
}

// The flat colour packed at the draw buffer's shifts, rounded as the
// set-up rounds (half a unit added, then the integer part), with nothing
// outside the colour fields: an opaque alpha has no field to go to.
TEST(SetupValues, FlatPixelOfEveryFormat) {
  struct Format {
    const char *name;
    uint8_t type;
    uint32_t bits;
  };
  const Format kFormats[] = {{"RGB332", FR_FB_RGB332, 8},  {"RGB555", FR_FB_RGB555, 16},
                             {"RGB565", FR_FB_RGB565, 16}, {"A1RGB5", FR_FB_A1RGB5, 16},
                             {"RGB8", FR_FB_RGB8, 24},     {"XRGB8", FR_FB_XRGB8, 32},
                             {"ARGB8", FR_FB_ARGB8, 32}};
  const GlColor kColors[] = {{1, 1, 1, 1}, {0, 0, 0, 1}, {0.32f, 0.61f, 0.05f, 1.0f},
                             {0.91f, 0.2f, 0.71f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.4f}};
  for (const Format &fmt : kFormats) {
    const FrPixelFormat &pf = kFrPixelFormats[fmt.type];
    const uint32_t shifts[4] = {pf.red.shift, pf.green.shift, pf.blue.shift, pf.alpha.shift};
    for (const GlColor &c : kColors) {
      SCOPED_TRACE(std::string(fmt.name) + " colour " + std::to_string(c.r) + " " +
                   std::to_string(c.g) + " " + std::to_string(c.b) + " " + std::to_string(c.a));
      SetupContext ctx(fmt.bits, shifts);
      GlContext *gc = ctx.gc();
      GlConstants &k = gc->constants;
      const auto max = [](FrField f) { return float((1u << f.bits) - 1); };
      k.redRescale = max(pf.red);
      k.greenRescale = max(pf.green);
      k.blueRescale = max(pf.blue);
      k.alphaRescale = pf.alpha.bits ? max(pf.alpha) : 255.0f;
      gc->modes.alphaMask = pf.alpha.bits ? ((1u << pf.alpha.bits) - 1) << pf.alpha.shift : 0;
      ctx.SetFlags(__GL_SHADE_RGB);
      GlVertex a = SetupContext::Vertex(2, 2), b = SetupContext::Vertex(2, 20),
               p = SetupContext::Vertex(30, 10, 0.5, c);
      ctx.Draw(&a, &b, &p);
      ASSERT_FALSE(ctx.chunks.empty());
      const auto field = [](float v, float scale, FrField f) {
        return f.bits ? uint32_t(floor(double(v) * scale + 0.5)) << f.shift : 0u;
      };
      const uint32_t expected = field(c.r, k.redRescale, pf.red) |
                                field(c.g, k.greenRescale, pf.green) |
                                field(c.b, k.blueRescale, pf.blue) |
                                field(c.a, k.alphaRescale, pf.alpha);
      const uint32_t fields = FrPack(pf, {255, 255, 255, 255});
      for (const Chunk &ch : ctx.chunks) {
        EXPECT_EQ(ch.span.flatPixel, expected);
        EXPECT_EQ(ch.span.flatPixel & ~fields, 0u);
      }
    }
  }
}

TEST(SetupValues, FlatColourIndexAndDitheredFlatColour) {
  SetupContext ctx;
  GlContext *gc = ctx.gc();
  gc->modes.rgbMode = 0;
  ctx.SetFlags(0);
  GlVertex a = SetupContext::Vertex(2, 2), b = SetupContext::Vertex(2, 20),
           p = SetupContext::Vertex(30, 10, 0.5, {37.625f, 0, 0, 0});
  ctx.Draw(&a, &b, &p);
  ASSERT_FALSE(ctx.chunks.empty());
  EXPECT_EQ(ctx.chunks[0].span.flatPixel, 38u);
  EXPECT_EQ(ctx.chunks[0].span.r, int32_t(38.125 * 65536));

  // Dithered: rounding bias 1/32 and no packed pixel.
  SetupContext dithered;
  dithered.SetFlags(__GL_SHADE_RGB | __GL_SHADE_DITHER);
  GlVertex d = SetupContext::Vertex(30, 10, 0.5, {0.25f, 0.5f, 0.75f, 1.0f});
  d.color = &d.colors[0];
  dithered.gc()->constants.redRescale = 31.0f;
  dithered.gc()->vertexBuffer.provoking = &d;
  GlVertex a2 = SetupContext::Vertex(2, 2), b2 = SetupContext::Vertex(2, 20);
  dithered.Draw(&a2, &b2, &d);
  ASSERT_FALSE(dithered.chunks.empty());
  const FrSpan &s = dithered.chunks[0].span;
  EXPECT_EQ(s.r, int32_t((0.25 * 31 + 1.0 / 32) * 65536 + 0.5));
  EXPECT_EQ(s.g, int32_t((0.5 + 1.0 / 32) * 65536 + 0.5));
  EXPECT_EQ(s.ditherRow, s.ditherTable + (s.y & 3) * 35 + (s.x & 3));
}

// offsetZ = max(|dz/dx|, |dz/dy|) x factor + units x unit, in depth units;
// on a 16-bit buffer (depths to 0xFFFF0000) in halves of a unit, so that
// offsets across its whole range fit. Beyond the 32-bit range it
// saturates, keeping its sign.
TEST(SetupValues, PolygonOffsetSaturates) {
  struct Case {
    const char *name;
    float factor, units;
    double zTop;  // of the right-hand vertex
    uint32_t scale;  // of the depth buffer
    int64_t expected;  // INT32_MAX / INT32_MIN: saturated
  };
  const uint32_t k16 = 0xFFFF0000u, k32 = 0x7FC00000u;
  const Case kCases[] = {
      {"one unit", 0.0f, 1.0f, 0.5, k32, 16777216},
      {"127 units", 0.0f, 127.0f, 0.5, k32, 127LL * 16777216},
      {"128 units", 0.0f, 128.0f, 0.5, k32, INT32_MAX},
      {"-129 units", 0.0f, -129.0f, 0.5, k32, INT32_MIN},
      {"10000 units", 0.0f, 10000.0f, 0.5, k32, INT32_MAX},
      {"large factor, steep", 1000.0f, 0.0f, 1.0, k32, INT32_MAX},
      {"large negative factor, steep", -1000.0f, 0.0f, 1.0, k32, INT32_MIN},
      {"16-bit: one unit in halves", 0.0f, 1.0f, 0.5, k16, 8388608},
      {"16-bit: 255 units", 0.0f, 255.0f, 0.5, k16, 255LL * 8388608},
      {"16-bit: -255 units", 0.0f, -255.0f, 0.5, k16, -255LL * 8388608},
      {"16-bit: 256 units", 0.0f, 256.0f, 0.5, k16, INT32_MAX},
      {"16-bit: -257 units", 0.0f, -257.0f, 0.5, k16, INT32_MIN},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    SetupContext ctx;
    GlContext *gc = ctx.gc();
    gc->depthBuffer.offsetUnit = 16777216.0f;
    gc->depthBuffer.scale = c.scale;
    gc->state.polygon.factor = c.factor;
    gc->state.polygon.units = c.units;
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST | __GL_SHADE_POLYGON_OFFSET);
    GlVertex a = SetupContext::Vertex(2, 2, 0.0), b = SetupContext::Vertex(2, 40, 0.0),
             p = SetupContext::Vertex(6, 20, c.zTop);
    ctx.Draw(&a, &b, &p);
    ASSERT_FALSE(ctx.chunks.empty());
    EXPECT_EQ(ctx.chunks[0].span.offsetZ, c.expected);
  }
}

}  // namespace
}  // namespace fr_test
