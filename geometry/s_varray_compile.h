// The element compiles: converting a run of array elements into vertices of
// the batch buffer, the cull-vertex test, then transform and clip check.
#pragma once

#include <stdint.h>

#include "geometry/s_varray.h"

// Indexed by compileIndex: bit 0x1 normal, 0x2 colour or index, 0x4 texture
// coordinate.
extern const GlCompileProc RGBCompileProcs[8];
extern const GlCompileProc CICompileProcs[8];
extern const GlCompileProc RGBInterleavedCompileProcs[8];
extern const GlCompileProc CIInterleavedCompileProcs[8];

// Every field, with the cull-vertex test: the general compile.
void GLFASTCALL CompileElementsAll(GlContext *gc, int32_t position, int32_t first, int32_t count);
void GLFASTCALL CompileElementsAllNoCull(GlContext *gc, int32_t position, int32_t first,
                                         int32_t count);
void GLFASTCALL CompileElementsIndexed(GlContext *gc, int32_t position, int32_t first,
                                       int32_t count, const uint32_t *elements);
void GLFASTCALL CompileElementsSilhouette(GlContext *gc, GlVertex *v, int32_t element);
// The vertex cache's forms: its vertices already hold their attributes.
void GLFASTCALL __glCompileElements_NoCopy(GlContext *gc, int32_t position, int32_t first,
                                           int32_t count);
// Takes the element as the slot does, and has no use for it.
void GLFASTCALL __glCompileElementsSilhouette_NoCopy(GlContext *gc, GlVertex *v, int32_t element);

// The `has` bits the cull-vertex test gives a vertex (0 when it is off).
uint32_t __glVarrayCullBits(const GlContext *gc, const GlVertex *v);
