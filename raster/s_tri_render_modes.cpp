// Polygon modes GL_LINE and GL_POINT: a triangle's edges or corners go to
// the line or point slot, each only when its edge flag puts it on the
// polygon's boundary. The edge (c, a) takes c's flag.
#include "core/context.h"
#include "geometry/s_vertex.h"
#include "raster/s_triangle.h"

namespace {

bool OnBoundary(const GlVertex *v) { return (v->has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0; }

}  // namespace

void GLFASTCALL __glRenderLineTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  if (OnBoundary(a)) gc->procs.renderLine(gc, a, b);
  if (OnBoundary(b)) gc->procs.renderLine(gc, b, c);
  if (OnBoundary(c)) gc->procs.renderLine(gc, c, a);
}

void GLFASTCALL __glRenderPointTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  if (OnBoundary(a)) gc->procs.renderPoint(gc, a);
  if (OnBoundary(b)) gc->procs.renderPoint(gc, b);
  if (OnBoundary(c)) gc->procs.renderPoint(gc, c);
}
