#include "pixels/px_texgen_standins.h"

#include "core/s_standin.h"

void __glCalcTexture(GlContext *gc, GlVertex *v) GL_STANDIN_VOID_BODY(__glCalcTexture)
void __glCalcEyeLinear(GlContext *gc, GlVertex *v) GL_STANDIN_VOID_BODY(__glCalcEyeLinear)
void __glCalcObjectLinear(GlContext *gc, GlVertex *v) GL_STANDIN_VOID_BODY(__glCalcObjectLinear)
void __glCalcSphereMap(GlContext *gc, GlVertex *v) GL_STANDIN_VOID_BODY(__glCalcSphereMap)
void __glCalcMixedTexture(GlContext *gc, GlVertex *v) GL_STANDIN_VOID_BODY(__glCalcMixedTexture)
void __glCalcTexturePersp(GlContext *gc, GlVertex *v) GL_STANDIN_VOID_BODY(__glCalcTexturePersp)
void __glFastCalcTexturePersp(GlContext *gc, GlVertex *v)
    GL_STANDIN_VOID_BODY(__glFastCalcTexturePersp)
