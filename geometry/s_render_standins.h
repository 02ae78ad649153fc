// Stand-ins for the render procedures of the feedback and selection modes
// and for the triangle clipper. Feedback, selection and polygon clipping
// replace them.
#pragma once

#include <stdint.h>

#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define GEOMETRY_RENDER_STANDINS(X)                                                       \
  X(void, __glFeedbackPoint, (GlContext *gc, GlVertex *v), )                              \
  X(void, __glFeedbackLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                  \
  X(void, __glFeedbackTriangle, (GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c), ) \
  X(void, __glSelectPoint, (GlContext *gc, GlVertex *v), )                                \
  X(void, __glSelectLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                    \
  X(void, __glSelectTriangle, (GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c), )   \
  /* a, b, c in winding order; the OR of their `has` words. */                            \
  X(void, __glClipTriangle,                                                               \
    (GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes), )
// clang-format on

GEOMETRY_RENDER_STANDINS(GL_STANDIN_DECLARE)
