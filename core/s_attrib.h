// Attribute stacks and context copy.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;

// Copies the server attribute groups named by mask from src to dst (the
// context's copyContext export).
GLbool8 __glCopyContext(GlContext *dst, GlContext *src, GLuint mask);
// Frees the saved server attribute records.
void __glFreeAttributeState(GlContext *gc);
