// what_needs over its inputs, and the generated lighting of the front colour
// against a double-precision model of infinite lights in object space.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <vector>

#include "codegen/og_geom.h"
#include "raster/s_shader.h"
#include "tests/codegen/emitter/og_run_support.h"

namespace {

float gScratch[4];

class GeomLight : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    Defaults();
  }
  void Defaults() {
    lights.assign(3, GlLightCache{});
    gc->light.lightCaches = lights.data();
    transform = {};
    transform.inverseTranspose.matrixType = __GL_MT_IS2D;
    gc->transform.modelView = &transform;
    gc->vertexBuffer.frontNeeds = __GL_HAS_FRONT_COLOR;
    gc->vertexBuffer.baseNeeds = 0x20;
    gc->state.enables.general = __GL_LIGHTING_ENABLE;
    gc->constants.half = 0.5f;
    gc->constants.one = 1.0f;
    gc->constants.redScale = 255.0f;
    gc->constants.greenScale = 255.0f;
    gc->constants.blueScale = 255.0f;
    for (int i = 0; i < 256; i++) table[i] = float(i) / 256.0f;
    table[255] = 7.0f;  // stands out when an index is limited
    GlMaterialCache &mc = gc->light.materialCache[0];
    mc.specTable = table;
    mc.threshold = 0.25f;
    mc.scale = 300.0f;
    mc.alpha = 0.625f;
    gc->light.baseColor = {20.0f, 30.0f, 40.0f};
  }
  // Chains the first `count` lights, each with its own direction, half
  // vector and products.
  void Chain(int count) {
    gc->light.sources = count ? &lights[0] : nullptr;
    for (int i = 0; i < count; i++) {
      GlLightCache &l = lights[size_t(i)];
      l.next = i + 1 < count ? &lights[size_t(i) + 1] : nullptr;
      const float s = float(i);
      l.unitVPpliObj = {0.6f - 0.3f * s, 0.8f, 0.0f + 0.2f * s, 0.0f};
      l.hHatObj = {0.0f, 0.8f - 0.1f * s, 0.6f, 0.0f};
      l.face[0].diffuse = {100.0f + s, 60.0f, 30.0f - s};
      l.face[0].specular = {20.0f, 40.0f + s, 80.0f};
      l.dli = 0.75f - 0.25f * s;
      l.sli = 0.5f + 0.125f * s;
    }
  }
  const void *Lighting() {
    Gen g = Start();
    g.E(push(gc, esi));
    g.E(push(gc, edi));
    g.E(mov(gc, esi, g.Arg(3)));
    g.E(mov(gc, edi, g.Arg(4)));
    auto var = [&](int i) {
      return mem(gc, value(gc, int32_t(uintptr_t(&gScratch[i]))), nullptr, nullptr, 1);
    };
    g.cb = do_light(gc, g.cb, nullptr, nullptr, nullptr, var(0), var(1), var(2), var(3));
    g.E(pop(gc, edi));
    g.E(pop(gc, esi));
    g.E(ret(gc));
    return Done(g);
  }
  GlVertex Run(const float normal[3]) {
    GlVertex v = {};
    v.colors[0] = {-1.0f, -1.0f, -1.0f, -1.0f};
    RunChecked(Lighting(), {uint32_t(uintptr_t(normal)), uint32_t(uintptr_t(&v))});
    return v;
  }
  // The model: base colour plus each light facing the normal, in doubles.
  void Model(const float n[3], double out[3], double *tolerance) {
    const GlMaterialCache &mc = gc->light.materialCache[0];
    const GlRGB &base = gc->light.baseColor;
    double acc[3] = {base.r, base.g, base.b};
    *tolerance = 1e-3;
    const bool single = gc->light.sources && !gc->light.sources->next;
    for (const GlLightCache *l = gc->light.sources; l; l = l->next) {
      const double nl = n[0] * double(l->unitVPpliObj.x) + n[1] * double(l->unitVPpliObj.y) +
                        n[2] * double(l->unitVPpliObj.z);
      if (nl <= 0.0) {
        if (single) break;
        continue;
      }
      const GlRGB &d = l->face[0].diffuse, &s = l->face[0].specular;
      acc[0] += nl * d.r;
      acc[1] += nl * d.g;
      acc[2] += nl * d.b;
      const double t = n[0] * double(l->hHatObj.x) + n[1] * double(l->hHatObj.y) +
                       n[2] * double(l->hHatObj.z) - mc.threshold;
      if (t <= 0.0) continue;
      // The store rounds to nearest: no half is added first.
      const long i = std::min(lrint(t * mc.scale), 255L);
      const double f = table[i];
      acc[0] += f * s.r;
      acc[1] += f * s.g;
      acc[2] += f * s.b;
      // One table step either way where float and double part.
      *tolerance += 80.0 / 256.0;
    }
    const float scales[3] = {gc->constants.redScale, gc->constants.greenScale,
                             gc->constants.blueScale};
    for (int c = 0; c < 3; c++) out[c] = std::min(acc[c], double(scales[c]));
  }

  std::vector<GlLightCache> lights;
  GlTransform transform;
  float table[256];
};

TEST_F(GeomLight, WhatNeedsTruthTable) {
  Chain(2);
  const uint32_t lit = 0x21;
  EXPECT_EQ(what_needs(gc), lit) << "everything allows lighting";
  struct Change {
    const char *name;
    void (*apply)(GlContext *gc);
  } const changes[] = {
      {"a light needs the general procedure",
       [](GlContext *c) { c->light.sources->next->slowPath = 1; }},
      {"two-sided lighting", [](GlContext *c) { c->polygon.shader.modeFlags |= __GL_SHADE_TWOSIDED; }},
      {"lighting off", [](GlContext *c) { c->state.enables.general &= ~__GL_LIGHTING_ENABLE; }},
      {"fog", [](GlContext *c) { c->state.enables.general |= __GL_FOG_ENABLE; }},
      {"normalize", [](GlContext *c) { c->state.enables.general |= __GL_NORMALIZE_ENABLE; }},
      {"a general inverse transpose",
       [](GlContext *c) { c->transform.modelView->inverseTranspose.matrixType = __GL_MT_GENERAL; }},
  };
  for (const Change &c : changes) {
    Defaults();
    gc->polygon.shader.modeFlags = 0;
    Chain(2);
    c.apply(gc);
    EXPECT_EQ(what_needs(gc), 0u) << c.name;
    // Without the front colour nothing is lit, and the needs stand as they are.
    gc->vertexBuffer.frontNeeds = 0x4;
    EXPECT_EQ(what_needs(gc), 0x24u) << c.name;
  }
}

TEST_F(GeomLight, OneLightFacingAwayGivesTheBaseColour) {
  Chain(1);
  gc->light.baseColor = {20.0f, 300.0f, 40.0f};  // green above its scale
  const float away[3] = {-0.6f, -0.8f, 0.0f};
  for (bool alpha : {false, true}) {
    gc->polygon.shader.modeFlags = alpha ? __GL_SHADE_ALPHA : 0;
    const GlVertex v = Run(away);
    EXPECT_EQ(v.colors[0].r, 20.0f);
    EXPECT_EQ(v.colors[0].g, 255.0f);
    EXPECT_EQ(v.colors[0].b, 40.0f);
    EXPECT_EQ(v.colors[0].a, alpha ? 0.625f : -1.0f);
  }
}

TEST_F(GeomLight, LightsAgainstTheModel) {
  const float normals[][3] = {{0.0f, 1.0f, 0.0f},   {0.6f, 0.8f, 0.0f}, {0.0f, 0.6f, 0.8f},
                              {-0.6f, 0.0f, 0.8f},  {0.0f, 0.0f, 1.0f}, {0.36f, 0.48f, 0.8f},
                              {-0.6f, -0.8f, 0.0f}};
  for (int count : {0, 1, 2, 3}) {
    Chain(count);
    for (const auto &n : normals) {
      SCOPED_TRACE(std::to_string(count) + " lights, normal " + std::to_string(n[0]) + " " +
                   std::to_string(n[1]) + " " + std::to_string(n[2]));
      double expect[3], tolerance;
      Model(n, expect, &tolerance);
      const GlVertex v = Run(n);
      EXPECT_NEAR(v.colors[0].r, expect[0], tolerance);
      EXPECT_NEAR(v.colors[0].g, expect[1], tolerance);
      EXPECT_NEAR(v.colors[0].b, expect[2], tolerance);
    }
  }
}

TEST_F(GeomLight, SpecularIndexAboveTheTableReadsItsLastEntry) {
  Chain(1);
  gc->light.materialCache[0].scale = 100000.0f;
  const float n[3] = {0.0f, 0.6f, 0.8f};  // N.L = 0.48, N.H = 0.96
  const GlVertex v = Run(n);
  const GlLightCache &l = lights[0];
  EXPECT_FLOAT_EQ(v.colors[0].r, 20.0f + 0.48f * l.face[0].diffuse.r + 7.0f * l.face[0].specular.r);
  EXPECT_FLOAT_EQ(v.colors[0].g, std::min(30.0f + 0.48f * l.face[0].diffuse.g + 7.0f * l.face[0].specular.g, 255.0f));
}

TEST_F(GeomLight, ColourIndexLimitedAtTheSpecularIndex) {
  gc->modes.colorIndexMode = 1;
  GlMaterial &m = gc->state.light.front;
  m.cmapa = 16.0f;
  m.cmaps = 48.0f;
  GlMaterialCache &mc = gc->light.materialCache[0];
  mc.ddsIndex[0] = 20.0f;  // diffuse - ambient
  mc.ddsIndex[1] = 32.0f;  // specular - ambient
  Chain(1);
  struct Case {
    float n[3];
  } const cases[] = {{{-0.6f, -0.8f, 0.0f}}, {{0.6f, 0.8f, 0.0f}}, {{0.0f, 0.6f, 0.8f}}};
  for (float scale : {300.0f, 100000.0f}) {
    mc.scale = scale;
    for (const Case &c : cases) {
      const double nl = c.n[0] * 0.6 + c.n[1] * 0.8;
      const double t = c.n[1] * 0.8 + c.n[2] * 0.6 - mc.threshold;
      double d = 0, s = 0;
      double index = m.cmapa;
      if (nl > 0) {
        d = nl * lights[0].dli;
        if (t > 0) s = table[std::min(lrint(t * scale), 255L)] * lights[0].sli;
        index = m.cmapa + d * (1 - s) * mc.ddsIndex[0] + s * mc.ddsIndex[1];
      }
      index = std::min(index, double(m.cmaps));
      const GlVertex v = Run(c.n);
      EXPECT_NEAR(v.colors[0].r, index, 0.01 + 32.0 / 256.0) << "scale " << scale << ", n " << c.n[0];
    }
  }
  mc.scale = 100000.0f;
  const float n[3] = {0.0f, 0.6f, 0.8f};
  EXPECT_EQ(Run(n).colors[0].r, 48.0f) << "a specular sum of 3.5 reaches the specular index";
}

}  // namespace
