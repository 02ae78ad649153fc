// Creation, early initialisation, the soft reset and destruction of a
// context.
#pragma once

#include <stddef.h>

#include "core/calling.h"
#include "core/imports.h"

struct GlContext;
struct GlExports;

// The core's own creator (the software device's). Null when any allocation
// fails (nothing is left allocated then).
GlContext *__glCoreCreateContext(const GlImports *imports, const GlModes *modes);
// What every creator does: allocates a zeroed record of `recordSize` bytes
// (the core context heads it, a device's own words may follow), stores the
// imports, the modes, the creator's words and the device's exports (early
// initialisation fills copyContext and the dispatch words) and runs early
// initialisation. Null when any allocation fails, with nothing left
// allocated.
GlContext *__glCreateContextWith(const GlImports *imports, const GlModes *modes,
                                 size_t recordSize, const GlExports *exports);
// What every creator stores before early initialisation: the limits and
// fixed constants, and the display-list procedure words.
void __glSetCreatorConstants(GlContext *gc);
void __glSetDlistProcs(GlContext *gc);
// Allocation-time set-up; every creator calls it last. False when an
// allocation failed: the creator then calls __glDestroyContext and frees the
// record. A failure is never recorded as an error of the context the thread
// has bound.
GLbool8 __glEarlyInitContext(GlContext *gc);
// The code caches' cell counts and sizes and the setup data size.
void __glSetCodeCacheSizes(GlContext *gc);
// The initial GL state, on the first binding.
void __glSoftResetContext(GlContext *gc);
// Multiplies the stored colours by the colour scales, once per context.
void __glContextSetColorScales(GlContext *gc);
// Frees everything the context owns except the record and the frame-buffer
// data. Safe on a partly initialised context.
void __glDestroyContext(GlContext *gc);
