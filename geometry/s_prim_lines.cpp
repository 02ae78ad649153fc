// GL_LINES: pairs of vertices in slots 0 and 1, each segment a line of its
// own that restarts the stipple.
#include "geometry/s_prim_machine.h"

namespace {

void __glFirstLinesVertex(GlContext *gc, GlVertex *v) {
  __glPrimAdvance(gc, v, 0, gc->procs.primSteady[__GL_STEADY_LINES]);
}

}  // namespace

void __glBeginLines(GlContext *gc) { __glPrimBegin(gc, __glFirstLinesVertex); }

void __glSecondLinesVertexLock(GlContext *gc, GlVertex *v) {
  gc->lineStippleStarted = 0;
  gc->vertexBuffer.next = v - 1;
  gc->procs.primVertex = __glFirstLinesVertex;
  // The line clipper decides between drawing, dropping and clipping.
  __glRenderLock(gc);
  gc->procs.clipLine(gc, v - 1, v);
  __glRenderUnlock(gc);
}
