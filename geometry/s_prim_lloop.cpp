// GL_LINE_LOOP: the first vertex stays in slot 0 for the closing segment;
// from the third vertex on the line-strip procedure alternates between slots
// 1 and 2. The stipple restarts once, at glBegin, and continues round the
// closing segment.
#include "geometry/s_prim_machine.h"

namespace {

void FirstLLoopVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, 0, gc->procs.primSteady[__GL_STEADY_LLOOP]);
}

}  // namespace

void __glBeginLLoop(GlContext *gc) {
  gc->lineStippleStarted = 0;
  gc->procs.endPrim = __glSteadyEndProc(gc->procs.primSteady[__GL_STEADY_END_LLOOP]);
  __glPrimBegin(gc, FirstLLoopVertex);
}

void __glSecondLLoopVertexLock(GlContext *gc, GlVertex *v) {
  gc->vertexBuffer.kept[0] = v;
  __glPrimAdvance(gc, v, 0, gc->procs.primSteady[__GL_STEADY_LSTRIP]);
  gc->procs.matValidate = __glMatValidateVbuf0V1;
  __glRenderLock(gc);
  gc->procs.clipLine(gc, v - 1, v);
  __glRenderUnlock(gc);
}

// With two vertices the closing segment is the first one drawn backwards.
void __glEndLLoopLock(GlContext *gc) {
  const GlVertexProc state = gc->procs.primVertex;
  if (state != FirstLLoopVertex && state != gc->procs.primSteady[__GL_STEADY_LLOOP]) {
    __glRenderLock(gc);
    gc->procs.clipLine(gc, gc->vertexBuffer.kept[0], __glPrimSlot(gc, 0));
    __glRenderUnlock(gc);
  }
  __glPrimRest(gc);
}
