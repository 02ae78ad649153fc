// The texture environment procedures (GlTextureEnvProc): one per
// environment mode and base format, each combining a filtered texel with a
// fragment colour in place. The texture picker installs them; GL_DECAL with
// a format that has no colour takes the empty procedure.
#pragma once

#include "pixels/px_texture.h"

struct GlContext;
struct GlColor;

void __glTextureModulateA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateL(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateLA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateI(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureModulateCI(GlContext *gc, GlColor *color, const GlTexel *texel);

void __glTextureReplaceA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceL(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceLA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceI(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureReplaceCI(GlContext *gc, GlColor *color, const GlTexel *texel);

void __glTextureBlendA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendL(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendLA(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureBlendI(GlContext *gc, GlColor *color, const GlTexel *texel);

void __glTextureDecalRGB(GlContext *gc, GlColor *color, const GlTexel *texel);
void __glTextureDecalRGBA(GlContext *gc, GlColor *color, const GlTexel *texel);

// Colour-index contexts: the index byte enters as a fraction like a colour
// byte.
void __glTextureAddCI(GlContext *gc, GlColor *color, const GlTexel *texel);
