// GL_QUAD_STRIP: kept[2], kept[1], kept[0] are the vertices c, b, a a new
// vertex v completes to the quad c, b, v, a (OpenGL order); the next quad
// shares a and v. Four slots in rotation. A clean quad is drawn as (a, c, b)
// and (a, b, v) with the diagonal b-a hidden; every other edge of a strip is
// a boundary edge.
#include "geometry/s_prim_machine.h"

namespace {

void SecondQStripVertex(GlContext *gc, GlVertex *v);
void ThirdQStripVertex(GlContext *gc, GlVertex *v);

void FirstQStripVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[2] = v;
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, SecondQStripVertex);
}

void SecondQStripVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[1] = v;
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, ThirdQStripVertex);
}

void ThirdQStripVertex(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[0] = v;
  __glPrimAdvance(gc, v, __GL_HAS_EDGEFLAG_BOUNDARY, gc->procs.primSteady[__GL_STEADY_QSTRIP]);
  gc->procs.matValidate = __glMatValidateV1V2V3;
}

}  // namespace

void __glBeginQStrip(GlContext *gc) { __glPrimBegin(gc, FirstQStripVertex); }

void __glFourthQStripVertexLock(GlContext *gc, GlVertex *v) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *a = vb.kept[0], *b = vb.kept[1], *c = vb.kept[2];
  gc->lineStippleStarted = 0;
  v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  vb.provoking = v;
  vb.next = c;
  vb.kept[1] = v;
  vb.kept[2] = a;
  gc->procs.primVertex = ThirdQStripVertex;
  gc->procs.matValidate = __glMatValidateV2V3;
  GlVertex *quad[4] = {c, b, v, a};
  if (__glPrimQuadClipped(gc, quad)) return;
  __glRenderLock(gc);
  b->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
  gc->procs.renderTriangle(gc, a, c, b);
  a->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
  b->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  gc->procs.renderTriangle(gc, a, b, v);
  a->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
  __glRenderUnlock(gc);
}
