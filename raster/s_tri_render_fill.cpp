// The fill-only triangle render procedures, for both faces in GL_FILL: no
// polygon-mode dispatch, and only the colour pointers they changed are put
// back. Triangles without area are dropped before anything else.
#include "raster/s_tri_render_face.h"
#include "raster/s_triangle.h"

void GLFASTCALL __glRenderSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  uint32_t face;
  if (!__glTriangleFilledFace(gc, a, b, c, &face)) return;
  const uint32_t k = __glTriangleColorIndex(gc, face);
  const uint32_t mask = gc->vertexBuffer.baseNeeds | __glTriangleFaceNeeds(gc, k);
  a->color = &a->colors[k];
  b->color = &b->colors[k];
  c->color = &c->colors[k];
  __glTriangleValidate(gc, a, mask);
  __glTriangleValidate(gc, b, mask);
  __glTriangleValidate(gc, c, mask);
  gc->procs.fillTriangle(gc, a, b, c);
  a->color = &a->colors[__GL_FRONTFACE];
  b->color = &b->colors[__GL_FRONTFACE];
  c->color = &c->colors[__GL_FRONTFACE];
}

// The fill takes the flat colour from the provoking vertex alone.
void GLFASTCALL __glRenderFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  uint32_t face;
  if (!__glTriangleFilledFace(gc, a, b, c, &face)) return;
  const uint32_t k = __glTriangleColorIndex(gc, face);
  const uint32_t needs = __glTriangleFaceNeeds(gc, k);
  GlVertex *pv = __glTriangleProvoking(gc, c);
  pv->color = &pv->colors[k];
  __glTriangleValidate(gc, pv, needs & kProvokingNeedsMask);
  const uint32_t mask = gc->vertexBuffer.baseNeeds;
  __glTriangleValidate(gc, a, mask);
  __glTriangleValidate(gc, b, mask);
  __glTriangleValidate(gc, c, mask);
  gc->procs.fillTriangle(gc, a, b, c);
  pv->color = &pv->colors[__GL_FRONTFACE];
}

void GLFASTCALL __glDontRenderTriangle(GlContext *, GlVertex *, GlVertex *, GlVertex *) {}
