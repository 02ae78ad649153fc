// GL_TRIANGLE_FAN: the centre stays in slot 0; kept[0] is the rim vertex the
// next triangle shares, and slots 1 and 2 alternate. Triangles go out as
// (newest, centre, previous rim vertex); every edge is a boundary edge.
#include "geometry/s_prim_machine.h"

namespace {

void SecondTFanVertex(GlContext *gc, GlVertex *v);

void FirstTFanVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, SecondTFanVertex);
}

void SecondTFanVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[0] = v;
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, gc->procs.primSteady[__GL_STEADY_TFAN]);
  gc->procs.matValidate = __glMatValidateVbuf0V1;
}

}  // namespace

void __glBeginTFan(GlContext *gc) { __glPrimBegin(gc, FirstTFanVertex); }

void __glOtherTFanVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *a = vb.kept[0];
  gc->lineStippleStarted = 0;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.provoking = v;
  vb.kept[0] = v;
  vb.next = a;
  __glPrimTriangle(gc, v, __glPrimSlot(gc, 0), a);
}
