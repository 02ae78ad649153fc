// Where generated array code comes in: the element-compile wrapper and the
// triangle-strip drawing wrapper, installed only on processors without
// 3DNow!, in GL_RENDER, when the generator exists and its switch is not set.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

// Generates the strip drawer for the state in force, puts it in the
// GL_TRIANGLE_STRIP slot and runs it with the same arguments.
void GLFASTCALL __glDrawVertexes_TstripWrapper(GlContext *gc, int32_t first, int32_t count,
                                               const uint32_t *elements);

// Generate the compiled vertex routine for the state in force on each call
// (a lookup once it exists) and run it; a call for no vertices returns at
// once. The array wrapper serves the vertex-array compile slot, the others
// the vertex cache's slots for vertex sizes 2, 3 and 4.
void GLFASTCALL CompileElementsVarrayWrapper(GlContext *gc, int32_t position, int32_t first,
                                             int32_t count);
void GLFASTCALL CompileElementsVcache2Wrapper(GlContext *gc, int32_t position, int32_t first,
                                              int32_t count);
void GLFASTCALL CompileElementsVcache3Wrapper(GlContext *gc, int32_t position, int32_t first,
                                              int32_t count);
void GLFASTCALL CompileElementsVcache4Wrapper(GlContext *gc, int32_t position, int32_t first,
                                              int32_t count);

// At a context reset (`atReset`) only the drawing wrapper may be installed;
// from the enables picker both may be. Nothing here takes them out again.
void __glVarrayInstallGenerated(GlContext *gc, bool atReset);
