// GL_QUADS: four vertices in slots 0 to 3, each keeping the edge flag in
// force when it was given. A clean quad is drawn as (q3, q0, q1) and
// (q3, q1, q2) with the diagonal q1-q3 hidden: the boundary bit of a vertex
// marks the edge that starts at it in the winding order.
#include "geometry/s_prim_machine.h"

namespace {

void SecondQuadsVertex(GlContext *gc, GlVertex *v);
void ThirdQuadsVertex(GlContext *gc, GlVertex *v);

void FirstQuadsVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, gc->state.current.edgeFlag, SecondQuadsVertex);
}

void SecondQuadsVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, gc->state.current.edgeFlag, ThirdQuadsVertex);
}

void ThirdQuadsVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, gc->state.current.edgeFlag, gc->procs.primSteady[__GL_STEADY_QUADS]);
}

}  // namespace

void __glBeginQuads(GlContext *gc) { __glPrimBegin(gc, FirstQuadsVertex); }

void __glFourthQuadsVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *q[4] = {__glPrimSlot(gc, 0), __glPrimSlot(gc, 1), __glPrimSlot(gc, 2), v};
  v->has |= gc->state.current.edgeFlag;
  gc->lineStippleStarted = 0;
  vb.provoking = v;
  vb.next = q[0];
  gc->procs.primVertex = FirstQuadsVertex;
  if (__glPrimQuadClipped(gc, q)) return;
  const uint32_t q1Edge = q[1]->has & __GL_HAS_EDGEFLAG_BOUNDARY;
  const uint32_t q3Edge = v->has & __GL_HAS_EDGEFLAG_BOUNDARY;
  __glRenderLock(gc);
  q[1]->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
  gc->procs.renderTriangle(gc, v, q[0], q[1]);
  q[1]->has |= q1Edge;
  v->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
  gc->procs.renderTriangle(gc, v, q[1], q[2]);
  // Every vertex leaves with the edge flag it was given.
  v->has |= q3Edge;
  __glRenderUnlock(gc);
}
