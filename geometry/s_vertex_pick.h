// The vertex picker: clip checks, validators and the save procedure for the
// current state.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// The pickVertexProcs slot; also run whenever the composite matrix changes,
// since the size-2 clip check depends on it.
void __glGenericPickVertexProcs(GlContext *gc);
// The validator of vertices nothing needs to be computed for: the vertex
// keeps its `has`.
uint32_t __glValidateNothing(GlContext *gc, GlVertex *v, uint32_t needs);
