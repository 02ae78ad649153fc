// The antialiased fill against an independent supersampler of the triangle
// snapped to 1/8 pixel, and its interior spans against the plain fill's.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <map>
#include <random>
#include <utility>

#include "raster/s_pgdraw_aa.h"
#include "raster/s_pgdraw.h"
#include "raster/s_store.h"
#include "raster/s_triangle.h"
#include "tests/raster/aa_triangles/aa_supersampler.h"
#include "tests/raster/fill/fill_fixture.h"

namespace {

using fill_test::FillContext;
using fill_test::kBias;
using fill_test::kHeight;
using fill_test::kWidth;

typedef std::map<std::pair<int32_t, int32_t>, double> CoverageMap;

// What the fill stored one by one (pixel coordinates unbiased).
struct Stored {
  int32_t x, y;
  GlFragment frag;
};
std::vector<Stored> gStored;

void RecordStore(GlColorBuffer *, const GlFragment *frag) {
  gStored.push_back({frag->x - kBias, frag->y - kBias, *frag});
}

// The fill context with fragment recording: fringes go to RecordStore
// through the clipping store (procs.store equals cfbStore).
class AAContext : public FillContext {
 public:
  AAContext() {
    GlContext *g = gc();
    g->drawBuffer = &g->frontBuffer;
    g->frontBuffer.buf.gc = g;
    g->procs.store = g->procs.cfbStore = RecordStore;
    gStored.clear();
  }
  void FillAA(GlVertex *a, GlVertex *b, GlVertex *c) {
    for (GlVertex *v : {a, b, c})
      if (!v->color) v->color = &v->colors[0];
    // Flat shading takes the provoking vertex's colour.
    if (!gc()->vertexBuffer.provoking) gc()->vertexBuffer.provoking = c;
    __glFillAntiAliasedTriangle(gc(), a, b, c);
  }
  // Coverage per pixel: stored alpha (colour alpha 1) and whole spans.
  CoverageMap Coverage(int *duplicates) const {
    CoverageMap m;
    *duplicates = 0;
    for (const Stored &s : gStored) *duplicates += m.count({s.x, s.y}), m[{s.x, s.y}] = s.frag.color.a;
    for (const auto &[pixel, times] : counts) *duplicates += m.count(pixel) + times - 1, m[pixel] = 1.0;
    return m;
  }
};

using aa_model::Cross;
using aa_model::Point;

Point Snap(const GlVertex &v) {
  return {aa_model::Snap(double(v.window.x) - kBias), aa_model::Snap(double(v.window.y) - kBias)};
}

CoverageMap Supersample(const GlVertex &a, const GlVertex &b, const GlVertex &c, int n) {
  const Point v[3] = {Snap(a), Snap(b), Snap(c)};
  return aa_model::Supersample(v, n);
}

GlVertex RandomVertex(std::mt19937 &rng) {
  std::uniform_real_distribution<double> x(2.0, kWidth - 2.0), y(2.0, kHeight - 2.0);
  return FillContext::Vertex(x(rng), y(rng), 0.5, {0.2f, 0.4f, 0.6f, 1.0f});
}

TEST(AATriangle, CoverageMatchesTheSupersamplerForBothGrids) {
  std::mt19937 rng(7);
  for (GLenum hint : {GL_DONT_CARE, GL_NICEST}) {
    const int n = hint == GL_NICEST ? 8 : 4;
    for (int trial = 0; trial < 40; trial++) {
      SCOPED_TRACE(testing::Message() << "n " << n << " trial " << trial);
      AAContext ctx;
      ctx.gc()->state.hints.polygonSmooth = hint;
      ctx.SetFlags(__GL_SHADE_RGB);
      GlVertex a = RandomVertex(rng), b = RandomVertex(rng), c = RandomVertex(rng);
      ctx.FillAA(&a, &b, &c);
      int duplicates;
      const CoverageMap got = ctx.Coverage(&duplicates);
      const CoverageMap want = Supersample(a, b, c, n);
      EXPECT_EQ(duplicates, 0);
      for (const auto &[pixel, cov] : want) {
        auto it = got.find(pixel);
        if (it == got.end()) {
          ADD_FAILURE() << "pixel " << pixel.first << "," << pixel.second << " missing, coverage "
                        << cov;
          continue;
        }
        EXPECT_NEAR(it->second, cov, 1e-6) << pixel.first << "," << pixel.second;
      }
      for (const auto &[pixel, cov] : got)
        EXPECT_TRUE(want.count(pixel)) << "extra " << pixel.first << "," << pixel.second;
      // Total coverage against the snapped area, within the sampling error
      // along the perimeter.
      const Point s[3] = {Snap(a), Snap(b), Snap(c)};
      const double area = fabs(Cross(s[0], s[1], s[2])) / 2;
      double perimeter = 0, sum = 0;
      for (int i = 0; i < 3; i++)
        perimeter += hypot(s[(i + 1) % 3].x - s[i].x, s[(i + 1) % 3].y - s[i].y);
      for (const auto &[pixel, cov] : got) sum += cov;
      EXPECT_NEAR(sum, area, perimeter / n + 0.5);
    }
  }
}

// Interior spans cover only fully covered pixels and start with the values
// the plain fill has at their first pixel.
TEST(AATriangle, InteriorSpansCarryThePlainFillsValues) {
  std::mt19937 rng(11);
  const uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_ITER |
                         __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST;
  int spans = 0;
  for (int trial = 0; trial < 30; trial++) {
    SCOPED_TRACE(trial);
    GlVertex v[3];
    for (GlVertex &x : v) {
      x = RandomVertex(rng);
      x.window.z = float(std::uniform_real_distribution<double>(0, 1)(rng));
      x.colors[0] = {float(rng() % 256), float(rng() % 256), float(rng() % 256), 255.0f};
    }
    AAContext aa;
    aa.SetFlags(flags);
    aa.FillAA(&v[0], &v[1], &v[2]);
    FillContext plain;
    plain.SetFlags(flags);
    plain.Fill(&v[0], &v[1], &v[2]);
    std::map<int32_t, const fill_test::Span *> plainRows;
    for (const fill_test::Span &s : plain.spans) plainRows[s.y] = &s;
    const CoverageMap full = Supersample(v[0], v[1], v[2], 4);
    for (const fill_test::Span &s : aa.spans) {
      spans++;
      for (int32_t i = 0; i < s.length; i++) {
        auto it = full.find({s.x + i, s.y});
        EXPECT_TRUE(it != full.end() && it->second == 1.0) << s.x + i << "," << s.y;
      }
      ASSERT_TRUE(plainRows.count(s.y)) << "row " << s.y;
      const fill_test::Span &p = *plainRows[s.y];
      const int32_t n = s.x - p.x;
      ASSERT_GE(n, 0);
      ASSERT_LE(s.x + s.length, p.x + p.length);
      const GlShader &ps = p.shader, &as = s.shader;
      EXPECT_EQ(as.r, ps.r + GLfloat(n) * ps.drdx);
      EXPECT_EQ(as.g, ps.g + GLfloat(n) * ps.dgdx);
      EXPECT_EQ(as.z, ps.z + uint32_t(n) * uint32_t(ps.dzdx));
      // Each span's buffer addresses are those of its own first pixel.
      EXPECT_EQ(as.sbuf, aa.stencil.buffer()->base + s.y * aa.stencil.buffer()->pitch + s.x);
      EXPECT_EQ(static_cast<uint8_t *>(as.zbuf),
                aa.depth.buffer()->base + (s.y * aa.depth.buffer()->pitch + s.x) * 4);
    }
  }
  EXPECT_GT(spans, 100);
}

TEST(AATriangle, SixteenBitDepthAddressesAndOffsetOnSteepTriangles) {
  // Steep in x and in depth; offset on a 16-bit buffer, whose steps pass 2^31.
  const uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_ITER | __GL_SHADE_DEPTH_TEST |
                         __GL_SHADE_POLYGON_OFFSET;
  for (int variant = 0; variant < 4; variant++) {
    SCOPED_TRACE(variant);
    GlVertex a = FillContext::Vertex(10.3, 3.2, variant & 1 ? 0.0 : 1.0);
    GlVertex b = FillContext::Vertex(variant & 2 ? 80.7 : 12.1, 70.6, 0.5);
    GlVertex c = FillContext::Vertex(60.2, 40.9, variant & 1 ? 1.0 : 0.0);
    PixelMemory depth16(kWidth, kHeight, 16);
    auto setUp = [&](FillContext &ctx) {
      GlContext *g = ctx.gc();
      g->constants.depthMax = float(0xFFFF0000u);
      g->depthBuffer.scale = 0xFFFF0000u;
      g->depthBuffer.offsetUnit = 65536.0f;
      g->depthBuffer.buf.drawableBuf = depth16.buffer();
      g->state.enables.general |= __GL_POLYGON_OFFSET_FILL_ENABLE;
      g->state.polygon.factor = 2.0f;
      g->state.polygon.units = 3.0f;
      ctx.SetFlags(flags);
    };
    AAContext aa;
    setUp(aa);
    aa.FillAA(&a, &b, &c);
    FillContext plain;
    setUp(plain);
    plain.Fill(&a, &b, &c);
    std::map<int32_t, const fill_test::Span *> plainRows;
    for (const fill_test::Span &s : plain.spans) plainRows[s.y] = &s;
    ASSERT_FALSE(aa.spans.empty());
    for (const fill_test::Span &s : aa.spans) {
      ASSERT_TRUE(plainRows.count(s.y));
      const fill_test::Span &p = *plainRows[s.y];
      const int32_t n = s.x - p.x;
      EXPECT_EQ(static_cast<uint8_t *>(s.shader.zbuf),
                depth16.buffer()->base + (s.y * depth16.buffer()->pitch + s.x) * 2);
      EXPECT_EQ(s.shader.z, p.shader.z + uint32_t(n) * uint32_t(p.shader.dzdx));
      // The offset depth and its range end move with the start pixel.
      const double wantZ = double(p.shader.offsetZ) + double(n) * p.shader.dzdxFloat;
      EXPECT_NEAR(s.shader.offsetZ, wantZ, fabs(wantZ) * 1e-6 + 1.0);
      if (p.shader.dzdxFloat != 0.0f) {
        EXPECT_NEAR(s.shader.offsetRangeEnd, p.shader.offsetRangeEnd - n,
                    fabs(p.shader.offsetRangeEnd) * 1e-5 + 1e-3);
      }
      EXPECT_EQ(s.shader.offsetRangeWidth, p.shader.offsetRangeWidth);
    }
    // The fringe fragments' depths stay in the buffer's range.
    for (const Stored &f : gStored) EXPECT_LE(f.frag.z, 0xFFFF0000u);
  }
}

TEST(AATriangle, SnappedCollinearVerticesDrawNothing) {
  AAContext ctx;
  ctx.SetFlags(__GL_SHADE_RGB);
  // 5.05 snaps to 5.0: the three snapped points lie on one line.
  GlVertex a = FillContext::Vertex(10.0, 10.0), b = FillContext::Vertex(15.05, 15.0),
           c = FillContext::Vertex(20.0, 20.0);
  ctx.FillAA(&a, &b, &c);
  EXPECT_TRUE(gStored.empty());
  EXPECT_TRUE(ctx.spans.empty());
}

TEST(AATriangle, FringesStayInsideTheClipBox) {
  std::mt19937 rng(3);
  for (int trial = 0; trial < 20; trial++) {
    AAContext ctx;
    ctx.SetFlags(__GL_SHADE_RGB);
    ctx.SetClipBox(20, 15, 60, 50);
    // Reaching past the window on every side.
    std::uniform_real_distribution<double> x(-30, kWidth + 30), y(-30, kHeight + 30);
    GlVertex a = FillContext::Vertex(x(rng), y(rng)), b = FillContext::Vertex(x(rng), y(rng)),
             c = FillContext::Vertex(x(rng), y(rng));
    ctx.FillAA(&a, &b, &c);
    for (const Stored &s : gStored) {
      EXPECT_TRUE(s.x >= 20 && s.x < 60 && s.y >= 15 && s.y < 50) << s.x << "," << s.y;
    }
    for (const fill_test::Span &s : ctx.spans) {
      EXPECT_TRUE(s.y >= 15 && s.y < 50);
    }
  }
}

TEST(AATriangle, IndexCoverageInTheLowFourBits) {
  AAContext ctx;
  ctx.SetFlags(0);
  GlVertex a = FillContext::Vertex(10.2, 10.1, 0.5, {48, 0, 0, 0});
  GlVertex b = FillContext::Vertex(40.7, 12.3, 0.5, {48, 0, 0, 0});
  GlVertex c = FillContext::Vertex(22.1, 37.9, 0.5, {48, 0, 0, 0});
  ctx.gc()->vertexBuffer.provoking = &c;
  c.color = &c.colors[0];
  ctx.FillAA(&a, &b, &c);
  const CoverageMap want = Supersample(a, b, c, 4);
  ASSERT_FALSE(gStored.empty());
  for (const Stored &s : gStored) {
    const double cov = want.at({s.x, s.y});
    EXPECT_EQ(s.frag.color.r, GLfloat(48 + int(cov * 15 + 0.5))) << s.x << "," << s.y;
  }
}

TEST(AATriangle, VerticesAreUnchanged) {
  AAContext ctx;
  ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_ITER);
  GlVertex v[3] = {FillContext::Vertex(3.3, 4.4, 0.1, {1, 2, 3, 4}),
                   FillContext::Vertex(50.5, 9.9, 0.7, {5, 6, 7, 8}),
                   FillContext::Vertex(20.2, 60.6, 0.3, {9, 10, 11, 12})};
  for (GlVertex &x : v) x.color = &x.colors[0];
  GlVertex before[3];
  memcpy(before, v, sizeof v);
  ctx.FillAA(&v[0], &v[1], &v[2]);
  EXPECT_EQ(memcmp(before, v, sizeof v), 0);
}

TEST(AATriangle, NaNAndFarOutCoordinatesDrawNothing) {
  AAContext ctx;
  ctx.SetFlags(__GL_SHADE_RGB);
  GlVertex a = FillContext::Vertex(10, 10), b = FillContext::Vertex(40, 10),
           c = FillContext::Vertex(20, 40);
  c.window.x = NAN;
  ctx.FillAA(&a, &b, &c);
  c.window.x = 1e30f;
  ctx.FillAA(&a, &b, &c);
  EXPECT_TRUE(gStored.empty());
  EXPECT_TRUE(ctx.spans.empty());
}

}  // namespace

namespace {

TEST(AATriangle, PolygonStippleDropsFringePixels) {
  AAContext ctx;
  GlContext *gc = ctx.gc();
  ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_STIPPLE);
  for (int r = 0; r < 32; r++) gc->polygon.stipple[r] = r % 2 ? 0xAAAAAAAAu : 0x0F0F0F0Fu;
  GlVertex a = FillContext::Vertex(5.3, 4.2), b = FillContext::Vertex(70.9, 20.6),
           c = FillContext::Vertex(30.4, 66.1);
  ctx.FillAA(&a, &b, &c);
  const CoverageMap want = Supersample(a, b, c, 4);
  std::map<std::pair<int32_t, int32_t>, bool> stored;
  for (const Stored &s : gStored) stored[{s.x, s.y}] = true;
  int kept = 0;
  for (const auto &[pixel, cov] : want) {
    if (cov == 1.0) continue;
    const auto [x, y] = pixel;
    const bool alive = (gc->polygon.stipple[y & 31] >> (31 - (x & 31))) & 1;
    EXPECT_EQ(stored.count(pixel) != 0, alive) << x << "," << y;
    kept += alive;
  }
  EXPECT_GT(kept, 10);
}

// A plane through three prepared positions (window + 0.5) gives the
// parameter at window positions.
TEST(AATriangle, PlanesAnswerInWindowCoordinates) {
  auto p = [](double x, double y) { return GLfloat(2 * x - 3 * y + 7); };
  const GLfloat wx[3] = {10.25f, 40.5f, 22.75f}, wy[3] = {5.5f, 12.25f, 30.0f};
  GLfloat x[3], y[3], v[3];
  for (int i = 0; i < 3; i++) x[i] = wx[i] + 0.5f, y[i] = wy[i] + 0.5f, v[i] = p(wx[i], wy[i]);
  AAPlane plane;
  aa_triangle::FindPlaneEquation(&plane, x, y, v);
  for (GLfloat qx : {12.0f, 20.5f, 33.25f})
    for (GLfloat qy : {8.0f, 15.5f, 21.75f})
      EXPECT_NEAR(aa_triangle::FindP(&plane, qx, qy), p(qx, qy), 1e-3) << qx << "," << qy;
}

}  // namespace

namespace {

// The evaluation point of a fringe pixel: the centre of its inside
// samples' bounding box (4 x 4 grid).
bool EvaluationPoint(const Point v[3], int32_t x, int32_t y, double *ex, double *ey) {
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  for (int l = 0; l < 4; l++)
    for (int k = 0; k < 4; k++) {
      const Point s = {x + (k + 0.5) / 4, y + (l + 0.5) / 4};
      if (!(aa_model::InsideEdge(v[0], v[1], v[2], s) && aa_model::InsideEdge(v[1], v[2], v[0], s) &&
            aa_model::InsideEdge(v[2], v[0], v[1], s)))
        continue;
      x0 = std::min(x0, s.x), x1 = std::max(x1, s.x), y0 = std::min(y0, s.y), y1 = std::max(y1, s.y);
    }
  *ex = (x0 + x1) / 2, *ey = (y0 + y1) / 2;
  return x0 <= x1;
}

// Fog per fragment from the eye-z plane: linear fog from 0 to 100 towards a
// red of 100 leaves a black fragment's red equal to its eye distance.
TEST(AATriangle, FringeFogFollowsTheEyeZPlane) {
  AAContext ctx;
  GlContext *gc = ctx.gc();
  gc->modes.rgbMode = 1;
  ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_FRAGMENT_FOG);
  GlFogState &fog = gc->state.fog;
  fog.mode = GL_LINEAR, fog.start = 0, fog.end = 100, fog.oneOverEMinusS = 0.01f;
  fog.scaledColor[0] = 100, fog.scaledColor[1] = fog.scaledColor[2] = 0;
  auto eyeZ = [](double x, double y) { return -(10 + 0.5 * x + 0.3 * y); };
  GlVertex v[3] = {FillContext::Vertex(5.3, 4.2, 0.5, {0, 0, 0, 1}),
                   FillContext::Vertex(70.9, 20.6, 0.5, {0, 0, 0, 1}),
                   FillContext::Vertex(30.4, 66.1, 0.5, {0, 0, 0, 1})};
  for (GlVertex &x : v) x.eye.z = float(eyeZ(x.window.x - kBias, x.window.y - kBias));
  ctx.FillAA(&v[0], &v[1], &v[2]);
  const Point snapped[3] = {Snap(v[0]), Snap(v[1]), Snap(v[2])};
  ASSERT_FALSE(gStored.empty());
  for (const Stored &s : gStored) {
    double ex, ey;
    ASSERT_TRUE(EvaluationPoint(snapped, s.x, s.y, &ex, &ey));
    EXPECT_NEAR(s.frag.color.r, -eyeZ(ex, ey), 0.01) << s.x << "," << s.y;
  }
}

}  // namespace

namespace {

std::vector<std::pair<GLfloat, GLfloat>> gTextured;
void RecordTexture(GlContext *, GlColor *, GLfloat s, GLfloat t, GLfloat) {
  gTextured.push_back({s, t});
}

// Texture coordinates of a fringe fragment come from the s, t and q planes
// at its evaluation point, divided by q.
TEST(AATriangle, FringeTextureFollowsThePlanes) {
  AAContext ctx;
  GlContext *gc = ctx.gc();
  ctx.SetFlags(__GL_SHADE_RGB | __GL_SHADE_TEXTURE);
  gc->procs.texture = RecordTexture;
  gTextured.clear();
  auto s = [](double x, double y) { return 0.1 * x + 0.02 * y; };
  auto t = [](double x, double y) { return 3.0 - 0.03 * x + 0.05 * y; };
  GlVertex v[3] = {FillContext::Vertex(5.3, 4.2), FillContext::Vertex(70.9, 20.6),
                   FillContext::Vertex(30.4, 66.1)};
  for (GlVertex &x : v) {
    const double wx = x.window.x - kBias, wy = x.window.y - kBias;
    x.texture = {float(s(wx, wy)), float(t(wx, wy)), 0.0f, 1.0f};
  }
  ctx.FillAA(&v[0], &v[1], &v[2]);
  const Point snapped[3] = {Snap(v[0]), Snap(v[1]), Snap(v[2])};
  ASSERT_EQ(gTextured.size(), gStored.size());
  ASSERT_FALSE(gStored.empty());
  for (size_t i = 0; i < gStored.size(); i++) {
    double ex, ey;
    ASSERT_TRUE(EvaluationPoint(snapped, gStored[i].x, gStored[i].y, &ex, &ey));
    EXPECT_NEAR(gTextured[i].first, s(ex, ey), 1e-4) << gStored[i].x << "," << gStored[i].y;
    EXPECT_NEAR(gTextured[i].second, t(ex, ey), 1e-4) << gStored[i].x << "," << gStored[i].y;
  }
}

}  // namespace
