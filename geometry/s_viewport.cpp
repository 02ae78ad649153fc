// glViewport and the mapping between clip coordinates divided by w and the
// biased window coordinates: x_w = x_c / w_c x xScale + xCenter, likewise
// for y and z. Window x and y carry the bias (6144); on a drawable whose
// rows run top-down y is flipped, with the epsilon keeping the last row
// inside the drawable.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_xform.h"

namespace {
typedef long double Ext;
}  // namespace

GlContext *__glContextForRectangle(GLsizei width, GLsizei height) {
  GlContext *gc = __glContextOutsideBegin();
  if (gc && (width < 0 || height < 0)) {
    __glSetError(GL_INVALID_VALUE);
    return nullptr;
  }
  return gc;
}

void GLENTRY __glim_Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  GlContext *gc = __glContextForRectangle(width, height);
  if (!gc) return;
  GlViewport *vp = &gc->state.viewport;
  vp->x = x;
  vp->y = y;
  vp->width = width < gc->constants.maxViewportWidth ? width : gc->constants.maxViewportWidth;
  vp->height = height < gc->constants.maxViewportHeight ? height : gc->constants.maxViewportHeight;
  gc->procs.applyViewport(gc);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

// Also reached from a resize that the drawable's lock delivers, possibly in
// the middle of another viewport or depth-range update, and before the first
// binding has picked any procedure: it reads only the stored viewport and
// the drawable size, and re-picks only what exists.
void __glUpdateViewport(GlContext *gc) {
  const GlConstants *k = &gc->constants;
  GlViewport *vp = &gc->state.viewport;
  Ext halfHeight = Ext(vp->height) * 0.5L;
  vp->xScale = GLfloat(Ext(vp->width) * 0.5L);
  vp->xCenter = GLfloat((Ext(vp->x) + k->fviewportXAdjust) + vp->xScale);
  if (k->yInverted) {
    vp->yScale = GLfloat(-halfHeight);
    vp->yCenter = GLfloat(((Ext(k->height) - k->viewportEpsilon) - (Ext(vp->y) + halfHeight)) +
                          k->fviewportYAdjust);
  } else {
    vp->yScale = GLfloat(halfHeight);
    vp->yCenter = GLfloat((Ext(vp->y) + k->fviewportYAdjust) + halfHeight);
  }
  if (gc->transform.modelView && gc->procs.pickMvpMatrixProcs)
    gc->procs.pickMvpMatrixProcs(gc, &gc->transform.modelView->mvp);
}

GLfloat __glReturnWindowX(GlContext *gc, GLfloat x) {
  return GLfloat(Ext(x) - gc->constants.fviewportXAdjust);
}

GLfloat __glReturnWindowY(GlContext *gc, GLfloat y) {
  const GlConstants *k = &gc->constants;
  if (k->yInverted)
    return GLfloat((Ext(k->height) - k->viewportEpsilon) - (Ext(y) - k->fviewportYAdjust));
  return GLfloat(Ext(y) - k->fviewportYAdjust);
}
