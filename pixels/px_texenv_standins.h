// Stand-ins for the texture environment procedures (GlTextureEnvProc) the
// texture picker installs, one per environment mode and base format, until
// the texture environment combines texels with fragment colours.
#pragma once

#include "core/s_standin.h"
#include "pixels/px_texture.h"

struct GlContext;
struct GlColor;

// clang-format off
#define PIXELS_TEXENV_STANDINS(X)                                                           \
  /* GL_MODULATE. */                                                                        \
  X(void, __glTextureModulateA, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  X(void, __glTextureModulateRGB, (GlContext *gc, GlColor *color, const GlTexel *texel), )  \
  X(void, __glTextureModulateRGBA, (GlContext *gc, GlColor *color, const GlTexel *texel), ) \
  X(void, __glTextureModulateL, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  X(void, __glTextureModulateLA, (GlContext *gc, GlColor *color, const GlTexel *texel), )   \
  X(void, __glTextureModulateI, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  X(void, __glTextureModulateCI, (GlContext *gc, GlColor *color, const GlTexel *texel), )   \
  /* GL_REPLACE. */                                                                         \
  X(void, __glTextureReplaceA, (GlContext *gc, GlColor *color, const GlTexel *texel), )     \
  X(void, __glTextureReplaceRGB, (GlContext *gc, GlColor *color, const GlTexel *texel), )   \
  X(void, __glTextureReplaceRGBA, (GlContext *gc, GlColor *color, const GlTexel *texel), )  \
  X(void, __glTextureReplaceL, (GlContext *gc, GlColor *color, const GlTexel *texel), )     \
  X(void, __glTextureReplaceLA, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  X(void, __glTextureReplaceI, (GlContext *gc, GlColor *color, const GlTexel *texel), )     \
  X(void, __glTextureReplaceCI, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  /* GL_BLEND. */                                                                           \
  X(void, __glTextureBlendA, (GlContext *gc, GlColor *color, const GlTexel *texel), )       \
  X(void, __glTextureBlendRGB, (GlContext *gc, GlColor *color, const GlTexel *texel), )     \
  X(void, __glTextureBlendRGBA, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  X(void, __glTextureBlendL, (GlContext *gc, GlColor *color, const GlTexel *texel), )       \
  X(void, __glTextureBlendLA, (GlContext *gc, GlColor *color, const GlTexel *texel), )      \
  X(void, __glTextureBlendI, (GlContext *gc, GlColor *color, const GlTexel *texel), )       \
  /* GL_DECAL, and GL_ADD of colour indices. */                                             \
  X(void, __glTextureDecalRGB, (GlContext *gc, GlColor *color, const GlTexel *texel), )     \
  X(void, __glTextureDecalRGBA, (GlContext *gc, GlColor *color, const GlTexel *texel), )    \
  X(void, __glTextureAddCI, (GlContext *gc, GlColor *color, const GlTexel *texel), )
// clang-format on

PIXELS_TEXENV_STANDINS(GL_STANDIN_DECLARE)
