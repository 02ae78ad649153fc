// The four vertex-needs words: what a vertex must have computed before it is
// drawn, for the state in force.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "core/s_validate.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

constexpr uint32_t C = __GL_HAS_FRONT_COLOR, B = __GL_HAS_BACK_COLOR, T = __GL_HAS_TEXTURE,
                   N = __GL_HAS_NORMAL, E = __GL_HAS_EYE, F = __GL_HAS_FOG;

GlTextureObject gTexture;

void UseTexture(GlContext *gc) {
  gTexture = GlTextureObject{};
  gTexture.minFilter = gTexture.magFilter = GL_NEAREST;
  gc->texture.current = &gTexture;
  gc->texture.active = 1;
}

void Generate(GlContext *gc, uint32_t enable, int coord, GLenum mode) {
  gc->state.enables.texture |= enable;
  gc->texture.texCoordGen[coord].mode = mode;
}

void Flat(GlContext *gc) { gc->state.light.shadingModel = GL_FLAT; }
void Light(GlContext *gc) {
  gc->state.enables.general |= __GL_LIGHTING_ENABLE;
  gc->state.enables.lights |= 0x1;  // light 0, directional
}

struct NeedsCase {
  const char *what;
  void (*change)(GlContext *gc);
  uint32_t base, front, back, smooth;
};

const NeedsCase kNeedsCases[] = {
    {"defaults: smooth colour", [](GlContext *) {}, 0, C, C, C},
    {"flat, nothing else", Flat, 0, 0, 0, 0},
    {"flat lighting",
     [](GlContext *gc) {
       Flat(gc);
       Light(gc);
     },
     0, N | C, N | C, 0},
    {"smooth lighting", Light, 0, N | C, N | C, N | C},
    {"local viewer",
     [](GlContext *gc) {
       Flat(gc);
       Light(gc);
       gc->state.light.model.localViewer = 1;
     },
     0, N | E | C, N | E | C, 0},
    {"a positional light",
     [](GlContext *gc) {
       Flat(gc);
       Light(gc);
       gc->state.enables.lights |= 0x4;
       gc->state.light.source[2].positionEye.w = 1.0f;
     },
     0, N | E | C, N | E | C, 0},
    {"a positional light that is off",
     [](GlContext *gc) {
       Flat(gc);
       Light(gc);
       gc->state.light.source[2].positionEye.w = 1.0f;
     },
     0, N | C, N | C, 0},
    {"a positional light with lighting off",
     [](GlContext *gc) {
       Flat(gc);
       gc->state.enables.lights |= 0x4;
       gc->state.light.source[2].positionEye.w = 1.0f;
     },
     0, 0, 0, 0},
    {"two-sided, flat",
     [](GlContext *gc) {
       Flat(gc);
       Light(gc);
       gc->state.light.model.twoSided = 1;
     },
     0, N | C, N | B, 0},
    {"two-sided, smooth: texture never in the smooth word",
     [](GlContext *gc) {
       Light(gc);
       UseTexture(gc);
       gc->state.light.model.twoSided = 1;
     },
     T, T | N | C, T | N | B, N | C | B},
    {"fog, flat",
     [](GlContext *gc) {
       Flat(gc);
       gc->state.enables.general |= __GL_FOG_ENABLE;
     },
     E | F, E | F | C, E | F | C, 0},
    {"fog per fragment: no fog value per vertex",
     [](GlContext *gc) {
       Flat(gc);
       gc->state.enables.general |= __GL_FOG_ENABLE;
       gc->state.hints.fog = GL_NICEST;
     },
     E, E | C, E | C, 0},
    {"a user clip plane",
     [](GlContext *gc) {
       Flat(gc);
       gc->state.enables.clipPlanes = 0x20;
     },
     E, E, E, 0},
    {"texture, flat",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
     },
     T, T, T, 0},
    {"texture, smooth", UseTexture, T, T | C, T | C, C},
    {"eye-linear s",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       Generate(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S, GL_EYE_LINEAR);
     },
     T | E, T | E, T | E, 0},
    {"sphere-mapped s",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       Generate(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S, GL_SPHERE_MAP);
     },
     T | E | N, T | E | N, T | E | N, 0},
    {"sphere-mapped t",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       Generate(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T, GL_SPHERE_MAP);
     },
     T | E | N, T | E | N, T | E | N, 0},
    {"object-linear t",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       Generate(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T, GL_OBJECT_LINEAR);
     },
     T, T, T, 0},
    // Their planes are taken with the eye position like s and t.
    {"eye-linear r and q read the eye position",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       Generate(gc, __GL_TEXTURE_GEN_R_ENABLE, __GL_TEXGEN_R, GL_EYE_LINEAR);
       Generate(gc, __GL_TEXTURE_GEN_Q_ENABLE, __GL_TEXGEN_Q, GL_EYE_LINEAR);
     },
     T | E, T | E, T | E, 0},
    {"object-linear r and q add nothing",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       Generate(gc, __GL_TEXTURE_GEN_R_ENABLE, __GL_TEXGEN_R, GL_OBJECT_LINEAR);
       Generate(gc, __GL_TEXTURE_GEN_Q_ENABLE, __GL_TEXGEN_Q, GL_OBJECT_LINEAR);
     },
     T, T, T, 0},
    {"sphere map mode with generation off",
     [](GlContext *gc) {
       Flat(gc);
       UseTexture(gc);
       gc->texture.texCoordGen[__GL_TEXGEN_S].mode = GL_SPHERE_MAP;
     },
     T, T, T, 0},
    {"sphere-mapped s without a current texture",
     [](GlContext *gc) {
       Flat(gc);
       Generate(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S, GL_SPHERE_MAP);
     },
     0, 0, 0, 0},
    {"vertex cache on, flat",
     [](GlContext *gc) {
       Flat(gc);
       Light(gc);
       gc->vcache.enabled = 1;
     },
     0, N | C, N | C, N | C},
};

class VertexNeeds : public ValidateTest {};

TEST_F(VertexNeeds, FollowTheState) {
  for (const NeedsCase &c : kNeedsCases) {
    SCOPED_TRACE(c.what);
    Use(TestModes());
    c.change(gc);
    __glComputeVertexNeeds(gc, __glComputeRasterModeFlags(gc));
    const GlVertexBuffer &vb = gc->vertexBuffer;
    EXPECT_EQ(vb.baseNeeds, c.base);
    EXPECT_EQ(vb.frontNeeds, c.front);
    EXPECT_EQ(vb.backNeeds, c.back);
    EXPECT_EQ(vb.smoothNeeds, c.smooth);
    gc->texture.current = nullptr;
    gc->texture.active = 0;
    gc->vcache.enabled = 0;
  }
}

// The pass computes them when generic or lighting state changed, and only
// then.
TEST_F(VertexNeeds, ValidationRecomputesThemForGenericAndLightingChanges) {
  struct Case {
    uint32_t dirty;
    uint32_t front;
  } cases[] = {
      {__GL_DIRTY_GENERIC, N | C},
      {__GL_DIRTY_LIGHTING, N | C},
      {__GL_DIRTY_POLYGON | __GL_DIRTY_DEPTH | __GL_DIRTY_SCISSOR, 0xDEAD},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.dirty);
    Use(TestModes());
    Light(gc);
    gc->vertexBuffer.frontNeeds = 0xDEAD;
    gc->dirtyMask = c.dirty;
    gc->procs.pickAllProcs(gc);
    EXPECT_EQ(gc->vertexBuffer.frontNeeds, c.front);
  }
}

}  // namespace
}  // namespace validate_test
