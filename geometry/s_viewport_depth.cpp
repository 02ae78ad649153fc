// glDepthRange and the z half of the viewport mapping.
//
// Window z is kept in [0, 1] times constants.depthScale (which stays 1.0):
// the depth range maps clip z to [zNear, zFar] within [0, 1]. The rasterizer
// converts to depth-buffer units by multiplying by constants.depthMax (the
// buffer's scale times oneOverDepthScale); feedback and the raster position
// report window z times oneOverDepthScale; selection scales by
// 4294964992.0 / depthScale. One unit and one direction whatever depth
// buffer is bound: the vertex pipeline, polygon offset, feedback, selection
// and the raster position never depend on the buffer; only the rasterizer
// knows its units, and only the depth buffer how it stores them.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "geometry/s_xform.h"

namespace {

// Not a number counts as below the range, so that window z stays a number.
GLdouble Clamp01(GLdouble v) {
  if (!(v >= 0)) return 0;
  if (v > 1) return 1;
  return v;
}

}  // namespace

void SetDepthRange(GlContext *gc, GLdouble zNear, GLdouble zFar) {
  GlViewport *vp = &gc->state.viewport;
  zNear = Clamp01(zNear);
  zFar = Clamp01(zFar);  // a reversed range stays reversed
  vp->zNear = zNear;
  vp->zFar = zFar;
  long double half = 0.5L * gc->constants.depthScale;
  vp->zScale = GLfloat((zFar - zNear) * half);
  vp->zCenter = GLfloat((zFar + zNear) * half);
}

void __glUpdateDepthRange(GlContext *gc) {
  SetDepthRange(gc, gc->state.viewport.zNear, gc->state.viewport.zFar);
}

void GLENTRY __glim_DepthRange(GLclampd zNear, GLclampd zFar) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  SetDepthRange(gc, zNear, zFar);
  __glDelayValidate(gc, __GL_DIRTY_DEPTH | __GL_DIRTY_GENERIC);
}
