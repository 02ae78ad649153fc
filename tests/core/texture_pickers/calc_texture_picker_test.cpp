// The per-vertex texture-coordinate procedure chosen for the generation
// enables and modes, and its perspective wrapper.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "pixels/px_texgen.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

constexpr uint32_t S = __GL_TEXTURE_GEN_S_ENABLE, T = __GL_TEXTURE_GEN_T_ENABLE,
                   R = __GL_TEXTURE_GEN_R_ENABLE, Q = __GL_TEXTURE_GEN_Q_ENABLE;
constexpr GLenum kEye = GL_EYE_LINEAR, kObject = GL_OBJECT_LINEAR, kSphere = GL_SPHERE_MAP;

// Marks a slot the picker must not write.
void Untouched(GlContext *, GlVertex *) {}

TEST(CalcTexturePicker, GenerationEnablesAndModesChooseTheProcedure) {
  struct Case {
    const char *what;
    uint32_t enables;
    GLenum modeS, modeT;
    bool divided;  // raster-mode flag 0x800000
    GlVertexProc calcTexture, calcTextureBase, rasterPos;
  } cases[] = {
      {"no generation", 0, kEye, kEye, false, __glCalcTexture, Untouched, __glCalcTexture},
      {"s and t eye-linear", S | T, kEye, kEye, false, __glCalcEyeLinear, Untouched,
       __glCalcEyeLinear},
      {"s and t object-linear", S | T, kObject, kObject, false, __glCalcObjectLinear, Untouched,
       __glCalcObjectLinear},
      {"s and t sphere map", S | T, kSphere, kSphere, false, __glCalcSphereMap, Untouched,
       __glCalcSphereMap},
      {"s and t of different modes", S | T, kEye, kObject, false, __glCalcMixedTexture, Untouched,
       __glCalcMixedTexture},
      {"s alone", S, kEye, kEye, false, __glCalcMixedTexture, Untouched, __glCalcMixedTexture},
      {"t alone", T, kSphere, kSphere, false, __glCalcMixedTexture, Untouched,
       __glCalcMixedTexture},
      {"s, t and r", S | T | R, kEye, kEye, false, __glCalcMixedTexture, Untouched,
       __glCalcMixedTexture},
      {"s, t and q", S | T | Q, kObject, kObject, false, __glCalcMixedTexture, Untouched,
       __glCalcMixedTexture},
      {"q alone", Q, kEye, kEye, false, __glCalcMixedTexture, Untouched, __glCalcMixedTexture},
      {"1D and 2D enables are not generation", __GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE,
       kEye, kEye, false, __glCalcTexture, Untouched, __glCalcTexture},
      {"divided, no generation", 0, kEye, kEye, true, __glFastCalcTexturePersp, __glCalcTexture,
       __glCalcTexture},
      {"divided, eye-linear", S | T, kEye, kEye, true, __glCalcTexturePersp, __glCalcEyeLinear,
       __glCalcEyeLinear},
      {"divided, sphere map", S | T, kSphere, kSphere, true, __glCalcTexturePersp,
       __glCalcSphereMap, __glCalcSphereMap},
      {"divided, mixed", S | R, kEye, kEye, true, __glCalcTexturePersp, __glCalcMixedTexture,
       __glCalcMixedTexture},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->state.enables.texture = c.enables;
    gc->texture.texCoordGen[__GL_TEXGEN_S].mode = c.modeS;
    gc->texture.texCoordGen[__GL_TEXGEN_T].mode = c.modeT;
    gc->polygon.shader.modeFlags =
        c.divided ? __GL_SHADE_TEX_DIVIDED | __GL_SHADE_PERSPECTIVE : __GL_SHADE_PERSPECTIVE;
    gc->procs.calcTextureBase = Untouched;
    __glGenericPickCalcTextureProcs(gc);
    EXPECT_EQ(gc->procs.calcTexture, c.calcTexture);
    EXPECT_EQ(gc->procs.calcTextureBase, c.calcTextureBase);
    EXPECT_EQ(gc->procs.calcRasterPosTexture, c.rasterPos);
  }
}

// R and Q modes play no part: only s and t have a shared procedure.
TEST(CalcTexturePicker, TheModesOfRAndQDoNotMatter) {
  for (GLenum other : {kEye, kObject}) {
    PickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->state.enables.texture = S | T;
    for (GlTexCoordGen &g : gc->texture.texCoordGen) g.mode = kObject;
    gc->texture.texCoordGen[__GL_TEXGEN_R].mode = other;
    gc->texture.texCoordGen[__GL_TEXGEN_Q].mode = other;
    __glGenericPickCalcTextureProcs(gc);
    EXPECT_EQ(gc->procs.calcTexture, __glCalcObjectLinear);
  }
}

}  // namespace
