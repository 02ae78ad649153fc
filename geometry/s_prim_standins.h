// Stand-ins for the steady procedures of primitive assembly, which the point,
// line and triangle pickers put in procs.primSteady. Primitive assembly
// replaces them.
#pragma once

#include "core/s_standin.h"

struct GlContext;
struct GlVertex;

// clang-format off
#define GEOMETRY_PRIM_STANDINS(X)                                        \
  /* Per-vertex procedures (gc, the new vertex) */                       \
  X(void, __glPointLock, (GlContext *gc, GlVertex *v), )                 \
  X(void, __glPointFastLock, (GlContext *gc, GlVertex *v), )             \
  X(void, __glOtherLStripVertexLock, (GlContext *gc, GlVertex *v), )     \
  X(void, __glOtherLStripVertexFastLock, (GlContext *gc, GlVertex *v), ) \
  X(void, __glSecondLinesVertexLock, (GlContext *gc, GlVertex *v), )     \
  X(void, __glSecondLLoopVertexLock, (GlContext *gc, GlVertex *v), )     \
  X(void, __glOtherTFanVertexLock, (GlContext *gc, GlVertex *v), )       \
  X(void, __glEvenTStripVertexLock, (GlContext *gc, GlVertex *v), )      \
  X(void, __glOddTStripVertexLock, (GlContext *gc, GlVertex *v), )       \
  X(void, __glThirdTrianglesVertexLock, (GlContext *gc, GlVertex *v), )  \
  X(void, __glFourthQStripVertexLock, (GlContext *gc, GlVertex *v), )    \
  X(void, __glFourthQuadsVertexLock, (GlContext *gc, GlVertex *v), )     \
  X(void, __glPolygonVertexLock, (GlContext *gc, GlVertex *v), )         \
  /* End procedures (gc): kept in primSteady, run as procs.endPrim */    \
  X(void, __glEndLLoopLock, (GlContext *gc), )                           \
  X(void, __glEndPolygonLock, (GlContext *gc), )
// clang-format on

GEOMETRY_PRIM_STANDINS(GL_STANDIN_DECLARE)
