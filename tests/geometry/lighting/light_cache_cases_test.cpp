// Edge cases of lighting validation, each a state and what must follow: the
// slow flag, degenerate directions, attenuation, the power tables the caches
// hold, the material masks and the index-offset sources.
#include <float.h>
#include <math.h>
#include <string.h>

#include <gtest/gtest.h>

#include "geometry/s_lcache.h"
#include "geometry/s_lighting.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/light_random.h"
#include "tests/geometry/lighting/lit_support.h"
#include "tests/support/counting_imports.h"

namespace {

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

TEST(LightCaches, TableRefusedKeepsTheOldTableAndIsAskedForAgain) {
  struct Case {
    const char *what;
    bool spot;        // else the front specular table
    bool heldBefore;  // a table of another exponent is held when the new one is refused
  } cases[] = {
      {"specular, held before", false, true},
      {"spot, held before", true, true},
      {"spot, none held before", true, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    GlContext *gc = ctx.gc();
    CurrentContext current(gc);  // a refused table is reported to it
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.setLights(0x1);
    GlLightCache &lc = ctx.cache(0);
    GlMaterialCache &mc = ctx.materialCache(__GL_FRONTFACE);
    GlSpecLUT **held = c.spot ? &lc.spotLut : &mc.specLut;
    GLfloat **entries = c.spot ? &lc.spotTable : &mc.specTable;
    GLfloat *threshold = c.spot ? &lc.spotThreshold : &mc.threshold;
    GLfloat *scale = c.spot ? &lc.spotScale : &mc.scale;
    GLfloat *recorded = c.spot ? &lc.spotLightExponent : &mc.specularExponent;
    if (c.spot && c.heldBefore) {
      ctx.light(0).spotLightCutOffAngle = 20.0f;
      ctx.light(0).spotLightExponent = 5.0f;
    }
    ctx.validate();
    GlSpecLUT *before = *held;
    ASSERT_EQ(before != nullptr, c.heldBefore);
    const GLfloat exponentBefore = *recorded;

    if (c.spot) {
      ctx.light(0).spotLightCutOffAngle = 20.0f;
      ctx.light(0).spotLightExponent = 17.0f;
    } else {
      ctx.material(__GL_FRONTFACE).specularExponent = 17.0f;
    }
    CountingImports::failAllocation(1);
    ctx.validate();
    CountingImports::failAllocation(0);
    EXPECT_EQ(gc->error, GLenum(GL_OUT_OF_MEMORY));
    EXPECT_EQ(*held, before);
    EXPECT_EQ(*recorded, exponentBefore) << "the exponent asked for is not recorded as held";
    if (before) {
      EXPECT_EQ(*entries, before->table);
      EXPECT_EQ(*threshold, before->threshold);
      EXPECT_EQ(*scale, before->scale);
    } else {
      ASSERT_NE(*entries, nullptr);
      EXPECT_EQ((*entries)[0], 0.0f);
      EXPECT_EQ((*entries)[255], 0.0f);
      EXPECT_EQ(*threshold, FLT_MAX) << "no argument passes";
      EXPECT_EQ(*scale, 0.0f);
    }
    ctx.expectTableReferencesBalanced();

    gc->error = GL_NO_ERROR;
    ctx.validate();
    EXPECT_EQ(gc->error, GLenum(GL_NO_ERROR));
    ASSERT_NE(*held, nullptr) << "the next validation asks again";
    EXPECT_EQ((*held)->exponent, 17.0f);
    EXPECT_EQ(*recorded, 17.0f);
    EXPECT_EQ(*entries, (*held)->table);
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
