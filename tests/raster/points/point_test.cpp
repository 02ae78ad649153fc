// Points through a recording fragment store: the aliased footprints, the
// clip box at and past the window's edges, antialiased coverage against an
// independent sampler, the colour-index coverage rule, texturing, the
// flat-fog wrapper, and the vertex left as it was.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <map>
#include <utility>
#include <vector>

#include "raster/s_fog_factor.h"
#include "raster/s_point.h"
#include "tests/core/services/service_context.h"

namespace {

constexpr int32_t kBias = 4096;

struct Stored {
  int32_t x, y;
  uint32_t z;
  GlColor color;
};
std::vector<Stored> gStored;

void Record(GlColorBuffer *, const GlFragment *f) {
  gStored.push_back({f->x - kBias, f->y - kBias, f->z, f->color});
}

class PointContext {
 public:
  PointContext() {
    GlContext *g = gc();
    GlConstants &k = g->constants;
    k.viewportXAdjust = k.viewportYAdjust = kBias;
    k.redRescale = k.greenRescale = k.blueRescale = k.alphaRescale = 1.0f;
    k.depthMax = 65536.0f;
    g->frontBuffer.buf.gc = g;
    g->drawBuffer = &g->frontBuffer;
    g->procs.store = g->procs.cfbStore = Record;  // no test: the clip box applies
    g->state.point.aliasedSize = 1;
    SetClipBox(-1000, -1000, 1000, 1000);
    gStored.clear();
  }
  GlContext *gc() const { return ctx_.gc(); }
  void SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t *box = gc()->transform.clipBox;
    box[0] = x0 + kBias, box[1] = y0 + kBias, box[2] = x1 + kBias, box[3] = y1 + kBias;
  }
  static GlVertex Vertex(double x, double y, GlColor c = {0.25f, 0.5f, 0.75f, 1.0f}) {
    GlVertex v{};
    v.window = {float(x + kBias), float(y + kBias), 0.5f, 1.0f};
    v.colors[0] = c;
    v.texture = {0.5f, 0.5f, 0.0f, 2.0f};
    return v;
  }

 private:
  ServiceContext ctx_;
};

std::vector<std::pair<int32_t, int32_t>> Pixels() {
  std::vector<std::pair<int32_t, int32_t>> p;
  for (const Stored &s : gStored) p.push_back({s.x, s.y});
  return p;
}

TEST(AliasedPoints, FootprintsOfSizesOneToTenAtFractionalPositions) {
  const double positions[][2] = {{10.7, 3.2}, {10.5, 3.5}, {10.0, 3.0}, {10.49, 3.51}, {0.1, 0.9}};
  for (const auto &pos : positions) {
    for (int32_t size = 1; size <= 10; size++) {
      PointContext ctx;
      ctx.gc()->state.point.aliasedSize = size;
      GlVertex v = PointContext::Vertex(pos[0], pos[1]);
      v.color = &v.colors[0];
      (size == 1 ? __glRenderAliasedPoint1_NoTex : __glRenderAliasedPointN)(ctx.gc(), &v);
      // Odd sizes centre on the pixel holding the point, even ones on the
      // nearest pixel corner.
      const int32_t h = size / 2;
      const int32_t x0 = (size & 1 ? int32_t(floor(pos[0])) : int32_t(floor(pos[0] + 0.5))) - h;
      const int32_t y0 = (size & 1 ? int32_t(floor(pos[1])) : int32_t(floor(pos[1] + 0.5))) - h;
      std::vector<std::pair<int32_t, int32_t>> want;
      for (int32_t y = y0; y < y0 + size; y++)
        for (int32_t x = x0; x < x0 + size; x++) want.push_back({x, y});
      EXPECT_EQ(Pixels(), want) << "size " << size << " at " << pos[0] << ", " << pos[1];
    }
  }
}

TEST(AliasedPoints, NothingOutsideTheClipBoxAtAndPastTheEdges) {
  for (int32_t size = 1; size <= 6; size++) {
    for (double x : {-3.0, -0.5, 0.0, 0.3, 31.7, 32.0, 32.5, 35.0}) {
      for (double y : {-0.2, 0.0, 10.0, 23.9, 24.0}) {
        PointContext ctx;
        ctx.SetClipBox(0, 0, 32, 24);
        ctx.gc()->state.point.aliasedSize = size;
        GlVertex v = PointContext::Vertex(x, y);
        v.color = &v.colors[0];
        for (auto proc : {__glRenderAliasedPoint1_NoTex, __glRenderAliasedPoint1,
                          __glRenderAliasedPointN, __glRenderAntiAliasedRGBPoint}) {
          ctx.gc()->state.point.smoothSize = float(size);
          gStored.clear();
          proc(ctx.gc(), &v);
          for (const Stored &s : gStored)
            EXPECT_TRUE(s.x >= 0 && s.x < 32 && s.y >= 0 && s.y < 24)
                << "size " << size << " at " << x << ", " << y << ": " << s.x << ", " << s.y;
        }
      }
    }
  }
}

// Coverage by an independent sampler: 4 x 4 samples at the pixel centre
// plus -3/8, -1/8, 1/8, 3/8, inside or on the circle.
double Sampled(double px, double py, double cx, double cy, double r) {
  int n = 0;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++) {
      const double sx = px + 0.5 - 0.375 + 0.25 * i - cx, sy = py + 0.5 - 0.375 + 0.25 * j - cy;
      n += sx * sx + sy * sy <= r * r;
    }
  return n / 16.0;
}

TEST(AntialiasedPoints, CoverageOfTheDiscSampledAtPixelCentres) {
  const double positions[][2] = {{10.5, 3.5}, {10.7, 3.2}, {10.0, 3.0}, {5.25, 7.75}};
  for (const auto &pos : positions) {
    for (float size : {1.0f, 1.5f, 2.0f, 3.0f, 4.5f, 7.0f}) {
      PointContext ctx;
      ctx.gc()->polygon.shader.modeFlags = __GL_SHADE_RGB;
      ctx.gc()->state.point.smoothSize = size;
      GlVertex v = PointContext::Vertex(pos[0], pos[1], {0.1f, 0.2f, 0.3f, 0.8f});
      v.color = &v.colors[0];
      __glRenderAntiAliasedRGBPoint(ctx.gc(), &v);
      std::map<std::pair<int32_t, int32_t>, double> got;
      for (const Stored &s : gStored) {
        EXPECT_GT(s.color.a, 0.0f);
        got[{s.x, s.y}] = s.color.a / 0.8f;
      }
      for (int32_t y = int32_t(pos[1]) - 6; y <= int32_t(pos[1]) + 6; y++)
        for (int32_t x = int32_t(pos[0]) - 6; x <= int32_t(pos[0]) + 6; x++) {
          const double want = Sampled(x, y, pos[0], pos[1], size / 2.0);
          const auto it = got.find({x, y});
          const double have = it == got.end() ? 0.0 : it->second;
          EXPECT_NEAR(have, want, 1e-6) << "size " << size << " pixel " << x << ", " << y;
        }
    }
  }
  // A size-1 point on a pixel centre covers 12/16 of that pixel only.
  PointContext ctx;
  ctx.gc()->state.point.smoothSize = 1.0f;
  GlVertex v = PointContext::Vertex(4.5, 4.5, {0, 0, 0, 1});
  v.color = &v.colors[0];
  __glRenderAntiAliasedRGBPoint(ctx.gc(), &v);
  ASSERT_EQ(gStored.size(), 1u);
  EXPECT_EQ(gStored[0].x, 4);
  EXPECT_FLOAT_EQ(gStored[0].color.a, 0.75f);
}

TEST(AntialiasedPoints, ColourIndexCoverageInTheLowFourBits) {
  EXPECT_EQ(__glBuildAntiAliasIndex(37.0f, 1.0f), 47.0f);
  EXPECT_EQ(__glBuildAntiAliasIndex(37.0f, 0.5f), 40.0f);
  EXPECT_EQ(__glBuildAntiAliasIndex(37.9f, 0.0625f), 33.0f);
  PointContext ctx;
  ctx.gc()->state.point.smoothSize = 6.0f;
  GlVertex v = PointContext::Vertex(10.5, 10.5, {37.0f, 0, 0, 0});
  v.color = &v.colors[0];
  __glRenderAntiAliasedCIPoint(ctx.gc(), &v);
  ASSERT_FALSE(gStored.empty());
  for (const Stored &s : gStored) {
    const double c = Sampled(s.x, s.y, 10.5, 10.5, 3.0);
    EXPECT_EQ(s.color.r, float(32 | int(c * 15 + 0.5))) << s.x << ", " << s.y;
  }
}

GlColor gTextured{0.9f, 0.8f, 0.7f, 0.6f};
float gS, gT, gRho;
void Texture(GlContext *, GlColor *c, GLfloat s, GLfloat t, GLfloat rho) {
  gS = s, gT = t, gRho = rho;
  *c = gTextured;
}

TEST(AliasedPoints, TexturedPointPassesProjectedCoordinatesAndRhoOne) {
  PointContext ctx;
  ctx.gc()->polygon.shader.modeFlags = __GL_SHADE_TEXTURE | __GL_SHADE_RGB;
  ctx.gc()->procs.texture = Texture;
  GlVertex v = PointContext::Vertex(3.5, 3.5);
  v.color = &v.colors[0];
  __glRenderAliasedPoint1(ctx.gc(), &v);
  ASSERT_EQ(gStored.size(), 1u);
  EXPECT_FLOAT_EQ(gS, 0.25f);
  EXPECT_FLOAT_EQ(gT, 0.25f);
  EXPECT_FLOAT_EQ(gRho, 1.0f);
  EXPECT_FLOAT_EQ(gStored[0].color.r, gTextured.r);
}

GLfloat gFogSeen;
void FogColor(GlContext *, GlColor *out, const GlColor *in, GLfloat fog) {
  gFogSeen = fog;
  *out = {in->r * fog, in->g * fog, in->b * fog, in->a};
}

TEST(FlatFogPoints, PerVertexFactorAndPerFragmentFromEyeZ) {
  for (bool nicest : {false, true}) {
    PointContext ctx;
    GlContext *gc = ctx.gc();
    gc->procs.fogColor = FogColor;
    gc->procs.renderPointUnfogged = __glRenderAliasedPoint1_NoTex;
    gc->state.fog.mode = GL_LINEAR;
    gc->state.fog.end = 10.0f;
    gc->state.fog.oneOverEMinusS = 0.1f;
    gc->polygon.shader.modeFlags = nicest ? __GL_SHADE_FRAGMENT_FOG : 0;
    GlVertex v = PointContext::Vertex(2.5, 2.5, {1, 1, 1, 1});
    v.color = &v.colors[0];
    v.fog = 0.25f;
    v.eye.z = -4.0f;
    __glRenderFlatFogPoint(gc, &v);
    ASSERT_EQ(gStored.size(), 1u);
    const float want = nicest ? 0.6f : 0.25f;
    EXPECT_FLOAT_EQ(gFogSeen, want);
    EXPECT_FLOAT_EQ(gStored[0].color.r, want);
    EXPECT_EQ(v.color, &v.colors[0]);
  }
}

TEST(Points, VertexUnchangedAndNonFiniteCoordinatesDrawNothing) {
  const double inf = 1.0 / 0.0, nan = inf - inf;
  for (auto proc : {__glRenderAliasedPoint1_NoTex, __glRenderAliasedPoint1,
                    __glRenderAliasedPointN, __glRenderAntiAliasedRGBPoint,
                    __glRenderAntiAliasedCIPoint}) {
    for (double x : {3.3, nan, inf, -inf, 1e12}) {
      PointContext ctx;
      ctx.gc()->state.point.aliasedSize = 3;
      ctx.gc()->state.point.smoothSize = 3.0f;
      GlVertex v = PointContext::Vertex(x, 2.7);
      v.color = &v.colors[0];
      GlVertex before;
      memcpy(&before, &v, sizeof v);
      proc(ctx.gc(), &v);
      EXPECT_EQ(memcmp(&before, &v, sizeof v), 0);
      if (!(x == 3.3)) EXPECT_TRUE(gStored.empty()) << x;
      else EXPECT_FALSE(gStored.empty());
    }
  }
}

}  // namespace
