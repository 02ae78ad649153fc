// The steps of lazy vertex validation that have files of their own.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// Replaces v's object-space normal by its eye-space normal (normalised when
// GL_NORMALIZE is on). `sizeClass` is 2, 3 or 4.
void __glValidateVertexNormal(GlContext *gc, GlVertex *v, int32_t sizeClass);
