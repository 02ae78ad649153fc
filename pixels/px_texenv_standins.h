// Stand-ins for the texture environment procedures (GlTextureEnvProc) the
// texture picker installs, one per environment mode and base format; the
// texture-environment issue replaces them.
#pragma once

#include "pixels/px_texture.h"

struct GlContext;
struct GlColor;

// GL_MODULATE.
void __glTextureModulateA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateL(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateLA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateI(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateCI(GlContext *gc, GlColor *color, const GlTexel *texel);

// GL_REPLACE.
void __glTextureReplaceA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceL(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceLA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceI(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceCI(GlContext *gc, GlColor *color, const GlTexel *texel);

// GL_BLEND.
void __glTextureBlendA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendL(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendLA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendI(GlContext *gc, GlColor *color, const GlTexel *texel);

// GL_DECAL, and GL_ADD of colour indices.
void __glTextureDecalRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureDecalRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureAddCI(GlContext *gc, GlColor *color, const GlTexel *texel);
