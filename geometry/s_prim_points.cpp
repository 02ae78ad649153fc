// GL_POINTS: every point reuses slot 0 and is drawn as it arrives.
#include "geometry/s_prim_machine.h"

void __glBeginPoints(GlContext *gc) {
  gc->procs.primVertex = gc->procs.primSteady[__GL_STEADY_POINT];
  gc->vertexBuffer.next = __glPrimSlot(gc, 0);
  gc->procs.endPrim = __glEndPoints;
  gc->procs.matValidate = __glNop1;  // no point waits for a later one
}

void __glPointLock(GlContext *gc, GlVertex *v) {
  if (v->has & __GL_PRIM_CLIP_MASK) return;  // outside: a point is never clipped
  __glPrimValidate(gc, v, gc->vertexBuffer.frontNeeds | __GL_HAS_FRONT_COLOR);
  __glRenderLock(gc);
  gc->procs.renderPoint(gc, v);
  __glRenderUnlock(gc);
}

// Nothing to validate when no state needs a computed field.
void __glPointFastLock(GlContext *gc, GlVertex *v) {
  if (v->has & __GL_PRIM_CLIP_MASK) return;
  __glRenderLock(gc);
  gc->procs.renderPoint(gc, v);
  __glRenderUnlock(gc);
}

void __glEndPoints(GlContext *gc) { __glPrimRest(gc); }
