// Stand-ins for the span and line stages, their processors and repeat
// procedures, the lookup-table validators, the blend and store pickers, and
// the clear and accumulation operations. The generic rasterizer's span and
// line pipeline replaces them.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;

// ---- Span stages (plain / stippled twins) ----
GLbool8 __glClipSpan(GlContext *gc);
GLbool8 __glStippleSpan(GlContext *gc);
GLbool8 __glStippleStippledSpan(GlContext *gc);
GLbool8 __glStencilTestSpan(GlContext *gc);
GLbool8 __glStencilTestStippledSpan(GlContext *gc);
GLbool8 __glDepthTestStencilSpan(GlContext *gc);
GLbool8 __glDepthTestStencilStippledSpan(GlContext *gc);
GLbool8 __glDepthTestStencilOffsetSpan(GlContext *gc);
GLbool8 __glDepthTestStencilStippledOffsetSpan(GlContext *gc);
GLbool8 __glDepthPassSpan(GlContext *gc);
GLbool8 __glDepthPassStippledSpan(GlContext *gc);
GLbool8 __glDepthTestSpan(GlContext *gc);
GLbool8 __glDepthTestStippledSpan(GlContext *gc);
GLbool8 __glDepthTestOffsetSpan(GlContext *gc);
GLbool8 __glDepthTestStippledOffsetSpan(GlContext *gc);
GLbool8 __glShadeRGBASpan(GlContext *gc);
GLbool8 __glFlatRGBASpan(GlContext *gc);
GLbool8 __glShadeCISpan(GlContext *gc);
GLbool8 __glFlatCISpan(GlContext *gc);
GLbool8 __glTextureSpan(GlContext *gc);
GLbool8 __glTextureStippledSpan(GlContext *gc);
GLbool8 __glFogSpan(GlContext *gc);
GLbool8 __glFogStippledSpan(GlContext *gc);
GLbool8 __glFogSpanSlow(GlContext *gc);
GLbool8 __glFogStippledSpanSlow(GlContext *gc);
GLbool8 __glAlphaTestSpan(GlContext *gc);
GLbool8 __glAlphaTestStippledSpan(GlContext *gc);
GLbool8 __glIndexTestSpan(GlContext *gc);
GLbool8 __glIndexTestStippledSpan(GlContext *gc);

// ---- The per-buffer span stages of a buffer that sets separateSpanOps ----
GLbool8 __glBlendSpan_SA_MSA(GlContext *gc);
GLbool8 __glBlendSpan_SA_ONE(GlContext *gc);
GLbool8 __glBlendSpan_SA_ZERO(GlContext *gc);
GLbool8 __glBlendSpan_MSA_SA(GlContext *gc);
GLbool8 __glBlendSpan(GlContext *gc);
GLbool8 __glBlendStippledSpan(GlContext *gc);
GLbool8 __glDitherRGBASpan(GlContext *gc);
GLbool8 __glDitherRGBAStippledSpan(GlContext *gc);
GLbool8 __glDitherCISpan(GlContext *gc);
GLbool8 __glDitherCIStippledSpan(GlContext *gc);
GLbool8 __glRoundRGBASpan(GlContext *gc);
GLbool8 __glRoundRGBAStippledSpan(GlContext *gc);
GLbool8 __glRoundCISpan(GlContext *gc);
GLbool8 __glRoundCIStippledSpan(GlContext *gc);
GLbool8 __glLogicOpSpan(GlContext *gc);
GLbool8 __glLogicOpStippledSpan(GlContext *gc);
GLbool8 __glMaskRGBASpan(GlContext *gc);
GLbool8 __glMaskCISpan(GlContext *gc);

// ---- Span processors ----
GLbool8 __glProcessSpan(GlContext *gc);
GLbool8 __glProcessReplicateSpan(GlContext *gc);

// ---- Line stages (plain / stippled twins) ----
GLbool8 __glStippleLine(GlContext *gc);
GLbool8 __glScissorLine(GlContext *gc);
GLbool8 __glScissorStippledLine(GlContext *gc);
GLbool8 __glStencilTestLine(GlContext *gc);
GLbool8 __glStencilTestStippledLine(GlContext *gc);
GLbool8 __glDepthTestStencilLine(GlContext *gc);
GLbool8 __glDepthTestStencilStippledLine(GlContext *gc);
GLbool8 __glDepthPassLine(GlContext *gc);
GLbool8 __glDepthPassStippledLine(GlContext *gc);
GLbool8 __glDepthTestLine(GlContext *gc);
GLbool8 __glDepthTestStippledLine(GlContext *gc);
GLbool8 __glAntiAliasLine(GlContext *gc);
GLbool8 __glAntiAliasStippledLine(GlContext *gc);
GLbool8 __glStoreLine(GlContext *gc);
GLbool8 __glStoreStippledLine(GlContext *gc);
GLbool8 __glStoreLine_RGB_16_Dither(GlContext *gc);
GLbool8 __glStoreStippledLine_RGB_16_Dither(GlContext *gc);
GLbool8 __glStoreLine_RGB_16_Smooth(GlContext *gc);
GLbool8 __glStoreStippledLine_RGB_16_Smooth(GlContext *gc);
GLbool8 __glStoreLine_RGB_16_Flat(GlContext *gc);
GLbool8 __glStoreStippledLine_RGB_16_Flat(GlContext *gc);
GLbool8 __glStoreLine_CI_8_Smooth_Dither(GlContext *gc);
GLbool8 __glStoreStippledLine_CI_8_Smooth_Dither(GlContext *gc);
GLbool8 __glStoreLine_CI_8_Flat_Dither(GlContext *gc);
GLbool8 __glStoreStippledLine_CI_8_Flat_Dither(GlContext *gc);
GLbool8 __glStoreLine_CI_8_Smooth(GlContext *gc);
GLbool8 __glStoreStippledLine_CI_8_Smooth(GlContext *gc);
GLbool8 __glStoreLine_CI_8_Flat(GlContext *gc);
GLbool8 __glStoreStippledLine_CI_8_Flat(GlContext *gc);

// ---- Line repeat procedures and processors ----
GLbool8 __glWideLineRep(GlContext *gc);
GLbool8 __glWideStippleLineRep(GlContext *gc);
GLbool8 __glDrawBothLine(GlContext *gc);
GLbool8 __glDrawBothStippledLine(GlContext *gc);
void __glProcessLine(GlContext *gc);
void __glProcessLine3NW(GlContext *gc);

// ---- Lookup tables rebuilt at validation ----
void __glValidateAlphaTest(GlContext *gc);
void __glValidateIndexTest(GlContext *gc);
void __glValidateStencil(GlContext *gc);
void __glValidateZCount(GlContext *gc);

// ---- Pickers of the blend procedures and of the fragment stores ----
void __glGenericPickBlendProcs(GlContext *gc);
void __glGenericPickStoreProcs(GlContext *gc);

// ---- Clearing and the accumulation buffer (glClear, glAccum) ----
void __glClearBuffers(GlContext *gc, GLbitfield mask);
void __glAccumOp(GlContext *gc, GLenum op, GLfloat value);
