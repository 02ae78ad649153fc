// Stand-ins for the steady procedures of primitive assembly
// (geometry/s_prim_standins.h).
#include "geometry/s_prim_standins.h"

#include "core/s_standin.h"

#define VERTEX_PROC(name) void name(GlContext *, GlVertex *) GL_STANDIN_VOID_BODY(name)
VERTEX_PROC(__glPointLock)
VERTEX_PROC(__glPointFastLock)
VERTEX_PROC(__glOtherLStripVertexLock)
VERTEX_PROC(__glOtherLStripVertexFastLock)
VERTEX_PROC(__glSecondLinesVertexLock)
VERTEX_PROC(__glSecondLLoopVertexLock)
VERTEX_PROC(__glOtherTFanVertexLock)
VERTEX_PROC(__glEvenTStripVertexLock)
VERTEX_PROC(__glOddTStripVertexLock)
VERTEX_PROC(__glThirdTrianglesVertexLock)
VERTEX_PROC(__glFourthQStripVertexLock)
VERTEX_PROC(__glFourthQuadsVertexLock)
VERTEX_PROC(__glPolygonVertexLock)

// clang-format off
void __glEndLLoopLock(GlContext *) GL_STANDIN_VOID_BODY(__glEndLLoopLock)
void __glEndPolygonLock(GlContext *) GL_STANDIN_VOID_BODY(__glEndPolygonLock)
// clang-format on
