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

// At a context reset (`atReset`) only the drawing wrapper may be installed;
// from the enables picker both may be. Nothing here takes them out again.
void __glVarrayInstallGenerated(GlContext *gc, bool atReset);
