// Lighting validation against a double-precision model: the enabled-light
// list, every light cache, both material caches, the front base colour, the
// object-space vectors and the table references, over random states in
// RGBA and colour-index contexts, on one context so that every state also
// replaces the one before it.
#include <float.h>
#include <math.h>
#include <string.h>

#include <gtest/gtest.h>

#include "geometry/s_lcache.h"
#include "geometry/s_lighting.h"
#include "tests/lighting/light_fixture.h"
#include "tests/lighting/light_model.h"
#include "tests/lighting/light_random.h"
#include "tests/support/counting_imports.h"

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

// The written edge cases of validation, each a state and what must follow.
TEST(LightCaches, NoEnabledLightLeavesTheSceneColourAndDiffuseAlpha) {
  LightContext ctx;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  GlMaterial &front = ctx.material(__GL_FRONTFACE);
  front.emissive = GlColor{300.0f, -20.0f, 10.0f, 0.0f};  // scaled, outside the range
  front.diffuse.a = 0.25f;
  ctx.setLights(0);
  ctx.validate();
  EXPECT_EQ(ctx.gc()->light.sources, nullptr);
  const GlRGB &base = ctx.gc()->light.baseColor;
  // Light-model ambient 0.2 x 255 times material ambient 0.2, plus emission.
  const float ambient = 0.2f * 255.0f * 0.2f;
  EXPECT_EQ(base.r, 255.0f);
  EXPECT_EQ(base.g, 0.0f);
  EXPECT_FLOAT_EQ(base.b, ambient + 10.0f);
  EXPECT_EQ(ctx.materialCache(__GL_FRONTFACE).alpha, 0.25f * 255.0f);
}

TEST(LightCaches, SlowFlagFollowsPositionSpotAndViewer) {
  struct Case {
    const char *what;
    GLfloat w, cutoff;
    uint8_t localViewer;
    uint8_t slow;
  } cases[] = {
      {"directional, no spot, infinite viewer", 0.0f, 180.0f, 0, 0},
      {"positional", 1.0f, 180.0f, 0, 1},
      {"negative zero w is directional", -0.0f, 180.0f, 0, 0},
      {"spot", 0.0f, 45.0f, 0, 1},
      {"spot cut off at 90", 0.0f, 90.0f, 0, 1},
      {"local viewer", 0.0f, 180.0f, 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.setLights(0x5);
    ctx.light(2).positionEye.w = c.w;
    ctx.light(2).spotLightCutOffAngle = c.cutoff;
    ctx.gc()->state.light.model.localViewer = c.localViewer;
    ctx.validate();
    EXPECT_EQ(ctx.cache(2).slowPath, c.slow);
    EXPECT_EQ(ctx.cache(0).slowPath, c.localViewer) << "light 0 only follows the viewer";
  }
}

TEST(LightCaches, DegenerateDirectionsGiveFiniteVectors) {
  struct Case {
    const char *what;
    GlCoord position;
    GLfloat toLightZ, halfZ;  // x and y stay 0
  } cases[] = {
      // L + (0, 0, 1) is nothing but the normalisation's error: the half
      // vector still comes out finite and along z.
      {"straight behind", {0, 0, -3, 0}, -1.0f, 1.0f},
      {"at the eye", {0, 0, 0, 0}, 0.0f, 1.0f},
      {"straight ahead", {0, 0, 5, 0}, 1.0f, 1.0f},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.setLights(0x1);
    ctx.light(0).positionEye = c.position;
    ctx.validate();
    const GlLightCache &lc = ctx.cache(0);
    EXPECT_EQ(lc.unitVPpli.x, 0.0f);
    EXPECT_NEAR(lc.unitVPpli.z, c.toLightZ, 1e-5);
    EXPECT_EQ(lc.hHat.x, 0.0f);
    EXPECT_TRUE(isfinite(lc.hHat.z));
    EXPECT_NEAR(lc.hHat.z, c.halfZ, 1e-5);
    EXPECT_TRUE(isfinite(lc.hHatObj.z) && isfinite(lc.unitVPpliObj.z));
  }
}

TEST(LightCaches, ResetSpotDirectionReachesTheCache) {
  LightContext ctx;
  for (int i = 0; i < 8; i++) {
    SCOPED_TRACE(i);
    const GLfloat *d = ctx.cache(i).direction;
    EXPECT_EQ(d[0], 0.0f);
    EXPECT_EQ(d[1], 0.0f);
    EXPECT_EQ(d[2], -1.0f);
  }
}

TEST(LightCaches, ConstantAttenuationOfZeroKeepsTheLastReciprocal) {
  struct Step {
    GLfloat constant, reciprocal;
  } steps[] = {{2.0f, 0.5f}, {0.0f, 0.5f}, {4.0f, 0.25f}};
  LightContext ctx;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.setLights(0x1);
  for (const Step &s : steps) {
    SCOPED_TRACE(s.constant);
    ctx.light(0).constantAttenuation = s.constant;
    ctx.validate();
    EXPECT_EQ(ctx.cache(0).attenuation, s.reciprocal);
    EXPECT_EQ(ctx.cache(0).constantAttenuation, s.constant);
  }
}

TEST(LightCaches, SpotExponentWithoutSpotBuildsNoTable) {
  LightContext ctx;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.setLights(0x1);
  ctx.validate();
  const int32_t tables = ctx.gc()->light.lutCache->count;
  ctx.light(0).spotLightExponent = 33.0f;
  ctx.validate();
  EXPECT_EQ(ctx.cache(0).spotLut, nullptr);
  EXPECT_EQ(ctx.gc()->light.lutCache->count, tables);
  // Once it is a spot, the table of its exponent comes.
  ctx.light(0).spotLightCutOffAngle = 30.0f;
  ctx.validate();
  ASSERT_NE(ctx.cache(0).spotLut, nullptr);
  EXPECT_EQ(ctx.cache(0).spotLut->exponent, 33.0f);
  // Back to no spot: the table is kept until the light is a spot again.
  GlSpecLUT *held = ctx.cache(0).spotLut;
  ctx.light(0).spotLightCutOffAngle = 180.0f;
  ctx.validate();
  EXPECT_EQ(ctx.cache(0).spotLut, held);
  ctx.expectTableReferencesBalanced();
}

TEST(LightCaches, SameShininessKeepsTheHeldTable) {
  LightContext ctx;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.material(__GL_FRONTFACE).specularExponent = 20.0f;
  ctx.validate();
  GlSpecLUT *held = ctx.materialCache(__GL_FRONTFACE).specLut;
  ASSERT_NE(held, nullptr);
  const int32_t references = held->refcount;
  const int allocations = CountingImports::allocations();
  __glValidateMaterial(ctx.gc(), __GL_MATERIAL_SHININESS, 0);
  EXPECT_EQ(ctx.materialCache(__GL_FRONTFACE).specLut, held);
  EXPECT_EQ(held->refcount, references);
  EXPECT_EQ(CountingImports::allocations(), allocations);
}

TEST(LightCaches, DisabledLightKeepsItsTables) {
  LightContext ctx;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.setLights(0x2);
  ctx.light(1).spotLightCutOffAngle = 10.0f;
  ctx.light(1).spotLightExponent = 5.0f;
  ctx.validate();
  GlSpecLUT *held = ctx.cache(1).spotLut;
  ASSERT_NE(held, nullptr);
  ctx.setLights(0);
  ctx.validate();
  EXPECT_EQ(ctx.cache(1).spotLut, held);
  ctx.expectTableReferencesBalanced();
  // Destruction gives it back (the fixture checks every block).
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

TEST(LightCaches, MaterialMasksRebuildOnlyWhatTheyName) {
  struct Case {
    const char *what;
    uint32_t front, back;
    bool scene, alpha, indexes, frontProducts, backProducts, base;
  } cases[] = {
      {"ambient", __GL_MATERIAL_AMBIENT, 0, true, false, false, true, false, true},
      {"diffuse", __GL_MATERIAL_DIFFUSE, 0, false, true, false, true, false, false},
      {"specular alone", __GL_MATERIAL_SPECULAR, 0, false, false, false, true, false, false},
      {"emission", __GL_MATERIAL_EMISSIVE, 0, true, false, false, false, false, true},
      {"indexes", __GL_MATERIAL_COLORINDEXES, 0, false, false, true, false, false, false},
      {"back ambient", 0, __GL_MATERIAL_AMBIENT, false, false, false, false, true, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    RandomLighting random(5);
    random.Fill(ctx);
    ctx.setLights(0x1);
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.validate();
    // Every input changes; only the masked outputs may follow.
    const GlMaterialCache front = ctx.materialCache(__GL_FRONTFACE);
    const GlMaterialCache back = ctx.materialCache(__GL_BACKFACE);
    const GlLightCache light = ctx.cache(0);
    const GlRGB base = ctx.gc()->light.baseColor;
    for (int face = 0; face < 2; face++) {
      GlMaterial &m = ctx.material(face);
      m.ambient = m.diffuse = m.specular = GlColor{0.3f, 0.4f, 0.5f, 0.6f};
      m.emissive = GlColor{7, 8, 9, 0};
      m.cmapa = 1, m.cmapd = 2, m.cmaps = 3;
    }
    __glValidateMaterial(ctx.gc(), c.front, c.back);
    const GlMaterialCache &nf = ctx.materialCache(__GL_FRONTFACE);
    const GlMaterialCache &nb = ctx.materialCache(__GL_BACKFACE);
    EXPECT_EQ(memcmp(&nf.sceneColor, &front.sceneColor, sizeof(GlRGB)) != 0, c.scene);
    EXPECT_EQ(nf.alpha != front.alpha, c.alpha);
    EXPECT_EQ(nf.ddsIndex[0] != front.ddsIndex[0], c.indexes);
    EXPECT_EQ(memcmp(&ctx.cache(0).face[0], &light.face[0], sizeof light.face[0]) != 0,
              c.frontProducts);
    EXPECT_EQ(memcmp(&ctx.cache(0).face[1], &light.face[1], sizeof light.face[1]) != 0,
              c.backProducts);
    EXPECT_EQ(memcmp(&ctx.gc()->light.baseColor, &base, sizeof base) != 0, c.base);
    EXPECT_EQ(memcmp(&nb.sceneColor, &back.sceneColor, sizeof(GlRGB)) != 0,
              (c.back & __GL_MATERIAL_AMBIENT) != 0);
  }
}

TEST(LightCaches, TableRefusedDropsTheTermAndIsAskedForAgain) {
  struct Case {
    const char *what;
    bool spot;  // else the front specular table
  } cases[] = {{"specular", false}, {"spot", true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.setLights(0x1);
    ctx.validate();
    if (c.spot) {
      ctx.light(0).spotLightCutOffAngle = 20.0f;
      ctx.light(0).spotLightExponent = 17.0f;
    } else {
      ctx.material(__GL_FRONTFACE).specularExponent = 17.0f;
    }
    CountingImports::failAllocation(1);
    ctx.validate();
    CountingImports::failAllocation(0);
    GlSpecLUT *lut = c.spot ? ctx.cache(0).spotLut : ctx.materialCache(0).specLut;
    const GLfloat *entries = c.spot ? ctx.cache(0).spotTable : ctx.materialCache(0).specTable;
    GLfloat threshold = c.spot ? ctx.cache(0).spotThreshold : ctx.materialCache(0).threshold;
    GLfloat scale = c.spot ? ctx.cache(0).spotScale : ctx.materialCache(0).scale;
    EXPECT_EQ(lut, nullptr);
    ASSERT_NE(entries, nullptr);
    EXPECT_EQ(entries[0], 0.0f);
    EXPECT_EQ(entries[255], 0.0f);
    EXPECT_EQ(threshold, FLT_MAX) << "no cosine passes";
    EXPECT_EQ(scale, 0.0f);
    ctx.expectTableReferencesBalanced();

    ctx.validate();
    lut = c.spot ? ctx.cache(0).spotLut : ctx.materialCache(0).specLut;
    ASSERT_NE(lut, nullptr) << "the next validation asks again";
    EXPECT_EQ(lut->exponent, 17.0f);
    ctx.expectTableReferencesBalanced();
  }
}

TEST(IndexMaterial, OffsetSourceFollowsTheEnableAndFace) {
  struct Case {
    const char *what;
    bool enabled;
    GLenum face;
    bool frontFromIndex, backFromIndex;
  } cases[] = {
      {"off", false, GL_FRONT_AND_BACK, false, false},
      {"front", true, GL_FRONT, true, false},
      {"back", true, GL_BACK, false, true},
      {"both", true, GL_FRONT_AND_BACK, true, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightSetup setup;
    setup.colorIndex = true;
    LightContext ctx(setup);
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.validate();
    // The enable marks only the generic bit: validation without the
    // lighting bit must still move the sources.
    ctx.setEnable(__GL_INDEX_MATERIAL_ENABLE, c.enabled);
    ctx.gc()->state.light.indexMaterialFace = c.face;
    ctx.gc()->dirtyMask = __GL_DIRTY_GENERIC;
    __glValidateLighting(ctx.gc());
    GLfloat *index = &ctx.gc()->state.current.index;
    EXPECT_EQ(ctx.materialCache(0).indexOffsetSource,
              c.frontFromIndex ? index : &ctx.material(0).indexOffset);
    EXPECT_EQ(ctx.materialCache(1).indexOffsetSource,
              c.backFromIndex ? index : &ctx.material(1).indexOffset);
  }
}

}  // namespace
