// The per-vertex texture-coordinate procedure: one generation rule for s
// and t alone, a mixed one for any other combination, none without
// generation; under perspective-divided coordinates a wrapper calls it and
// divides by w.
#include "core/context.h"
#include "core/s_pick.h"
#include "pixels/px_texgen.h"
#include "pixels/px_texture.h"

namespace {

constexpr uint32_t kGenS = __GL_TEXTURE_GEN_S_ENABLE;
constexpr uint32_t kGenT = __GL_TEXTURE_GEN_T_ENABLE;
constexpr uint32_t kGenAll = kGenS | kGenT | __GL_TEXTURE_GEN_R_ENABLE | __GL_TEXTURE_GEN_Q_ENABLE;

// The procedure of one mode applied to s and t, none for another value.
GlVertexProc SingleMode(GLenum mode) {
  switch (mode) {
    case GL_EYE_LINEAR: return __glCalcEyeLinear;
    case GL_OBJECT_LINEAR: return __glCalcObjectLinear;
    case GL_SPHERE_MAP: return __glCalcSphereMap;
    default: return nullptr;
  }
}

GlVertexProc BaseProc(const GlContext *gc) {
  uint32_t gen = gc->state.enables.texture & kGenAll;
  if (gen == 0) return __glCalcTexture;
  const GlTexCoordGen *g = gc->texture.texCoordGen;
  if (gen == (kGenS | kGenT) && g[__GL_TEXGEN_S].mode == g[__GL_TEXGEN_T].mode) {
    if (GlVertexProc single = SingleMode(g[__GL_TEXGEN_S].mode)) return single;
  }
  return __glCalcMixedTexture;
}

}  // namespace

void __glGenericPickCalcTextureProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  GlVertexProc base = BaseProc(gc);
  p.calcTexture = base;
  p.calcRasterPosTexture = base;
  if (gc->polygon.shader.modeFlags & __GL_SHADE_TEX_DIVIDED) {
    p.calcTextureBase = base;
    p.calcTexture = base == __glCalcTexture ? __glFastCalcTexturePersp : __glCalcTexturePersp;
  }
}
