// The aliased line rasterizer: the set-up of one segment into gc->line, its
// render procedures, the processors that run the picked line stages
// (procs.line) with their wide-line and both-buffer repeats, and the line
// stages that test and store along the run. Every stage follows the stage
// contract of GlSpanProc (raster/s_span_procs.h), walking the run's pixels
// by the line's DDA instead of along a row.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlVertex;

// A vertex as the line set-ups read it: pixel centres at whole numbers, z in
// depth-buffer units, its colour rescaled (colour points at `color`). The
// caller's vertex is never written.
typedef struct GlLinePrepared {
  GlVertex v;
  GlColor color;
} GlLinePrepared;
void __glPrepareLineVertex(const GlContext *gc, const GlVertex *in, GlLinePrepared *out);

// ---- Set-up and render procedures (procs.renderLine); the window x and y
//      of the vertices given to __glInitLineData carry the half-pixel shift.
void __glInitLineData(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderAliasLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glRenderFlatFogLine(GlContext *gc, GlVertex *a, GlVertex *b);

// ---- Processors (procs.line.processLine) and the repeat procedures ----
void __glProcessLine(GlContext *gc);
void __glProcessLine3NW(GlContext *gc);
GLbool8 __glWideLineRep(GlContext *gc);
GLbool8 __glWideStippleLineRep(GlContext *gc);
GLbool8 __glDrawBothLine(GlContext *gc);
GLbool8 __glDrawBothStippledLine(GlContext *gc);

// ---- Line stages (plain / stippled twin) ----
GLbool8 __glStippleLine(GlContext *gc);  // no twin
GLbool8 __glScissorLine(GlContext *gc);
GLbool8 __glScissorStippledLine(GlContext *gc);
GLbool8 __glStencilTestLine(GlContext *gc);
GLbool8 __glStencilTestStippledLine(GlContext *gc);
GLbool8 __glDepthTestLine(GlContext *gc);
GLbool8 __glDepthTestStippledLine(GlContext *gc);
GLbool8 __glDepthTestStencilLine(GlContext *gc);
GLbool8 __glDepthTestStencilStippledLine(GlContext *gc);
GLbool8 __glDepthPassLine(GlContext *gc);
GLbool8 __glDepthPassStippledLine(GlContext *gc);

// ---- Stores: through the colour buffer's fragment store, or directly
//      into 16-bit RGB and 8-bit colour-index memory ----
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
