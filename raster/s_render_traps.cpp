// The traps in front of the point, line and triangle slots. The first
// primitive of a kind waits for the back end, makes its own kind draw
// directly from then on and arms the traps of the other two kinds, so the
// next change of kind waits again.
#include "core/context.h"
#include "raster/s_triangle.h"

namespace {

enum class Kind { point, line, triangle };

void WaitAndRearm(GlContext *gc, Kind kind) {
  GlProcs &p = gc->procs;
  p.waitIdle(gc);
  p.renderPoint = kind == Kind::point ? p.renderPointPicked : p.renderPointTrap;
  p.renderLine = kind == Kind::line ? p.renderLinePicked : p.renderLineTrap;
  p.renderTriangle = kind == Kind::triangle ? p.renderTrianglePicked : p.renderTriangleTrap;
}

}  // namespace

void __glRenderPointSyncTrap(GlContext *gc, GlVertex *v) {
  WaitAndRearm(gc, Kind::point);
  gc->procs.renderPoint(gc, v);
}

void __glRenderLineSyncTrap(GlContext *gc, GlVertex *a, GlVertex *b) {
  WaitAndRearm(gc, Kind::line);
  gc->procs.renderLine(gc, a, b);
}

void GLFASTCALL __glRenderTriangleSyncTrap(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  WaitAndRearm(gc, Kind::triangle);
  gc->procs.renderTriangle(gc, a, b, c);
}
