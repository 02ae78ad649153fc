// The span pipeline: the span processors, and the span procedures that
// test, shade, texture and fog the pixels of gc->polygon.shader. Every
// procedure follows the stage contract of GlSpanProc (raster/s_span_procs.h).
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;

// ---- Processors (procs.span.processSpan) ----
GLbool8 __glProcessSpan(GlContext *gc);
// Drawing into front and back: the per-buffer tail runs once per buffer
// from the same source colours.
GLbool8 __glProcessReplicateSpan(GlContext *gc);

// ---- Tests (plain / stippled twin) ----
GLbool8 __glClipSpan(GlContext *gc);  // no twin
GLbool8 __glStippleSpan(GlContext *gc);
GLbool8 __glStippleStippledSpan(GlContext *gc);
GLbool8 __glAlphaTestSpan(GlContext *gc);
GLbool8 __glAlphaTestStippledSpan(GlContext *gc);
GLbool8 __glIndexTestSpan(GlContext *gc);
GLbool8 __glIndexTestStippledSpan(GlContext *gc);
GLbool8 __glStencilTestSpan(GlContext *gc);
GLbool8 __glStencilTestStippledSpan(GlContext *gc);
GLbool8 __glDepthTestSpan(GlContext *gc);
GLbool8 __glDepthTestStippledSpan(GlContext *gc);
GLbool8 __glDepthTestStencilSpan(GlContext *gc);
GLbool8 __glDepthTestStencilStippledSpan(GlContext *gc);
GLbool8 __glDepthPassSpan(GlContext *gc);
GLbool8 __glDepthPassStippledSpan(GlContext *gc);
GLbool8 __glDepthTestOffsetSpan(GlContext *gc);
GLbool8 __glDepthTestStippledOffsetSpan(GlContext *gc);
GLbool8 __glDepthTestStencilOffsetSpan(GlContext *gc);
GLbool8 __glDepthTestStencilStippledOffsetSpan(GlContext *gc);

// ---- Colour: shading serves both lists; texture and fog have twins ----
GLbool8 __glFlatRGBASpan(GlContext *gc);
GLbool8 __glShadeRGBASpan(GlContext *gc);
GLbool8 __glFlatCISpan(GlContext *gc);
GLbool8 __glShadeCISpan(GlContext *gc);
GLbool8 __glTextureSpan(GlContext *gc);
GLbool8 __glTextureStippledSpan(GlContext *gc);
GLbool8 __glFogSpan(GlContext *gc);
GLbool8 __glFogStippledSpan(GlContext *gc);
GLbool8 __glFogSpanSlow(GlContext *gc);  // per fragment, from eye z
GLbool8 __glFogStippledSpanSlow(GlContext *gc);

// ---- The alpha- and index-test tables, rebuilt when their dirty bits are
//      set ----
void __glValidateAlphaTest(GlContext *gc);
void __glValidateIndexTest(GlContext *gc);
