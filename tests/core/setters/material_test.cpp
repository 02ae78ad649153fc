// The material entries (faces, forms, conversions, derived state rebuilt
// at once, accepted inside glBegin), colour material and its calls.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

// The full signed range onto [-1, 1], unscaled.
double Unit(GLint i) { return (2.0 * i + 1.0) / 4294964992.0; }

struct MaterialCase {
  const char *name;
  void (*command)();
  bool front, back;  // the faces it writes
  void (*check)(const GlMaterial &m);
};

class Material : public SetterTest, public testing::WithParamInterface<MaterialCase> {};

TEST_P(Material, WritesTheFacesNamedAndMarksNothing) {
  const MaterialCase &c = GetParam();
  Settle();
  GlMaterial front = gc->state.light.front, back = gc->state.light.back;
  c.command();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, 0u);
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
  EXPECT_TRUE(Calls().empty());
  if (c.front)
    c.check(gc->state.light.front);
  else
    EXPECT_EQ(memcmp(&front, &gc->state.light.front, sizeof front), 0);
  if (c.back)
    c.check(gc->state.light.back);
  else
    EXPECT_EQ(memcmp(&back, &gc->state.light.back, sizeof back), 0);
}

const MaterialCase kMaterials[] = {
    {"AmbientAsGiven",
     [] {
       GLfloat v[4] = {1.5f, -0.5f, 0.25f, 1.0f};
       glMaterialfv(GL_FRONT, GL_AMBIENT, v);
     },
     true, false, [](const GlMaterial &m) { ExpectColorNear(m.ambient, 1.5, -0.5, 0.25, 1); }},
    {"DiffuseBack",
     [] {
       GLfloat v[4] = {0.1f, 0.2f, 0.3f, 0.4f};
       glMaterialfv(GL_BACK, GL_DIFFUSE, v);
     },
     false, true,
     [](const GlMaterial &m) { ExpectColorNear(m.diffuse, 0.1f, 0.2f, 0.3f, 0.4f); }},
    {"SpecularBoth",
     [] {
       GLfloat v[4] = {1, 1, 0, 1};
       glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, v);
     },
     true, true, [](const GlMaterial &m) { ExpectColorNear(m.specular, 1, 1, 0, 1); }},
    {"EmissionScaled",
     [] {
       GLfloat v[4] = {0.5f, 1, 2, 1};
       glMaterialfv(GL_FRONT, GL_EMISSION, v);
     },
     true, false, [](const GlMaterial &m) { ExpectColorNear(m.emissive, 127.5, 255, 510, 255); }},
    {"EmissionIntegersScaled",
     [] {
       GLint v[4] = {INT_MAX, 0, INT_MIN, -1};
       glMaterialiv(GL_BACK, GL_EMISSION, v);
     },
     false, true,
     [](const GlMaterial &m) {
       ExpectColorNear(m.emissive, Unit(INT_MAX) * 255, Unit(0) * 255, Unit(INT_MIN) * 255,
                   Unit(-1) * 255);
     }},
    {"AmbientIntegersUnscaled",
     [] {
       GLint v[4] = {INT_MAX, 0, INT_MIN, INT_MAX / 2};
       glMaterialiv(GL_FRONT, GL_AMBIENT, v);
     },
     true, false,
     [](const GlMaterial &m) {
       ExpectColorNear(m.ambient, Unit(INT_MAX), Unit(0), Unit(INT_MIN), Unit(INT_MAX / 2));
     }},
    {"AmbientAndDiffuse",
     [] {
       GLfloat v[4] = {0.3f, 0.6f, 0.9f, 0.5f};
       glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, v);
     },
     true, true,
     [](const GlMaterial &m) {
       ExpectColorNear(m.ambient, 0.3f, 0.6f, 0.9f, 0.5f);
       ExpectColorNear(m.diffuse, 0.3f, 0.6f, 0.9f, 0.5f);
     }},
    {"ShininessScalar", [] { glMaterialf(GL_BACK, GL_SHININESS, 128.0f); }, false, true,
     [](const GlMaterial &m) { EXPECT_EQ(m.specularExponent, 128.0f); }},
    {"ShininessInteger", [] { glMateriali(GL_FRONT, GL_SHININESS, 0); }, true, false,
     [](const GlMaterial &m) { EXPECT_EQ(m.specularExponent, 0.0f); }},
    // Given ambient, diffuse, specular; kept ambient, specular, diffuse.
    {"ColorIndexes",
     [] {
       GLfloat v[3] = {1, 2, 3};
       glMaterialfv(GL_FRONT_AND_BACK, GL_COLOR_INDEXES, v);
     },
     true, true,
     [](const GlMaterial &m) {
       EXPECT_EQ(m.cmapa, 1.0f);
       EXPECT_EQ(m.cmapd, 2.0f);
       EXPECT_EQ(m.cmaps, 3.0f);
     }},
    {"ColorIndexesIntegers",
     [] {
       GLint v[3] = {4, 5, 6};
       glMaterialiv(GL_FRONT, GL_COLOR_INDEXES, v);
     },
     true, false,
     [](const GlMaterial &m) {
       EXPECT_EQ(m.cmapa, 4.0f);
       EXPECT_EQ(m.cmapd, 5.0f);
       EXPECT_EQ(m.cmaps, 6.0f);
     }},
    {"IndexShift", [] { glMateriali(GL_BACK, GL_INDEX_SHIFT, -3); }, false, true,
     [](const GlMaterial &m) { EXPECT_EQ(m.indexShift, -3.0f); }},
    {"IndexOffset",
     [] {
       GLfloat v[1] = {7.5f};
       glMaterialfv(GL_FRONT, GL_INDEX_OFFSET, v);
     },
     true, false, [](const GlMaterial &m) { EXPECT_EQ(m.indexOffset, 7.5f); }},
};

INSTANTIATE_TEST_SUITE_P(Entries, Material, testing::ValuesIn(kMaterials), CaseName<MaterialCase>);

// The derived material follows each change on the face it was made on:
// the scene colour of the changed face and only of it.
TEST_F(SetterTest, MaterialRebuildsTheDerivedStateOfTheFaceChanged) {
  GLfloat ambient[4] = {0.2f, 0.4f, 0.6f, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  Settle();
  GlRGB backScene = gc->light.materialCache[__GL_BACKFACE].sceneColor;
  GLfloat emission[4] = {0.5f, 0.25f, 0, 1};
  glMaterialfv(GL_FRONT, GL_EMISSION, emission);
  const GlMaterial &m = gc->state.light.front;
  const GlColor &a = gc->state.light.model.ambient;
  const GlRGB &scene = gc->light.materialCache[__GL_FRONTFACE].sceneColor;
  EXPECT_NEAR(scene.r, a.r * m.ambient.r + 127.5, 1e-3);
  EXPECT_NEAR(scene.g, a.g * m.ambient.g + 63.75, 1e-3);
  EXPECT_NEAR(scene.b, a.b * m.ambient.b, 1e-3);
  EXPECT_EQ(memcmp(&backScene, &gc->light.materialCache[__GL_BACKFACE].sceneColor,
                   sizeof backScene),
            0);

  glMaterialf(GL_BACK, GL_SHININESS, 37.0f);
  EXPECT_EQ(gc->light.materialCache[__GL_BACKFACE].specularExponent, 37.0f);
  EXPECT_NE(gc->light.materialCache[__GL_FRONTFACE].specularExponent, 37.0f);
}

// Between glBegin and glEnd glMaterial is accepted; the vertices already
// given are lit with the old material first when smooth shading needs it.
struct InsideCase {
  const char *name;
  uint32_t smoothNeeds;
  bool colorMaterial;
  std::vector<std::string> calls;
};

class MaterialInsideBegin : public SetterTest, public testing::WithParamInterface<InsideCase> {};

TEST_P(MaterialInsideBegin, IsAccepted) {
  const InsideCase &c = GetParam();
  if (c.colorMaterial) gc->state.enables.general |= __GL_COLOR_MATERIAL_ENABLE;
  Settle();
  gc->beginMode = __GL_IN_BEGIN;
  gc->vertexBuffer.smoothNeeds = c.smoothNeeds;
  glMaterialf(GL_FRONT, GL_SHININESS, 10.0f);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->state.light.front.specularExponent, 10.0f);
  EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
  EXPECT_EQ(gc->dirtyMask, 0u);
  EXPECT_EQ(Calls(), c.calls);
  gc->beginMode = __GL_NOT_IN_BEGIN;
}

INSTANTIATE_TEST_SUITE_P(
    Needs, MaterialInsideBegin,
    testing::Values(InsideCase{"Flat", 0, false, {}},
                    InsideCase{"Smooth", __GL_HAS_FRONT_COLOR, false, {"matValidate"}},
                    InsideCase{"SmoothColorMaterial", __GL_HAS_FRONT_COLOR | __GL_HAS_NORMAL, true,
                               {"matValidate", "applyColor"}},
                    InsideCase{"FlatColorMaterial", 0, true, {"applyColor"}}),
    CaseName<InsideCase>);

// Outside glBegin the material is rebuilt without the vertex step, and with
// colour material on the current colour is applied again.
TEST_F(SetterTest, MaterialWithColorMaterialAppliesTheCurrentColor) {
  gc->state.enables.general |= __GL_COLOR_MATERIAL_ENABLE;
  Settle();
  gc->vertexBuffer.smoothNeeds = __GL_HAS_FRONT_COLOR;
  GLfloat v[4] = {1, 0, 0, 1};
  glMaterialfv(GL_FRONT, GL_DIFFUSE, v);
  EXPECT_EQ(Calls(), std::vector<std::string>{"applyColor"});
}

// glIndexMaterialVLX marks nothing, so while index material is on the
// index-offset sources of lighting must follow the new face at once: the
// current index for the faces named, the material's own offset otherwise.
struct IndexMaterialCase {
  const char *name;
  bool enabled;
  GLenum face;
  bool frontFromIndex, backFromIndex;
};

class IndexMaterial : public SetterTest, public testing::WithParamInterface<IndexMaterialCase> {};

TEST_P(IndexMaterial, MovesTheOffsetSourcesAtOnce) {
  const IndexMaterialCase &c = GetParam();
  if (c.enabled) gc->state.enables.general |= __GL_INDEX_MATERIAL_ENABLE;
  Settle();
  GlMaterialCache *caches = gc->light.materialCache;
  caches[__GL_FRONTFACE].indexOffsetSource = nullptr;
  caches[__GL_BACKFACE].indexOffsetSource = nullptr;
  glIndexMaterialVLX(c.face, GL_INDEX_OFFSET);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, 0u);
  GLfloat *index = &gc->state.current.index;
  GlLightState &ls = gc->state.light;
  EXPECT_EQ(caches[__GL_FRONTFACE].indexOffsetSource,
            c.frontFromIndex ? index : &ls.front.indexOffset);
  EXPECT_EQ(caches[__GL_BACKFACE].indexOffsetSource,
            c.backFromIndex ? index : &ls.back.indexOffset);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, IndexMaterial,
    testing::Values(IndexMaterialCase{"Off", false, GL_FRONT_AND_BACK, false, false},
                    IndexMaterialCase{"Front", true, GL_FRONT, true, false},
                    IndexMaterialCase{"Back", true, GL_BACK, false, true},
                    IndexMaterialCase{"Both", true, GL_FRONT_AND_BACK, true, true}),
    CaseName<IndexMaterialCase>);

// ---- glColorMaterial ----

struct ColorMaterialCase {
  GLenum face, mode;
  bool enabled;
};

class ColorMaterial : public SetterTest, public testing::WithParamInterface<ColorMaterialCase> {};

TEST_P(ColorMaterial, StoresAndPicksOnlyWhenEnabled) {
  const ColorMaterialCase &c = GetParam();
  if (c.enabled) gc->state.enables.general |= __GL_COLOR_MATERIAL_ENABLE;
  Settle();
  std::vector<uint8_t> before = Snapshot(gc);
  glColorMaterial(c.face, c.mode);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->state.light.colorMaterialFace, c.face);
  EXPECT_EQ(gc->state.light.colorMaterialParam, c.mode);
  EXPECT_EQ(gc->dirtyMask, 0u);
  EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
  std::vector<std::string> expected;
  if (c.enabled) expected = {"pickColorMaterialProcs", "applyColor"};
  EXPECT_EQ(Calls(), expected);
  // Nothing else changed.
  gc->state.light.colorMaterialFace = GL_FRONT_AND_BACK;
  gc->state.light.colorMaterialParam = GL_AMBIENT_AND_DIFFUSE;
  EXPECT_TRUE(Snapshot(gc) == before);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ColorMaterial,
    testing::Values(ColorMaterialCase{GL_BACK, GL_SPECULAR, false},
                    ColorMaterialCase{GL_FRONT, GL_EMISSION, false},
                    ColorMaterialCase{GL_FRONT_AND_BACK, GL_AMBIENT, true},
                    ColorMaterialCase{GL_FRONT, GL_DIFFUSE, true},
                    ColorMaterialCase{GL_BACK, GL_AMBIENT_AND_DIFFUSE, true}));

}  // namespace
}  // namespace setters_test
