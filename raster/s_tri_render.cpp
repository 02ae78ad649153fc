// The general triangle render procedure: facing, culling, the face's colour
// set, lazy validation, then the polygon mode of the face drawn.
#include "raster/s_tri_render_face.h"
#include "raster/s_triangle.h"

void GLFASTCALL __glRenderTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  const GLfloat area = __glTriangleArea(a, b, c);
  const uint32_t face = __glTriangleFace(gc, area);
  if (face == gc->polygon.cullFace) return;
  const uint32_t k = __glTriangleColorIndex(gc, face);
  const uint32_t needs = __glTriangleFaceNeeds(gc, k);
  GlVertex *pv = __glTriangleProvoking(gc, c);
  uint32_t mask;
  if (gc->polygon.shader.modeFlags & __GL_SHADE_SMOOTH_LIGHT) {
    a->color = &a->colors[k];
    b->color = &b->colors[k];
    c->color = &c->colors[k];
    mask = gc->vertexBuffer.baseNeeds | needs;
  } else {
    // Lines and points of a flat polygon take its one colour too.
    pv->color = &pv->colors[k];
    a->color = b->color = c->color = pv->color;
    __glTriangleValidate(gc, pv, needs & kProvokingNeedsMask);
    mask = gc->vertexBuffer.baseNeeds;
  }
  __glTriangleValidate(gc, a, mask);
  __glTriangleValidate(gc, b, mask);
  __glTriangleValidate(gc, c, mask);

  switch (gc->polygon.mode[face]) {
    case __GL_POLYGON_MODE_POINT:
      gc->procs.renderTrianglePoints(gc, a, b, c);
      break;
    case __GL_POLYGON_MODE_LINE:
      gc->procs.renderTriangleLines(gc, a, b, c);
      break;
    case __GL_POLYGON_MODE_FILL:
      // A triangle without area has edges and corners but nothing to fill
      // (true for -0.0 as well).
      if (area != 0.0f) gc->procs.fillTriangle(gc, a, b, c);
      break;
    default:
      break;
  }

  // Later primitives expect the front colours.
  a->color = &a->colors[__GL_FRONTFACE];
  b->color = &b->colors[__GL_FRONTFACE];
  c->color = &c->colors[__GL_FRONTFACE];
  pv->color = &pv->colors[__GL_FRONTFACE];
}
