// The last stages of the per-buffer span tail of a buffer that sets
// separateSpanOps: dithering or rounding to the buffer's integer values,
// the colour-index logic op and the write masks. Results stay in the span's
// colour array as whole-number floats. Each returns false.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;

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
// Both lists.
GLbool8 __glMaskRGBASpan(GlContext *gc);
GLbool8 __glMaskCISpan(GlContext *gc);
