#include "geometry/s_varray_copy.h"

void CopyEdgeFlag(GlContext *, const void *element, GlVertex *v) {
  if (*static_cast<const GLboolean *>(element)) v->has |= __GL_HAS_EDGEFLAG_BOUNDARY;
}

void CopyCurrentNormal(GlContext *gc, const void *, GlVertex *v) {
  const GLfloat *n = gc->state.current.normal;
  v->normal.x = n[0];
  v->normal.y = n[1];
  v->normal.z = n[2];
}

void CopyCurrentColor(GlContext *gc, const void *, GlVertex *v) {
  v->colors[__GL_FRONTFACE] = gc->state.current.color;
}

void CopyCurrentIndex(GlContext *gc, const void *, GlVertex *v) {
  v->colors[__GL_FRONTFACE].r = gc->state.current.index;
}

void CopyCurrentTexCoord(GlContext *gc, const void *, GlVertex *v) {
  v->texture = gc->state.current.texture;
}

void CopyCurrentEdgeFlag(GlContext *gc, const void *, GlVertex *v) {
  v->has |= gc->state.current.edgeFlag;
}

void CopyNothing(GlContext *, const void *, GlVertex *) {}
