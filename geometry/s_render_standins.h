// Stand-ins for the render procedures of the feedback and selection modes
// and for the triangle clipper. Feedback, selection and polygon clipping
// replace them.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

void __glFeedbackPoint(GlContext *gc, GlVertex *v);
void __glFeedbackLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glFeedbackTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
void __glSelectPoint(GlContext *gc, GlVertex *v);
void __glSelectLine(GlContext *gc, GlVertex *a, GlVertex *b);
void __glSelectTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);

// a, b, c in winding order; the OR of their `has` words.
void __glClipTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes);
