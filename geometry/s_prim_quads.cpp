// GL_QUADS: four vertices in slots 0 to 3, each keeping the edge flag in
// force when it was given. A clean quad is drawn as (q3, q0, q1) and
// (q3, q1, q2) with the diagonal q1-q3 hidden: the boundary bit of a vertex
// marks the edge that starts at it in the winding order.
#include "geometry/s_pgclip_standins.h"
#include "geometry/s_prim_machine.h"

namespace {

void SecondQuadsVertex(GlContext *gc, GlVertex *v);
void ThirdQuadsVertex(GlContext *gc, GlVertex *v);

void FirstQuadsVertex(GlContext *gc, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = SecondQuadsVertex;
}

void SecondQuadsVertex(GlContext *gc, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = ThirdQuadsVertex;
}

void ThirdQuadsVertex(GlContext *gc, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_QUADS];
}

}  // namespace

void __glBeginQuads(GlContext *gc) {
  gc->vertexBuffer.next = __glPrimSlot(gc, 0);
  gc->procs.primVertex = FirstQuadsVertex;
  gc->procs.matValidate = __glMatValidateVbuf0N;
}

void __glFourthQuadsVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *q[4] = {__glPrimSlot(gc, 0), __glPrimSlot(gc, 1), __glPrimSlot(gc, 2), v};
  v->has |= gc->state.current.edgeFlag;
  gc->lineStippleStarted = 0;
  vb.provoking = v;
  vb.next = q[0];
  gc->procs.primVertex = FirstQuadsVertex;
  const uint32_t orCodes = (q[0]->has | q[1]->has | q[2]->has | v->has) & __GL_PRIM_CLIP_MASK;
  const uint32_t andCodes = (q[0]->has & q[1]->has & q[2]->has & v->has) & __GL_PRIM_CLIP_MASK;
  switch (__glPrimDecide(orCodes, andCodes)) {
    case __GL_PRIM_DROP:
      return;
    case __GL_PRIM_CLIP:
      __glRenderLock(gc);
      __glDoPolygonClip(gc, q, 4, orCodes);
      __glRenderUnlock(gc);
      return;
    case __GL_PRIM_DRAW:
      break;
  }
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
