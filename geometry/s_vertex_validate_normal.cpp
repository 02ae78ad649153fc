// The eye-space normal of a vertex. A general (projective) model-view turns
// the normal as a plane through the vertex: its fourth component is the
// plane term, -n·p, read by the four-component transform such a matrix's
// inverse transpose carries.
#include "core/context.h"
#include "geometry/s_vertex_validate.h"

namespace {

typedef long double Ext;

GLfloat PlaneTerm(const GlVertex *v, int32_t sizeClass) {
  const GlCoord &n = v->normal, &p = v->obj;
  Ext dot = Ext(n.x) * p.x + Ext(n.y) * p.y;
  if (sizeClass == 2) return GLfloat(-dot);
  dot += Ext(n.z) * p.z;
  if (sizeClass == 3) return GLfloat(-dot);
  return p.w != 0.0f ? GLfloat(-dot / p.w) : 0.0f;
}

}  // namespace

void __glValidateVertexNormal(GlContext *gc, GlVertex *v, int32_t sizeClass) {
  GlTransform *mv = gc->transform.modelView;
  // Only lighting brings the inverse transpose up to date at validation; a
  // sphere map needs normals without it.
  if (mv->stale) gc->procs.computeInverseTranspose(gc, mv);
  const GlMatrix &it = mv->inverseTranspose;
  GlCoord &n = v->normal;
  if (it.matrixType == __GL_MT_GENERAL)
    n.w = PlaneTerm(v, sizeClass);
  else if (sizeClass == 4)
    n.w = 0.0f;
  if (gc->state.enables.general & __GL_NORMALIZE_ENABLE) {
    GlCoord turned;
    it.xf3(&turned, &n.x, &it);
    gc->procs.normalize(&n.x, &turned.x);
  } else {
    it.xf3(&n, &n.x, &it);
  }
}
