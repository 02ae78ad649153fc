// From a texture target to the context's state of it.
#include "core/context.h"
#include "pixels/px_texture.h"

namespace {

// The target index of a target enumerant, -1 for any other value.
int32_t TargetIndex(GLenum target) {
  switch (target) {
    case GL_TEXTURE_1D: return __GL_TEXTURE_1D_INDEX;
    case GL_TEXTURE_2D: return __GL_TEXTURE_2D_INDEX;
    case GL_PROXY_TEXTURE_1D: return __GL_PROXY_TEXTURE_1D_INDEX;
    case GL_PROXY_TEXTURE_2D: return __GL_PROXY_TEXTURE_2D_INDEX;
    default: return -1;
  }
}

// The context keeps parameters and bindings of the two real targets only.
GlTextureTargetState *RealTarget(GlContext *gc, GLenum target) {
  if (target == GL_TEXTURE_1D) return &gc->texture.targets[__GL_TEXTURE_1D_INDEX];
  if (target == GL_TEXTURE_2D) return &gc->texture.targets[__GL_TEXTURE_2D_INDEX];
  return nullptr;
}

}  // namespace

GlTextureObject *__glLookUpTexture(GlContext *gc, GLenum target) {
  int32_t index = TargetIndex(target);
  return index < 0 ? nullptr : gc->texture.bound[index];
}

GlTextureParams *__glLookUpTextureParams(GlContext *gc, GLenum target) {
  GlTextureTargetState *state = RealTarget(gc, target);
  return state ? &state->params : nullptr;
}

GlTextureNamePriority *__glLookUpTextureTexobjs(GlContext *gc, GLenum target) {
  GlTextureTargetState *state = RealTarget(gc, target);
  return state ? &state->texobjs : nullptr;
}

void __glLoadTextureParams(GlTextureObject *tex, const GlTextureParams *params) {
  tex->wrapS = params->wrapS;
  tex->wrapT = params->wrapT;
  tex->minFilter = params->minFilter;
  tex->magFilter = params->magFilter;
  for (int i = 0; i < 4; ++i) tex->borderColor[i] = params->borderColor[i];
}
