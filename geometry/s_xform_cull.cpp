// The cull point of GL_VLX_cull_vertex in object coordinates, derived at
// validation from the eye position (or taken as given in object space).
#include "core/context.h"
#include "geometry/s_xform.h"

void __glValidateCullVertexModelView(GlContext *gc) {
  if (!(gc->state.enables.general & __GL_CULL_VERTEX_ENABLE)) return;
  GlTransformMachine *tm = &gc->transform;
  if (tm->cullObjPosInForce) {
    tm->cullPoint = tm->cullObjPos;
    return;
  }
  GlTransform *mv = tm->modelView;
  if (mv->stale) gc->procs.computeInverseTranspose(gc, mv);
  if (tm->cullEyePos.w == 0.0f) {
    // A direction.
    __glXForm4_PreMultiply(&tm->cullPoint, &tm->cullEyePos, &mv->matrix);
    tm->cullPoint.w = 0.0f;
  } else {
    // By the inverse: an eye-space point back to object space.
    __glXForm4_PreMultiply(&tm->cullPoint, &tm->cullEyePos, &mv->inverseTranspose);
  }
}
