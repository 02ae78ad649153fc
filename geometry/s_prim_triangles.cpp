// GL_TRIANGLES: three vertices in slots 0 to 2, each keeping the edge flag
// in force when it was given. The triangle goes out newest vertex first.
#include "geometry/s_prim_machine.h"

namespace {

void SecondTrianglesVertex(GlContext *gc, GlVertex *v);

void FirstTrianglesVertex(GlContext *gc, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = SecondTrianglesVertex;
}

void SecondTrianglesVertex(GlContext *gc, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_TRIANGLES];
}

}  // namespace

void __glBeginTriangles(GlContext *gc) {
  gc->vertexBuffer.next = __glPrimSlot(gc, 0);
  gc->procs.primVertex = FirstTrianglesVertex;
  gc->procs.matValidate = __glMatValidateVbuf0N;
}

void __glThirdTrianglesVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *a = __glPrimSlot(gc, 0);
  GlVertex *b = __glPrimSlot(gc, 1);
  gc->lineStippleStarted = 0;
  v->has |= gc->state.current.edgeFlag;
  vb.provoking = v;
  vb.next = a;
  gc->procs.primVertex = FirstTrianglesVertex;
  const uint32_t orCodes = (a->has | b->has | v->has) & __GL_PRIM_CLIP_MASK;
  const uint32_t andCodes = (a->has & b->has & v->has) & __GL_PRIM_CLIP_MASK;
  __glPrimTriangle(gc, __glPrimDecide(orCodes, andCodes), v, a, b, orCodes);
}
