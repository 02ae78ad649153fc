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
  /* Points (gc, v) */                                                                           \
  X(void, __glRenderAliasedPoint1, (GlContext *gc, GlVertex *v), )                               \
  X(void, __glRenderAliasedPoint1_NoTex, (GlContext *gc, GlVertex *v), )                         \
  X(void, __glRenderAliasedPointN, (GlContext *gc, GlVertex *v), )                               \
  X(void, __glRenderAntiAliasedRGBPoint, (GlContext *gc, GlVertex *v), )                         \
  X(void, __glRenderAntiAliasedCIPoint, (GlContext *gc, GlVertex *v), )                          \
  X(void, __glRenderFlatFogPoint, (GlContext *gc, GlVertex *v), )                                \
  /* Lines (gc, a, b) */                                                                         \
  X(void, __glRenderAliasLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                      \
  X(void, __glRenderAntiAliasLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                  \
  X(void, __glRenderFlatFogLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                    \
  X(void, __glFastClipSmoothLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                   \
  X(void, __glFastClipFlatLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                     \
  X(void, __glClipLine, (GlContext *gc, GlVertex *a, GlVertex *b), )                             \
  /* Triangles (gc, a, b, c) */                                                                  \
  /* The fills sit in a fastcall slot: generated set-ups are stored there too. */                \
  X(void GLFASTCALL, __glFillAntiAliasedTriangle,                                                \
    (GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c), )
// clang-format on

RASTER_RENDER_STANDINS(GL_STANDIN_DECLARE)
