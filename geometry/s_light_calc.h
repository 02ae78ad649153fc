// The per-vertex lighting procedures that ComputeLightProcs installs in
// procs.calcColor. Each lights one face (0 front, 1 back: the back face
// takes the negated normal and the back material) of a vertex whose eye
// coordinates and eye-space normal are valid, and writes that face's colour.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlVertex;

// RGBA, every enabled light directional without spot and the viewer at
// infinity: the cached direction and half vector of each light.
void __glFastCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);

// RGBA, any light: positional lights, spotlights and the local viewer. One
// contract, three forms: portable single precision, x87 extended precision
// with table indexes rounded to nearest, and 3DNow!.
void __glCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glI386CalcRGBColor(GlContext *gc, GLint face, GlVertex *v);

// The 3DNow! forms, written in assembly (s_light_k3d_*.cpp). They run only
// on a processor with 3DNow! and leave the floating-point unit free for x87
// code when they return.
extern "C" {
void __glK3DFastCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
void __glK3DCalcRGBColor(GlContext *gc, GLint face, GlVertex *v);
}

// Colour index: the lit index in the red component. The fast forms serve
// directional lights under an infinite viewer; the _ShiftOffset form always
// applies the material's index shift and offset, __glCalcCIColor whenever
// either is not 0.
void __glFastCalcCIColor(GlContext *gc, GLint face, GlVertex *v);
void __glFastCalcCIColor_ShiftOffset(GlContext *gc, GLint face, GlVertex *v);
void __glCalcCIColor(GlContext *gc, GLint face, GlVertex *v);
