// GL_TRIANGLES: three vertices in slots 0 to 2, each keeping the edge flag
// in force when it was given. The triangle goes out newest vertex first.
#include "geometry/s_prim_machine.h"

namespace {

void SecondTrianglesVertex(GlContext *gc, GlVertex *v);

void FirstTrianglesVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, gc->state.current.edgeFlag, SecondTrianglesVertex);
}

void SecondTrianglesVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, gc->state.current.edgeFlag, gc->procs.primSteady[__GL_STEADY_TRIANGLES]);
}

}  // namespace

void __glBeginTriangles(GlContext *gc) { __glPrimBegin(gc, FirstTrianglesVertex); }

void __glThirdTrianglesVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  gc->lineStippleStarted = 0;
  v->has |= gc->state.current.edgeFlag;
  vb.provoking = v;
  vb.next = __glPrimSlot(gc, 0);
  gc->procs.primVertex = FirstTrianglesVertex;
  __glPrimTriangle(gc, v, __glPrimSlot(gc, 0), __glPrimSlot(gc, 1));
}
