// glClipPlane: user clip planes are stored in eye coordinates, transformed
// once by the inverse transpose of the model-view matrix in force; a later
// model-view change does not move them.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_xform.h"

void GLENTRY __glim_ClipPlane(GLenum plane, const GLdouble *equation) {
  int32_t index;
  GlContext *gc =
      __glContextForNumbered(plane, GL_CLIP_PLANE0, &GlConstants::numberOfClipPlanes, &index);
  if (!gc) return;
  if (!equation) return;
  GLfloat e[4] = {GLfloat(equation[0]), GLfloat(equation[1]), GLfloat(equation[2]),
                  GLfloat(equation[3])};
  GlTransform *mv = gc->transform.modelView;
  if (mv->stale) gc->procs.computeInverseTranspose(gc, mv);
  // xf4 of an inverse transpose is always the general transform: the plane
  // term needs the fourth column.
  mv->inverseTranspose.xf4(&gc->state.transform.eyeClipPlanes[index], e, &mv->inverseTranspose);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}
