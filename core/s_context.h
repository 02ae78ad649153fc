// Creation, early initialisation, the soft reset and destruction of a
// context.
#pragma once

#include "core/calling.h"
#include "wgl/gl_imports.h"

struct GlContext;

// The core's own creator (the software device's). Null when any allocation
// fails (nothing is left allocated then).
GlContext *__glCoreCreateContext(const GlImports *imports, const GlModes *modes);
// What every creator stores before early initialisation: the limits and
// fixed constants, and the display-list procedure words.
void __glSetCreatorConstants(GlContext *gc);
void __glSetDlistProcs(GlContext *gc);
// Allocation-time set-up; every creator calls it last. False when an
// allocation failed: the creator then calls __glDestroyContext and frees the
// record. A failure is never recorded as an error of the context the thread
// has bound.
GLbool8 __glEarlyInitContext(GlContext *gc);
// The initial GL state, on the first binding.
void __glSoftResetContext(GlContext *gc);
// Multiplies the stored colours by the colour scales, once per context.
void __glContextSetColorScales(GlContext *gc);
// Frees everything the context owns except the record and the frame-buffer
// data. Safe on a partly initialised context.
void __glDestroyContext(GlContext *gc);
