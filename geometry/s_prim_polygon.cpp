// GL_POLYGON: vertices fill the sixteen slots in order and go to the polygon
// clipper, which decides itself between drawing, dropping and clipping. A
// polygon of more than fifteen vertices is drawn as consecutive fans that
// share the first vertex: 15 vertices in the first batch, then 13 new ones
// per further batch.
#include "geometry/s_prim_machine.h"

namespace {

// Slot 15 is the last; its arrival draws the fifteen slots before it.
constexpr int kLastSlot = 15;

// The sixteenth slot is filled: draw slots 0..14 and carry the first vertex,
// slot 14 and slot 15 over into the next batch.
void FlushPolygon(GlContext *gc) {
  GlVertexBuffer &vb = gc->vertexBuffer;
  GlVertex *first = __glPrimSlot(gc, 0);
  GlVertex *last = __glPrimSlot(gc, kLastSlot - 1);
  GlVertex *newest = __glPrimSlot(gc, kLastSlot);
  // The edge from slot 14 back to slot 0 lies inside the polygon.
  const uint32_t lastEdge = last->has & __GL_HAS_EDGEFLAG_BOUNDARY;
  last->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
  __glRenderLock(gc);
  gc->procs.clipPolygon(gc, first, kLastSlot);
  __glRenderUnlock(gc);
  // Validation may have added bits meanwhile: give back only the edge.
  last->has |= lastEdge;
  // Whole records, then each copy's colour pointer into its own record: the
  // clipper and the render procedures take a vertex's colour through it.
  first[1] = *last;
  first[1].color = &first[1].colors[__GL_FRONTFACE];
  first[2] = *newest;
  first[2].color = &first[2].colors[__GL_FRONTFACE];
  vb.next = &first[3];
  // So is the edge from the first vertex to the copy of slot 14.
  first->has &= ~__GL_HAS_EDGEFLAG_BOUNDARY;
}

}  // namespace

void __glBeginPolygon(GlContext *gc) {
  gc->lineStippleStarted = 0;
  gc->procs.endPrim = __glSteadyEndProc(gc->procs.primSteady[__GL_STEADY_END_POLYGON]);
  __glPrimBegin(gc, gc->procs.primSteady[__GL_STEADY_POLYGON]);
}

void __glPolygonVertexLock(GlContext *gc, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
  if (v != __glPrimSlot(gc, kLastSlot))
    gc->vertexBuffer.next = v + 1;
  else
    FlushPolygon(gc);
}

void __glEndPolygonLock(GlContext *gc) {
  GlVertex *first = __glPrimSlot(gc, 0);
  const int32_t count = int32_t(gc->vertexBuffer.next - first);
  if (count >= 3) {
    __glRenderLock(gc);
    gc->procs.clipPolygon(gc, first, count);
    __glRenderUnlock(gc);
  }
  __glPrimRest(gc);
}
