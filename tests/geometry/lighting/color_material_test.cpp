// Colour material: the picker's table, the patch procedures against a full
// material validation of the same change (every face and mode, lit and
// unlit), the order against vertices already buffered, and the clamp and
// scale of the current colour.
#include <math.h>
#include <string.h>

#include <gtest/gtest.h>

#include <memory>

#include "core/s_nop.h"
#include "geometry/s_lighting.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/light_random.h"
#include "tests/support/counting_imports.h"

namespace {

typedef void (*ChangeProc)(GlContext *, GlMaterial *, GlMaterialCache *);

enum class Target { kFront, kBack, kNone };

struct PickRow {
  const char *what;
  bool colorIndex, colorMaterial, lighting;
  GLenum face, mode;
  GlContextProc apply;
  ChangeProc change;  // checked when the apply procedure patches a material
  Target target;
};

const PickRow kPickRows[] = {
    {"colour index", true, true, true, GL_FRONT, GL_DIFFUSE, __glNop1, nullptr, Target::kNone},
    {"colour index, unlit", true, false, false, GL_FRONT, GL_DIFFUSE, __glNop1, nullptr,
     Target::kNone},
    {"lit, no colour material", false, false, true, GL_FRONT, GL_DIFFUSE, __glNop1, nullptr,
     Target::kNone},
    {"unlit, no colour material", false, false, false, GL_FRONT, GL_DIFFUSE, __glClampAndScaleColor,
     nullptr, Target::kNone},
    {"front diffuse", false, true, true, GL_FRONT, GL_DIFFUSE, __glChangeOneMaterialColor,
     ChangeMaterialDiffuse, Target::kFront},
    {"back emission, unlit", false, true, false, GL_BACK, GL_EMISSION, __glChangeOneMaterialColor,
     ChangeMaterialEmission, Target::kBack},
    {"both ambient", false, true, true, GL_FRONT_AND_BACK, GL_AMBIENT, __glChangeBothMaterialColors,
     ChangeMaterialAmbient, Target::kNone},
    {"front specular", false, true, true, GL_FRONT, GL_SPECULAR, __glChangeOneMaterialColor,
     ChangeMaterialSpecular, Target::kFront},
    {"back ambient and diffuse", false, true, true, GL_BACK, GL_AMBIENT_AND_DIFFUSE,
     __glChangeOneMaterialColor, ChangeMaterialAmbientAndDiffuse, Target::kBack},
};

TEST(ColorMaterialPicker, ChoosesByVisualEnablesFaceAndMode) {
  for (const PickRow &row : kPickRows) {
    SCOPED_TRACE(row.what);
    LightSetup setup;
    setup.colorIndex = row.colorIndex;
    LightContext ctx(setup);
    GlContext *gc = ctx.gc();
    ctx.setEnable(__GL_COLOR_MATERIAL_ENABLE, row.colorMaterial);
    ctx.setEnable(__GL_LIGHTING_ENABLE, row.lighting);
    gc->state.light.colorMaterialFace = row.face;
    gc->state.light.colorMaterialParam = row.mode;
    __glGenericPickColorMaterialProcs(gc);
    EXPECT_EQ(gc->procs.applyColor, row.apply);
    if (row.change == nullptr) continue;
    EXPECT_EQ(gc->procs.changeMaterial, row.change);
    GlMaterial *material = row.target == Target::kFront  ? &ctx.material(__GL_FRONTFACE)
                           : row.target == Target::kBack ? &ctx.material(__GL_BACKFACE)
                                                         : nullptr;
    GlMaterialCache *cache = row.target == Target::kFront  ? &ctx.materialCache(__GL_FRONTFACE)
                             : row.target == Target::kBack ? &ctx.materialCache(__GL_BACKFACE)
                                                           : nullptr;
    EXPECT_EQ(gc->light.cmTarget, material);
    EXPECT_EQ(gc->light.cmCacheTarget, cache);
  }
}

// The current colour written into a material the way glMaterial would.
void SetMaterial(LightContext &ctx, GlMaterial &m, GLenum mode, const GlColor &c) {
  const GlConstants &k = ctx.gc()->constants;
  switch (mode) {
    case GL_EMISSION:
      m.emissive = GlColor{c.r * k.redScale, c.g * k.greenScale, c.b * k.blueScale,
                           c.a * k.alphaScale};
      break;
    case GL_AMBIENT: m.ambient = c; break;
    case GL_DIFFUSE: m.diffuse = c; break;
    case GL_SPECULAR: m.specular = c; break;
    default: m.ambient = m.diffuse = c; break;
  }
}

GLfloat ClampScale(GLfloat c, GLfloat s) { return !(c >= 0) ? 0.0f : c > 1 ? s : c * s; }

void ExpectSameDerivedState(const LightContext &patched, const LightContext &full) {
  for (int face = 0; face < 2; face++) {
    SCOPED_TRACE(testing::Message() << "face " << face);
    EXPECT_EQ(memcmp(&patched.material(face), &full.material(face), sizeof(GlMaterial)), 0);
    const GlMaterialCache &a = patched.materialCache(face), &b = full.materialCache(face);
    EXPECT_EQ(memcmp(&a.sceneColor, &b.sceneColor, sizeof a.sceneColor), 0)
        << a.sceneColor.r << " vs " << b.sceneColor.r;
    EXPECT_EQ(a.alpha, b.alpha);
    EXPECT_EQ(a.specularExponent, b.specularExponent);
    EXPECT_EQ(a.threshold, b.threshold);
    for (int i = 0; i < 8; i++)
      EXPECT_EQ(memcmp(&patched.cache(i).face[face], &full.cache(i).face[face],
                       sizeof(GlLightFaceProducts)),
                0)
          << "light " << i;
  }
  const GlRGB &a = patched.gc()->light.baseColor, &b = full.gc()->light.baseColor;
  EXPECT_EQ(memcmp(&a, &b, sizeof a), 0) << a.r << " " << a.g << " " << a.b << " vs " << b.r
                                         << " " << b.g << " " << b.b;
}

TEST(ColorMaterialPatch, GivesWhatFullMaterialValidationGives) {
  const GLenum faces[] = {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK};
  const GLenum modes[] = {GL_EMISSION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR,
                          GL_AMBIENT_AND_DIFFUSE};
  LightSetup odd;  // unequal scales catch a component paired with the wrong one
  odd.red = 31, odd.green = 63, odd.blue = 15, odd.alpha = 7;
  const LightSetup setups[] = {LightSetup(), odd};
  for (const LightSetup &setup : setups) {
    for (GLenum face : faces) {
      for (GLenum mode : modes) {
        for (int lit = 0; lit < 2; lit++) {
          for (uint32_t seed = 1; seed <= 4; seed++) {
            SCOPED_TRACE(testing::Message() << "face 0x" << std::hex << face << " mode 0x" << mode
                                            << std::dec << " lit " << lit << " seed " << seed
                                            << " red scale " << setup.red);
            const int liveBefore = CountingImports::live();
            auto patchedOwner = std::make_unique<LightContext>(setup);
            auto fullOwner = std::make_unique<LightContext>(setup);
            LightContext &patched = *patchedOwner, &full = *fullOwner;
            patched.skipBlockCheck();
            full.skipBlockCheck();
            RandomLighting a(seed), b(seed);
            for (LightContext *ctx : {&patched, &full}) {
              RandomLighting &random = ctx == &patched ? a : b;
              random.Fill(*ctx);
              ctx->setEnable(__GL_LIGHTING_ENABLE, lit);
              ctx->validate();
            }
            const GlColor c = a.Color(-0.3, 1.4);
            GlContext *gc = patched.gc();
            gc->state.current.userColor = c;
            gc->state.light.colorMaterialFace = face;
            gc->state.light.colorMaterialParam = mode;
            patched.setEnable(__GL_COLOR_MATERIAL_ENABLE, true);
            __glGenericPickColorMaterialProcs(gc);
            gc->procs.applyColor(gc);

            if (face != GL_BACK) SetMaterial(full, full.material(__GL_FRONTFACE), mode, c);
            if (face != GL_FRONT) SetMaterial(full, full.material(__GL_BACKFACE), mode, c);
            __glValidateMaterial(full.gc(), __GL_MATERIAL_ALL, __GL_MATERIAL_ALL);
            ExpectSameDerivedState(patched, full);

            const GlColor &current = gc->state.current.color;
            const GlConstants &k = gc->constants;
            if (lit) {
              EXPECT_EQ(memcmp(&current, &full.gc()->state.current.color, sizeof current), 0)
                  << "a lit context leaves the scaled colour alone";
            } else {
              EXPECT_EQ(current.r, ClampScale(c.r, k.redScale));
              EXPECT_EQ(current.g, ClampScale(c.g, k.greenScale));
              EXPECT_EQ(current.b, ClampScale(c.b, k.blueScale));
              EXPECT_EQ(current.a, ClampScale(c.a, k.alphaScale));
            }
            patchedOwner.reset();
            fullOwner.reset();
            EXPECT_EQ(CountingImports::live(), liveBefore) << "both contexts gave everything back";
            if (testing::Test::HasFailure()) return;
          }
        }
      }
    }
  }
}

TEST(ColorMaterialPatch, OneColourChangesBothDiffuseColoursAndAlphas) {
  LightContext ctx;
  GlContext *gc = ctx.gc();
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
  ctx.setLights(0x1);
  ctx.validate();
  gc->state.light.colorMaterialFace = GL_FRONT_AND_BACK;
  gc->state.light.colorMaterialParam = GL_DIFFUSE;
  ctx.setEnable(__GL_COLOR_MATERIAL_ENABLE, true);
  __glGenericPickColorMaterialProcs(gc);
  gc->state.current.userColor = GlColor{0.5f, 0.25f, 1.0f, 0.5f};
  gc->procs.applyColor(gc);
  for (int face = 0; face < 2; face++) {
    SCOPED_TRACE(face);
    EXPECT_EQ(ctx.material(face).diffuse.g, 0.25f);
    EXPECT_EQ(ctx.materialCache(face).alpha, 127.5f);
    // Light 0 is white (255): its diffuse product is the new colour scaled.
    EXPECT_EQ(ctx.cache(0).face[face].diffuse.r, 127.5f);
  }
}

// What matValidate saw of the front diffuse colour when it ran.
struct MatValidateRecord {
  int calls = 0;
  GLfloat diffuseRed = -1;
};
MatValidateRecord gRecord;

TEST(ColorMaterialPatch, BufferedVerticesAreCompletedWithTheOldMaterialFirst) {
  struct Case {
    const char *what;
    int32_t beginMode;
    uint32_t smoothNeeds;
    GLenum face;
    int calls;
  } cases[] = {
      {"inside, needs", __GL_IN_BEGIN, __GL_HAS_FRONT_COLOR | __GL_HAS_NORMAL, GL_FRONT, 1},
      {"inside, both faces", __GL_IN_BEGIN, __GL_HAS_NORMAL, GL_FRONT_AND_BACK, 1},
      {"inside, nothing needed", __GL_IN_BEGIN, 0, GL_FRONT, 0},
      {"outside", __GL_NOT_IN_BEGIN, __GL_HAS_FRONT_COLOR, GL_FRONT, 0},
      {"validation pending", __GL_VALIDATE_PENDING, __GL_HAS_FRONT_COLOR, GL_FRONT_AND_BACK, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    GlContext *gc = ctx.gc();
    ctx.setEnable(__GL_LIGHTING_ENABLE, true);
    ctx.validate();
    gc->state.light.colorMaterialFace = c.face;
    gc->state.light.colorMaterialParam = GL_DIFFUSE;
    ctx.setEnable(__GL_COLOR_MATERIAL_ENABLE, true);
    __glGenericPickColorMaterialProcs(gc);
    gRecord = MatValidateRecord();
    gc->procs.matValidate = [](GlContext *gc) {
      gRecord.calls++;
      gRecord.diffuseRed = gc->state.light.front.diffuse.r;
    };
    const GLfloat old = ctx.material(__GL_FRONTFACE).diffuse.r;
    gc->beginMode = c.beginMode;
    gc->vertexBuffer.smoothNeeds = c.smoothNeeds;
    gc->state.current.userColor = GlColor{0.125f, 0, 0, 1};
    gc->procs.applyColor(gc);
    EXPECT_EQ(gRecord.calls, c.calls);
    if (c.calls) {
      EXPECT_EQ(gRecord.diffuseRed, old) << "run before the material changed";
    }
    EXPECT_EQ(ctx.material(__GL_FRONTFACE).diffuse.r, 0.125f);
  }
}

TEST(ClampAndScaleColor, ClampsToOneThenScalesEachComponentByItsOwnScale) {
  struct Case {
    const char *what;
    GlColor in, out;
  } cases[] = {
      {"inside", {0.5f, 0.25f, 1.0f, 0.0f}, {15.5f, 15.75f, 15.0f, 0.0f}},
      {"outside", {1.5f, -0.2f, 2.0f, -1.0f}, {31.0f, 0.0f, 15.0f, 0.0f}},
      {"not a number", {NAN, -NAN, 0.5f, INFINITY}, {0.0f, 0.0f, 7.5f, 7.0f}},
      {"negative zero", {-0.0f, 1.0f, 0.0f, 1.0f}, {0.0f, 63.0f, 0.0f, 7.0f}},
  };
  LightSetup setup;
  setup.red = 31, setup.green = 63, setup.blue = 15, setup.alpha = 7;
  LightContext ctx(setup);
  GlContext *gc = ctx.gc();
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    gc->state.current.userColor = c.in;
    __glClampAndScaleColor(gc);
    const GlColor &got = gc->state.current.color;
    EXPECT_EQ(got.r, c.out.r);
    EXPECT_EQ(got.g, c.out.g);
    EXPECT_EQ(got.b, c.out.b);
    EXPECT_EQ(got.a, c.out.a);
  }
}

}  // namespace
