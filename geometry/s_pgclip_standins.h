// Stand-in for the polygon clipper the core fills procs.clipPolygon with;
// polygon clipping replaces it.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// Clips `count` consecutive vertices, the first the provoking one, and
// draws what is left.
void __glClipPolygon(GlContext *gc, GlVertex *first, int32_t count);
