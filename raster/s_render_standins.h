// Stand-ins for the render, fill and trap procedures of points, lines and
// triangles and for the independent-line clippers. The generic rasterizer's
// primitive front end (points, lines, triangle set-up and fill) replaces
// them.
#pragma once

#include "core/calling.h"
#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define RASTER_RENDER_STANDINS(X)                                                                \
  /* Lines (gc, a, b) */                                                                         \
  X(void, __glRenderAntiAliasLine, (GlContext *gc, GlVertex *a, GlVertex *b), )
// clang-format on

RASTER_RENDER_STANDINS(GL_STANDIN_DECLARE)
