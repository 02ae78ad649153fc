// Stand-ins for the per-vertex lighting procedures that ComputeLightProcs
// installs in procs.calcColor, until the vertex lighting code exists. Each
// takes the face (0 front, 1 back) and the vertex whose colour it writes.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

void __glFastCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glK3DFastCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glI386CalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glK3DCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glFastCalcCIColor(GlContext *gc, GLint face, GlVertex *v);
void __glFastCalcCIColor_ShiftOffset(GlContext *gc, GLint face, GlVertex *v);
void __glCalcCIColor(GlContext *gc, GLint face, GlVertex *v);
