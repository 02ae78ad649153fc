// GL_TRIANGLE_FAN: the centre stays in slot 0; kept[0] is the rim vertex the
// next triangle shares, and slots 1 and 2 alternate. Triangles go out as
// (newest, centre, previous rim vertex); every edge is a boundary edge.
#include "geometry/s_prim_machine.h"

namespace {

void SecondTFanVertex(GlContext *gc, GlVertex *v);

void FirstTFanVertex(GlContext *gc, GlVertex *v) {
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  gc->vertexBuffer.next = v + 1;
  gc->procs.primVertex = SecondTFanVertex;
}

void SecondTFanVertex(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.next = v + 1;
  vb.kept[0] = v;
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_TFAN];
  gc->procs.matValidate = __glMatValidateVbuf0V1;
}

}  // namespace

void __glBeginTFan(GlContext *gc) {
  gc->vertexBuffer.next = __glPrimSlot(gc, 0);
  gc->procs.primVertex = FirstTFanVertex;
  gc->procs.matValidate = __glMatValidateVbuf0N;
}

void __glOtherTFanVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *centre = __glPrimSlot(gc, 0);
  GlVertex *a = vb.kept[0];
  gc->lineStippleStarted = 0;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.provoking = v;
  vb.kept[0] = v;
  vb.next = a;
  const uint32_t orCodes = (v->has | centre->has | a->has) & __GL_PRIM_CLIP_MASK;
  const uint32_t andCodes = (v->has & centre->has & a->has) & __GL_PRIM_CLIP_MASK;
  __glPrimTriangle(gc, __glPrimDecide(orCodes, andCodes), v, centre, a, orCodes);
}
