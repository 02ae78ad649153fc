// The vertex-needs words: which fields validation must give a vertex before
// it is drawn, always (base), for each face, and for smooth shading.
#include "core/context.h"
#include "core/s_validate.h"
#include "raster/s_shader.h"

namespace {

// Sphere maps read the normal and the eye position, eye-linear generation
// the eye position.
uint32_t GenerationNeeds(GLenum mode) {
  if (mode == GL_EYE_LINEAR) return __GL_HAS_EYE;
  if (mode == GL_SPHERE_MAP) return __GL_HAS_EYE | __GL_HAS_NORMAL;
  return 0;
}

}  // namespace

// r and q made eye-linear read the eye position as s and t do: q divides
// the others.
uint32_t __glTextureGenerationNeeds(const GlContext *gc) {
  const uint32_t enables = gc->state.enables.texture;
  const GlTexCoordGen *gen = gc->texture.texCoordGen;
  uint32_t needs = 0;
  for (int c = __GL_TEXGEN_S; c <= __GL_TEXGEN_Q; ++c)
    if (enables & (__GL_TEXTURE_GEN_S_ENABLE << c)) needs |= GenerationNeeds(gen[c].mode);
  return needs;
}

namespace {

uint32_t BaseNeeds(const GlContext *gc) {
  const GlState &s = gc->state;
  uint32_t base = 0;
  if (gc->texture.current) base |= __GL_HAS_TEXTURE | __glTextureGenerationNeeds(gc);
  if (s.enables.general & __GL_FOG_ENABLE) {
    base |= __GL_HAS_EYE;
    // Under GL_NICEST fog is computed per fragment, not per vertex.
    if (s.hints.fog != GL_NICEST) base |= __GL_HAS_FOG;
  }
  if (s.enables.clipPlanes) base |= __GL_HAS_EYE;
  return base;
}

// What lighting adds to both faces.
uint32_t LightingNeeds(const GlContext *gc) {
  const GlState &s = gc->state;
  if (!(s.enables.general & __GL_LIGHTING_ENABLE)) return 0;
  uint32_t extra = __GL_HAS_NORMAL;
  if (s.light.model.localViewer) return extra | __GL_HAS_EYE;
  // A positional light needs the vertex's eye position.
  for (int32_t i = 0; i < gc->constants.numberOfLights && i < 32; ++i) {
    if ((s.enables.lights & (1u << i)) && s.light.source[i].positionEye.w != 0.0f)
      return extra | __GL_HAS_EYE;
  }
  return extra;
}

}  // namespace

void __glComputeVertexNeeds(GlContext *gc, uint32_t modeFlags) {
  const GlState &s = gc->state;
  const uint32_t base = BaseNeeds(gc);
  uint32_t front = base | LightingNeeds(gc);
  uint32_t back = front;
  const bool lighting = (s.enables.general & __GL_LIGHTING_ENABLE) != 0;
  if (lighting || (modeFlags & (__GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_FOG))) {
    front |= __GL_HAS_FRONT_COLOR;
    if (s.light.model.twoSided)
      back |= __GL_HAS_BACK_COLOR;
    else
      back = front;
  }
  GlVertexBuffer &vb = gc->vertexBuffer;
  vb.baseNeeds = base;
  vb.frontNeeds = front;
  vb.backNeeds = back;
  vb.smoothNeeds = (s.light.shadingModel == GL_SMOOTH || gc->vcache.enabled)
                       ? (front | back) & ~__GL_HAS_TEXTURE
                       : 0;
}
