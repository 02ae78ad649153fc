#include "pixels/px_texenv_standins.h"

#include "core/s_standin.h"

#define DEFINE(name) \
  void name(GlContext *gc, GlColor *color, const GlTexel *texel) GL_STANDIN_VOID_BODY(name)

DEFINE(__glTextureModulateA)
DEFINE(__glTextureModulateRGB)
DEFINE(__glTextureModulateRGBA)
DEFINE(__glTextureModulateL)
DEFINE(__glTextureModulateLA)
DEFINE(__glTextureModulateI)
DEFINE(__glTextureModulateCI)
DEFINE(__glTextureReplaceA)
DEFINE(__glTextureReplaceRGB)
DEFINE(__glTextureReplaceRGBA)
DEFINE(__glTextureReplaceL)
DEFINE(__glTextureReplaceLA)
DEFINE(__glTextureReplaceI)
DEFINE(__glTextureReplaceCI)
DEFINE(__glTextureBlendA)
DEFINE(__glTextureBlendRGB)
DEFINE(__glTextureBlendRGBA)
DEFINE(__glTextureBlendL)
DEFINE(__glTextureBlendLA)
DEFINE(__glTextureBlendI)
DEFINE(__glTextureDecalRGB)
DEFINE(__glTextureDecalRGBA)
DEFINE(__glTextureAddCI)
