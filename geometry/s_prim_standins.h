// Stand-ins for the steady procedures of primitive assembly, which the point,
// line and triangle pickers put in procs.primSteady. Primitive assembly
// replaces them.
#pragma once

struct GlContext;
struct GlVertex;

// ---- Per-vertex procedures (gc, the new vertex) ----
void __glPointLock(GlContext *gc, GlVertex *v);
void __glPointFastLock(GlContext *gc, GlVertex *v);
void __glOtherLStripVertexLock(GlContext *gc, GlVertex *v);
void __glOtherLStripVertexFastLock(GlContext *gc, GlVertex *v);
void __glSecondLinesVertexLock(GlContext *gc, GlVertex *v);
void __glSecondLLoopVertexLock(GlContext *gc, GlVertex *v);
void __glOtherTFanVertexLock(GlContext *gc, GlVertex *v);
void __glEvenTStripVertexLock(GlContext *gc, GlVertex *v);
void __glOddTStripVertexLock(GlContext *gc, GlVertex *v);
void __glThirdTrianglesVertexLock(GlContext *gc, GlVertex *v);
void __glFourthQStripVertexLock(GlContext *gc, GlVertex *v);
void __glFourthQuadsVertexLock(GlContext *gc, GlVertex *v);
void __glPolygonVertexLock(GlContext *gc, GlVertex *v);

// ---- End procedures (gc): kept in primSteady, run as procs.endPrim ----
void __glEndLLoopLock(GlContext *gc);
void __glEndPolygonLock(GlContext *gc);
