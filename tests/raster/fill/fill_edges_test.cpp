// The edge records, degenerate and hostile vertices, vertices left as they
// were, and the flat-fog wrapper.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <limits>
#include <string>

#include "raster/s_shader.h"
#include "raster/s_tri_render_face.h"
#include "raster/s_triangle.h"
#include "tests/raster/fill/fill_fixture.h"

namespace fill_test {
namespace {

// x at the first row's centre and slope -> the edge record, worked by hand.
TEST(FillEdges, SnapSplitsPositionAndSlope) {
  struct Case {
    const char *name;
    float x, dxdy;
    GlEdge expected;  // little, big, dfrac, x, frac
  };
  const Case kCases[] = {
      {"positive slope", 4100.25f, 2.5f, {2, 3, 0x40000000, 4100, 0x20000000}},
      {"negative slope", 4100.75f, -1.25f, {-1, -2, -0x20000000, 4100, 0x60000000}},
      {"negative slope, zero fraction", 4200.0f, -2.0f, {-2, -3, 0, 4200, 0}},
      {"vertical", 4097.5f, 0.0f, {0, 1, 0, 4097, 0x40000000}},
      {"below zero", -2.75f, 0.5f, {0, 1, 0x40000000, -3, 0x20000000}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    GlEdge e{};
    __glSnapXRight(&e, c.x, c.dxdy);
    EXPECT_EQ(e.little, c.expected.little);
    EXPECT_EQ(e.big, c.expected.big);
    EXPECT_EQ(e.dfrac, c.expected.dfrac);
    EXPECT_EQ(e.x, c.expected.x);
    EXPECT_EQ(e.frac, c.expected.frac);
  }
}

// The left edge also sets the depth and stencil byte steps per row.
TEST(FillEdges, LeftSnapSetsTheAddressSteps) {
  FillContext ctx;
  GlContext *gc = ctx.gc();
  ctx.SetFlags(__GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST);
  __glSnapXLeft(gc, 4100.5f, -1.5f);
  const GlShader &sh = gc->polygon.shader;
  EXPECT_EQ(sh.zbufLittle, (-1 + kWidth) * 4);
  EXPECT_EQ(sh.zbufBig, (-2 + kWidth) * 4);
  EXPECT_EQ(sh.sbufLittle, -1 + kWidth);
  EXPECT_EQ(sh.sbufBig, -2 + kWidth);
}

// A negative slope whose fraction is zero never borrows: the edge moves by
// `little` on every row, so the spans' left ends step by exactly 2.
TEST(FillEdges, ZeroFractionNegativeSlopeMovesByLittle) {
  FillContext ctx;
  GlVertex v[3] = {FillContext::Vertex(70.5, 0.5), FillContext::Vertex(80.5, 0.5),
                   FillContext::Vertex(10.5, 30.5)};
  ctx.Fill(&v[0], &v[1], &v[2]);
  // The top rows are too narrow to hold a pixel centre.
  ASSERT_GT(ctx.spans.size(), 20u);
  for (size_t k = 1; k < ctx.spans.size(); k++) {
    ASSERT_EQ(ctx.spans[k].y, ctx.spans[k - 1].y + 1);
    EXPECT_EQ(ctx.spans[k].x - ctx.spans[k - 1].x, -2) << "row " << ctx.spans[k].y;
  }
  EXPECT_EQ(ctx.gc()->polygon.edges.left.frac, 0);
}

// Triangles that draw nothing, and must neither crash nor hand a span over:
// collinear vertices (the fill's own area is 0), NaN and infinite window
// coordinates, coordinates too far out to walk.
TEST(FillEdges, DegenerateAndHostileVerticesDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char *name;
    float x[3], y[3];
  };
  const Case kCases[] = {
      {"collinear", {4100, 4120, 4140}, {4100, 4110, 4120}},
      {"collinear, horizontal", {4100, 4120, 4140}, {4110.5f, 4110.5f, 4110.5f}},
      {"NaN x", {nan, 4150, 4120}, {4100, 4110, 4160}},
      {"NaN y", {4100, 4150, 4120}, {4100, nan, 4160}},
      {"all NaN", {nan, nan, nan}, {nan, nan, nan}},
      {"infinite y", {4100, 4150, 4120}, {-inf, 4110, inf}},
      {"infinite x", {inf, 4150, -inf}, {4100, 4110, 4160}},
      {"far out", {4100, 4150, 4120}, {-3.0e9f, 4110, 3.0e9f}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_ITER |
                 __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST | __GL_SHADE_TEXTURE);
    GlVertex v[3];
    for (int i = 0; i < 3; i++) {
      v[i] = FillContext::Vertex(0, 0, 0.5, {1, 2, 3, 4});
      v[i].window.x = c.x[i];
      v[i].window.y = c.y[i];
    }
    ctx.Fill(&v[0], &v[1], &v[2]);
    EXPECT_TRUE(ctx.spans.empty());
    EXPECT_TRUE(ctx.depth.GuardsIntact());
    // No gradient came from a zero area.
    const GlShader &sh = ctx.gc()->polygon.shader;
    for (float g : {sh.drdx, sh.drdy, sh.dzdxFloat, sh.dzdyFloat, sh.dsdx, sh.dtdy})
      EXPECT_FALSE(isnan(g));
  }
}

// Nearly collinear triangles whose area the front end measures as non-zero
// (from a, b, c) while the fill, measuring from its sorted vertices, gets 0:
// handed on by the front end, they must draw nothing and leave no NaN
// gradient. The rows they span hold pixel centres.
TEST(FillEdges, ZeroAreaInTheFillsOwnOrderDrawsNothing) {
  struct Case {
    float x[3], y[3];
  };
  const Case kCases[] = {
      {{0x1.03f5p+12f, 0x1.00527ap+12f, 0x1.0051cap+12f},
       {0x1.0385f2p+12f, 0x1.00d6a2p+12f, 0x1.00d62p+12f}},
      {{0x1.025e7p+12f, 0x1.01e624p+12f, 0x1.01d0dep+12f},
       {0x1.03b9c4p+12f, 0x1.021416p+12f, 0x1.01c984p+12f}},
      {{0x1.0310dep+12f, 0x1.021b3p+12f, 0x1.00cb3ep+12f},
       {0x1.029a0ep+12f, 0x1.021c94p+12f, 0x1.0171p+12f}},
      {{0x1.007ca4p+12f, 0x1.00c72ap+12f, 0x1.0148bcp+12f},
       {0x1.03ed2p+12f, 0x1.029d84p+12f, 0x1.005602p+12f}},
  };
  for (const Case &c : kCases) {
    SCOPED_TRACE(testing::Message() << "a " << c.x[0] << "," << c.y[0]);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR |
                 __GL_SHADE_DEPTH_ITER | __GL_SHADE_DEPTH_TEST);
    gc->polygon.facing[0] = __GL_BACKFACE_INDEX;
    gc->polygon.facing[1] = __GL_FRONTFACE_INDEX;
    gc->polygon.cullFace = __GL_CULL_NONE;
    gc->procs.fillTriangle = __glFillTriangle;
    GlVertex v[3];
    for (int i = 0; i < 3; i++) {
      v[i] = FillContext::Vertex(0, 0, 0.25 * (i + 1), {1, 2, 3, 4});
      v[i].window.x = c.x[i];
      v[i].window.y = c.y[i];
      v[i].color = &v[i].colors[0];
    }
    ASSERT_NE(__glTriangleArea(&v[0], &v[1], &v[2]), 0.0f) << "the front end would drop it";
    __glRenderSmoothTriangle(gc, &v[0], &v[1], &v[2]);
    EXPECT_TRUE(ctx.spans.empty());
    const GlShader &sh = gc->polygon.shader;
    for (float g : {sh.drdx, sh.drdy, sh.dadx, sh.dzdxFloat, sh.dzdyFloat}) EXPECT_FALSE(isnan(g));
  }
}

// Vertex windows, depths, colours and colour pointers are the same bit for
// bit after the fill, including values the preparation cannot undo by
// arithmetic and colours shared between vertices.
TEST(FillEdges, VerticesAreUnchangedBitForBit) {
  struct Case {
    const char *name;
    bool shareColor, provokingIsA, smooth;
  };
  const Case kCases[] = {{"smooth", false, false, true},
                         {"flat, provoking vertex one of the three", false, true, false},
                         {"colour shared by two vertices", true, true, true}};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_DEPTH_ITER |
                 (c.smooth ? __GL_SHADE_ITERATE_COLOR : 0u));
    gc->constants.redRescale = 255.0f;
    gc->constants.greenRescale = 63.0f;
    gc->constants.blueRescale = 31.0f;
    gc->constants.alphaRescale = 1.0f / 3.0f;
    gc->constants.depthMax = 16777215.0f;
    GlVertex v[3] = {FillContext::Vertex(1.0e-9, 2.3, 0.1, {0.1f, 0.2f, 0.3f, 0.7f}),
                     FillContext::Vertex(60.123, 7.77, 1.0f / 3.0f, {0.9f, 0.4f, 0.6f, 0.1f}),
                     FillContext::Vertex(33.3, 50.01, 0.99f, {0.3f, 0.5f, 0.25f, 1.0f})};
    v[0].window.x = 4096.0001f;
    for (GlVertex &x : v) x.color = &x.colors[0];
    if (c.shareColor) v[2].color = v[1].color;
    GlVertex outside = FillContext::Vertex(0, 0, 0, {0.5f, 0.5f, 0.5f, 0.5f});
    outside.color = &outside.colors[0];
    gc->vertexBuffer.provoking = c.provokingIsA ? &v[0] : &outside;
    GlVertex before[3], outsideBefore = outside;
    memcpy(before, v, sizeof v);
    ctx.Fill(&v[0], &v[1], &v[2]);
    EXPECT_FALSE(ctx.spans.empty());
    EXPECT_EQ(memcmp(before, v, sizeof v), 0);
    EXPECT_EQ(memcmp(&outsideBefore, &outside, sizeof outside), 0);
  }
}

// The flat-fog wrapper: each vertex gets the provoking colour fogged by its
// own fog factor, the fill behind sees the copies, and every pointer comes
// back, also when the provoking vertex is one of the three.
struct FogLog {
  GlColor in[3];
  GLfloat fog[3];
  int calls = 0;
  GlColor seen[3];
  const GlColor *seenPointers[3];
  int fills = 0;
};
FogLog *gFog = nullptr;

void LoggingFogColor(GlContext *, GlColor *out, const GlColor *in, GLfloat fog) {
  FogLog &l = *gFog;
  if (l.calls < 3) {
    l.in[l.calls] = *in;
    l.fog[l.calls] = fog;
  }
  l.calls++;
  *out = {in->r * fog, in->g * fog, in->b * fog, in->a};
}

void GLFASTCALL LoggingFill(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  FogLog &l = *gFog;
  GlVertex *v[3] = {a, b, c};
  for (int i = 0; i < 3; i++) {
    l.seen[i] = *v[i]->color;
    l.seenPointers[i] = v[i]->color;
  }
  l.fills++;
}

TEST(FillFlatFog, EachVertexFogsTheProvokingColour) {
  struct Case {
    const char *name;
    int provoking;  // index of a, b, c, or 3: a vertex outside
  };
  const Case kCases[] = {{"provoking vertex a", 0}, {"provoking vertex c", 2},
                         {"provoking vertex of the polygon", 3}};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    FillContext ctx;
    GlContext *gc = ctx.gc();
    FogLog log;
    gFog = &log;
    gc->procs.fogColor = LoggingFogColor;
    gc->procs.fillTriangleUnfogged = LoggingFill;
    GlVertex v[4] = {FillContext::Vertex(1, 1, 0, {10, 20, 30, 40}),
                     FillContext::Vertex(9, 1, 0, {1, 1, 1, 1}),
                     FillContext::Vertex(5, 9, 0, {2, 2, 2, 2}),
                     FillContext::Vertex(0, 0, 0, {100, 200, 300, 400})};
    const GLfloat fog[3] = {0.5f, 0.25f, 0.75f};
    for (int i = 0; i < 4; i++) {
      v[i].color = &v[i].colors[0];
      if (i < 3) v[i].fog = fog[i];
    }
    gc->vertexBuffer.provoking = &v[c.provoking];
    const GlColor flat = v[c.provoking].colors[0];
    __glFillFlatFogTriangle(gc, &v[0], &v[1], &v[2]);
    ASSERT_EQ(log.fills, 1);
    ASSERT_EQ(log.calls, 3);
    for (int i = 0; i < 3; i++) {
      SCOPED_TRACE(i);
      EXPECT_EQ(log.in[i].r, flat.r) << "fogged a fogged colour";
      EXPECT_EQ(log.fog[i], fog[i]);
      EXPECT_EQ(log.seen[i].r, flat.r * fog[i]);
      EXPECT_EQ(log.seen[i].a, flat.a);
      EXPECT_NE(log.seenPointers[i], &v[i].colors[0]);
      EXPECT_EQ(v[i].color, &v[i].colors[0]);
      EXPECT_EQ(v[i].colors[0].r, i == c.provoking ? flat.r : v[i].colors[0].r);
    }
    gFog = nullptr;
  }
}

}  // namespace
}  // namespace fill_test
