// Flat shading with fog per vertex: each vertex gets the flat colour fogged
// by its own fog factor, and the fill behind interpolates the three.
#include "core/context.h"
#include "raster/s_triangle.h"

void GLFASTCALL __glFillFlatFogTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  GlProcs &p = gc->procs;
  if (!p.fillTriangleUnfogged) return;
  const GlVertex *provoking = gc->vertexBuffer.provoking;
  if (!p.fogColor || !provoking || !provoking->color) {
    p.fillTriangleUnfogged(gc, a, b, c);
    return;
  }
  GlVertex *v[3] = {a, b, c};
  GlColor *saved[3];
  GlColor fogged[3];
  // Fogged first, then pointed at: the provoking vertex may be one of the
  // three, and its colour is read for each.
  for (int i = 0; i < 3; i++) p.fogColor(gc, &fogged[i], provoking->color, v[i]->fog);
  for (int i = 0; i < 3; i++) {
    saved[i] = v[i]->color;
    v[i]->color = &fogged[i];
  }
  p.fillTriangleUnfogged(gc, a, b, c);
  for (int i = 2; i >= 0; i--) v[i]->color = saved[i];
}
