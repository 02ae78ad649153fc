// Primitive assembly: the begin procedures of the ten modes, the per-vertex
// state machines, the end procedures, the material validators that protect
// buffered vertices, and the render lock around every hand-off.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlVertex;

// The hand-off clipping mask: clip codes and the cull bit.
#define __GL_PRIM_CLIP_MASK 0xFFFF2000u

// The render lock: re-entrant through gc->renderLockCount; the buffers are
// locked when the count goes 0 -> 1 and unlocked when it returns to 0.
void __glRenderLock(GlContext *gc);
void __glRenderUnlock(GlContext *gc);

// procs.beginPrim, mode order.
void __glBeginPoints(GlContext *gc);
void __glBeginLines(GlContext *gc);
void __glBeginLLoop(GlContext *gc);
void __glBeginLStrip(GlContext *gc);
void __glBeginTriangles(GlContext *gc);
void __glBeginTStrip(GlContext *gc);
void __glBeginTFan(GlContext *gc);
void __glBeginQuads(GlContext *gc);
void __glBeginQStrip(GlContext *gc);
void __glBeginPolygon(GlContext *gc);

// The steady per-vertex procedures the pickers put in procs.primSteady.
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
// End procedures kept in primSteady[4] and [12], run as procs.endPrim.
void __glEndLLoopLock(GlContext *gc);
void __glEndPolygonLock(GlContext *gc);
// The default end procedures.
void __glEndPrim(GlContext *gc);
void __glEndPoints(GlContext *gc);

// procs.matValidate members.
void __glMatValidateVbuf0N(GlContext *gc);
void __glMatValidateV1(GlContext *gc);
void __glMatValidateVbuf0V1(GlContext *gc);
void __glMatValidateV1V2(GlContext *gc);
void __glMatValidateV1V2V3(GlContext *gc);
void __glMatValidateV2V3(GlContext *gc);
