// Lighting validation against a double-precision model: the enabled-light
// list, every light cache, both material caches, the front base colour, the
// object-space vectors and the table references, over random states in
// RGBA and colour-index contexts, on one context so that every state also
// replaces the one before it; and what a model-view change refreshes.
#include <string.h>

#include <gtest/gtest.h>

#include "geometry/s_lcache.h"
#include "geometry/s_lighting.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/light_model.h"
#include "tests/geometry/lighting/light_random.h"

namespace {

const char *const kParts[3] = {"ambient", "diffuse", "specular"};

void ExpectVector(const GlCoord &got, const double want[3], double tolerance, const char *what) {
  SCOPED_TRACE(what);
  EXPECT_TRUE(Near(got.x, want[0], tolerance)) << got.x << " vs " << want[0];
  EXPECT_TRUE(Near(got.y, want[1], tolerance)) << got.y << " vs " << want[1];
  EXPECT_TRUE(Near(got.z, want[2], tolerance)) << got.z << " vs " << want[2];
}

void ExpectLight(const LightContext &ctx, const ModelLight &ml) {
  SCOPED_TRACE(testing::Message() << "light " << ml.index);
  const GlContext *gc = ctx.gc();
  const GlLightCache &lc = ctx.cache(ml.index);
  const GlLight &l = ctx.light(ml.index);
  EXPECT_EQ(lc.source, &l);
  EXPECT_EQ(memcmp(&lc.position, &l.positionEye, sizeof lc.position), 0);
  EXPECT_EQ(lc.constantAttenuation, l.constantAttenuation);
  EXPECT_EQ(lc.linearAttenuation, l.linearAttenuation);
  EXPECT_EQ(lc.quadraticAttenuation, l.quadraticAttenuation);
  if (ml.hasReciprocal) {
    EXPECT_TRUE(Near(lc.attenuation, ml.reciprocal));
  }
  EXPECT_EQ(lc.isSpot, ml.spot);
  if (ml.spot) {
    EXPECT_TRUE(Near(lc.cosCutOffAngle, ml.cosCutOff, 1e-6)) << lc.cosCutOffAngle;
    ASSERT_NE(lc.spotLut, nullptr);
    EXPECT_EQ(lc.spotLut->exponent, l.spotLightExponent);
    EXPECT_EQ(lc.spotLightExponent, l.spotLightExponent);
    EXPECT_EQ(lc.spotTable, lc.spotLut->table);
    EXPECT_TRUE(Near(lc.spotThreshold, ml.spotThreshold, 1e-6));
    EXPECT_TRUE(Near(lc.spotScale, ModelScale(l.spotLightExponent), 1e-5));
  }
  EXPECT_EQ(lc.slowPath, ml.slow);
  if (!ml.slow) {
    ExpectVector(lc.unitVPpli, ml.toLight, 1e-5, "direction to the light");
    // The unit L carries the error of the fast normalisation (a few parts
    // in a million); L + (0, 0, 1) magnifies it when L points away.
    const double halfTolerance = 1e-5 / (ml.halfLength > 1e-3 ? ml.halfLength : 1e-3);
    ExpectVector(lc.hHat, ml.half, halfTolerance, "half vector");
    EXPECT_EQ(lc.unitVPpli.w, 0.0f);
    EXPECT_EQ(lc.hHat.w, 0.0f);
    if (gc->state.enables.general & __GL_LIGHTING_ENABLE) {
      ExpectVector(lc.unitVPpliObj, ml.toLightObj, 1e-4, "object-space direction");
      ExpectVector(lc.hHatObj, ml.halfObj, 10 * halfTolerance, "object-space half vector");
    }
  }
  if (gc->modes.colorIndexMode) {
    EXPECT_TRUE(Near(lc.sli, ml.specularLuminance));
    EXPECT_TRUE(Near(lc.dli, ml.diffuseLuminance));
  }
  for (int face = 0; face < 2; face++) {
    const GlRGB *parts[3] = {&lc.face[face].ambient, &lc.face[face].diffuse,
                             &lc.face[face].specular};
    for (int p = 0; p < 3; p++) {
      SCOPED_TRACE(testing::Message() << "face " << face << " " << kParts[p]);
      const double *want = ml.products[face][p];
      EXPECT_TRUE(Near(parts[p]->r, want[0]) && Near(parts[p]->g, want[1]) &&
                  Near(parts[p]->b, want[2]))
          << parts[p]->r << " " << parts[p]->g << " " << parts[p]->b << " vs " << want[0] << " "
          << want[1] << " " << want[2];
    }
  }
}

void ExpectFace(const LightContext &ctx, int face, const ModelFace &mf) {
  SCOPED_TRACE(testing::Message() << "material face " << face);
  const GlMaterialCache &mc = ctx.materialCache(face);
  const GlMaterial &m = ctx.material(face);
  for (int c = 0; c < 3; c++) EXPECT_TRUE(Near((&mc.sceneColor.r)[c], mf.scene[c])) << c;
  EXPECT_TRUE(Near(mc.alpha, mf.alpha));
  EXPECT_TRUE(Near(mc.ddsIndex[0], mf.indexDiff[0]));
  EXPECT_TRUE(Near(mc.ddsIndex[1], mf.indexDiff[1]));
  EXPECT_EQ(mc.specularExponent, m.specularExponent);
  ASSERT_NE(mc.specLut, nullptr);
  EXPECT_EQ(mc.specLut->exponent, m.specularExponent);
  EXPECT_EQ(mc.specTable, mc.specLut->table);
  EXPECT_TRUE(Near(mc.threshold, mf.threshold, 1e-6));
  EXPECT_TRUE(Near(mc.scale, mf.scale, 1e-5));
  EXPECT_EQ(mc.indexOffsetSource, &m.indexOffset) << "index material is off";
}

void ExpectMatchesModel(const LightContext &ctx) {
  const LightModel model = ComputeModel(ctx.gc());
  std::vector<int> want;
  for (const ModelLight &ml : model.lights) want.push_back(ml.index);
  ASSERT_EQ(ctx.enabledList(), want) << "enabled lights in index order";
  for (const ModelLight &ml : model.lights) ExpectLight(ctx, ml);
  for (int face = 0; face < 2; face++) ExpectFace(ctx, face, model.face[face]);
  const GlRGB &base = ctx.gc()->light.baseColor;
  EXPECT_TRUE(Near(base.r, model.base[0]) && Near(base.g, model.base[1]) &&
              Near(base.b, model.base[2]))
      << base.r << " " << base.g << " " << base.b;
  ctx.expectTableReferencesBalanced();
}

struct CrossCheck {
  const char *what;
  LightSetup setup;
  double lightingOff;  // the share of states validated with lighting disabled
};

TEST(LightCaches, MatchADoublePrecisionModelOverRandomStates) {
  LightSetup rgba, ci, odd;
  ci.colorIndex = true;
  odd.red = 31, odd.green = 63, odd.blue = 15, odd.alpha = 1;
  const CrossCheck cases[] = {
      {"RGBA", rgba, 0.1},
      {"colour index", ci, 0.1},
      {"RGBA with unequal scales", odd, 0.0},
  };
  for (const CrossCheck &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx(c.setup);
    RandomLighting random(12345);
    for (int round = 0; round < 300 && !testing::Test::HasFailure(); round++) {
      SCOPED_TRACE(testing::Message() << "round " << round);
      random.Fill(ctx);
      ctx.setEnable(__GL_LIGHTING_ENABLE, !random.Chance(c.lightingOff));
      ctx.validate();
      ExpectMatchesModel(ctx);
    }
  }
}

TEST(LightCaches, ModelViewChangeRefreshesOnlyTheObjectSpaceVectors) {
  LightContext ctx;
  RandomLighting random(7);
  random.Fill(ctx);
  ctx.setLights(0xFF);
  for (int i = 0; i < 8; i++) {  // every light fast
    ctx.light(i).positionEye.w = 0.0f;
    ctx.light(i).spotLightCutOffAngle = 180.0f;
  }
  ctx.gc()->state.light.model.localViewer = 0;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.validate();

  // A new modelview, and light state changed behind validation's back: only
  // the vectors carried through the modelview may follow.
  GlLightCache before = ctx.cache(3);
  ctx.light(3).positionEye.x += 5.0f;
  const GLfloat m[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1};
  ctx.setModelView(m);
  __glValidateLightingModelView(ctx.gc());
  const GlLightCache &after = ctx.cache(3);
  EXPECT_EQ(memcmp(&after.unitVPpli, &before.unitVPpli, sizeof before.unitVPpli), 0);
  EXPECT_EQ(memcmp(&after.position, &before.position, sizeof before.position), 0);
  // The inverse of m takes eye (x, y, z) to object (y, -x, z / 2).
  const GlCoord &l = before.unitVPpli, &o = after.unitVPpliObj;
  EXPECT_NEAR(o.x, l.y, 1e-6);
  EXPECT_NEAR(o.y, -l.x, 1e-6);
  EXPECT_NEAR(o.z, l.z / 2, 1e-6);
  EXPECT_EQ(o.w, 0.0f);
  EXPECT_EQ(ctx.gc()->transform.modelView->stale, 0) << "inverse transpose brought up to date";
}

TEST(LightCaches, ObjectSpaceVectorsWaitWhileLightingIsOff) {
  LightContext ctx;
  ctx.setLights(0x1);
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.validate();
  const GlLightCache before = ctx.cache(0);
  ctx.setEnable(__GL_LIGHTING_ENABLE, false);
  const GLfloat m[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
  ctx.setModelView(m);
  __glValidateLightingModelView(ctx.gc());
  EXPECT_EQ(memcmp(&ctx.cache(0).unitVPpliObj, &before.unitVPpliObj, sizeof(GlCoord)), 0);
  EXPECT_EQ(ctx.gc()->transform.modelView->stale, 1);
}

TEST(LightCaches, EmissionMovesTheBaseColourAndKeepsEveryAmbient) {
  LightContext ctx;
  RandomLighting random(99);
  random.Fill(ctx);
  GlMaterial &front = ctx.material(__GL_FRONTFACE);
  front.emissive = GlColor{1, 1, 1, 0};
  ctx.gc()->state.light.model.ambient = GlColor{0, 0, 0, 0};
  for (int i = 0; i < 8; i++) ctx.light(i).ambient = GlColor{20, 10, 5, 255};
  front.ambient = GlColor{0.5f, 0.5f, 0.5f, 1};
  ctx.setLights(0x7);
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.validate();
  const GlRGB before = ctx.gc()->light.baseColor;
  EXPECT_FLOAT_EQ(before.r, 1 + 3 * 10.0f);
  front.emissive = GlColor{41, 21, 11, 0};
  __glValidateMaterial(ctx.gc(), __GL_MATERIAL_EMISSIVE, 0);
  const GlRGB &after = ctx.gc()->light.baseColor;
  EXPECT_FLOAT_EQ(after.r, 41 + 3 * 10.0f);
  EXPECT_FLOAT_EQ(after.g, 21 + 3 * 5.0f);
  EXPECT_FLOAT_EQ(after.b, 11 + 3 * 2.5f);
  ExpectMatchesModel(ctx);
}

}  // namespace
