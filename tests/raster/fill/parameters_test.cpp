// Start values and steps of the spans against planes through the vertices
// computed in double precision, the colour scale by component name, the
// depth and stencil addresses, and the polygon-offset fields.
#include <gtest/gtest.h>

#include <math.h>

#include <string>

#include "raster/s_triangle.h"
#include "tests/raster/fill/fill_fixture.h"

namespace fill_test {
namespace {

// The plane through three values at three window points, evaluated in
// double precision (unbiased pixels; pixel centres at + 0.5).
struct RefPlane {
  double a, b, c;  // p = a x + b y + c
  RefPlane(const double x[3], const double y[3], const double p[3]) {
    const double d = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    a = ((p[1] - p[0]) * (y[2] - y[0]) - (p[2] - p[0]) * (y[1] - y[0])) / d;
    b = ((x[1] - x[0]) * (p[2] - p[0]) - (x[2] - x[0]) * (p[1] - p[0])) / d;
    c = p[0] - a * x[0] - b * y[0];
  }
  double At(double x, double y) const { return a * x + b * y + c; }
};

struct ParamCase {
  const char *name;
  double x[3], y[3];
};
const ParamCase kTriangles[] = {
    {"long edge left", {5.25, 70.5, 30.75}, {3.125, 20.0, 60.5}},
    {"long edge right", {60.5, 4.0, 70.25}, {2.5, 30.5, 66.0}},
    {"horizontal bottom", {10.0, 80.0, 40.0}, {5.5, 5.5, 70.0}},
    {"thin and steep", {40.0, 44.5, 38.0}, {1.0, 40.0, 78.0}},
};

// Colour, texture, fog and depth at every span's first pixel, within the
// stated tolerances: colours 1/1000 of a unit of a 0..255 range, texture
// 1e-4, depth 256 units plus one per row (float start value near 2^30, and
// the truncated integer row steps).
TEST(FillParameters, SpanStartValuesFollowTheDoublePlanes) {
  for (const ParamCase &c : kTriangles) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_ITER |
                 __GL_SHADE_TEXTURE | __GL_SHADE_FRAGMENT_FOG);
    gc->state.hints.fog = GL_NICEST;
    // Distinct factors so that a swap of green and blue shows.
    gc->constants.redRescale = 2.0f;
    gc->constants.greenRescale = 3.0f;
    gc->constants.blueRescale = 5.0f;
    gc->constants.alphaRescale = 7.0f;
    gc->procs.calcPolygonRho = [](GlContext *, const GlEdgeWalker *, GLfloat s, GLfloat t,
                                  GLfloat) -> GLfloat { return s + t; };
    const double red[3] = {10, 100, 40}, green[3] = {20, 5, 60}, blue[3] = {1, 30, 50},
                 alpha[3] = {36, 0, 18}, z[3] = {0.25, 0.75, 0.5}, s[3] = {0, 1, 0.5},
                 t[3] = {2, 0, 1}, eyeZ[3] = {-3, -9, -5};
    GlVertex v[3];
    for (int i = 0; i < 3; i++) {
      v[i] = FillContext::Vertex(c.x[i], c.y[i], z[i],
                                 {float(red[i]), float(green[i]), float(blue[i]), float(alpha[i])});
      v[i].texture = {float(s[i]), float(t[i]), 0, 1};
      v[i].eye.z = float(eyeZ[i]);
    }
    ctx.Fill(&v[0], &v[1], &v[2]);
    ASSERT_FALSE(ctx.spans.empty());
    double scaled[4][3], depth[3], rho[3];
    for (int i = 0; i < 3; i++) {
      scaled[0][i] = red[i] * 2;
      scaled[1][i] = green[i] * 3;
      scaled[2][i] = blue[i] * 5;
      scaled[3][i] = alpha[i] * 7;
      depth[i] = z[i] * double(0x7FC00000u);
      rho[i] = s[i] + t[i];
    }
    const RefPlane pr(c.x, c.y, scaled[0]), pg(c.x, c.y, scaled[1]), pb(c.x, c.y, scaled[2]),
        pa(c.x, c.y, scaled[3]), pz(c.x, c.y, depth), ps(c.x, c.y, s), pt(c.x, c.y, t),
        prho(c.x, c.y, rho), pf(c.x, c.y, eyeZ);
    const int32_t firstRow = ctx.spans.front().y;
    for (const Span &sp : ctx.spans) {
      SCOPED_TRACE("row " + std::to_string(sp.y));
      const double x = sp.x + 0.5, y = sp.y + 0.5;
      const GlShader &sh = sp.shader;
      EXPECT_NEAR(sh.r, pr.At(x, y), 1e-3);
      EXPECT_NEAR(sh.g, pg.At(x, y), 1e-3);
      EXPECT_NEAR(sh.b, pb.At(x, y), 1e-3);
      EXPECT_NEAR(sh.a, pa.At(x, y), 1e-3);
      EXPECT_NEAR(sh.drdx, pr.a, 1e-4);
      EXPECT_NEAR(sh.dgdx, pg.a, 1e-4);
      EXPECT_NEAR(sh.dbdx, pb.a, 1e-4);
      EXPECT_NEAR(sh.dadx, pa.a, 1e-4);
      EXPECT_NEAR(sh.s, ps.At(x, y), 1e-4);
      EXPECT_NEAR(sh.t, pt.At(x, y), 1e-4);
      EXPECT_NEAR(sh.q, 1.0, 1e-6);
      EXPECT_NEAR(sh.rho, prho.At(x, y), 1e-4);
      EXPECT_NEAR(sh.fog, pf.At(x, y), 1e-4);
      EXPECT_NEAR(double(sh.z), pz.At(x, y), 256.0 + (sp.y - firstRow));
      EXPECT_NEAR(sh.dzdxFloat, pz.a, fabs(pz.a) * 1e-5 + 1);
      EXPECT_EQ(sh.dzdx, int32_t(sh.dzdxFloat));
      EXPECT_EQ(sh.dzdxBig, int32_t(uint32_t(sh.dzdx) * 32u));  // wraps, as the span reads it
    }
  }
}

// A 16-bit buffer's depths reach 2^32, so a steep triangle's row or pixel
// step can pass 2^31: the depth words the plain depth walk reaches with its
// wrapping adds (row by row through z, pixel by pixel through dzdx) still
// follow the plane, and so does the float depth of the offset walk.
TEST(FillParameters, SixteenBitDepthStepsBeyondHalfTheRange) {
  struct Case {
    const char *name;
    double x[3], y[3], z[3];
  };
  const Case kCases[] = {
      {"rising by rows", {10, 60, 35}, {10, 10, 11.875}, {0, 0, 1}},
      {"falling by rows", {10, 60, 35}, {10, 10, 11.875}, {1, 1, 0}},
      {"rising by pixels", {10, 11.875, 10}, {10, 10, 40}, {0, 1, 0}},
      {"falling by pixels", {10, 11.875, 10}, {10, 10, 40}, {1, 0, 1}},
  };
  // With polygon offset on, adding nothing here.
  for (bool offset : {false, true})
    for (const Case &c : kCases) {
      SCOPED_TRACE(std::string(c.name) + (offset ? ", offset" : ""));
      FillContext ctx;
      GlContext *gc = ctx.gc();
      gc->depthBuffer.scale = 0xFFFF0000u;
      gc->constants.depthMax = float(0xFFFF0000u);
      uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_ITER;
      if (offset) {
        flags |= __GL_SHADE_POLYGON_OFFSET;
        gc->state.enables.general |= __GL_POLYGON_OFFSET_FILL_ENABLE;
      }
      ctx.SetFlags(flags);
      GlVertex v[3];
      double depth[3];
      for (int i = 0; i < 3; i++) {
        v[i] = FillContext::Vertex(c.x[i], c.y[i], c.z[i]);
        depth[i] = c.z[i] * double(0xFFFF0000u);
      }
      ctx.Fill(&v[0], &v[1], &v[2]);
      ASSERT_FALSE(ctx.spans.empty());
      const RefPlane pz(c.x, c.y, depth);
      bool pixelSteps = false;
      for (const Span &sp : ctx.spans) {
        SCOPED_TRACE("row " + std::to_string(sp.y));
        const double y = sp.y + 0.5;
        // The float start value and its steps are good to a few float units.
        const double tol = 8192.0;
        for (int32_t i = 0; i < sp.length; i++) {
          const uint32_t z = sp.shader.z + uint32_t(i) * uint32_t(sp.shader.dzdx);
          EXPECT_NEAR(double(z), pz.At(sp.x + i + 0.5, y), tol) << "pixel " << i;
        }
        if (offset) {
          EXPECT_NEAR(double(sp.shader.offsetZ), pz.At(sp.x + 0.5, y), tol);
        }
        pixelSteps |= sp.length > 1;
      }
      EXPECT_TRUE(pixelSteps || ctx.spans.size() > 1) << "no step was taken";
    }
}

// Flat shading: the provoking vertex's colour, rescaled by name, in every
// span; colour index: the index in r alone, with the red factor.
TEST(FillParameters, FlatColourIsTheProvokingVertexRescaled) {
  struct Case {
    const char *name;
    uint32_t flags;
    GlColor expected;  // g, b, a only checked in RGBA
  };
  const Case kCases[] = {{"RGBA", __GL_SHADE_RGB, {2 * 11, 3 * 22, 5 * 33, 7 * 44}},
                         {"colour index", 0, {2 * 11, -1, -1, -1}}};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(c.flags);
    gc->constants.redRescale = 2.0f;
    gc->constants.greenRescale = 3.0f;
    gc->constants.blueRescale = 5.0f;
    gc->constants.alphaRescale = 7.0f;
    gc->polygon.shader.g = gc->polygon.shader.b = gc->polygon.shader.a = -1;
    GlVertex v[3] = {FillContext::Vertex(3, 3, 0, {1, 1, 1, 1}),
                     FillContext::Vertex(50, 9, 0, {11, 22, 33, 44}),
                     FillContext::Vertex(20, 40, 0, {9, 9, 9, 9})};
    gc->vertexBuffer.provoking = &v[1];
    ctx.Fill(&v[0], &v[1], &v[2]);
    ASSERT_FALSE(ctx.spans.empty());
    for (const Span &sp : ctx.spans) {
      EXPECT_EQ(sp.shader.r, c.expected.r);
      EXPECT_EQ(sp.shader.g, c.expected.g);
      EXPECT_EQ(sp.shader.b, c.expected.b);
      EXPECT_EQ(sp.shader.a, c.expected.a);
    }
  }
}

// The depth and stencil addresses of every span are those of its first
// pixel, for both edges' step kinds and with clip-box rows skipped.
TEST(FillParameters, DepthAndStencilAddressesFollowTheFirstPixel) {
  struct Case {
    const char *name;
    double x[3], y[3];
    int32_t clipY0;
  };
  const Case kCases[] = {{"slopes both ways", {2.5, 90.25, 30.0}, {1.0, 35.5, 78.75}, 0},
                         {"negative long edge", {90.0, 2.0, 70.0}, {1.5, 40.0, 78.0}, 0},
                         {"rows skipped", {2.5, 90.25, 30.0}, {1.0, 35.5, 78.75}, 33}};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    ctx.SetClipBox(0, c.clipY0, kWidth, kHeight);
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST);
    GlVertex v[3];
    for (int i = 0; i < 3; i++) v[i] = FillContext::Vertex(c.x[i], c.y[i]);
    ctx.Fill(&v[0], &v[1], &v[2]);
    ASSERT_GT(ctx.spans.size(), 10u);
    for (const Span &sp : ctx.spans) {
      EXPECT_EQ(sp.shader.zbuf, ctx.depth.At(sp.x, sp.y)) << "row " << sp.y;
      EXPECT_EQ(sp.shader.sbuf, ctx.stencil.At(sp.x, sp.y)) << "row " << sp.y;
    }
  }
}

// __glPolygonOffsetZ and the fields it fills, against the formulas in
// double precision; with a zero x gradient the interval uses 0.00001.
TEST(FillParameters, PolygonOffsetFields) {
  struct Case {
    const char *name;
    float dzdx, dzdy, factor, units, z;
    uint32_t scale;
  };
  const Case kCases[] = {
      {"rising in x", 1000.0f, -300.0f, 2.0f, 4.0f, 5.0e8f, 0x7FC00000u},
      {"falling in x", -1000.0f, 2500.0f, 1.0f, -2.0f, 5.0e8f, 0x7FC00000u},
      {"flat in x", 0.0f, 700.0f, 1.5f, 1.0f, 1.0e6f, 0x7FC00000u},
      {"16-bit buffer above 2^31", 10.0f, 0.0f, 0.0f, 3.0f, 4.0e9f, 0xFFFF0000u},
      {"below zero, not clamped", 5.0f, 5.0f, -4.0f, -100.0f, 10.0f, 0x7FC00000u},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    GlShader &sh = gc->polygon.shader;
    gc->depthBuffer.scale = c.scale;
    gc->state.polygon.factor = c.factor;
    gc->state.polygon.units = c.units;
    sh.dzdxFloat = c.dzdx;
    sh.dzdyFloat = c.dzdy;
    sh.dzdx = int32_t(c.dzdx);
    GlVertex v = FillContext::Vertex(10, 10);
    v.window.z = c.z;
    const float dx = 0.75f, dy = 0.5f;
    const int32_t z = __glPolygonOffsetZ(gc, &v, dx, dy);
    const double slope = fmax(fabs(c.dzdx), fabs(c.dzdy));
    const double zo = c.z + double(c.dzdx) * dx + double(c.dzdy) * dy + slope * c.factor +
                      double(c.units) * gc->depthBuffer.offsetUnit;
    const double tol = fabs(zo) * 1e-6 + 1;
    EXPECT_NEAR(sh.offsetZ, zo, tol);
    EXPECT_NEAR(double(uint32_t(z)) - (zo < 0 ? 4294967296.0 : 0.0), trunc(double(sh.offsetZ)), 0.0);
    const double scale = double(c.scale);
    const double divisor = c.dzdx != 0 ? c.dzdx : 0.00001;
    const double end = c.dzdx < 0 ? -(zo / divisor) : (scale - zo) / divisor;
    EXPECT_NEAR(sh.offsetRangeEnd, end, fabs(end) * 1e-5 + tol / fabs(divisor));
    EXPECT_NEAR(sh.offsetRangeWidth, fabs(scale / divisor), fabs(scale / divisor) * 1e-6);
    EXPECT_EQ(sh.offsetClampLeft, c.dzdx >= 0 ? 0u : c.scale);
    EXPECT_EQ(sh.offsetClampRight, c.dzdx >= 0 ? c.scale : 0u);
  }
}

// With the offset enable on, the walk keeps offsetZ and offsetRangeEnd in
// step with the depth: offsetZ follows z, and the range end moves by the
// row steps over the x gradient (0.00001 when it is zero).
TEST(FillParameters, OffsetFieldsAdvanceWithTheRows) {
  struct Case {
    const char *name;
    double z[3];
  };
  const Case kCases[] = {{"depth varying in x", {0.2, 0.6, 0.4}},
                         {"depth flat in x", {0.2, 0.2, 0.5}},
                         {"constant depth", {0.3, 0.3, 0.3}}};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_DEPTH_ITER | __GL_SHADE_POLYGON_OFFSET);
    gc->state.enables.general |= __GL_POLYGON_OFFSET_FILL_ENABLE;
    gc->state.polygon.factor = 1.0f;
    gc->state.polygon.units = 2.0f;
    // Vertices 1 and 2 share x for the flat-in-x case's plane.
    GlVertex v[3] = {FillContext::Vertex(10.5, 4.5, c.z[0]), FillContext::Vertex(60.5, 4.5, c.z[1]),
                     FillContext::Vertex(10.5, 70.5, c.z[2])};
    ctx.Fill(&v[0], &v[1], &v[2]);
    ASSERT_GT(ctx.spans.size(), 10u);
    const GlShader &last = gc->polygon.shader;
    const float divisor = last.dzdxFloat != 0 ? last.dzdxFloat : 0.00001f;
    EXPECT_EQ(last.offsetRangeEndLittle, -float(last.zLittle) / divisor);
    EXPECT_EQ(last.offsetRangeEndBig, -float(last.zBig) / divisor);
    const GlShader &first = ctx.spans.front().shader;
    for (const Span &sp : ctx.spans) {
      // z and offsetZ gain the same integer steps; offsetZ is a float sum,
      // off by at most half its unit in the last place per row.
      const double rows = sp.y - ctx.spans.front().y;
      const double ulp = double(nextafterf(sp.shader.offsetZ, INFINITY) - sp.shader.offsetZ);
      EXPECT_NEAR(double(sp.shader.offsetZ) - double(first.offsetZ),
                  double(int32_t(sp.shader.z - first.z)), (rows + 1) * ulp / 2);
    }
  }
}

// Near the depth 1.0 end, the float offset depth and the float range end
// round independently, so a pixel may count as inside the range while its
// offset depth lies just beyond the buffer's scale. These are ordinary
// triangles: the fill must draw them through, not stop on that state.
TEST(FillParameters, OffsetDepthMayLeaveTheRangeByRounding) {
  struct Case {
    double x[3], y[3], z[3];
  };
  const Case kCases[] = {
      {{54.171997357687694, 32.700912464920975, 5.9250771908298931},
       {14.47005751192494, 54.153203459228536, 51.028493716224517},
       {1, 0.64490895173644303, 1}},
      {{23.754950715833743, 3.702752792790255, 14.233070537874463},
       {63.241984023242786, 5.6137526634305219, 40.59298321493452},
       {1, 0.9017310905399728, 1}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(testing::Message() << "a " << c.x[0] << "," << c.y[0]);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_DEPTH_ITER | __GL_SHADE_POLYGON_OFFSET);
    gc->state.enables.general |= __GL_POLYGON_OFFSET_FILL_ENABLE;
    gc->state.polygon.factor = 0.0f;
    gc->state.polygon.units = -1.0f;
    GlVertex v[3];
    for (int i = 0; i < 3; i++) v[i] = FillContext::Vertex(c.x[i], c.y[i], c.z[i]);
    ctx.Fill(&v[0], &v[1], &v[2]);
    const float scale = float(gc->depthBuffer.scale);
    int strayed = 0;
    for (const Span &sp : ctx.spans) {
      const GlShader &sh = sp.shader;
      const bool inside = sh.offsetRangeEnd > 0 && sh.offsetRangeEnd < sh.offsetRangeWidth;
      if (inside && !(sh.offsetZ >= 0 && sh.offsetZ <= scale)) strayed++;
    }
    EXPECT_GT(strayed, 0) << "the rounding this case was chosen for no longer shows";
    EXPECT_GT(ctx.spans.size(), 20u);
  }
}

}  // namespace
}  // namespace fill_test
