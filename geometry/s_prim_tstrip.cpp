// GL_TRIANGLE_STRIP: three slots in rotation; kept[0] is the newer and
// kept[1] the older of the two vertices the next triangle shares. The odd
// procedure takes the third vertex, so vertices 0, 1, 2 go out as
// (P2, P0, P1) and 1, 2, 3 as (P3, P2, P1): OpenGL's windings, newest first.
// Every edge of a strip is a boundary edge.
#include "geometry/s_prim_machine.h"

namespace {

void SecondTStripVertex(GlContext *gc, GlVertex *v);

void FirstTStripVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[1] = v;
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, SecondTStripVertex);
}

void SecondTStripVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[0] = v;
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, gc->procs.primSteady[__GL_STEADY_ODD_TSTRIP]);
  gc->procs.matValidate = __glMatValidateV1V2;
}

// The step both steady procedures share; odd and even triangles differ in
// the order of the two kept vertices and in which procedure comes next.
void StripTriangle(GlContext *gc, GlVertex *v, bool odd) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *a = vb.kept[0], *b = vb.kept[1];
  gc->lineStippleStarted = 0;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.provoking = v;
  vb.next = b;  // the older slot takes the next vertex
  vb.kept[0] = v;
  vb.kept[1] = a;
  gc->procs.primVertex =
      gc->procs.primSteady[odd ? __GL_STEADY_EVEN_TSTRIP : __GL_STEADY_ODD_TSTRIP];
  if (odd)
    __glPrimTriangle(gc, v, b, a);
  else
    __glPrimTriangle(gc, v, a, b);
}

}  // namespace

void __glBeginTStrip(GlContext *gc) { __glPrimBegin(gc, FirstTStripVertex); }

void __glOddTStripVertexLock(GlContext *gc, GlVertex *v) { StripTriangle(gc, v, true); }

void __glEvenTStripVertexLock(GlContext *gc, GlVertex *v) { StripTriangle(gc, v, false); }
