// GL_TRIANGLE_STRIP: three slots in rotation; kept[0] is the newer and
// kept[1] the older of the two vertices the next triangle shares. The odd
// procedure takes the third vertex, so vertices 0, 1, 2 go out as
// (P2, P0, P1) and 1, 2, 3 as (P3, P2, P1): OpenGL's windings, newest first.
// Every edge of a strip is a boundary edge.
#include "geometry/s_prim_machine.h"

namespace {

void SecondTStripVertex(GlContext *gc, GlVertex *v);

void FirstTStripVertex(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.next = v + 1;
  vb.kept[1] = v;
  gc->procs.primVertex = SecondTStripVertex;
}

void SecondTStripVertex(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.next = v + 1;
  vb.kept[0] = v;
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_ODD_TSTRIP];
  gc->procs.matValidate = __glMatValidateV1V2;
}

// The bookkeeping both steady procedures share; the decision on the three
// vertices. a is the newer kept vertex, b the older.
GlPrimDecision StripStep(GlContext *gc, GlVertex *v, GlVertex **a, GlVertex **b,
                         uint32_t *orCodes) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  *a = vb.kept[0];
  *b = vb.kept[1];
  gc->lineStippleStarted = 0;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.provoking = v;
  vb.next = *b;  // the older slot takes the next vertex
  vb.kept[0] = v;
  vb.kept[1] = *a;
  const uint32_t h0 = (*a)->has, h1 = (*b)->has;
  *orCodes = (h0 | h1 | v->has) & __GL_PRIM_CLIP_MASK;
  return __glPrimDecide(*orCodes, (h0 & h1 & v->has) & __GL_PRIM_CLIP_MASK);
}

}  // namespace

void __glBeginTStrip(GlContext *gc) {
  gc->vertexBuffer.next = __glPrimSlot(gc, 0);
  gc->procs.primVertex = FirstTStripVertex;
  gc->procs.matValidate = __glMatValidateVbuf0N;
}

void __glOddTStripVertexLock(GlContext *gc, GlVertex *v) {
  GlVertex *a, *b;
  uint32_t orCodes;
  const GlPrimDecision decision = StripStep(gc, v, &a, &b, &orCodes);
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_EVEN_TSTRIP];
  __glPrimTriangle(gc, decision, v, b, a, orCodes);
}

void __glEvenTStripVertexLock(GlContext *gc, GlVertex *v) {
  GlVertex *a, *b;
  uint32_t orCodes;
  const GlPrimDecision decision = StripStep(gc, v, &a, &b, &orCodes);
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_ODD_TSTRIP];
  __glPrimTriangle(gc, decision, v, a, b, orCodes);
}
